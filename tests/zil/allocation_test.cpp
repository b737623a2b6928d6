// The library's checked allocation: empty requests stay freeable, and a
// request the system cannot meet stops with a message instead of handing a
// null pointer to the writer.
#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "allocation.h"
#include "linAlg.h"

namespace {

TEST(ZilAllocation, EmptyRequestsAreFreeable) {
  free(allocArray(0, sizeof(long long)));
  free(allocZeroArray(3, 0));
  free(allocZeroVector(0));
  free(allocZeroVector(-1));
  freeMatrix(allocZeroMatrix(0, 5), 0);
  freeMatrix(allocZeroMatrix(2, 0), 2);
  freeMatrix(allocZeroRationalMatrix(0, 0), 0);
}

TEST(ZilAllocation, MatricesStartAtZero) {
  long long** mat = allocZeroMatrix(3, 4);
  for (int i = 0; i < 3; i++)
    for (int j = 0; j < 4; j++) EXPECT_EQ(mat[i][j], 0);
  freeMatrix(mat, 3);
  rational64** rat = allocZeroRationalMatrix(2, 2);
  EXPECT_EQ(rat[1][1].num, 0);
  EXPECT_EQ(rat[1][1].den, 1);
  freeMatrix(rat, 2);
}

TEST(ZilAllocation, SizeBeyondAddressSpaceStops) {
  EXPECT_EXIT(allocArray(SIZE_MAX / 4, 8), testing::ExitedWithCode(1), "^ZIL: out of memory\n$");
  EXPECT_EXIT(allocZeroArray(SIZE_MAX / 2 + 1, 2), testing::ExitedWithCode(1), "^ZIL: out of memory\n$");
}

// malloc itself answers NULL for this request (the sanitizer's allocator
// reports it instead, so the case runs in the plain builds only).
TEST(ZilAllocation, RefusedRequestStops) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reports oversized requests itself";
#else
  std::size_t huge = static_cast<std::size_t>(PTRDIFF_MAX) / 2;
  EXPECT_EXIT(allocArray(huge, 1), testing::ExitedWithCode(1), "^ZIL: out of memory\n$");
  EXPECT_EXIT(allocZeroArray(huge / 8, 8), testing::ExitedWithCode(1), "^ZIL: out of memory\n$");
#endif
}

}  // namespace
