// General tiling of an affine function: exact entries, the lattice and
// window rules, and the stops.
#include <gtest/gtest.h>

#include "function_tiling_test_support.h"

using namespace zil_test;

namespace {

const Rows kBox = {{1, 1, 0, 0}, {1, -1, 1, -1}};  // 0 <= il <= b - 1
const Rows kUnitLattice = {{1}, {1}};

// A tiling of f (rows over [x | N | constant]) with the given shapes and
// lattices; the caller frees it with freeTiledFunction.
TiledFunction tileFunction(const Rows& f, int n, int p, const Rows& shape, const Rows& lattice, const Rows& shapeIm,
                           const Rows& latticeIm, int minBlockSize) {
  int m = static_cast<int>(f.size());
  affFuncZIL* func = makeFunc(f, std::vector<long long>(m, 1), n, p);
  polyhedronZIL* sh = makePoly(shape, n, 1);
  polyhedronZIL* shIm = makePoly(shapeIm, m, 1);
  long long** lat = makeMatrix(lattice);
  long long** latIm = makeMatrix(latticeIm);
  optionZIL option;
  option.minBlSizeParam = minBlockSize;
  TiledFunction tiled;
  std::string printed = captureCout([&] { tiled = getTiledFunction(func, sh, lat, shIm, latIm, &option); });
  EXPECT_EQ(printed, "");
  freeMatrix(latIm, m + 1);
  freeMatrix(lat, n + 1);
  freePolyhedron(shIm);
  freePolyhedron(sh);
  freeAffineFunction(func);
  return tiled;
}

std::vector<EntryRows> entriesOf(const Rows& f, int n, int p, const Rows& shape, const Rows& lattice,
                                 const Rows& shapeIm, const Rows& latticeIm, int minBlockSize = 1) {
  TiledFunction tiled = tileFunction(f, n, p, shape, lattice, shapeIm, latticeIm, minBlockSize);
  std::vector<EntryRows> entries = canonicalEntries(tiled);
  freeTiledFunction(tiled);
  return entries;
}

TEST(GeneralFunctionTiling, NoOutputAndIdentity) {
  auto none = entriesOf({}, 1, 1, kBox, kUnitLattice, {}, {{}});
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(none[0].condition, (Rows{std::vector<long long>(7, 0)}));
  EXPECT_TRUE(none[0].function.empty());

  auto identity = entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, kBox, kUnitLattice);
  ASSERT_EQ(identity.size(), 1u);
  Rows boxTwice = {{1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}};
  EXPECT_EQ(identity[0].condition, (Rows{boxTwice[0], boxTwice[1], boxTwice[0], boxTwice[1], boxTwice[0],
                                         boxTwice[1]}));  // the last row is strict: il < b
  EXPECT_TRUE(identity[0].modulo.empty());
  EXPECT_EQ(identity[0].function, (Rows{{1, 0, 0, 0}, {0, 1, 0, 0}}));
  EXPECT_EQ(identity[0].divs, (std::vector<long long>{1, 1}));
}

TEST(GeneralFunctionTiling, ImageShiftUsesTheGeneratorsAsTheOutputsDo) {
  // Image generator 1/2 and image shape 0 <= 2y <= b - 2.
  auto entries = entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, {{1, 1, 0, 0}, {1, -2, 1, -2}}, {{1}, {2}});
  ASSERT_EQ(entries.size(), 2u);  // αIm = 0 and αIm = 1
  auto odd = std::find_if(entries.begin(), entries.end(), [](const EntryRows& e) { return e.function[0][3] == 1; });
  ASSERT_NE(odd, entries.end());
  EXPECT_EQ(odd->condition[2], (std::vector<long long>{1, 0, 2, -1, 0}));
  EXPECT_EQ(odd->condition[3], (std::vector<long long>{1, 0, -2, 2, -2}));
  EXPECT_EQ(odd->function, (Rows{{2, 0, 0, 1}, {0, 2, -1, 0}}));
  EXPECT_EQ(odd->divs, (std::vector<long long>{1, 2}));
}

// f(x) = x and f(x, N) = x + N on the image tiles 0 <= y <= 2b - 1 whose
// origins lie 2b apart.
const Rows kWideShape = {{1, 1, 0, 0}, {1, -1, 2, -1}};
const Rows kWideLattice = {{2}, {1}};

TEST(GeneralFunctionTiling, IntegralImageLatticeGetsCongruences) {
  auto entries = entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, kWideShape, kWideLattice);
  ASSERT_EQ(entries.size(), 2u);  // kIm = 0 and kIm = 1
  std::vector<Rows> modulo = {entries[0].modulo, entries[1].modulo};
  std::sort(modulo.begin(), modulo.end());
  EXPECT_EQ(modulo, (std::vector<Rows>{{{2, 1, 0, 0, -1}}, {{2, 1, 0, 0, 0}}}));
  Rows blocks = {entries[0].function[0], entries[1].function[0]};
  std::sort(blocks.begin(), blocks.end());
  EXPECT_EQ(blocks, (Rows{{1, 0, 0, -1}, {1, 0, 0, 0}}));
  for (auto& e : entries) EXPECT_EQ(e.divs[0], 2);
}

TEST(GeneralFunctionTiling, WindowsDoNotOverlap) {
  TiledFunction tiled = tileFunction({{1, 1, 0}}, 1, 1, kBox, kUnitLattice, kWideShape, kWideLattice, 1);
  // ii = 0, il = 1, Nb = 0, Nl = 1 at b = 2: λ = 2 = b·(k + 1) for k = 0.
  EXPECT_EQ(holdingEntries(tiled, {0, 1, 0, 1, 2}).size(), 1u);
  freeTiledFunction(tiled);
}

TEST(GeneralFunctionTiling, ExactBoundsReachTheShiftedWindow) {
  // Input generator 1/2: λ = il + b·α/2 reaches 3b/2 - 1, so k runs to 1.
  auto entries = entriesOf({{1, 0}}, 1, 0, kBox, {{1}, {2}}, kBox, kUnitLattice);
  EXPECT_EQ(entries.size(), 4u);  // k in {0, 1}, α in {0, 1}
}

TEST(GeneralFunctionTiling, ParametersOnly) {
  auto entries = entriesOf({{1, 0}}, 0, 1, {}, {{}}, kBox, kUnitLattice);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].function, (Rows{{1, 0, 0, 0}, {0, 1, 0, 0}}));  // Y = Nb, yl = Nl
  EXPECT_EQ(entries[0].divs, (std::vector<long long>{1, 1}));
}

TEST(GeneralFunctionTiling, EntryCountIsTheProductOfTheRanges) {
  // f = 2·il_0 - il_1 + 2 on the box 0 <= il <= b - 1, b >= 2, with the input
  // generators (1, 0) and (1/2, 1/2) of the parallelogram of
  // H = [[1, 0], [-1, 2]]: P = [[2, 1/2]], eps = 2, and
  // λ = f + b·(2·α_0 + α_1/2) lies in [3 - b, 9·b/2], so k runs from -1 to 4.
  // The image generator 1/2 on 0 <= 2y <= b - 2: epsIm = 2 and kIm = 0.
  Rows box2 = {{1, 1, 0, 0, 0}, {1, 0, 1, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, -1, 1, -1}};
  TiledFunction tiled =
      tileFunction({{2, -1, 2}}, 2, 0, box2, {{1, 1}, {0, 1}, {1, 2}}, {{1, 1, 0, 0}, {1, -2, 1, -2}}, {{1}, {2}}, 2);
  EXPECT_EQ(tiled.size(), 6u * 1 * 2 * 2 * 2);  // k, kIm, α (eps^n), αIm (epsIm^m)
  freeTiledFunction(tiled);
}

TEST(GeneralFunctionTilingDeath, Contracts) {
  EXPECT_DEATH(entriesOf({{1, 0}}, 1, 0, kBox, {{1}, {0}}, kBox, kUnitLattice),
               moduleAssertion("ZIL_gen", "lattice\\[n\\]\\[c\\]>=1"));
  EXPECT_DEATH(entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, kBox, {{1}, {0}}),
               moduleAssertion("ZIL_gen", "latticeIm\\[m\\]\\[c\\]>=1"));
  EXPECT_DEATH(entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, {{1, 1, 0, 0}}, kUnitLattice),
               moduleAssertion("lexmin", "unbounded extremum"));
  EXPECT_DEATH(entriesOf({{1, 0}}, 1, 0, kBox, kUnitLattice, kBox, kUnitLattice, 0),
               moduleAssertion("ZIL_gen", "option->minBlSizeParam>=1"));
}

}  // namespace
