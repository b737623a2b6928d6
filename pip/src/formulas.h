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
  // With formulas by rank (see pip_sliced_optimum_formulas), ranks never
  // decrease along the list, the domains of one rank are disjoint, and a
  // formula holds only where no formula of a lower rank does.
  int rank = 0;
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
// Returns false (*out untouched) when the integer optimum needs more than
// max_operations of isl's operations (0: no bound).
bool pip_optimum_formulas(isl_ctx *ctx, isl_set *set, int np, bool maximize, bool integer,
                          unsigned long max_operations, Isl<isl_set> *no_solution,
                          std::vector<PipFormula> *out);

// The first unknown is sliced only when it takes at most this many values.
constexpr long kPipMaxSlices = 64;

// The integer optimum of set (borrowed, as above) one value of the first
// unknown at a time, when set is one basic set and that unknown takes at
// most kPipMaxSlices values whatever the parameters, and isl finds the
// optimum of each value within max_operations of its operations (0: no
// bound); else false, *out untouched. On some problems the whole optimum
// costs isl seconds where the values' optima cost milliseconds; on others
// the values' optima cost more than the whole. Their domains overlap: *out
// gets the formulas by rank (the value's place in the order of
// optimisation), the optimum at a parameter point being the first formula
// whose domain holds it, none when no domain holds it.
bool pip_sliced_optimum_formulas(isl_ctx *ctx, isl_set *set, int np, bool maximize,
                                 unsigned long max_operations, std::vector<PipFormula> *out);

#endif
