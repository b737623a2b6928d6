#ifndef TARVEX_FULL_TILES_H
#define TARVEX_FULL_TILES_H

// The full tiles of the statements of a tiled program, found with isl on
// sets written in isl's syntax.

#include <optional>
#include <set>
#include <string>
#include <vector>

// One tiled statement as the search reads it.
struct TiledDomain {
  std::string domain;            // its instances: one set
  std::string tile;              // same tuple: the constraints that put a point in its tile
  std::set<std::string> points;  // the counters that range over the points of one tile
  std::string loops;             // statements of equal `loops` share their tile loops
  // When not empty: unions (same tuple) whose intersection is `domain`,
  // each far smaller; the search then works on them instead.
  std::vector<std::string> factors;
};

// The work the search may take, in isl's operations (one per pivot of its
// simplex tableaux, the same count on every machine): the tests, examples
// and benchmarks take at most 13 million; a diamond tiling of 620 pieces
// took 310 million, three minutes.
const unsigned long kFullTileSearchOperations = 14000000;

// For each statement, the instances that lie in its full tiles, in isl's
// syntax, or "" when there are none or isl cannot read the sets; nothing
// when the search exceeds `operations` (0: no bound; then no tile runs
// apart: whatever isl computed past the bound is dropped). The
// counters not in `points` number the tiles; a tile is full when every
// point it holds under `tile` lies in `domain`. Two choices keep the nests
// that run the full tiles apart small: a tile counts only when it is full
// for every statement that shares its tile loops (the loops over a tile
// then run full tiles only), and of the full tiles only the pieces of the
// greatest dimension count (the bulk; lower-dimensional pieces, such as
// the last row of tiles when it happens to be full, run with the partial
// tiles).
std::optional<std::vector<std::string>> full_tile_instances(
    const std::vector<TiledDomain>& statements, unsigned long operations = kFullTileSearchOperations);

#endif
