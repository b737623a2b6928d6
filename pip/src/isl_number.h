// Numbers read back from isl, which computes with unbounded integers: every
// value must fit the 64-bit records, or the run ends.
#ifndef TARVEX_PIP_ISL_NUMBER_H
#define TARVEX_PIP_ISL_NUMBER_H

#include <isl/ctx.h>
#include <isl/val.h>

// The integer v (borrowed). Fails when v is not an integer in 64 bits.
long long pip_val_integer(isl_ctx *ctx, isl_val *v);

// The rational v (borrowed) as a reduced fraction num/den, den > 0.
void pip_val_fraction(isl_ctx *ctx, isl_val *v, long long *num, long long *den);

#endif
