// Random problems from fixed seeds, solved by pip_solve and checked at
// every integer parameter point of a small box against answers computed
// without isl.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>

#include "budget.h"
#include "oracle.h"
#include "pip_test_util.h"

namespace {

// kDivisions: bounded, bounds with unknown coefficients 1-3 and parameter
// coefficients 1-2 (optima and domains with divisions, domains of several
// convex pieces). kProjection: one unknown unbounded on the optimisation
// side and in no other row, the later unknowns tied to the earlier ones, so
// the integer projection leaves existentially quantified variables.
enum class Family { kBounded, kUnbounded, kZeroUnknowns, kContexts, kDivisions, kProjection };

constexpr long long kParamBox = 3;   // parameters range over [-3, 3]
constexpr long long kBoundMax = 4;   // constant part of the unknowns' bounds
constexpr long long kFar1 = 60;      // dropped bounds put back at two distances
constexpr long long kFar2 = 120;

struct Instance {
  int nn = 0, np = 0;
  Rows rows, context;
  bool boxed_context = false;  // the context bounds every parameter inside the box
  std::vector<int> dropped;    // unknowns whose optimisation-side bound was dropped
  PipOptions options{};
};

class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  Instance make(Family family, bool integer, int index) {
    Instance in;
    in.options = {integer ? 1 : 0, 0, 0, 0, 0, 0, 0};
    in.options.Maximize = index % 2;
    const int flags[] = {0, 1, -1};
    in.options.Urs_parms = flags[(index / 2) % 3];
    in.options.Urs_unknowns = flags[(index / 6) % 3];
    if (family == Family::kProjection) return projection(in);
    in.nn = family == Family::kZeroUnknowns ? 0 : pick(1, 3);
    in.np = pick(0, 2);
    int width = in.nn + in.np + 2;
    for (int r = pick(0, family == Family::kZeroUnknowns ? 3 : 6); r > 0; --r)
      in.rows.push_back(random_row(width));
    if (family != Family::kZeroUnknowns) add_bounds(in, family);
    make_context(in, family);
    return in;
  }

 private:
  Instance projection(Instance &in) {
    if (!in.options.Maximize) in.options.Urs_unknowns = 1;
    in.nn = pick(2, 4);
    in.np = pick(0, 2);
    int k = pick(1, in.nn - 1);
    for (int r = pick(1, 4); r > 0; --r) {
      in.rows.push_back(random_row(in.nn + in.np + 2));
      in.rows.back()[1 + k] = 0;
    }
    add_bounds(in, Family::kProjection, k);
    make_context(in, Family::kBounded);
    return in;
  }

  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  std::vector<long long> random_row(int width) {
    std::vector<long long> row(width);
    row[0] = pick(0, 4) == 0 ? 0 : 1;
    for (int j = 1; j < width; ++j) row[j] = pick(-3, 3);
    return row;
  }

  // Bounds lo_j <= x_j <= hi_j, each a constant or a parameter plus a
  // constant; the unbounded family drops the optimisation-side bound of
  // some unknowns.
  void add_bounds(Instance &in, Family family, int free_unknown = -1) {
    bool maximize = in.options.Maximize != 0;
    bool divisions = family == Family::kDivisions;
    std::vector<bool> drop(in.nn, false);
    if (family == Family::kUnbounded) {
      drop[pick(0, in.nn - 1)] = true;
      for (int j = 0; j < in.nn; ++j) drop[j] = drop[j] || pick(0, 2) == 0;
    }
    if (free_unknown >= 0) drop[free_unknown] = true;
    for (int j = 0; j < in.nn; ++j) {
      for (int side : {1, -1}) {
        bool optimisation_side = (side == -1) == maximize;
        if (drop[j] && optimisation_side) continue;
        std::vector<long long> row(in.nn + in.np + 2, 0);
        row[0] = 1;
        row[1 + j] = side * (divisions ? pick(1, 3) : 1);
        row.back() = pick(0, kBoundMax);
        if (in.np > 0 && pick(0, 2) == 0)
          row[1 + in.nn + pick(0, in.np - 1)] = divisions ? pick(1, 2) : 1;
        in.rows.push_back(row);
      }
      if (drop[j]) in.dropped.push_back(j);
    }
  }

  void make_context(Instance &in, Family family) {
    int rows = family == Family::kContexts ? pick(1, 2) : pick(0, 2);
    for (int r = 0; r < rows; ++r) in.context.push_back(random_row(in.np + 2));
    in.boxed_context = family == Family::kContexts || pick(0, 1) == 0;
    if (!in.boxed_context) return;
    for (int i = 0; i < in.np; ++i)
      for (int side : {1, -1}) {
        std::vector<long long> row(in.np + 2, 0);
        row[0] = 1;
        row[1 + i] = side;
        row.back() = kParamBox;
        in.context.push_back(row);
      }
  }

  std::mt19937 rng_;
};

std::string describe(const Instance &in) {
  std::ostringstream out;
  PipMatrix *pb = make_matrix(in.nn + in.np + 2, in.rows);
  PipMatrix *ctx = make_matrix(in.np + 2, in.context);
  const PipOptions &o = in.options;
  out << "problem:\n" << matrix_text(pb) << "context:\n" << matrix_text(ctx)
      << "options: Nq " << o.Nq << " Maximize " << o.Maximize << " Urs_parms "
      << o.Urs_parms << " Urs_unknowns " << o.Urs_unknowns << "\n";
  PipOptions opts = o;
  PipQuast *q = pip_solve(pb, ctx, -1, &opts);
  out << "answer:\n" << quast_text(q);
  pip_quast_free(q);
  pip_matrix_free(pb);
  pip_matrix_free(ctx);
  return out.str();
}

// Every integer parameter point of the box (signs as the options say).
std::vector<std::vector<long long>> parameter_points(int np) {
  std::vector<std::vector<long long>> out{{}};
  for (int i = 0; i < np; ++i) {
    std::vector<std::vector<long long>> next;
    for (const auto &p : out)
      for (long long v = -kParamBox; v <= kParamBox; ++v) {
        next.push_back(p);
        next.back().push_back(v);
      }
    out = next;
  }
  return out;
}

std::string values_text(const std::vector<Value> &values) {
  std::ostringstream out;
  for (const Value &v : values) out << " " << v.num << "/" << v.den;
  return out.str();
}

class Checker {
 public:
  Checker(const Instance &in, const PipBudget &budget)
      : in_(in),
        budget_(budget),
        integer_(in.options.Nq != 0),
        maximize_(in.options.Maximize != 0),
        free_unknowns_(maximize_ || in.options.Urs_unknowns != 0),
        solved_(first_unbounded(in.rows, in.nn, free_unknowns_, maximize_)) {}

  // "" when the answer is right, else what is wrong.
  std::string check() {
    std::string simplified = answer_text(1);
    if (answer_text(0) != simplified) return "Simplify 0 and 1 differ\n";
    PipMatrix *pb = make_matrix(in_.nn + in_.np + 2, in_.rows);
    PipMatrix *ctx = make_matrix(in_.np + 2, in_.context);
    PipOptions opts = in_.options;
    PipQuast *q = pip_solve_within(pb, ctx, -1, &opts, budget_);
    std::string faults = check_answer(q);
    pip_quast_free(q);
    pip_matrix_free(pb);
    pip_matrix_free(ctx);
    return faults;
  }

 private:
  std::string answer_text(int simplify) {
    PipOptions opts = in_.options;
    opts.Simplify = simplify;
    return solve_text(in_.np, in_.rows, in_.context, opts);
  }

  std::string check_answer(const PipQuast *q) {
    std::string faults = shape_violations(q, in_.np, in_.nn, integer_, solved_);
    if (!faults.empty()) return faults;
    bool urs_parms = in_.options.Urs_parms != 0;
    bool any_point = false;
    std::set<const PipQuast *> reached;
    for (const auto &params : parameter_points(in_.np)) {
      if (!in_context(in_.context, params, urs_parms)) continue;
      any_point = true;
      if (!q) return "NULL answer although the context holds a point\n";
      Evaluation e = evaluate(q, params);
      std::string at = point_fault(e, params);
      if (!at.empty()) return at;
      if (e.leaf) reached.insert(e.leaf);
    }
    if (in_.boxed_context && !in_.context.empty() && !any_point && q)
      return "answer for a context without integer point\n";
    if (in_.boxed_context && q && reached.size() != leaves(q).size())
      return "a leaf is reached by no parameter point\n";
    return "";
  }

  std::string point_fault(const Evaluation &e, const std::vector<long long> &params) {
    std::vector<Value> expected;
    bool feasible = oracle(params, &expected);
    std::ostringstream where;
    where << "at parameters";
    for (long long v : params) where << " " << v;
    where << ": ";
    if (feasible == e.nil) return where.str() + (feasible ? "no leaf\n" : "leaf without solution\n");
    if (!feasible) return "";
    if (in_.nn == 0) return e.null_vector_cell ? "" : where.str() + "no NULL cell\n";
    std::vector<Value> got(e.values.begin(), e.values.begin() + solved_);
    if (got != expected)
      return where.str() + "values" + values_text(got) + ", expected" + values_text(expected) + "\n";
    return "";
  }

  bool oracle(const std::vector<long long> &params, std::vector<Value> *values) {
    FixedProblem p = fix_parameters(in_.rows, in_.nn, params, free_unknowns_, maximize_);
    if (!integer_) return rational_optimum(p, solved_, values);
    if (in_.dropped.empty()) return integer_values(p, values);
    // The dropped bounds put back far away must not move the finite part.
    std::vector<Value> near;
    bool feasible = integer_values(with_far_bounds(p, kFar1), &near);
    if (!integer_values(with_far_bounds(p, kFar2), values)) return false;
    if (!feasible || near != *values) ADD_FAILURE() << "far bounds too near\n" << describe(in_);
    return true;
  }

  FixedProblem with_far_bounds(FixedProblem p, long long distance) {
    for (int j : in_.dropped) {
      std::vector<long long> row(p.nn + 2, 0);
      row[0] = 1;
      row[1 + j] = maximize_ ? -1 : 1;
      row.back() = distance;
      p.rows.push_back(row);
    }
    return p;
  }

  bool integer_values(const FixedProblem &p, std::vector<Value> *values) {
    std::vector<long long> x;
    if (!integer_optimum(p, solved_, &x)) return false;
    values->clear();
    for (long long v : x) values->push_back({v, 1});
    return true;
  }

  const Instance &in_;
  PipBudget budget_;
  bool integer_, maximize_, free_unknowns_;
  int solved_;
};

void run_family(Family family, bool integer, int count, unsigned seed,
                const PipBudget &budget = kPipBudget) {
  Generator gen(seed);
  int failures = 0;
  for (int i = 0; i < count && failures < 3; ++i) {
    Instance in = gen.make(family, integer, i);
    std::string fault = Checker(in, budget).check();
    if (fault.empty()) continue;
    ++failures;
    ADD_FAILURE() << "instance " << i << ": " << fault << describe(in);
  }
}

}  // namespace

TEST(PipDifferential, IntegerBounded) { run_family(Family::kBounded, true, 1000, 11); }
TEST(PipDifferential, IntegerUnbounded) { run_family(Family::kUnbounded, true, 500, 12); }
TEST(PipDifferential, IntegerZeroUnknowns) { run_family(Family::kZeroUnknowns, true, 250, 13); }
TEST(PipDifferential, IntegerContexts) { run_family(Family::kContexts, true, 250, 14); }
TEST(PipDifferential, IntegerDivisions) { run_family(Family::kDivisions, true, 500, 15); }
TEST(PipDifferential, IntegerProjections) { run_family(Family::kProjection, true, 400, 16); }
TEST(PipDifferential, RationalBounded) { run_family(Family::kBounded, false, 1000, 21); }
TEST(PipDifferential, RationalUnbounded) { run_family(Family::kUnbounded, false, 500, 22); }
TEST(PipDifferential, RationalZeroUnknowns) { run_family(Family::kZeroUnknowns, false, 250, 23); }
TEST(PipDifferential, RationalContexts) { run_family(Family::kContexts, false, 250, 24); }
TEST(PipDifferential, RationalDivisions) { run_family(Family::kDivisions, false, 500, 25); }
TEST(PipDifferential, RationalProjections) { run_family(Family::kProjection, false, 300, 26); }

// Every integer optimum whose first unknown takes few values computed one
// value at a time, the tree built from the values' overlapping optima.
constexpr PipBudget kByValues = {1, 0};
TEST(PipDifferential, IntegerBoundedByValues) {
  run_family(Family::kBounded, true, 1000, 31, kByValues);
}
TEST(PipDifferential, IntegerContextsByValues) {
  run_family(Family::kContexts, true, 250, 32, kByValues);
}
TEST(PipDifferential, IntegerDivisionsByValues) {
  run_family(Family::kDivisions, true, 500, 33, kByValues);
}
TEST(PipDifferential, IntegerProjectionsByValues) {
  run_family(Family::kProjection, true, 400, 34, kByValues);
}
