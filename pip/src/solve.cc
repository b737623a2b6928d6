// pip_solve: the lexicographic optimum of a parametric problem through isl.
// Each call has its own isl context in continue mode (an unbounded optimum
// is an isl error, and no error may end the run unchecked), freed before
// returning; no state survives a call.
#include <isl/options.h>

#include "budget.h"
#include "cone.h"
#include "formulas.h"
#include "isl_handle.h"
#include "pip.h"
#include "problem.h"
#include "tree_builder.h"

namespace {

// The tree of a problem whose context holds integer points.
PipQuast *solve(isl_ctx *ctx, const PipProblem &pb, const Isl<isl_set> &context,
                const PipBudget &budget) {
  // Decided before any optimum is taken: isl fails on an unbounded one.
  int solved = pip_first_unbounded_unknown(ctx, pb);
  Isl<isl_set> points = pip_problem_set(ctx, pb);
  // Only the unknowns before the first unbounded one have an optimum; the
  // others are projected out (in integer mode, an integer projection).
  points = Isl<isl_set>(
      ctx, isl_set_project_out(points.take(), isl_dim_set, solved, pb.nn - solved));
  PipTreeShape shape{pb.np, pb.nn, solved, pb.integer};
  std::vector<PipFormula> formulas;
  Isl<isl_set> no_solution;
  // A problem whose whole optimum is costly may be cheap one value of its
  // first unknown at a time.
  if (pb.integer && solved > 0) {
    if (pip_optimum_formulas(ctx, points.copy(), pb.np, pb.maximize, true,
                             budget.whole_operations, &no_solution, &formulas))
      return pip_build_tree(ctx, shape, formulas, no_solution.get(), context.get());
    if (pip_sliced_optimum_formulas(ctx, points.get(), pb.np, pb.maximize,
                                    budget.value_operations, &formulas))
      return pip_build_tree(ctx, shape, formulas, nullptr, context.get());
  }
  pip_optimum_formulas(ctx, points.take(), pb.np, pb.maximize, pb.integer, 0, &no_solution,
                       &formulas);
  return pip_build_tree(ctx, shape, formulas, no_solution.get(), context.get());
}

}  // namespace

PipQuast *pip_solve(PipMatrix *problem, PipMatrix *context, int bignum,
                    PipOptions *options) {
  return pip_solve_within(problem, context, bignum, options, kPipBudget);
}

PipQuast *pip_solve_within(PipMatrix *problem, PipMatrix *context, int bignum,
                           PipOptions *options, const PipBudget &budget) {
  PipProblem pb = pip_problem_read(problem, context, bignum, options);
  isl_ctx *ctx = isl_ctx_alloc();
  if (!ctx) pip_fail_isl(nullptr);
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  PipQuast *answer = nullptr;
  {
    Isl<isl_set> k = pip_context_set(ctx, pb);
    // A context without rows always answers with a tree, even one without
    // leaf; NULL says that the given context rows hold no integer point.
    bool empty = isl_checked(ctx, isl_set_is_empty(k.get()));
    if (!(empty && pip_problem_has_context_rows(pb))) answer = solve(ctx, pb, k, budget);
  }
  isl_ctx_free(ctx);
  return answer;
}
