// The parametric optimum as isl computes it, cleaned up for building a
// tree: one entry per distinct formula, with the integer parameter points
// where it applies.
#ifndef TARVEX_PIP_FORMULAS_H
#define TARVEX_PIP_FORMULAS_H

#include <vector>

#include "isl_handle.h"

struct PipFormula {
  Isl<isl_multi_aff> value;  // one output per solved unknown, over the parameters
  Isl<isl_set> domain;       // integer parameter set with known divisions
};

// Lexicographic minimum or maximum of set (taken; its dimensions are the
// unknowns, assumed bounded in the optimisation direction; np parameters),
// rational in rational mode. Formulas come
// in isl's order; their domains are disjoint and cover the integer
// parameter points where set is not empty. A piece whose value equals
// another formula on all its integer points is merged into that formula,
// so that no formula differs from another only in how it is written.
// *no_solution (empty on entry) becomes the other parameter points (caller
// owns it), with known divisions; its basic sets may overlap one another.
std::vector<PipFormula> pip_optimum_formulas(isl_ctx *ctx, isl_set *set, int np,
                                             bool maximize, bool integer,
                                             Isl<isl_set> *no_solution);

#endif
