// Tiling options and the rectangular tiling of a parametric domain.
//
// Tiled space of an input with n indices and p parameters: every piece has
// 2n indices (block indices ii, then local indices il) and 2p + 1 parameters
// (block parts Nb, local parts Nl, then the block size b), with
// x_k = s_k·b·ii_k + il_k, 0 <= il_k <= s_k·b - 1 and N_j = b·Nb_j + Nl_j.
#ifndef TARVEX_ZIL_RECT_H
#define TARVEX_ZIL_RECT_H

#include <list>

#include "linAlg.h"

// Options read by every tiling of the library.
struct optionZIL {
  int kMinMaxOption;    // 0: block ranges exact for every b >= minBlSizeParam;
                        // 1: ranges that assume large blocks
  bool areParamDiv;     // every parameter is a multiple of b: pieces get Nl_j == 0
  int minBlSizeParam;   // smallest block size; pieces get b - minBlSizeParam >= 0
  bool errorIfModulo;   // read by the tiling of affine functions
  optionZIL();          // 0, false, 4, false
};

// Rectangular tiling of polyScalar with one scale s_k >= 1 per index. The
// outer list is a conjunction with one inner list per row of the domain
// without equalities (equalities split into two opposite rows, the negated
// ones last); each inner list is a union of pieces. Every piece is a new
// record owned by the caller (freePolyhedron); the inputs are unchanged.
std::list<std::list<polyhedronZIL *> > getRectangularTiledDomain(polyhedronZIL *polyScalar, long long *scale,
                                                                 optionZIL *option);

// The number of pieces of each inner list that getRectangularTiledDomain
// returns for the same arguments, in list order, leaving out the equality
// pieces that hold no integer point whatever the parameters (their block
// form cannot take the value): computed without building them, a new vector
// of *nList entries, freed with free().
long long *getRectangularPieceCounts(polyhedronZIL *polyScalar, long long *scale, optionZIL *option, int *nList);

#endif
