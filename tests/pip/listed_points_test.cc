// The integer points of bounded parameter sets listed by scanning, checked
// against isl's own enumeration, and the cases where nothing is listed.
#include <gtest/gtest.h>

#include <isl/ctx.h>
#include <isl/options.h>
#include <isl/set.h>

#include <algorithm>

#include "listed_points.h"

namespace {

class ListedPointsTest : public testing::Test {
 protected:
  void SetUp() override {
    ctx_ = isl_ctx_alloc();
    isl_options_set_on_error(ctx_, ISL_ON_ERROR_ABORT);
  }
  void TearDown() override { isl_ctx_free(ctx_); }

  // The basic set of the isl text "[p0, p1] -> { : ... }", divisions known.
  Isl<isl_basic_set> basic_set(const char *text) {
    Isl<isl_set> set(ctx_, isl_set_compute_divs(isl_set_read_from_str(ctx_, text)));
    return Isl<isl_basic_set>(ctx_, isl_set_simple_hull(set.take()));
  }

  // The points isl enumerates in the (bounded) set, sorted.
  std::vector<PipPoint> isl_points(const char *text) {
    isl_set *set = isl_set_read_from_str(ctx_, text);
    set = isl_set_move_dims(set, isl_dim_set, 0, isl_dim_param, 0, 2);
    std::vector<PipPoint> out;
    isl_set_foreach_point(
        set,
        [](isl_point *p, void *user) {
          PipPoint point;
          for (int i = 0; i < 2; ++i) {
            isl_val *v = isl_point_get_coordinate_val(p, isl_dim_set, i);
            point.push_back(isl_val_get_num_si(v));
            isl_val_free(v);
          }
          static_cast<std::vector<PipPoint> *>(user)->push_back(point);
          isl_point_free(p);
          return isl_stat_ok;
        },
        &out);
    isl_set_free(set);
    std::sort(out.begin(), out.end());
    return out;
  }

  isl_ctx *ctx_ = nullptr;
};

TEST_F(ListedPointsTest, ListsThePointsIslEnumerates) {
  // An equality with a coefficient (isl eliminates through it with a new
  // division), nested divisions, a division in an equality.
  for (const char *text :
       {"[p0, p1] -> { : 3p1 = 37 + 2p0 and 0 <= p0 <= 12 }",
        "[p0, p1] -> { : exists (e0 = floor((2p0 - p1)/7), e1 = floor((p1 + e0)/3): "
        "7e0 >= -3 + 2p0 - p1 and 3e1 <= -1 + p1 + e0 and -9 <= p0 <= 9 and -9 <= p1 <= 9) }",
        "[p0, p1] -> { : exists (e0 = floor((p0 + p1)/2): 2e0 = p0 + p1 and "
        "p0 >= 0 and p1 >= 0 and 4p0 + 3p1 <= 25) }"}) {
    std::vector<PipPoint> listed;
    Isl<isl_basic_set> set = basic_set(text);
    ASSERT_TRUE(pip_list_points(ctx_, set.get(), 2, 1e6, &listed)) << text;
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end())) << text;
    EXPECT_EQ(listed, isl_points(text)) << text;
  }
}

TEST_F(ListedPointsTest, ListsNothingUnboundedOrTooLarge) {
  std::vector<PipPoint> listed;
  Isl<isl_basic_set> unbounded = basic_set("[p0, p1] -> { : p0 >= 0 and 0 <= p1 <= 3 }");
  EXPECT_FALSE(pip_list_points(ctx_, unbounded.get(), 2, 1e6, &listed));
  Isl<isl_basic_set> large = basic_set("[p0, p1] -> { : 0 <= p0 <= 99 and 0 <= p1 <= 99 }");
  EXPECT_FALSE(pip_list_points(ctx_, large.get(), 2, 1000, &listed));
  EXPECT_TRUE(pip_list_points(ctx_, large.get(), 2, 20000, &listed));
  EXPECT_EQ(listed.size(), 10000u);
}

TEST(ListedPointsSpan, TellsPointsOnAHyperplaneFromASpanningSet) {
  EXPECT_FALSE(pip_points_span({{1, 13}, {4, 15}, {7, 17}, {10, 19}}, 2));  // 3p1 = 37 + 2p0
  EXPECT_TRUE(pip_points_span({{1, 13}, {4, 15}, {4, 16}}, 2));
  EXPECT_FALSE(pip_points_span({{2, 2}}, 2));
  EXPECT_FALSE(pip_points_span({}, 2));
  EXPECT_TRUE(pip_points_span({{}}, 0));
  // Differences whose products leave 127 bits: not told.
  EXPECT_FALSE(pip_points_span({{0, 0, 0}, {1LL << 62, 1, 0}, {1, 1LL << 62, 0}, {0, 1, 1LL << 62}}, 3));
}

}  // namespace
