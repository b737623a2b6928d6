// The stored problems of bench/pip-slow, small problems on which the solver
// once took seconds to minutes, checked at every parameter point of a box
// against enumeration. slow_b and slow_c are answered from the optima of
// the values of their first unknown, slow_a and slow_d whole.
#include <gtest/gtest.h>

#include <sstream>

#include "oracle.h"
#include "pip_test_util.h"
#include "problem_file.h"

namespace {

constexpr long long kLow = -4, kHigh = 8;  // the parameter box

std::vector<std::vector<long long>> box(int np) {
  std::vector<std::vector<long long>> out{{}};
  for (int i = 0; i < np; ++i) {
    std::vector<std::vector<long long>> next;
    for (const auto &p : out)
      for (long long v = kLow; v <= kHigh; ++v) {
        next.push_back(p);
        next.back().push_back(v);
      }
    out = next;
  }
  return out;
}

std::string where(const std::vector<long long> &params) {
  std::ostringstream out;
  out << "at parameters";
  for (long long v : params) out << " " << v;
  return out.str();
}

class StoredProblem : public testing::TestWithParam<std::string> {};

TEST_P(StoredProblem, AgreesWithEnumeration) {
  ProblemFile pb;
  ASSERT_TRUE(read_problem_file(GetParam(), &pb)) << GetParam();
  ASSERT_NE(pb.options.Nq, 0) << "the oracle here enumerates integer optima";
  bool maximize = pb.options.Maximize != 0;
  bool free_unknowns = maximize || pb.options.Urs_unknowns != 0;
  int solved = first_unbounded(pb.domain, pb.nn, free_unknowns, maximize);
  ASSERT_EQ(solved, pb.nn) << "the oracle here needs bounded unknowns";
  PipMatrix *problem = make_matrix(pb.nn + pb.np + 2, pb.domain);
  PipMatrix *context = make_matrix(pb.np + 2, pb.context);
  PipQuast *q = pip_solve(problem, context, -1, &pb.options);
  ASSERT_NE(q, nullptr);
  EXPECT_EQ(shape_violations(q, pb.np, pb.nn, true, solved), "");
  int faults = 0;
  for (const std::vector<long long> &params : box(pb.np)) {
    if (!in_context(pb.context, params, pb.options.Urs_parms != 0)) continue;
    Evaluation e = evaluate(q, params);
    std::vector<long long> best;
    FixedProblem fixed = fix_parameters(pb.domain, pb.nn, params, free_unknowns, maximize);
    bool feasible = integer_optimum(fixed, solved, &best);
    std::vector<Value> expected;
    for (long long v : best) expected.push_back({v, 1});
    if (feasible == e.nil) {
      ADD_FAILURE() << where(params) << (feasible ? ": no leaf" : ": leaf without solution");
    } else if (feasible && e.values != expected) {
      ADD_FAILURE() << where(params) << ": wrong values";
    } else {
      continue;
    }
    if (++faults == 3) break;
  }
  pip_quast_free(q);
  pip_matrix_free(problem);
  pip_matrix_free(context);
}

std::string test_name(const testing::TestParamInfo<std::string> &info) {
  std::string name = info.param.substr(info.param.rfind('/') + 1);
  return name.substr(0, name.size() - 4);
}

INSTANTIATE_TEST_SUITE_P(SlowInputs, StoredProblem,
                         testing::Values(PIP_SLOW_DIR "/slow_a.pip", PIP_SLOW_DIR "/slow_b.pip",
                                         PIP_SLOW_DIR "/slow_c.pip", PIP_SLOW_DIR "/slow_d.pip"),
                         test_name);

}  // namespace
