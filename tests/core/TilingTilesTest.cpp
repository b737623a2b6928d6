// Full and partial tiles of constant tiling against brute force, the split's
// trace, single hyperplanes, the copy of a record, the report and the stops.

#include <algorithm>
#include <sstream>

#include "CommandTest.h"
#include "IndexFunction.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"

namespace {

// Constraint and hyperplane rows over [i | j | N | M | 1] (constraints with
// a leading flag).
const Rows rectangle = {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 1, -1}};
const Rows triangle = {{1, 0, 1, 0, 0, 0}, {1, 1, -1, 0, 0, 0}, {1, -1, 0, 1, 0, -1}};
const Rows band = {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, -1, 1, 0, 0, 0}, {1, 1, -1, 0, 1, -1}};
const Rows straight = {{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
const Rows skewed = {{1, 0, 0, 0, 0}, {1, 1, 0, 0, 0}};

class TilingTilesTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    register_names({"i", "j"}, {"N", "M"});
  }
  Polyhedron* over_ij(const Rows& rows) { return new Polyhedron(rows, std::vector<int>{0, 1}, {0, 1}); }
  IndexFunction* function(const Rows& rows) { return new IndexFunction(rows, std::vector<int>{0, 1}, {0, 1}); }
  // One entry per hyperplane list: constant tiling with its sizes, or no
  // tiling when the sizes are empty (is_tiled as given). The tiles are
  // computed when `tiles` is set.
  Tiling* record(const std::vector<int>& is_tiled, const std::vector<std::vector<int>>& sizes,
                 const std::vector<Rows>& hyperplanes, bool tiles = true) {
    size_t n = is_tiled.size();
    std::vector<int> constant, zeros(n, 0), groups;
    std::vector<IndexFunction*> h, schedules;
    std::vector<Polyhedron*> shapes;
    std::vector<std::vector<int>> dims;
    for (size_t k = 0; k < n; k++) {
      constant.push_back(!sizes[k].empty());
      groups.push_back(sizes[k].empty() ? -1 : static_cast<int>(k));
      h.push_back(function(hyperplanes[k]));
      shapes.push_back(new Polyhedron());
      schedules.push_back(new IndexFunction(std::vector<int>{0, 1}));
      std::vector<int> tiled;
      for (size_t d = 0; !sizes[k].empty() && d < hyperplanes[k].size(); d++) tiled.push_back(static_cast<int>(d));
      dims.push_back(tiled);
    }
    Tiling* t = new Tiling(is_tiled, constant, zeros, zeros, sizes, h, std::vector<std::vector<int>>(n),
                           std::vector<std::vector<std::vector<int>>>(n), shapes, groups, schedules, dims);
    del(h);
    del(schedules);
    del(shapes);
    if (tiles) stdout_of([&] { t->compute_constant_tiling_domains(); });
    return t;
  }
  // The corners of the tile of (a·i + b·j, c·i + d·j) with sizes (s0, s1),
  // for unimodular (a b; c d): x = H^-1 (s·t + corner offset).
  std::vector<std::map<int, Expression*>> corners(const Tiling* t, const Rows& h, const std::vector<int>& s) {
    int a = h[0][0], b = h[0][1], c = h[1][0], d = h[1][1];
    int det = a * d - b * c;
    std::vector<std::map<int, Expression*>> result;
    std::vector<int> tiles = {t->tile_counter[0].first, t->tile_counter[1].first};
    for (int e0 : {0, s[0] - 1})
      for (int e1 : {0, s[1] - 1}) {
        // i = (d·y0 - b·y1) / det, j = (-c·y0 + a·y1) / det with y = s·t + e.
        std::vector<int> i = {d * s[0] * det, -b * s[1] * det, (d * e0 - b * e1) * det};
        std::vector<int> j = {-c * s[0] * det, a * s[1] * det, (-c * e0 + a * e1) * det};
        result.push_back({{0, new Expression(i, tiles, {})}, {1, new Expression(j, tiles, {})}});
      }
    return result;
  }
};

// Rows of p over `counters` with N and M fixed: [flag | counters | 1].
Rows fixed(Polyhedron* p, const std::vector<int>& counters, int n, int m) {
  for (int c : p->get_counters())
    EXPECT_NE(std::find(counters.begin(), counters.end(), c), counters.end()) << "counter " << c;
  Rows result;
  for (std::vector<int> row : p->to_matrix(counters, {0, 1})) {
    row[row.size() - 1] += n * row[counters.size() + 1] + m * row[counters.size() + 2];
    row.erase(row.begin() + counters.size() + 1, row.begin() + counters.size() + 3);
    result.push_back(row);
  }
  return result;
}

struct TileCase {
  Rows domain;
  Rows hyperplanes;
  std::vector<int> sizes;
};

TEST_F(TilingTilesTest, FullTilesAreTheTilesInsideTheDomainAndTheCopiesCoverEachIterationOnce) {
  std::vector<TileCase> cases;
  for (const Rows& domain : {rectangle, triangle, band}) {
    cases.push_back({domain, straight, {4, 3}});
    cases.push_back({domain, skewed, {3, 2}});
  }
  for (const TileCase& c : cases) {
    Tiling* t = record({1}, {c.sizes}, {c.hyperplanes});
    t->tile_vertices = {corners(t, c.hyperplanes, c.sizes)};
    Polyhedron* d = over_ij(c.domain);
    Statement* s = new Statement(0);
    s->iteration_domain = d->clone();
    s->surrounding_counters = {0, 1};
    Program program(2, 2, {s});
    std::pair<std::pair<Program*, std::vector<Schedule*>>, std::map<int, std::vector<int>>> split;
    stdout_of([&] { split = t->apply_separate_full_tiles(&program); });
    Polyhedron* a = t->tile_domain(0, d);
    Polyhedron* f = t->full_tile_domain(0, d);
    std::vector<int> tiles = {t->tile_counter[0].first, t->tile_counter[1].first};
    std::vector<int> all = {0, 1, tiles[0], tiles[1]};
    const std::vector<Statement*>& copies = split.first.first->statement;
    ASSERT_EQ(split.second.at(0).size(), copies.size());
    for (const Statement* copy : copies) EXPECT_EQ(copy->surrounding_counters, all);
    for (int n = 0; n <= 11; n++)
      for (int m = 0; m <= 11; m++) {
        Rows in_d = fixed(d, {0, 1}, n, m);
        Rows in_a = fixed(a, tiles, n, m), in_f = fixed(f, tiles, n, m);
        std::vector<Rows> in_copy;
        for (Statement* copy : copies) in_copy.push_back(fixed(copy->iteration_domain, all, n, m));
        std::map<Point, std::pair<int, int>> tile_points;  // tile -> (points, points in D)
        for (int i = -4; i <= 15; i++)
          for (int j = -4; j <= 27; j++) {
            int h0 = c.hyperplanes[0][0] * i + c.hyperplanes[0][1] * j;
            int h1 = c.hyperplanes[1][0] * i + c.hyperplanes[1][1] * j;
            Point tile = {static_cast<int>(floor_div(h0, c.sizes[0])), static_cast<int>(floor_div(h1, c.sizes[1]))};
            bool inside = satisfies(in_d, {i, j});
            tile_points[tile].first++;
            tile_points[tile].second += inside;
            for (Point shift : {Point{0, 0}, Point{-1, 1}}) {
              int holders = 0;
              for (const Rows& r : in_copy)
                holders += satisfies(r, {i, j, tile[0] + shift[0], tile[1] + shift[1]});
              int expected = inside && shift == Point{0, 0} ? 1 : 0;
              ASSERT_EQ(holders, expected) << "N " << n << " M " << m << " i " << i << " j " << j;
            }
          }
        for (const auto& tile : tile_points) {
          if (tile.second.first != c.sizes[0] * c.sizes[1]) continue;  // cut by the box
          bool full = tile.second.second == tile.second.first;
          EXPECT_EQ(satisfies(in_f, tile.first), full) << "N " << n << " M " << m;
          if (tile.second.second > 0) {
            EXPECT_TRUE(satisfies(in_a, tile.first)) << "N " << n << " M " << m;
          }
        }
      }
    delete a;
    delete f;
    delete d;
    delete split.first.first;
    delete t;
  }
}

TEST_F(TilingTilesTest, WithoutVerticesTheFullTilesAreAllTiles) {
  Tiling* t = record({1}, {{4, 3}}, {straight});
  Polyhedron* d = over_ij(triangle);
  Polyhedron* a = t->tile_domain(0, d);
  Polyhedron* f = t->full_tile_domain(0, d);
  std::vector<int> tiles = {t->tile_counter[0].first, t->tile_counter[1].first};
  for (int n : {0, 5, 11})
    for (const Point& x : points(box_rows(2, 3, 3), 2, 3))
      EXPECT_EQ(satisfies(fixed(a, tiles, n, 0), x), satisfies(fixed(f, tiles, n, 0), x));
  Statement* s = new Statement(0);
  s->iteration_domain = d->clone();
  Program program(2, 2, {s});
  std::pair<std::pair<Program*, std::vector<Schedule*>>, std::map<int, std::vector<int>>> split;
  EXPECT_EQ(stdout_of([&] { split = t->apply_separate_full_tiles(&program); }), "Statement #0\n  full tile --> S0\n");
  EXPECT_EQ(split.second, (std::map<int, std::vector<int>>{{0, {0}}}));
  for (Polyhedron* p : {a, f, d}) delete p;
  delete split.first.first;
  delete t;
}

TEST_F(TilingTilesTest, TraceRanksAndProgramOfTheSplit) {
  // Statement 1: 0 <= i < N tiled by i with size 4; its full tiles
  // 0 <= 4·t0, 4·t0 + 3 <= N - 1 leave one partial piece.
  Tiling* t = record({-1, 1}, {{}, {4}}, {straight, {{1, 0, 0, 0, 0}}});
  EXPECT_EQ(t->tile_counter.size(), 1u);
  int t0 = t->tile_counter[0].first;
  t->tile_vertices = {{}, {{{0, new Expression({4, 0}, std::vector<int>{t0}, {})}},
                           {{0, new Expression({4, 3}, std::vector<int>{t0}, {})}}}};
  std::vector<Statement*> statements;
  for (int k = 0; k < 2; k++) {
    statements.push_back(new Statement(k));
    statements[k]->iteration_domain = new Polyhedron(Rows{{1, 1, 0, 0}, {1, -1, 1, -1}}, std::vector<int>{0}, {0});
    statements[k]->surrounding_counters = {0};
  }
  Program program(2, 2, statements);
  std::pair<std::pair<Program*, std::vector<Schedule*>>, std::map<int, std::vector<int>>> split;
  EXPECT_EQ(stdout_of([&] { split = t->apply_separate_full_tiles(&program); }),
            "Statement #0\n  (not tiled) --> S0Statement #1\n  full tile --> S1\n  partial tile --> S2\n");
  EXPECT_EQ(split.second, (std::map<int, std::vector<int>>{{0, {0}}, {1, {1, 2}}}));
  Program* result = split.first.first;
  EXPECT_TRUE(split.first.second.empty());
  EXPECT_EQ(result->nb_counters, 3);
  EXPECT_EQ(result->nb_parameters, 2);
  ASSERT_EQ(result->statement.size(), 3u);
  EXPECT_EQ(result->statement[0]->surrounding_counters, std::vector<int>{0});
  for (int k = 0; k < 3; k++) EXPECT_EQ(result->statement[k]->stmt_rank, k);
  for (int k = 1; k < 3; k++) EXPECT_EQ(result->statement[k]->surrounding_counters, (std::vector<int>{0, t0}));
  delete result;
  delete t;
}

TEST_F(TilingTilesTest, HyperplanesWithTheirTileCounters) {
  Tiling* t = record({1}, {{4, 3}}, {skewed});
  std::pair<Expression*, Expression*> last = t->last_hyperplan(0);
  std::pair<Expression*, Expression*> first = t->get_hyperplan(0, 0);
  EXPECT_EQ(text(last.first), "i+j");
  EXPECT_EQ(text(last.second), "tile_counter_1");
  EXPECT_EQ(text(first.first), "i");
  EXPECT_EQ(text(first.second), "tile_counter_0");
  EXPECT_NE(last.first, t->tile_hyperplans[0]->index_mapping[1]) << "a clone";
  del(std::vector<Expression*>{last.first, last.second, first.first, first.second});
  delete t;
}

TEST_F(TilingTilesTest, CloneCopiesTheTwelveVectorsOnly) {
  Tiling* t = record({1, 0}, {{4, 3}, {}}, {straight, skewed});
  t->tile_vertices = {corners(t, straight, {4, 3}), {}};
  Tiling* copy = t->clone();
  EXPECT_EQ(copy->is_tiled, t->is_tiled);
  EXPECT_EQ(copy->is_constant_tiling, t->is_constant_tiling);
  EXPECT_EQ(copy->tile_size, t->tile_size);
  EXPECT_EQ(copy->tile_group, t->tile_group);
  EXPECT_EQ(copy->tile_dimensions, t->tile_dimensions);
  ASSERT_EQ(copy->schedule.size(), 2u);
  EXPECT_NE(copy->schedule[0], t->schedule[0]);
  EXPECT_EQ(*copy->schedule[0] == *t->schedule[0], 1);
  EXPECT_NE(copy->tile_hyperplans[1], t->tile_hyperplans[1]);
  EXPECT_NE(copy->tile_shape[0], t->tile_shape[0]);
  EXPECT_EQ(copy->nb_statements, 0);
  EXPECT_TRUE(copy->tile.empty() && copy->tile_counter.empty() && copy->tile_vertices.empty());
  delete copy;
  delete t;
}

TEST_F(TilingTilesTest, ReportOfEveryKind) {
  IndexFunction* hyperplanes = function(straight);
  IndexFunction* schedule = new IndexFunction(std::vector<int>{0, 1});
  Polyhedron* shape = new Polyhedron(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}}, std::vector<int>{0, 1}, {0});
  Polyhedron* universe = new Polyhedron();
  IndexFunction none;
  Tiling t({1, 0, 1, 1}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}, {{32, 16}, {}, {}, {}},
           {hyperplanes, &none, hyperplanes, &none}, {{}, {}, {2, 1}, {}}, {{}, {}, {}, {{1, 0}, {0, 1}, {1, 1}}},
           {universe, universe, universe, shape}, {0, -1, 1, 2}, {schedule, schedule, schedule, schedule},
           {{0, 1}, {}, {0}, {1}});
  std::ostringstream report, shape_text;
  shape_text << *shape;
  EXPECT_EQ(stdout_of([&] { report << t; }), "  Tile group #0\n  Tile group #1\n  Tile group #2\n");
  EXPECT_EQ(report.str(),
            "Statement #0 \n  Constant tiling:\n    Tile size: 32 16 \n    Hyperplanes: (i,j)\n"
            "  Schedule: (i,j)\n  Rank of tile dimensions: 0 1 \n"
            "Statement #1 (not tiled)\n  Schedule: (i,j)\n"
            "Statement #2 \n  ZIL rectangular:\n    Tile ratio: 2 1 \n    Hyperplanes: (i,j)\n"
            "  Schedule: (i,j)\n  Rank of tile dimensions: 0 \n"
            "Statement #3 \n  ZIL general:\n    Tile lattice: \n3 2\n1  0  \n0  1  \n1  1  \n\n"
            "    Tile shape:\n" + shape_text.str() + "\n  Schedule: (i,j)\n  Rank of tile dimensions: 1 \n");
  // A shorter field is reported, and its lines are left out.
  t.tile_size.pop_back();
  delete t.schedule.back();
  t.schedule.pop_back();
  std::ostringstream short_report;
  EXPECT_EQ(stdout_of([&] { short_report << t; }),
            "Incorrect tile_size\nIncorrect schedule\n  Tile group #0\n  Tile group #1\n  Tile group #2\n");
  EXPECT_EQ(short_report.str().substr(short_report.str().rfind("Statement #3")),
            "Statement #3 \n  ZIL general:\n    Tile lattice: \n3 2\n1  0  \n0  1  \n1  1  \n\n"
            "    Tile shape:\n" + shape_text.str() + "\n  Rank of tile dimensions: 1 \n");
  t.is_tiled.push_back(-1);
  std::ostringstream tiled_minus_one;
  stdout_of([&] { tiled_minus_one << t; });
  EXPECT_EQ(tiled_minus_one.str().substr(tiled_minus_one.str().rfind("Statement #4")), "Statement #4 \n");
  delete hyperplanes;
  delete schedule;
  delete shape;
  delete universe;
}

TEST_F(TilingTilesTest, StopsOfTheTileQueriesAndTheSplit) {
  Tiling* t = record({-1, 1, 1}, {{}, {4, 3}, {}}, {straight, straight, straight});
  t->tile_vertices = {{}, {{{0, new Expression(0)}}}, {}};
  Polyhedron* d = over_ij(rectangle);
  for (const char* who : {"Tiling::tile_domain", "Tiling::full_tile_domain"}) {
    auto query = [&](int stmt) {
      if (std::string(who) == "Tiling::tile_domain") return t->tile_domain(stmt, d);
      return t->full_tile_domain(stmt, d);
    };
    EXPECT_STOP_ON_STDERR(query(3), std::string(who) + ": invalid statement rank");
    EXPECT_STOP_ON_STDERR(query(-1), std::string(who) + ": invalid statement rank");
    EXPECT_STOP_ON_STDERR(query(0), std::string(who) + ": not a tiled statement");
    EXPECT_STOP_ON_STDERR(query(2), std::string(who) + ": not a constant tiled statement");
  }
  EXPECT_STOP_ON_STDERR(t->full_tile_domain(1, d), "Tiling::full_tile_domain: vertex without a value for counter j");
  Program one(2, 2, {new Statement(0)});
  EXPECT_STOP_ON_STDERR(t->apply_separate_full_tiles(&one), "Tiling::apply_separate_full_tiles: nb_statements mismatch");
  std::vector<Statement*> three;
  for (int k = 0; k < 3; k++) {
    three.push_back(new Statement(k));
    three[k]->iteration_domain = d->clone();
  }
  Program program(2, 2, three);
  EXPECT_STOP_ON_STDERR(t->apply_separate_full_tiles(&program),
                        "Tiling::apply_separate_full_tiles: statement #2 is not constant-tiled");
  // Nothing is printed before that stop.
  EXPECT_EXIT(
      {
        check_stdout_only();
        t->apply_separate_full_tiles(&program);
      },
      ::testing::ExitedWithCode(1), "^$");
  delete d;
  delete t;
}

TEST_F(TilingTilesTest, StopsOfTheHyperplaneQueries) {
  const std::string who = "Tiling::last_hyperplan(): ";
  // Statement 2 is tiled without hyperplanes, as a general ZIL statement.
  Tiling* t = record({-1, 1, 1}, {{}, {4, 3}, {}}, {straight, straight, {}});
  EXPECT_STOP_ON_STDERR(t->last_hyperplan(3), who + "invalid statement rank");
  EXPECT_STOP_ON_STDERR(t->last_hyperplan(0), who + "not a tiled statement");
  EXPECT_STOP_ON_STDERR(t->last_hyperplan(2), who + "no hyperplane with a tile counter");
  EXPECT_STOP_ON_STDERR(t->get_hyperplan(-1, 0), who + "invalid statement rank");
  EXPECT_STOP_ON_STDERR(t->get_hyperplan(2, 0), who + "not a (constant) tiled statement");
  EXPECT_STOP_ON_STDERR(t->get_hyperplan(1, 2), who + "invalid hyperplan rank");
  EXPECT_STOP_ON_STDERR(t->get_hyperplan(1, -1), who + "invalid hyperplan rank");
  // Before the tile counters exist.
  Tiling* bare = record({1}, {{4, 3}}, {straight}, false);
  EXPECT_STOP_ON_STDERR(bare->last_hyperplan(0), who + "no hyperplane with a tile counter");
  EXPECT_STOP_ON_STDERR(bare->get_hyperplan(0, 0), who + "invalid hyperplan rank");
  delete bare;
  delete t;
}

}  // namespace
