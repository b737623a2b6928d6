// The answer tree over the formulas of the optimum: tests split the
// parameter region until one formula (or none) holds on the whole of it.
#ifndef TARVEX_PIP_TREE_BUILDER_H
#define TARVEX_PIP_TREE_BUILDER_H

#include <vector>

#include "formulas.h"
#include "isl_handle.h"
#include "pip.h"

struct PipTreeShape {
  int np;         // parameters
  int nn;         // unknowns, one list cell each (one NULL cell when 0)
  int solved;     // unknowns with a finite optimum: outputs of each formula
  bool integer;   // integer mode: divisions become new parameters
};

// New tree (owned by the caller) answering on the integer points of region
// (borrowed parameter set, one basic set), from formulas (borrowed) and the
// parameter points without solution (borrowed). With no_solution NULL, the
// formulas' domains may overlap: a point takes the first formula whose
// domain holds it, and has no solution when none does. Unknowns from
// shape.solved on get the unbounded marker in every leaf.
PipQuast *pip_build_tree(isl_ctx *ctx, const PipTreeShape &shape,
                         const std::vector<PipFormula> &formulas, isl_set *no_solution,
                         isl_set *region);

#endif
