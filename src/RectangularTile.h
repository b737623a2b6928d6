#ifndef TARVEX_RECTANGULAR_TILE_H
#define TARVEX_RECTANGULAR_TILE_H

// The tile of a rectangular parametric tiling, which code generation needs
// to run the full tiles apart from the partial ones.

#include <vector>

class Polyhedron;

// 0 <= inner[j] < ratios[j] * block_size for each hyperplane j, inner[j]
// being the rank of its inner counter: the points of one tile, whatever
// the domain. The caller owns the result.
Polyhedron* rectangular_tile(const std::vector<int>& inner, const std::vector<int>& ratios);

#endif
