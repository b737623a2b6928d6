// The cut of a large schedule into parts that run one after the other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <isl/ctx.h>
#include <isl/set.h>
#include <isl/union_map.h>

#include "DateParts.h"

namespace {

// The parts of the schedule `text`, their first dates printed in order.
std::vector<std::string> parts_of(const std::string& text) {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_union_map* schedule = isl_union_map_read_from_str(ctx, text.c_str());
  std::vector<iscc::DatePart> parts = iscc::first_date_parts(schedule);
  std::vector<std::string> dates;
  for (const iscc::DatePart& part : parts) {
    char* printed = isl_set_to_str(part.first_dates);
    dates.push_back(printed);
    free(printed);
  }
  iscc::free_parts(parts);
  isl_union_map_free(schedule);
  isl_ctx_free(ctx);
  return dates;
}

TEST(DateParts, LastTimeTileRunsAfterTheTilesBeforeIt) {
  // Pieces of two statements, the last time tile listed first.
  EXPECT_EQ(parts_of("[N, n] -> { S[o, i] -> [o, i] : o = N and 0 <= i < n; "
                     "S[o, i] -> [o, i] : 0 <= o < N and 0 <= i < 4; T[o] -> [o, 5] : o = N; "
                     "T[o] -> [o, 5] : 0 <= o < N }"),
            (std::vector<std::string>{"[N, n] -> { [i0, i1] : 0 <= i0 < N }",
                                      "[N, n] -> { [N, i1] }"}));
}

TEST(DateParts, FirstDatesThatMeetOrInterleaveKeepTheScheduleWhole) {
  // The fixed first date 5 lies among the free ones once N > 5.
  EXPECT_EQ(parts_of("[N] -> { S[o] -> [o] : 0 <= o < N; S[o] -> [o] : o = 5 }"),
            std::vector<std::string>{});
  // 2N comes before N + 3 only for N < 3.
  EXPECT_EQ(parts_of("[N] -> { S[o] -> [o] : o = 2N; S[o] -> [o] : o = N + 3 }"),
            std::vector<std::string>{});
  // Dates of two spaces.
  EXPECT_EQ(parts_of("[N] -> { S[o] -> [o] : 0 <= o < N; T[o] -> [o, 0] : o = N }"),
            std::vector<std::string>{});
  // Every piece leaves the first date free.
  EXPECT_EQ(parts_of("[N] -> { S[o, i] -> [o, i] : 0 <= o < N and 0 <= i < 4; "
                     "S[o, i] -> [o, i] : 0 <= o < N and 4 <= i < 8 }"),
            std::vector<std::string>{});
}

TEST(DateParts, ConstantFirstDatesOfASequenceAreParts) {
  EXPECT_EQ(parts_of("[N] -> { S[i] -> [1, i] : 0 <= i < N; T[i] -> [0, i] : 0 <= i < N }"),
            (std::vector<std::string>{"[N] -> { [0, i1] : N > 0 }", "[N] -> { [1, i1] : N > 0 }"}));
}

}  // namespace
