// Checking the arguments of pip_solve and writing its sets in isl's text
// syntax (the one way to state a rational set), in both modes alike.
#include "problem.h"

#include <isl/set.h>

#include <vector>

#include "fail.h"
#include "isl_text.h"

namespace {

bool is_set(int option) { return option != 0; }

// Row i of m with the unknown columns [first_x, first_x + nx) (nx may be 0)
// and the parameter columns [first_p, first_p + np); constant last unless
// homogeneous.
std::string row_text(const PipMatrix *m, unsigned i, int first_x, int nx,
                     int first_p, int np, bool homogeneous) {
  const long long *row = m->p[i];
  std::vector<long long> coefs;
  std::vector<std::string> vars;
  for (int j = 0; j < nx; ++j) {
    coefs.push_back(row[first_x + j]);
    vars.push_back(pip_name('x', j));
  }
  for (int j = 0; j < np; ++j) {
    coefs.push_back(row[first_p + j]);
    vars.push_back(pip_name('p', j));
  }
  long long constant = homogeneous ? 0 : row[m->NbColumns - 1];
  return pip_constraint_text(coefs, vars, constant, row[0] == 0);
}

// K's constraints: context rows, then parameter signs.
std::vector<std::string> context_constraints(const PipProblem &pb) {
  std::vector<std::string> out;
  if (pb.context)
    for (unsigned i = 0; i < pb.context->NbRows; ++i)
      out.push_back(row_text(pb.context, i, 0, 0, 1, pb.np, false));
  if (!pb.urs_parms)
    for (int j = 0; j < pb.np; ++j) out.push_back(pip_name('p', j) + " >= 0");
  return out;
}

std::vector<std::string> unknown_signs(const PipProblem &pb) {
  std::vector<std::string> out;
  if (!pb.free_unknowns)
    for (int j = 0; j < pb.nn; ++j) out.push_back(pip_name('x', j) + " >= 0");
  return out;
}

void append(std::vector<std::string> &to, const std::vector<std::string> &from) {
  to.insert(to.end(), from.begin(), from.end());
}

void check_matrix(const PipMatrix *m, const char *what) {
  if (m->NbRows > 0 && !m->p) pip_fail((std::string(what) + " has rows but no entries").c_str());
}

}  // namespace

PipProblem pip_problem_read(PipMatrix *problem, PipMatrix *context, int bignum,
                            PipOptions *options) {
  if (!problem) pip_fail("NULL problem");
  if (!options) pip_fail("NULL options");
  if (bignum != -1) pip_fail("bignum must be -1 (no big parameter)");
  if (context && context->NbColumns < 2) pip_fail("context has fewer than 2 columns");
  PipProblem pb;
  pb.rows = problem;
  pb.context = context;
  pb.np = context ? static_cast<int>(context->NbColumns) - 2 : 0;
  if (problem->NbColumns < static_cast<unsigned>(pb.np) + 2)
    pip_fail("problem has fewer columns than the parameters plus 2");
  pb.nn = static_cast<int>(problem->NbColumns) - pb.np - 2;
  check_matrix(problem, "problem");
  if (context) check_matrix(context, "context");
  pb.integer = is_set(options->Nq);
  pb.maximize = is_set(options->Maximize);
  pb.urs_parms = is_set(options->Urs_parms);
  // A maximum frees the unknowns whatever Urs_unknowns says: only the rows
  // bound them.
  pb.free_unknowns = pb.maximize || is_set(options->Urs_unknowns);
  return pb;
}

bool pip_problem_has_context_rows(const PipProblem &pb) {
  return pb.context && pb.context->NbRows > 0;
}

Isl<isl_set> pip_context_set(isl_ctx *ctx, const PipProblem &pb) {
  return pip_read_set(ctx, pip_param_prefix(pb.np), false, "", context_constraints(pb));
}

Isl<isl_set> pip_problem_set(isl_ctx *ctx, const PipProblem &pb) {
  std::vector<std::string> constraints;
  for (unsigned i = 0; i < pb.rows->NbRows; ++i)
    constraints.push_back(row_text(pb.rows, i, 1, pb.nn, 1 + pb.nn, pb.np, false));
  append(constraints, unknown_signs(pb));
  append(constraints, context_constraints(pb));
  return pip_read_set(ctx, pip_param_prefix(pb.np), !pb.integer, pip_tuple('x', pb.nn),
                      constraints);
}

Isl<isl_set> pip_recession_cone(isl_ctx *ctx, const PipProblem &pb,
                                const std::string &extra) {
  std::vector<std::string> constraints;
  for (unsigned i = 0; i < pb.rows->NbRows; ++i)
    constraints.push_back(row_text(pb.rows, i, 1, pb.nn, 0, 0, true));
  append(constraints, unknown_signs(pb));
  if (!extra.empty()) constraints.push_back(extra);
  return pip_read_set(ctx, "", false, pip_tuple('x', pb.nn), constraints);
}
