// The rational lexicographic optimum, computed one unknown at a time:
// isl 0.25's parametric solver is not reliable on rational sets (it trips
// internal assertions or merges pieces wrongly on small problems).
#ifndef TARVEX_PIP_RATIONAL_OPTIMUM_H
#define TARVEX_PIP_RATIONAL_OPTIMUM_H

#include <vector>

#include "isl_handle.h"

struct PipPiece {
  Isl<isl_set> domain;       // integer parameter set
  Isl<isl_multi_aff> value;  // one output per unknown, over the parameters
};

// Optimum of set (borrowed: a rational set over the parameters p0.. and the
// unknowns x0.., each bounded in the optimisation direction) at the integer
// parameter points, as pieces with disjoint domains.
std::vector<PipPiece> pip_rational_optimum(isl_ctx *ctx, isl_set *set, int np,
                                           bool maximize);

#endif
