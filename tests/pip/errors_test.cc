// Failures end the run with a message instead of an answer that a caller
// would read as "no solution".
#include <gtest/gtest.h>

#include "pip_test_util.h"

namespace {

void solve(PipMatrix *problem, PipMatrix *context, int bignum, PipOptions *options) {
  pip_quast_free(pip_solve(problem, context, bignum, options));
}

}  // namespace

TEST(PipErrorsDeathTest, InvalidArguments) {
  PipOptions *o = pip_options_init();
  PipMatrix *pb = make_matrix(3, {{1, 1, 0}});
  PipMatrix *narrow_ctx = pip_matrix_alloc(0, 1);
  PipMatrix *wide_ctx = pip_matrix_alloc(0, 5);
  auto exits = testing::ExitedWithCode(1);
  EXPECT_EXIT(solve(nullptr, nullptr, -1, o), exits, "pip_solve: NULL problem");
  EXPECT_EXIT(solve(pb, nullptr, -1, nullptr), exits, "pip_solve: NULL options");
  EXPECT_EXIT(solve(pb, narrow_ctx, -1, o), exits, "pip_solve: context has fewer than 2 columns");
  EXPECT_EXIT(solve(pb, wide_ctx, -1, o), exits, "pip_solve: problem has fewer columns");
  EXPECT_EXIT(solve(pb, nullptr, 0, o), exits, "pip_solve: bignum must be -1");
  pip_matrix_free(pb);
  pip_matrix_free(narrow_ctx);
  pip_matrix_free(wide_ctx);
  pip_options_free(o);
}

TEST(PipErrorsDeathTest, AnswerOutside64Bits) {
  // x = 2^32 y, y = 2^32 N: x = 2^64 N.
  const long long big = 1LL << 32;
  PipMatrix *pb = make_matrix(5, {{0, 1, -big, 0, 0}, {0, 0, 1, -big, 0}});
  PipMatrix *ctx = pip_matrix_alloc(0, 3);
  PipOptions *o = pip_options_init();
  EXPECT_EXIT(solve(pb, ctx, -1, o), testing::ExitedWithCode(1),
              "pip_solve: answer coefficient outside 64 bits");
  pip_matrix_free(pb);
  pip_matrix_free(ctx);
  pip_options_free(o);
}
