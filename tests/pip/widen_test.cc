// Widening the basic sets of the points without solution: the same integer
// points in fewer constraints, and the fewer tests this saves the tree.
#include <gtest/gtest.h>

#include <isl/ctx.h>
#include <isl/options.h>

#include "pip_test_util.h"
#include "widen.h"

namespace {

class WidenTest : public testing::Test {
 protected:
  void SetUp() override {
    ctx_ = isl_ctx_alloc();
    isl_options_set_on_error(ctx_, ISL_ON_ERROR_ABORT);
  }
  void TearDown() override { isl_ctx_free(ctx_); }

  Isl<isl_set> set(const char *text) {
    return Isl<isl_set>(ctx_, isl_set_read_from_str(ctx_, text));
  }

  int constraints(isl_set *s) {
    int n = 0;
    isl_set_foreach_basic_set(
        s,
        [](isl_basic_set *b, void *user) {
          *static_cast<int *>(user) += isl_basic_set_n_constraint(b);
          isl_basic_set_free(b);
          return isl_stat_ok;
        },
        &n);
    return n;
  }

  isl_ctx *ctx_ = nullptr;
};

TEST_F(WidenTest, KeepsTheIntegerPointsWithFewerConstraints) {
  const char *cases[] = {
      // Cut apart between b = 5 and b = 6 only.
      "[N, b] -> { : (N >= 5 and b >= 6) or (b <= 5 and b <= 1 + N and N >= 0) or N < 0 }",
      // Convex over the integers only: 2b <= 5 next to b >= 3.
      "[N, b] -> { : (2b <= 5 and N >= 0) or (b >= 3 and N >= 0 and N <= 4) }",
      // Nothing to drop.
      "[N, b] -> { : (N >= 0 and N <= 2 and b = 0) or (N >= 5 and b >= 1 and b <= 3) }",
      // Equalities stay.
      "[N, b] -> { : (N = 2b and b >= 0) or (N = 2b + 1 and b <= 10) }",
  };
  for (const char *text : cases) {
    Isl<isl_set> before = set(text);
    int count = constraints(before.get());
    Isl<isl_set> after = pip_widen_within(ctx_, Isl<isl_set>(before.copy()));
    EXPECT_TRUE(isl_set_is_equal(before.get(), after.get())) << text;
    EXPECT_LE(constraints(after.get()), count) << text;
  }
  Isl<isl_set> cut = pip_widen_within(ctx_, set(cases[0]));
  EXPECT_TRUE(isl_set_is_equal(cut.get(), set("[N, b] -> { : N >= 5 or b <= 1 + N or N < 0 }").get()));
}

TEST(WidenTree, NoSolutionSplitOnlyWhereTheAnswerChanges) {
  // Minimum of x >= 0 with N + 2 <= x <= 6, x <= b, 0 <= N <= 8: x = N + 2
  // exactly where b >= N + 2 and N <= 4. isl cuts the points without
  // solution at b = 5 as well, which once cost a third test.
  Rows rows = {{1, 1, -1, 0, -2}, {1, -2, 0, 0, 12}, {1, 0, 1, 0, 0}, {1, 0, -1, 0, 8},
               {1, -1, 0, 1, 0}};
  PipOptions *o = make_options(1, 0, 0, 0);
  EXPECT_EQ(solve_text(2, rows, {}, *o),
            "(if #[ -1 1 -2]\n(if #[ -1 0 4]\n(list\n#[ 1 0 2]\n)\n()\n)\n()\n)\n");
  pip_options_free(o);
}

}  // namespace
