// Whether a tile shape and a lattice of origins tile the integer space, on
// pairs that do and pairs that lose or repeat points, checked against a
// count of the points of each residue class.

#include <gtest/gtest.h>

#include <map>

#include "TileCover.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// 0 <= i < wi·b, 0 <= j < wj·b over (i, j, b).
Rows box(int wi, int wj) { return {{1, 1, 0, 0, 0}, {1, -1, 0, wi, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, wj, -1}}; }

// 0 <= i < b, 0 <= j - i < b.
const Rows parallelogram = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, -1, 1, 0, 0}, {1, 1, -1, 1, -1}};

// The oracle in two dimensions: x and y lie in the same class modulo b·L
// exactly when adj(L)·(x - y) is a multiple of b·det(L), so the points of
// S(b) in [-r, r]^2 are counted per class of adj(L)·x modulo b·|det(L)|;
// S(b) tiles when no class is met twice and all b²·|det(L)| classes are met.
bool tiles_by_counting(const Rows& shape, const Rows& L, int b, int r) {
  int det = L[0][0] * L[1][1] - L[0][1] * L[1][0];
  int m = b * (det < 0 ? -det : det);
  auto mod = [m](int a) { return ((a % m) + m) % m; };
  std::map<std::pair<int, int>, int> classes;
  for (int i = -r; i <= r; i++)
    for (int j = -r; j <= r; j++) {
      bool inside = true;
      for (const std::vector<int>& row : shape) {
        int v = row[1] * i + row[2] * j + row[3] * b + row[4];
        inside = inside && (row[0] == 0 ? v == 0 : v >= 0);
      }
      std::pair<int, int> key(mod(L[1][1] * i - L[0][1] * j), mod(-L[1][0] * i + L[0][0] * j));
      if (inside && ++classes[key] > 1) return false;
    }
  return static_cast<int>(classes.size()) == b * m;
}

struct Pair {
  const char* name;
  Rows shape;
  Rows lattice;
  bool tiles;
};

}  // namespace

TEST(TileCover, PairsThatTileAndPairsThatDoNot) {
  std::vector<Pair> pairs = {
      {"square on the identity", box(1, 1), {{1, 0}, {0, 1}}, true},
      {"square on a unimodular lattice", box(1, 1), {{1, 1}, {0, 1}}, true},
      {"bricks shifted by b", box(2, 1), {{2, 0}, {1, 1}}, true},
      {"parallelograms", parallelogram, {{1, 0}, {1, 1}}, true},
      {"square on a sparser lattice loses points", box(1, 1), {{2, 0}, {0, 1}}, false},
      {"long box on the identity repeats points", box(2, 1), {{1, 0}, {0, 1}}, false},
      {"parallelograms on the identity", parallelogram, {{1, 0}, {0, 1}}, true},
      {"parallelograms on a sparser lattice", parallelogram, {{1, 0}, {0, 2}}, false},
      {"square on a lattice with a smaller cell repeats points", box(1, 1), {{1, 0}, {1, 2}}, false},
      {"a line", {{1, 1, 0, 0, 0}, {1, -1, 0, 2, -1}, {0, 0, 1, 0, 0}}, {{1, 0}, {0, 1}}, false},
      {"an empty shape", {{1, 1, 0, 0, 0}, {1, -1, 0, 0, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}},
       {{1, 0}, {0, 1}}, false},
  };
  for (const Pair& p : pairs)
    for (int b = 1; b <= 4; b++) {
      EXPECT_EQ(shape_tiles_space(p.shape, p.lattice, b), p.tiles) << p.name << ", b = " << b;
      EXPECT_EQ(tiles_by_counting(p.shape, p.lattice, b, 4 * b), p.tiles) << "oracle: " << p.name << ", b = " << b;
    }
}

// The answer does not come from enumerating a tile: large block sizes and
// other dimensions are decided the same way.
TEST(TileCover, OtherDimensionsAndLargeBlockSizes) {
  Rows segment = {{1, 1, 0, 0}, {1, -1, 1, -1}};       // 0 <= i < b
  Rows closed = {{1, 1, 0, 0}, {1, -1, 1, 0}};         // 0 <= i <= b
  EXPECT_TRUE(shape_tiles_space(segment, {{1}}, 100000));
  EXPECT_TRUE(shape_tiles_space(segment, {{-1}}, 7));
  EXPECT_FALSE(shape_tiles_space(closed, {{1}}, 100000));
  EXPECT_FALSE(shape_tiles_space(segment, {{3}}, 5));
  EXPECT_TRUE(shape_tiles_space(box(1, 1), {{1, 0}, {0, 1}}, 65536));
  EXPECT_FALSE(shape_tiles_space(box(1, 1), {{2, 0}, {0, 1}}, 65536));
  // 0 <= i < 2b, 0 <= j < b, 0 <= k < b with the bricks of neighbouring k
  // layers shifted by b along i.
  Rows brick = {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 0, 2, -1}, {1, 0, 1, 0, 0, 0},
                {1, 0, -1, 0, 1, -1}, {1, 0, 0, 1, 0, 0}, {1, 0, 0, -1, 1, -1}};
  EXPECT_TRUE(shape_tiles_space(brick, {{2, 0, 1}, {0, 1, 0}, {0, 0, 1}}, 3));
  EXPECT_FALSE(shape_tiles_space(brick, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, 3));
  EXPECT_FALSE(shape_tiles_space(brick, {{2, 0, 1}, {0, 1, 0}, {0, 0, 2}}, 3));
}

// Origins (b / m)·L·z for a lattice L over the common denominator m, b a
// multiple of m.
TEST(TileCover, LatticesOverADenominator) {
  Rows diamond = {{1, 1, 1, 0, 0}, {1, -1, -1, 1, -1}, {1, 1, -1, 0, 0}, {1, -1, 1, 1, -1}};
  for (int b : {2, 4, 6, 16}) {
    EXPECT_TRUE(shape_tiles_space(diamond, {{1, 1}, {1, -1}}, b, 2)) << "diamonds, b = " << b;
    EXPECT_FALSE(shape_tiles_space(diamond, {{1, 1}, {1, -1}}, b, 1)) << "diamonds b apart lose points, b = " << b;
    EXPECT_FALSE(shape_tiles_space(box(1, 1), {{1, 0}, {0, 2}}, b, 2)) << "squares b / 2 apart, b = " << b;
    EXPECT_TRUE(shape_tiles_space(box(1, 1), {{2, 0}, {0, 2}}, b, 2)) << "squares on (2, 0)/2, b = " << b;
  }
}
