#ifndef TARVEX_TILE_COVER_H
#define TARVEX_TILE_COVER_H

// Whether a tile shape and a lattice of tile origins tile the integer space
// for one block size b: every integer point x is b·L·z / m + s for exactly
// one integer vector z and one integer point s of the shape S(b), m being
// the lattice's common denominator. Decided exactly by isl (integer
// emptiness and inclusion), whatever the number of points of a tile.

#include <vector>

// shape: rows [flag | n counters | b | constant], flag 0 for "== 0", any
// other flag for ">= 0"; lattice: n rows of n integers, column c being m
// times the c-th generator (L invertible); block_size >= 1 and a multiple
// of denominator m >= 1, so that every origin is an integer point. Nothing
// is kept or freed.
bool shape_tiles_space(const std::vector<std::vector<int>>& shape, const std::vector<std::vector<int>>& lattice,
                       int block_size, int denominator = 1);

#endif
