// The full tiles of a tiled domain, compared as sets with what each case
// must give.
#include <gtest/gtest.h>

#include <isl/ctx.h>
#include <isl/set.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FullTiles.h"

namespace {

// Whether the two sets in isl's syntax are equal ("" reads as empty).
bool same_set(const std::string& a, const std::string& b) {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_set* x = isl_set_read_from_str(ctx, a.empty() ? "{ S0[o, p] : 1 = 0 }" : a.c_str());
  isl_set* y = isl_set_read_from_str(ctx, b.c_str());
  bool equal = isl_set_is_equal(x, y) == isl_bool_true;
  isl_set_free(x);
  isl_set_free(y);
  isl_ctx_free(ctx);
  return equal;
}

// The full-tile instances of `domain` under `tile`, a statement alone.
std::string full_of(const std::string& domain, const std::string& tile, const std::set<std::string>& points) {
  return full_tile_instances({{domain, tile, points, "", {}}})->at(0);
}

// The full-tile instances of `domain` under `tile` must be `expected`.
void expect_full(const std::string& domain, const std::string& tile, const std::set<std::string>& points,
                 const std::string& expected) {
  std::string full = full_of(domain, tile, points);
  EXPECT_TRUE(same_set(full, expected)) << full;
}

const std::string kTile = "[b] -> { S0[o, p] : 0 <= p < b }";

TEST(FullTiles, LastPartialTileIsLeftOut) {
  // 0 <= i < N split as i = b o + p, N = b oN + iN.
  std::string domain =
      "[b, oN, iN] -> { S0[o, p] : 0 <= iN < b and ((0 <= o < oN and 0 <= p < b) or (o = oN and 0 <= p < iN)) }";
  expect_full(domain, kTile, {"p"}, "[b, oN, iN] -> { S0[o, p] : 0 <= iN < b and 0 <= o < oN and 0 <= p < b }");
}

TEST(FullTiles, TilesCutByTheDomainAreNotFull) {
  // A triangle j <= i in square tiles: full below the diagonal, and on it
  // only with tiles of one point.
  std::string domain = "[b, oN] -> { S0[oi, oj, pi, pj] : 0 <= pi < b and 0 <= pj < b and 0 <= oj <= oi < oN and "
                       "(oj < oi or pj <= pi) }";
  std::string tile = "[b] -> { S0[oi, oj, pi, pj] : 0 <= pi < b and 0 <= pj < b }";
  // The diagonal tiles are full only when b = 1, a piece of lower
  // dimension, left with the partial tiles.
  expect_full(domain, tile, {"pi", "pj"},
              "[b, oN] -> { S0[oi, oj, pi, pj] : 0 <= pi < b and 0 <= pj < b and 0 <= oj < oi < oN }");
  // Under a tile of one point, every tile is full.
  expect_full(domain, "[b] -> { S0[oi, oj, pi, pj] : pi = 0 and pj = 0 }", {"pi", "pj"},
              "[b, oN] -> { S0[oi, oj, 0, 0] : 0 <= oj <= oi < oN and b >= 1 }");
}

TEST(FullTiles, SkewedTilesOfALargerRatio) {
  // t in [0, T), i in [1, N - 1), tiles 2 wide along t and 4 along t + i.
  std::string domain = "[T, N] -> { S0[o0, o1, p0, p1] : 0 <= p0 < 2 and 0 <= p1 < 4 and 0 <= 2o0 + p0 < T and "
                       "1 <= 4o1 + p1 - 2o0 - p0 < N - 1 }";
  std::string tile = "{ S0[o0, o1, p0, p1] : 0 <= p0 < 2 and 0 <= p1 < 4 }";
  expect_full(domain, tile, {"p0", "p1"},
              "[T, N] -> { S0[o0, o1, p0, p1] : 0 <= p0 < 2 and 0 <= p1 < 4 and o0 >= 0 and 2o0 + 1 < T and "
              "4o1 - 2o0 - 1 >= 1 and 4o1 + 3 - 2o0 < N - 1 }");
}

TEST(FullTiles, NoFullTileGivesNothing) {
  std::string domain = "[b, iN] -> { S0[o, p] : 0 <= iN < b and o = 0 and 0 <= p < iN }";
  EXPECT_EQ(full_of(domain, kTile, {"p"}), "");
  // Unreadable sets give nothing either: the statement runs as it is.
  EXPECT_EQ(full_of("{ S0[o, p] : p >= }", kTile, {"p"}), "");
  EXPECT_EQ(full_of("{ S0[o, p] : 0 <= p < 9 }", "{ S1[o] : o >= 0 }", {"p"}), "");
}

// Unions whose intersection is the domain give its full tiles, although
// each holds tiles that hold no point of the domain.
TEST(FullTiles, FactorsOfTheDomainGiveItsFullTiles) {
  std::string rows = "[N] -> { S0[oi, oj, pi, pj] : 0 <= pi < 4 and 0 <= 4oi + pi < N }";
  std::string columns = "[M] -> { S0[oi, oj, pi, pj] : 0 <= pj < 4 and (0 <= 4oj + pj < M or 4oj + pj = M + 2) }";
  std::string lower = "[M] -> { S0[oi, oj, pi, pj] : 4oj + pj <= 4oi + pi or 4oj + pj >= M }";
  std::string domain = "[N, M] -> { S0[oi, oj, pi, pj] : 0 <= pi < 4 and 0 <= 4oi + pi < N and 0 <= pj < 4 and "
                       "((0 <= 4oj + pj < M and 4oj + pj <= 4oi + pi) or 4oj + pj = M + 2) }";
  std::string tile = "{ S0[oi, oj, pi, pj] : 0 <= pi < 4 and 0 <= pj < 4 }";
  std::string whole = full_tile_instances({{domain, tile, {"pi", "pj"}, "", {}}})->at(0);
  std::string factored = full_tile_instances({{domain, tile, {"pi", "pj"}, "", {rows, columns, lower}}})->at(0);
  EXPECT_FALSE(whole.empty());
  EXPECT_TRUE(same_set(factored, whole)) << factored << "\n" << whole;
}

// Statements that share their tile loops count a tile as full only when it
// is full for each of them; statements in loops of their own do not.
TEST(FullTiles, SharedTileLoopsKeepTheTilesFullForEach) {
  // Tiles of 4 along 0 <= i < N for S0 and 1 <= i < N for S1.
  std::string d0 = "[N] -> { S0[o, p] : 0 <= p < 4 and 0 <= 4o + p < N }";
  std::string d1 = "[N] -> { S1[o, p] : 0 <= p < 4 and 1 <= 4o + p < N }";
  std::vector<std::string> shared = *full_tile_instances(
      {{d0, "{ S0[o, p] : 0 <= p < 4 }", {"p"}, "L", {}}, {d1, "{ S1[o, p] : 0 <= p < 4 }", {"p"}, "L", {}}});
  EXPECT_TRUE(same_set(shared[0], "[N] -> { S0[o, p] : 0 <= p < 4 and o >= 1 and 4o + 4 <= N }")) << shared[0];
  EXPECT_TRUE(same_set(shared[1], "[N] -> { S1[o, p] : 0 <= p < 4 and o >= 1 and 4o + 4 <= N }")) << shared[1];
  std::vector<std::string> apart = *full_tile_instances(
      {{d0, "{ S0[o, p] : 0 <= p < 4 }", {"p"}, "L0", {}}, {d1, "{ S1[o, p] : 0 <= p < 4 }", {"p"}, "L1", {}}});
  EXPECT_TRUE(same_set(apart[0], "[N] -> { S0[o, p] : 0 <= p < 4 and o >= 0 and 4o + 4 <= N }")) << apart[0];
  EXPECT_EQ(apart[1], shared[1]);
}

// Past its budget of work the search gives nothing, not the full tiles of
// what it computed until then; under every budget it gives either nothing
// or the full tiles it finds without bound.
TEST(FullTiles, SearchPastItsBudgetGivesNothing) {
  std::string domain = "[N] -> { S0[o, p] : 0 <= p < 4 and 0 <= 4o + p < N }";
  std::vector<TiledDomain> statement = {{domain, "{ S0[o, p] : 0 <= p < 4 }", {"p"}, "", {}}};
  std::string unbounded = full_tile_instances(statement, 0)->at(0);
  EXPECT_TRUE(same_set(unbounded, "[N] -> { S0[o, p] : 0 <= p < 4 and o >= 0 and 4o + 4 <= N }")) << unbounded;
  EXPECT_FALSE(full_tile_instances(statement, 1).has_value());
  bool found = false;
  for (unsigned long operations = 1; !found; operations += operations / 4 + 1) {
    std::optional<std::vector<std::string>> full = full_tile_instances(statement, operations);
    found = full.has_value();
    if (found) {
      EXPECT_EQ(full->at(0), unbounded) << "budget " << operations;
    }
  }
}

}  // namespace
