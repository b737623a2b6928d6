#include "isl_number.h"

#include <climits>

#include "fail.h"
#include "isl_handle.h"

static_assert(sizeof(long) == sizeof(long long),
              "isl's *_si accessors must cover 64 bits");

namespace {

bool fits_64_bits(isl_val *v) {
  return isl_val_cmp_si(v, LONG_MAX) <= 0 && isl_val_cmp_si(v, LONG_MIN) >= 0;
}

}  // namespace

long long pip_val_integer(isl_ctx *ctx, isl_val *v) {
  isl_checked(ctx, v);
  if (!isl_checked(ctx, isl_val_is_int(v)))
    pip_fail("internal error: non-integral value in an integer answer");
  if (!fits_64_bits(v)) pip_fail("answer coefficient outside 64 bits");
  return isl_val_get_num_si(v);
}

void pip_val_fraction(isl_ctx *ctx, isl_val *v, long long *num, long long *den) {
  isl_checked(ctx, v);
  if (!isl_checked(ctx, isl_val_is_rat(v)))
    pip_fail("internal error: non-rational value in an answer");
  Isl<isl_val> denominator(ctx, isl_val_get_den_val(v));
  Isl<isl_val> numerator(ctx, isl_val_mul(isl_val_copy(v), denominator.copy()));
  *num = pip_val_integer(ctx, numerator.get());
  *den = pip_val_integer(ctx, denominator.get());
}
