// The library as the compiler's tiling pass sees it through ZIL.h.
#include <gtest/gtest.h>

#include "ZIL.h"
#include "tiling_test_support.h"

using namespace zil_test;

namespace {

TEST(TilingServices, OptionDefaults) {
  optionZIL option;
  EXPECT_EQ(option.kMinMaxOption, 0);
  EXPECT_FALSE(option.areParamDiv);
  EXPECT_EQ(option.minBlSizeParam, 4);
  EXPECT_FALSE(option.errorIfModulo);
}

TEST(TilingServices, PrintMatrixOfALattice) {
  long long sizes[2] = {1, 1};
  long long** lat = rectangularOriginLattice(sizes, 2);
  EXPECT_EQ(captureCout([&] { printMatrix(lat, 3, 2); }), "[ 1 0 ]\n[ 0 1 ]\n[ 1 1 ]\n\n");
  freeMatrix(lat, 3);
}

// Every tiling returns at least one inner list, and every piece, modulo
// rows included, is released by freePolyhedron (checked by the sanitizer
// build).
TEST(TilingServices, OuterListNeverEmptyAndPiecesFreeCleanly) {
  long long sizes[1] = {1};
  polyhedronZIL* shape = rectangularShape(sizes, 1);
  long long** lat = makeMatrix({{1}, {2}});
  optionZIL option;
  option.minBlSizeParam = 1;
  for (const Rows& rows : {Rows{}, Rows{{1, 1, 0}}, Rows{{0, 1, -3}}}) {
    polyhedronZIL* poly = makePoly(rows, 1, 0);
    Tiling general;
    captureCout([&] { general = getTiledDomain(poly, shape, lat, &option); });
    Tiling rect = getRectangularTiledDomain(poly, sizes, &option);
    EXPECT_FALSE(general.empty());
    EXPECT_FALSE(rect.empty());
    freeTiling(general);
    freeTiling(rect);
    freePolyhedron(poly);
  }
  freeMatrix(lat, 2);
  freePolyhedron(shape);
}

}  // namespace
