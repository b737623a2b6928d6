#ifndef TARVEX_FULL_TILES_H
#define TARVEX_FULL_TILES_H

// The full tiles of a tiled statement, found with isl on sets written in
// isl's syntax.

#include <set>
#include <string>

// The instances of `domain` (one statement's set) that lie in its full
// tiles, in isl's syntax, or "" when no tile is full for any parameter
// values or isl cannot read the sets. `tile` (same tuple) holds the
// constraints that put a point in its tile, the counters named in
// `points` range over the points of one tile and the other counters number
// the tiles; a tile is full when every point it holds under `tile` lies in
// `domain`. The full instances are those points: under rectangular tiling
// a box of point counters for each full tile.
std::string full_tile_instances(const std::string& domain, const std::string& tile,
                                const std::set<std::string>& points);

#endif
