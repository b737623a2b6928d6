#ifndef TARVEX_STATEMENT_TILE_H
#define TARVEX_STATEMENT_TILE_H

// The tile of a tiled statement, as code generation needs it to run the
// full tiles apart from the partial ones: the constraints that put a point
// in its tile, over the tiled statement's counters, whatever the domain,
// and the counters that range over the points of one tile; the statement's
// other counters number the tiles (and any loops the tiling left alone).
//
// Ownership: the program that holds a tile owns its shape; the builders
// return shapes owned by the caller.

#include <map>
#include <set>
#include <vector>

class Polyhedron;

struct StatementTile {
  Polyhedron* shape = nullptr;  // null: the statement is not tiled
  std::set<int> points;
};

// Rectangular parametric tiling: 0 <= inner[j] < ratios[j] * block_size
// for each hyperplane j, inner[j] being the rank of its inner counter.
StatementTile rectangular_tile(const std::vector<int>& inner, const std::vector<int>& ratios);
// General parametric tiling: the tile shape `shape` (kept), over the
// statement's own counters, put on the inner counters (`inner_of`: counter
// rank -> inner counter rank) that locate a point in its tile; the inner
// counters it bounds are the points.
StatementTile general_tile(Polyhedron* shape, const std::map<int, int>& inner_of);
// Constant tiling: the tile `tile` (kept), over the statement's counters
// and the tile counters `tile_counters`; the counters it bounds besides
// the tile counters are the points.
StatementTile constant_tile(Polyhedron* tile, const std::set<int>& tile_counters);

#endif
