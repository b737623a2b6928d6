// Checking the arguments of pip_solve and writing its sets in isl's text
// syntax. Text is the one way isl 0.25 offers to state a rational set
// ("rat:"), so both modes use it alike.
#include "problem.h"

#include <isl/set.h>

#include <vector>

#include "fail.h"

namespace {

bool is_set(int option) { return option != 0; }

std::string name(char prefix, int i) { return prefix + std::to_string(i); }

std::string magnitude(long long c) {
  unsigned long long m = c < 0 ? 0ULL - static_cast<unsigned long long>(c)
                               : static_cast<unsigned long long>(c);
  return std::to_string(m);
}

// One affine constraint in isl syntax, built term by term.
class ConstraintText {
 public:
  void term(long long c, const std::string &var) {
    if (c == 0) return;
    sign(c);
    if (c != 1 && c != -1) text_ += magnitude(c) + "*";
    text_ += var;
  }
  void constant(long long c) {
    if (c == 0) return;
    sign(c);
    text_ += magnitude(c);
  }
  std::string finish(bool equality) const {
    return (text_.empty() ? "0" : text_) + (equality ? " = 0" : " >= 0");
  }

 private:
  void sign(long long c) {
    if (text_.empty())
      text_ = c < 0 ? "-" : "";
    else
      text_ += c < 0 ? " - " : " + ";
  }
  std::string text_;
};

// Row i of m with the unknown columns [first_x, first_x + nx) (nx may be 0)
// and the parameter columns [first_p, first_p + np); constant last unless
// homogeneous.
std::string row_text(const PipMatrix *m, unsigned i, int first_x, int nx,
                     int first_p, int np, bool homogeneous) {
  const long long *row = m->p[i];
  ConstraintText c;
  for (int j = 0; j < nx; ++j) c.term(row[first_x + j], name('x', j));
  for (int j = 0; j < np; ++j) c.term(row[first_p + j], name('p', j));
  if (!homogeneous) c.constant(row[m->NbColumns - 1]);
  return c.finish(row[0] == 0);
}

std::string join(const std::vector<std::string> &items, const char *sep) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += sep;
    out += items[i];
  }
  return out;
}

std::string names(char prefix, int n) {
  std::vector<std::string> all;
  for (int i = 0; i < n; ++i) all.push_back(name(prefix, i));
  return "[" + join(all, ", ") + "]";
}

// K's constraints: context rows, then parameter signs.
std::vector<std::string> context_constraints(const PipProblem &pb) {
  std::vector<std::string> out;
  if (pb.context)
    for (unsigned i = 0; i < pb.context->NbRows; ++i)
      out.push_back(row_text(pb.context, i, 0, 0, 1, pb.np, false));
  if (!pb.urs_parms)
    for (int j = 0; j < pb.np; ++j) out.push_back(name('p', j) + " >= 0");
  return out;
}

std::vector<std::string> unknown_signs(const PipProblem &pb) {
  std::vector<std::string> out;
  if (!pb.free_unknowns)
    for (int j = 0; j < pb.nn; ++j) out.push_back(name('x', j) + " >= 0");
  return out;
}

void append(std::vector<std::string> &to, const std::vector<std::string> &from) {
  to.insert(to.end(), from.begin(), from.end());
}

// "{ [rat: ]<tuple> : <constraints> }" with the parameter prefix; an empty
// tuple makes a parameter set.
Isl<isl_set> read_set(isl_ctx *ctx, const std::string &params, bool rational,
                      const std::string &tuple,
                      const std::vector<std::string> &constraints) {
  std::string text = params + "{ " + (rational ? "rat: " : "") + tuple +
                     " : " + join(constraints, " and ") + " }";
  return Isl<isl_set>(ctx, isl_set_read_from_str(ctx, text.c_str()));
}

std::string param_prefix(const PipProblem &pb) {
  return pb.np == 0 ? "" : names('p', pb.np) + " -> ";
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
  return read_set(ctx, param_prefix(pb), false, "", context_constraints(pb));
}

Isl<isl_set> pip_problem_set(isl_ctx *ctx, const PipProblem &pb) {
  std::vector<std::string> constraints;
  for (unsigned i = 0; i < pb.rows->NbRows; ++i)
    constraints.push_back(row_text(pb.rows, i, 1, pb.nn, 1 + pb.nn, pb.np, false));
  append(constraints, unknown_signs(pb));
  append(constraints, context_constraints(pb));
  return read_set(ctx, param_prefix(pb), !pb.integer, names('x', pb.nn), constraints);
}

Isl<isl_basic_set> pip_parameter_universe(isl_ctx *ctx, const PipProblem &pb) {
  std::string text = param_prefix(pb) + (pb.integer ? "{ : }" : "{ rat: : }");
  return Isl<isl_basic_set>(ctx, isl_basic_set_read_from_str(ctx, text.c_str()));
}

Isl<isl_set> pip_recession_cone(isl_ctx *ctx, const PipProblem &pb,
                                const std::string &extra) {
  std::vector<std::string> constraints;
  for (unsigned i = 0; i < pb.rows->NbRows; ++i)
    constraints.push_back(row_text(pb.rows, i, 1, pb.nn, 0, 0, true));
  append(constraints, unknown_signs(pb));
  if (!extra.empty()) constraints.push_back(extra);
  return read_set(ctx, "", false, names('x', pb.nn), constraints);
}
