// Tiling options, and the rectangular tilings of a parametric domain and of
// an affine function.
//
// Tiled space of an input with n indices and p parameters: every piece has
// 2n indices (block indices ii, then local indices il) and 2p + 1 parameters
// (block parts Nb, local parts Nl, then the block size b), with
// x_k = s_k·b·ii_k + il_k, 0 <= il_k <= s_k·b - 1 and N_j = b·Nb_j + Nl_j.
#ifndef TARVEX_ZIL_RECT_H
#define TARVEX_ZIL_RECT_H

#include <list>
#include <map>

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

// Rectangular tiling of the integral function y = A·x + B·N + c (m outputs)
// with one scale s_k >= 1 per index (scale) and one t_i >= 1 per output
// (scaleIm). Each entry maps a condition piece over the tiled space to a
// function of 2m outputs over the same space: the block outputs Y_0 ..
// Y_(m-1), then the local outputs yl_0 .. yl_(m-1), each a row with its own
// divisor, meaning (row · point) / divisor. On its piece,
// y_i = t_i·b·Y_i + yl_i exactly, with yl_i an integer in [0, t_i·b - 1].
// Y_i is rational: it is the block index floor(y_i / (t_i·b)) wherever it is
// an integer, which it always is when t_i divides every s_k·A_ik and B_ij.
// With errorIfModulo, the block rows hold those exact quotients instead, and
// an output scale that leaves a remainder prints "The resulting affine
// function has Z-polyhedral constraints (linear | i = I | j = J )" (or
// "(param | ...") on standard error and exits with status -1.
// The pieces hold 0 <= il_k <= s_k·b - 1 and b >= minBlSizeParam but do not
// bound Nl (with areParamDiv they hold Nl_j == 0): every such point with
// 0 <= Nl_j <= b - 1 lies in exactly one piece.
// Without outputs there is one entry: the equality 0 == 0 and a function of
// no outputs. The map is keyed by pointer, so its order means nothing. Keys
// and values are new records owned by the caller (freePolyhedron,
// freeAffineFunction); the inputs are unchanged.
std::map<polyhedronZIL *, affFuncZIL *> getRectangularTiledFunction(affFuncZIL *affScalar, long long *scale,
                                                                    long long *scaleIm, optionZIL *option);

// Rectangular tiling of poly (n indices) along the hyperplanes of the n x n
// unimodular matrix H: poly is tiled in y = H^-1·x and every piece is mapped
// back by diag(H, H): a point (ii', il') = (H·ii, H·il) of the result stands
// for x = H·(s·b·ii + il). Same lists as getRectangularTiledDomain, whose
// result it equals for H the identity; a piece without rows (the universe)
// is passed through unchanged. Pieces are owned by the caller; the inputs
// are unchanged.
std::list<std::list<polyhedronZIL *> > getRectangularCoBTiledFunction(polyhedronZIL *poly, long long **hyperplanes,
                                                                      long long *scale, optionZIL *option);

// The number of pieces of each inner list that getRectangularTiledDomain
// returns for the same arguments, in list order, leaving out the equality
// pieces that hold no integer point whatever the parameters (their block
// form cannot take the value): computed without building them, a new vector
// of *nList entries, freed with free().
long long *getRectangularPieceCounts(polyhedronZIL *polyScalar, long long *scale, optionZIL *option, int *nList);

#endif
