// Generated nests must execute exactly the scheduled points, in schedule
// order, for every parameter value of a grid that includes negative, zero
// and small values.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "Oracle.h"
#include "Script.h"

namespace {

using namespace oracle;

Constraint lt(Ex a, Ex b) { return {a, "<", b}; }
Constraint le(Ex a, Ex b) { return {a, "<=", b}; }
Constraint gt(Ex a, Ex b) { return {a, ">", b}; }
Constraint ge(Ex a, Ex b) { return {a, ">=", b}; }
Constraint eq(Ex a, Ex b) { return {a, "=", b}; }

const std::vector<long> kValues = {-2, 0, 1, 2, 3, 5, 8};
const Ex i = ctr("i"), j = ctr("j"), N = par("N"), M = par("M"), zero = num(0), one = num(1);

std::vector<Constraint> operator+(std::vector<Constraint> a, const std::vector<Constraint>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The nest of `s` within `budget`, with exit status `status` and `note` on
// standard error, which must run the points of `runs` exactly; returned so
// that a test can compare it with others.
std::string expect_nest(const Script& s, const Script& runs, const std::vector<Valuation>& grid,
                        const iscc::CodegenBudget& budget, int status, const std::string& note) {
  std::string text = print_script(s);
  std::ostringstream out, err;
  EXPECT_EQ(iscc::run_script(text, out, err, budget), status) << err.str() << text;
  EXPECT_EQ(err.str(), note);
  EXPECT_EQ(check_nest(runs, out.str(), grid, ISCC_TEST_CXX), "") << text;
  return out.str();
}

// The nest of `s` within `budget`, which must run it exactly, with `note`
// on standard error.
std::string expect_exact(const Script& s, const std::vector<Valuation>& grid,
                         const iscc::CodegenBudget& budget = iscc::kCodegenBudget, const std::string& note = "") {
  return expect_nest(s, s, grid, budget, 0, note);
}

// The nest of `s` past the budgets of its schedule's own nests: that of its
// else schedule, which must run the points of `runs` in date order; iscc
// says so and ends with status 3.
void expect_else_runs(const Script& s, const Script& runs, const std::vector<Valuation>& grid) {
  std::string text = print_script(s);
  std::string line = std::to_string(std::count(text.begin(), text.end(), '\n'));
  expect_nest(s, runs, grid, {1, 1, iscc::kCodegenBudget.last}, 3,
              "iscc: line " + line + ": codegen generated its else schedule: the schedule exceeded its budget of work\n");
}

// The same, running the points of the statements' supersets.
void expect_else(const Script& s, const std::vector<Valuation>& grid) {
  Script supersets = s;
  for (Statement& st : supersets.statements) st.pieces = st.superset;
  expect_else_runs(s, supersets, grid);
}

// The nest of `s` past the budgets of its schedule's own nests and of its
// else schedule: that of its box form, which must run the points of `runs`
// in date order; iscc says so and ends with status 3.
void expect_box_runs(const Script& s, const Script& runs, const std::vector<Valuation>& grid) {
  std::string text = print_script(s);
  std::string line = std::to_string(std::count(text.begin(), text.end(), '\n'));
  expect_nest(s, runs, grid, {1, 1, 1, iscc::kCodegenBudget.box}, 3,
              "iscc: line " + line +
                  ": codegen generated its box form: the schedule and its else schedule exceeded their budgets of "
                  "work\n");
}

// The same, running the points of the statements' boxes.
void expect_box(const Script& s, const std::vector<Valuation>& grid) {
  Script boxes = s;
  for (Statement& st : boxes.statements) st.pieces = st.box_form;
  expect_box_runs(s, boxes, grid);
}

TEST(OracleScript, PrintsTheBackEndForms) {
  Script s;
  s.params = {"N", "M"};
  s.statements = {
      {{}, {{}}, {zero}, {}},
      {{"i"}, {{ge(i, zero), le(i - num(-1), M)}, {eq(i, N), gt(zero, zero)}}, {one, i}, {}},
      {{}, {}, {num(2)}, {}},
  };
  EXPECT_EQ(print_script(s),
            "D0 := [] -> { S0[] : };\n"
            "D1 := [N,M] -> { S1[i] : i >= 0 and i--1 <= M; S1[i] : i = N and 0 > 0};\n"
            "D2 := [] -> { };\n"
            "D := D0+D1+D2;\n"
            "theta := [N,M] -> { S0[] -> [0,0]; S1[i] -> [1,i]; S2[] -> [2,0] };\n"
            "tiled_program := theta*D;\n"
            "codegen tiled_program;\n");
  s.parenthesised_counters = true;
  s.statements = {{{"i"}, {{lt(i, num(32) * (ctr("t") + one)), eq((num(-1) + i) % num(3), zero),
                            ge(num(-1) * i, floor_of(N + one, 2))}},
                   {(num(-3) + i) + (num(2) * N)}, {}}};
  const std::string domain =
      "D0 := [N] -> { S0[i] : (i) < 32*((t)+1) and (-1+(i))%3 = 0 and -1*(i) >= floor(N+1,2)};\n"
      "D := D0;\n";
  const std::string full = "F0 := [] -> { S0[i] : (i) >= 1};\nF := F0;\n";
  const std::string schedule = "theta := [N] -> { S0[i] -> [(-3+(i))+(2*N)] };\ntiled_program := theta*D;\n";
  EXPECT_EQ(print_script(s), domain + schedule + "codegen tiled_program;\n");
  s.statements[0].full = {{ge(i, one)}};
  EXPECT_EQ(print_script(s), domain + full + schedule + "codegen tiled_program isolating theta*F;\n");
  s.statements[0].superset = {{ge(i, zero)}};
  EXPECT_EQ(print_script(s), domain + full + "E0 := [] -> { S0[i] : (i) >= 0};\nE := E0;\n" + schedule +
                                 "codegen tiled_program isolating theta*F else theta*E;\n");
  s.statements[0].full = s.statements[0].superset = {};
  s.statements[0].bounds = {{N, i, N + one}, {zero, num(2) * i, M, true}};
  EXPECT_EQ(print_script(s), domain + schedule.substr(0, schedule.find("tiled_program")) +
                                 "bounds S0(i) \"N\" <= \"i\" <= \"N+1\";\n"
                                 "bounds else S0(i) \"0\" <= \"2*i\" <= \"M\";\n"
                                 "tiled_program := theta*D;\ncodegen tiled_program;\n");
}

TEST(Oracle, ImperfectNestWithDatesOfDifferentLengths) {
  Script s;
  s.params = {"N", "M"};
  std::vector<std::pair<long, long>> box1 = {{-1, 10}}, box2 = {{-1, 10}, {-1, 10}};
  s.statements = {
      {{"i"}, {{ge(i, zero), lt(i, N)}}, {i, zero}, box1},
      {{"i", "j"}, {{le(num(-1) * i, zero), lt(i, N), ge(j, zero), le(j - num(-1), M)}}, {i, one, j}, box2},
      {{"i", "j"}, {{ge(i, zero), lt(i, N), ge(j, ceil_of(i, 2)), le(j, floor_of(N + one, 2))}},
       {i, num(2), j}, box2},
      {{"i"}, {{ge(i, zero), lt(i, M)}}, {(num(-3) + i) + (num(2) * N)}, box1},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

TEST(Oracle, ConstantTiledStatement) {
  Script s;
  s.params = {"N", "M"};
  s.parenthesised_counters = true;
  Ex t0 = ctr("tile_counter_0"), t1 = ctr("tile_counter_1");
  s.statements = {{{"i", "j", "tile_counter_0", "tile_counter_1"},
                   {{ge(i, zero), lt(i, N), ge(j, zero), le(j, i), lt(j, M), ge(i, num(4) * t0),
                     lt(i, num(4) * (t0 + one)), ge(j, num(3) * t1), lt(j, num(3) * (t1 + one))}},
                   {t0, t1, i, j},
                   {{-1, 9}, {-1, 9}, {-1, 3}, {-1, 4}}}};
  expect_exact(s, product_grid(s.params, kValues));
}

// Statement 0: the pieces of a parametric tiling along two dimensions
// (full and last partial tile of each, plus an empty piece), with its
// full tiles to run apart when `isolated`.
Script rectangular_union(bool isolated) {
  Script s;
  s.params = {"block_size", "outer_N", "inner_N"};
  Ex b = par("block_size"), oN = par("outer_N"), iN = par("inner_N");
  Ex o0 = ctr("outer_time_0"), i0 = ctr("inner_time_0"), o1 = ctr("outer_time_1"), i1 = ctr("inner_time_1");
  auto full = [&](Ex o, Ex in) {
    return std::vector<Constraint>{ge(o, zero), lt(o, oN), ge(in, zero), lt(in, b)};
  };
  auto partial = [&](Ex o, Ex in) { return std::vector<Constraint>{eq(o, oN), ge(in, zero), lt(in, iN)}; };
  std::vector<Constraint> common = {ge(iN, zero), lt(iN, b), ge(oN, zero)};
  s.statements = {{{"outer_time_0", "inner_time_0", "outer_time_1", "inner_time_1"},
                   {common + full(o0, i0) + full(o1, i1),
                    common + full(o0, i0) + partial(o1, i1) + std::vector<Constraint>{eq(one, one)},
                    common + partial(o0, i0) + full(o1, i1),
                    common + partial(o0, i0) + partial(o1, i1) + std::vector<Constraint>{ge(zero, zero)},
                    common + full(o0, i0) + std::vector<Constraint>{lt(one, one), eq(o1, zero), eq(i1, zero)}},
                   {o0, o1, i0, i1},
                   {{-1, 9}, {-1, 3}, {-1, 9}, {-1, 3}}}};
  if (isolated) s.statements[0].full = {common + full(o0, i0) + full(o1, i1)};
  return s;
}

// The tiling pass's split of N: outer_N = N / block_size, inner_N = N % block_size.
std::vector<Valuation> split_grid() {
  std::vector<Valuation> grid;
  for (long n : kValues)
    for (long bs : {-1L, 1L, 2L, 3L})
      grid.push_back({{"block_size", bs}, {"outer_N", n / bs}, {"inner_N", n % bs}});
  return grid;
}

TEST(Oracle, RectangularParametricUnion) { expect_exact(rectangular_union(false), split_grid()); }

TEST(Oracle, RectangularFullTilesApart) { expect_exact(rectangular_union(true), split_grid()); }

// s with the first piece of its first statement replaced by slabs of it,
// one for each value 0 .. slabs - 1 of counter, and the rest of it.
Script cut_in_slabs(Script s, const char* counter, long slabs) {
  std::vector<std::vector<Constraint>>& pieces = s.statements[0].pieces;
  std::vector<Constraint> whole = pieces.front();
  pieces.erase(pieces.begin());
  Ex c = ctr(counter);
  for (long slab = 0; slab < slabs; ++slab) pieces.push_back(whole + std::vector<Constraint>{eq(c, num(slab))});
  pieces.push_back(whole + std::vector<Constraint>{ge(c, num(slabs))});
  return s;
}

// The same with its piece of full tiles cut in slabs of one outer_time_0
// each: more pieces than iscc coalesces whole once the full tiles are
// taken out, so only the slabs that meet them are cut.
TEST(Oracle, FullTilesApartFromAStatementOfManyPieces) {
  expect_exact(cut_in_slabs(rectangular_union(true), "outer_time_0", 70), split_grid());
}

// The same with its full tiles cut in slabs of one outer_time_1 each:
// enough pieces that iscc generates the tiles before the last
// outer_time_0 and those of the last one as two nests, one after the
// other.
TEST(Oracle, StatementOfManyPiecesInNestsAlongItsFirstDate) {
  expect_exact(cut_in_slabs(rectangular_union(true), "outer_time_1", 130), split_grid());
}

// rectangular_union's statement with every tile whole, the last ones
// too, as the superset of its domain.
Script with_whole_tiles(Script s) {
  Ex b = par("block_size"), oN = par("outer_N"), iN = par("inner_N");
  std::vector<Constraint> whole = {ge(iN, zero), lt(iN, b), ge(oN, zero)};
  for (const char* d : {"0", "1"}) {
    Ex o = ctr(std::string("outer_time_") + d), in = ctr(std::string("inner_time_") + d);
    whole = whole + std::vector<Constraint>{ge(o, zero), le(o, oN), ge(in, zero), lt(in, b)};
  }
  s.statements[0].superset = {whole};
  return s;
}

// Past the budgets of the nests of a statement of many pieces, generated
// in parts, the nest of the else schedule runs the whole tiles.
TEST(Oracle, ElseScheduleOfAStatementOfManyPieces) {
  expect_else(with_whole_tiles(cut_in_slabs(rectangular_union(true), "outer_time_1", 130)), split_grid());
}

// A time-skewed stencil under tiles 4 wide along t and 8 wide along t + i,
// dated by the tile, then t and i inside it, its full tiles run apart; an
// untiled statement runs after it.
Script skewed_tiles() {
  Script s;
  s.params = {"T", "N"};
  Ex T = par("T"), o0 = ctr("o0"), o1 = ctr("o1"), p0 = ctr("p0"), p1 = ctr("p1");
  Ex t = num(4) * o0 + p0, h = num(8) * o1 + p1;
  std::vector<Constraint> tile = {ge(p0, zero), lt(p0, num(4)), ge(p1, zero), lt(p1, num(8))};
  s.statements = {
      {{"o0", "o1", "p0", "p1"},
       {tile + std::vector<Constraint>{ge(t, zero), lt(t, T), ge(h - t, one), lt(h - t, N - one)}},
       {o0, o1, p0, p1 - p0},
       {{-1, 3}, {-1, 4}, {-1, 4}, {-1, 8}},
       {tile + std::vector<Constraint>{ge(o0, zero), lt(num(4) * o0 + num(3), T),
                                       ge(num(8) * o1 - num(4) * o0 - num(3), one),
                                       lt(num(8) * o1 + num(7) - num(4) * o0, N - one)}}},
      {{"i"}, {{ge(i, zero), lt(i, N)}}, {num(9), i}, {{-1, 12}}},
  };
  return s;
}

const std::vector<long> kSkewedValues = {-1, 0, 1, 3, 5, 9, 12};

TEST(Oracle, SkewedTilesApartWithALaterStatement) {
  Script s = skewed_tiles();
  expect_exact(s, product_grid(s.params, kSkewedValues));
}

// The else schedule of the stencil: its tiles cut by the bounds on t and,
// loosened, on t + i; the later statement one point further.
TEST(Oracle, ElseScheduleOfSkewedTilesWithALaterStatement) {
  Script s = skewed_tiles();
  Ex T = par("T"), N = par("N"), o0 = ctr("o0"), o1 = ctr("o1"), p0 = ctr("p0"), p1 = ctr("p1");
  Ex t = num(4) * o0 + p0, h = num(8) * o1 + p1;
  s.statements[0].superset = {{ge(p0, zero), lt(p0, num(4)), ge(p1, zero), lt(p1, num(8)), ge(t, zero), lt(t, T),
                               ge(h - t, zero), le(h - t, N)}};
  s.statements[1].superset = {{ge(i, zero), le(i, N)}};
  expect_else(s, product_grid(s.params, kSkewedValues));
}

// The box form of the stencil: each tile counter between bounds in the
// parameters only, within the tiles; the later statement as in the else
// schedule.
TEST(Oracle, BoxFormOfSkewedTilesWithALaterStatement) {
  Script s = skewed_tiles();
  Ex T = par("T"), N = par("N"), o0 = ctr("o0"), o1 = ctr("o1"), p0 = ctr("p0"), p1 = ctr("p1");
  Ex t = num(4) * o0 + p0, h = num(8) * o1 + p1;
  std::vector<Constraint> tile = {ge(p0, zero), lt(p0, num(4)), ge(p1, zero), lt(p1, num(8))};
  s.statements[0].superset = {tile + std::vector<Constraint>{ge(t, zero), lt(t, T), ge(h - t, zero), le(h - t, N)}};
  s.statements[0].box_form = {tile + std::vector<Constraint>{ge(num(4) * o0, num(-3)), lt(num(4) * o0, T),
                                                             ge(num(8) * o1, num(-7)), lt(num(8) * o1, N + T)}};
  s.statements[1].superset = s.statements[1].box_form = {{ge(i, zero), le(i, N)}};
  expect_box(s, product_grid(s.params, kSkewedValues));
}

// A statement of a few instances, i in N .. N + 1 and j in M .. M + 2,
// under tiles 4 wide along i and 8 wide along j (or, `skewed`, along
// i + j, and cut by bounds on i - 2j too): returned as its whole tiles
// with the bounds of i and j (and i - 2j), and as its domain, those tiles
// within the bounds. The bounds on i say `in_else`.
std::pair<Script, Script> few_instances_in_tiles(bool skewed) {
  Script s;
  s.params = {"N", "M"};
  Ex o0 = ctr("o0"), o1 = ctr("o1"), p0 = ctr("p0"), p1 = ctr("p1");
  Ex i = num(4) * o0 + p0, j = skewed ? num(8) * o1 + p1 - i : num(8) * o1 + p1;
  std::vector<Constraint> tiles = {ge(p0, zero), lt(p0, num(4)), ge(p1, zero), lt(p1, num(8)),
                                   ge(o0, zero), le(o0, num(3)), ge(o1, zero), le(o1, num(2))};
  std::vector<Bound> bounds = {{N, i, N + one, true}, {M, j, M + num(2)}};
  if (skewed) bounds.push_back({N - num(2) * M - num(3), i - num(2) * j, N - num(2) * M});
  std::vector<Constraint> within;
  for (const Bound& b : bounds) within = within + std::vector<Constraint>{le(b.lower, b.value), le(b.value, b.upper)};
  s.statements = {{{"o0", "o1", "p0", "p1"}, {tiles}, {o0, o1, p0, p1}, {{-1, 4}, {-1, 3}, {-1, 4}, {-1, 8}}}};
  s.statements[0].bounds = bounds;
  Script domain = s;
  domain.statements[0].pieces = {tiles + within};
  return {s, domain};
}

const std::vector<long> kFewValues = {-9, -3, 0, 3, 7, 13, 22};

// A statement past the budget of its tiling's crossing scans whole tiles,
// each point tested in its macro; its bounds clamp the loops to the points
// within them, the domain exactly here.
TEST(Oracle, BoundsClampTheScanOfWholeTiles) {
  for (bool skewed : {false, true}) {
    auto [tiles, domain] = few_instances_in_tiles(skewed);
    for (Bound& b : tiles.statements[0].bounds) b.in_else = false;
    expect_nest(tiles, domain, product_grid(tiles.params, kFewValues), iscc::kCodegenBudget, 0, "");
  }
}

// The else schedule scans the whole tiles; the bounds clamp its nest, both
// those of the else schedule's nests only and the others.
TEST(Oracle, BoundsClampTheElseSchedule) {
  for (bool skewed : {false, true}) {
    auto [tiles, domain] = few_instances_in_tiles(skewed);
    Script s = domain;
    s.statements[0].superset = tiles.statements[0].pieces;
    expect_else_runs(s, domain, product_grid(s.params, kFewValues));
  }
}

// Two statements that share loops: S0 scans a box of which a plane of
// width 3 holds its instances, N <= x + y + z <= N + 2, so that the loop on
// x is clamped through the ranges of y and z, which its inner loops run;
// S1 runs two points, at dates far from S0's for most N and M, at the
// constant date 1 of the loop on y. Returned with the instances they run.
std::pair<Script, Script> scans_sharing_loops() {
  Script s;
  s.params = {"N", "M"};
  Ex x = ctr("x"), y = ctr("y"), z = ctr("z"), u = ctr("u");
  std::vector<Bound> plane = {{N, x + y + z, N + num(2)}, {zero, y, num(3)}, {zero, z, one}};
  std::vector<Bound> first_two = {{M, u, M + one}};
  s.statements = {
      {{"x", "y", "z"}, {{ge(x, zero), le(x, num(9)), ge(y, zero), le(y, num(3)), ge(z, zero), le(z, one)}},
       {x, y, z}, {{-1, 10}, {-1, 4}, {-1, 2}}},
      {{"u"}, {{ge(u, M), le(u, M + one)}}, {u, one, zero}, {{-10, 32}}}};
  s.statements[0].bounds = plane;
  s.statements[1].bounds = first_two;
  Script runs = s;
  for (Statement& st : runs.statements) {
    for (const Bound& b : st.bounds) st.pieces[0] = st.pieces[0] + std::vector<Constraint>{le(b.lower, b.value), le(b.value, b.upper)};
    st.bounds.clear();
  }
  return {s, runs};
}

// Each loop runs the values that its calls' bounds, the ranges of the
// arguments that vary beneath it and the conditions leading to a call
// allow, jumping between far apart spans: in the exact nest and in the box
// form, whose loops are not separated.
TEST(Oracle, ClampsOfScansSharingLoops) {
  auto [s, runs] = scans_sharing_loops();
  std::vector<Valuation> grid = product_grid(s.params, kFewValues);
  std::string nest = expect_nest(s, runs, grid, iscc::kCodegenBudget, 0, "");
  EXPECT_NE(nest.find("c0_spans"), std::string::npos) << nest;
  for (Statement& st : s.statements) st.superset = st.box_form = st.pieces;
  expect_box_runs(s, runs, grid);
}

// A triangle tiled by squares of side b: full tiles below the diagonal,
// diagonal tiles, and the last row of tiles (oi = oN) cut at iN.
Script triangle_tiles() {
  Script s;
  s.params = {"b", "oN", "iN"};
  Ex b = par("b"), oN = par("oN"), iN = par("iN");
  Ex oi = ctr("oi"), oj = ctr("oj"), pi = ctr("pi"), pj = ctr("pj");
  std::vector<Constraint> split = {ge(iN, zero), lt(iN, b)};
  std::vector<Constraint> rows = {ge(pi, zero), lt(pi, b), ge(oi, zero), lt(oi, oN)};
  std::vector<Constraint> last_row = {ge(pi, zero), lt(pi, iN), eq(oi, oN)};
  std::vector<Constraint> below = {ge(pj, zero), lt(pj, b), ge(oj, zero), lt(oj, oi)};
  std::vector<Constraint> diagonal = {ge(pj, zero), le(pj, pi), eq(oj, oi)};
  s.statements = {{{"oi", "oj", "pi", "pj"},
                   {split + rows + below, split + last_row + below, split + rows + diagonal,
                    split + last_row + diagonal},
                   {oi, oj, pi, pj},
                   {{-1, 9}, {-1, 9}, {-1, 3}, {-1, 3}},
                   {split + rows + below}}};
  return s;
}

// Past the budget of the nest with the full tiles apart, the nest that
// runs every instance together, generated meanwhile, is as exact; iscc
// says it fell back to it.
TEST(Oracle, FullTilesTogetherPastTheirBudget) {
  Script s = triangle_tiles();
  std::vector<Valuation> grid;
  for (long n : kValues)
    for (long b : {1L, 2L, 3L}) grid.push_back({{"b", b}, {"oN", n / b}, {"iN", n % b}});
  std::string apart = expect_exact(s, grid);
  std::string together = expect_exact(s, grid, {1, iscc::kCodegenBudget.together, 1},
                                      "iscc: line 7: codegen generated every instance together: apart, the isolated "
                                      "instances exceeded their budget of work\n");
  EXPECT_NE(together, apart);
}

// Skewed dates, some of which iscc rewrites as counters: S0's and S1's
// share their first date, S2's does not.
TEST(Oracle, SkewedDatesNextToOtherStatements) {
  Script s;
  s.params = {"T", "N"};
  Ex T = par("T"), t = ctr("t");
  std::vector<Constraint> rectangle = {ge(t, zero), lt(t, T), ge(i, zero), lt(i, N)};
  s.statements = {
      {{"t", "i", "j"}, {rectangle + std::vector<Constraint>{ge(j, zero), le(j, i)}},
       {t, num(2) * t + i, t - i - j}, {{-1, 8}, {-1, 8}, {-1, 8}}},
      {{"t", "i"}, {rectangle}, {t, t + i, zero}, {{-1, 8}, {-1, 8}}},
      {{"t", "i"}, {rectangle}, {T + t, t + i, zero}, {{-1, 8}, {-1, 8}}},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

TEST(Oracle, TriangularDomainWithDoubleBounds) {
  Script s;
  s.params = {"N", "M"};
  s.statements = {
      {{"i", "j"},
       {{ge(i, zero), lt(i, max_of(N, num(3))), ge(j, zero), ge(j, num(-2) + i), le(j, i + one), lt(j, M)}},
       {i, j},
       {{-1, 10}, {-1, 12}}},
      {{"i"}, {{ge(i, ceil_of(N, 2)), le(i, N)}}, {N + one, i}, {{-2, 10}}},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

TEST(Oracle, ModuloConstraints) {
  Script s;
  s.params = {"N"};
  s.statements = {
      {{"i"}, {{ge(i, zero), lt(i, N), eq((num(-1) + i) % num(3), zero)}}, {i}, {{-1, 10}}},
      {{"i", "j"}, {{ge(i, zero), lt(i, N), ge(j, zero), lt(j, N), eq((i + j) % num(2), zero)}}, {i, j},
       {{-1, 10}, {-1, 10}}},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

TEST(Oracle, StatementsOutsideLoops) {
  Script s;
  s.params = {"N"};
  s.statements = {
      {{}, {{}}, {zero, zero}, {}},
      {{"i"}, {{ge(i, zero), lt(i, N)}}, {one, i}, {{-1, 10}}},
      {{}, {{}}, {num(2)}, {}},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

TEST(Oracle, EmptyUnionNextToAStatement) {
  Script s;
  s.params = {"N"};
  s.statements = {
      {{}, {}, {zero}, {}},
      {{"i"}, {{ge(i, zero), lt(i, N)}}, {one, i}, {{-1, 10}}},
  };
  expect_exact(s, product_grid(s.params, kValues));
}

}  // namespace
