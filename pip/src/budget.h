// How much of isl's work pip_solve spends on each way to an integer
// optimum. Counted in isl's operations, which are the same on every
// machine, so that the way taken, and the tree's shape, never depends on
// timing.
#ifndef TARVEX_PIP_BUDGET_H
#define TARVEX_PIP_BUDGET_H

#include "pip.h"

// The whole optimum is computed within whole_operations; past it, each
// value of the first unknown within value_operations (0: no bound), the
// answer then being built from the values' optima; past that, the whole
// optimum without bound.
struct PipBudget {
  unsigned long whole_operations;
  unsigned long value_operations;
};

// On the problems whose whole optimum is costly (its context questions on
// thin unbounded parameter sets) and whose values' optima are cheap, each
// value takes a few thousand operations. Most problems need fewer than
// whole_operations and keep the answer computed whole.
constexpr PipBudget kPipBudget = {10000, 20000};

// pip_solve under the given budget.
PipQuast *pip_solve_within(PipMatrix *problem, PipMatrix *context, int bignum,
                           PipOptions *options, const PipBudget &budget);

#endif
