// Where the optimum is unbounded. The recession cone of the problem's
// points does not depend on the parameters, so neither does the first
// unknown whose optimum is infinite.
#ifndef TARVEX_PIP_CONE_H
#define TARVEX_PIP_CONE_H

#include "isl_handle.h"
#include "problem.h"

// The 0-based index k of the first unknown for which the cone holds a
// direction d with d_0 = .. = d_(k-1) = 0 and d_k > 0 (maximum) or
// d_k < 0 (minimum); problem.nn when the optimum is bounded. Wherever the
// problem is feasible, unknowns 0 .. k-1 then have a finite optimum and
// unknown k an infinite one.
int pip_first_unbounded_unknown(isl_ctx *ctx, const PipProblem &problem);

#endif
