// Tile shapes, origin lattices, and the general tilings of a parametric
// domain and of an affine function by tile shapes and lattices of tile
// origins.
//
// A tile shape is a polyhedronZIL over n local indices whose only parameter
// is the block size b. A lattice is an integer matrix of n + 1 rows and n
// columns: rows 0 .. n-1 hold L, row n the denominators D (all >= 1); the
// tile origins are b·Σ_c z_c·L[.][c]/D_c for integer z.
#ifndef TARVEX_ZIL_GEN_H
#define TARVEX_ZIL_GEN_H

#include <list>
#include <map>

#include "ZIL_rect.h"
#include "linAlg.h"

// Shape 0 <= x_i <= sizes_i·b - 1: the n lower bounds, then the n upper
// bounds. New record owned by the caller.
polyhedronZIL *rectangularShape(long long *sizes, int nDim);
// Lattice of the generators sizes_i·e_i, denominators 1. New matrix of
// nDim + 1 rows owned by the caller (freeMatrix(lat, nDim + 1)).
long long **rectangularOriginLattice(long long *sizes, int nDim);
// Shape 0 <= h_i·x <= sizes_i·b - 1 where h_i is column i of the nDim x nDim
// matrix hyperplanes. New record owned by the caller.
polyhedronZIL *parallelogramShape(long long **hyperplanes, long long *sizes, int nDim);
// Origins of the parallelogram tiles: b·(H^-1)^T·diag(sizes)·z. H must be
// invertible. New matrix of nDim + 1 rows owned by the caller.
long long **parallelogramOriginLattice(long long **hyperplanes, long long *sizes, int nDim);

// General tiling of polyScalar (n indices, p parameters) by shape and
// lattice. Tiled space as for the rectangular tiling, with the domain point
// x = b·Σ_c ii_c·L[.][c]/D_c + il and N_j = b·Nb_j + Nl_j. One inner list per
// row of the domain without equalities, holding for every lattice offset o
// (0 <= o_c < D_c, o_0 fastest) its full piece and then its equality pieces;
// every piece carries the n modulo rows ii_c ≡ o_c (mod D_c). Prints one
// debug line per row. Pieces are owned by the caller; inputs are unchanged.
std::list<std::list<polyhedronZIL *> > getTiledDomain(polyhedronZIL *polyScalar, polyhedronZIL *shape,
                                                      long long **lattice, optionZIL *option);

// The number of pieces of each inner list that getTiledDomain returns for
// the same arguments, in list order: exact with one lattice offset (every
// denominator 1), else at most that (every block offset of a row's range
// is counted for each offset). Computed without building the pieces and
// without the debug lines: a new vector of *nList entries, freed with
// free().
long long *getTiledDomainPieceCounts(polyhedronZIL *polyScalar, polyhedronZIL *shape, long long **lattice,
                                     optionZIL *option, int *nList);

// Fills kmax[i] and kmin[i] (caller's arrays of nConstr entries) with the
// range of block offsets of every row a_i·x + c_i·N + d_i >= 0, given the
// shape split as by extractPoly (one-column parameter part) and the unscaled
// lattice L (int_lattice, nInd x nInd) with its denominators. Prints the
// debug line of every row. Nothing is freed.
void get_kmaxkmin_poly(long *kmax, long *kmin, long long **linPart, long long **paramPart, long long *constPart,
                       int nConstr, int nInd, int nParam, long long *ineqEqPart_shape, long long **linPart_shape,
                       long long **paramPart_shape, long long *constPart_shape, int nConstr_shape,
                       long long **int_lattice, long long *den_lattice, optionZIL *option);

// Double-precision bounds of r + cst/b over the block sizes, given the
// extremum r·b + cst (r = num_b/den_b, cst = num_cst/den_cst) of a row's
// local part. Denominators must be positive.
double aux_max_computation(long long num_b_max, long long den_b_max, long long num_cst_max,
                           long long den_cst_max, optionZIL *option);
double aux_min_computation(long long num_b_min, long long den_b_min, long long num_cst_min,
                           long long den_cst_min, optionZIL *option);

// Exact bounds of the shift Σ_c o_c·w_c/D_c over all offsets o, w being a row
// times the unscaled lattice: Σ over w_c >= 0 (max) or w_c < 0 (min) of
// (D_c - 1)·w_c/D_c, reduced with a positive denominator.
rational64 maxOffsetShift(long long *w, long long *den_lattice, int nInd);
rational64 minOffsetShift(long long *w, long long *den_lattice, int nInd);

// Exact block-offset bounds of a row from the maximum (minimum) r·b + cst of
// its local part over the tile context and the offset shift: every tile with
// a block offset below -kmax misses the row, every tile at or above -kmin
// satisfies it. Denominators must be positive.
long long kmaxBound(long long num_b_max, long long den_b_max, long long num_cst_max, long long den_cst_max,
                    rational64 shift, optionZIL *option);
long long kminBound(long long num_b_min, long long den_b_min, long long num_cst_min, long long den_cst_min,
                    rational64 shift, optionZIL *option);

// General tiling of the integral function y = f(x, N) = Q·x + R·N + c (m
// outputs, n indices, p parameters): the input is tiled by shape and lattice
// (generators A[.][c] = L[.][c]/D_c) as getTiledDomain does, the image by
// shapeIm (m indices) and latticeIm (generators AIm). Each entry maps a
// condition piece over the tiled space [ii | il | Nb | Nl | b], with its
// modulo rows, to a function of 2m outputs over the same space: the image
// block coordinates Y_0 .. Y_(m-1), then the local outputs yl_0 .. yl_(m-1),
// each a row with its own divisor, meaning (row · point) / divisor. With
// x = b·A·ii + il and N = b·Nb + Nl, on its piece f(x, N) = b·AIm·Y + yl,
// where Y is integral and yl lies in shapeIm(b); when the image shape and
// lattice tile space exactly, this is the unique such split of y.
// The pieces put no row on b or on Nl: they partition the tiled space only
// for b >= minBlSizeParam and 0 <= Nl_j <= b - 1 (areParamDiv is not read).
// Without outputs there is one entry: the equality 0 == 0 and a function of
// no outputs. The map is keyed by pointer, so its order means nothing. Keys
// (modulo rows included) and values are new records owned by the caller
// (freePolyhedron, freeAffineFunction); the inputs are unchanged.
std::map<polyhedronZIL *, affFuncZIL *> getTiledFunction(affFuncZIL *affScalar, polyhedronZIL *shape,
                                                         long long **lattice, polyhedronZIL *shapeIm,
                                                         long long **latticeIm, optionZIL *option);

// Fills the caller's arrays of nDimOut entries with the ranges of the block
// offsets of a function tiling: kmin/kmax bound floor(λ_i / b) for the local
// value λ_i = Q_i·il + R_i·Nl + c_i + b·P_i·α over the input shape (split as
// by extractPoly, with 0 <= Nl <= b - 1 and b >= minBlSizeParam), P = Q·LDinv
// and 0 <= α_j <= epsilon - 1; kImmin/kImmax bound the image block offsets
// over the image shape alone, with the shifts of LDinvIm and epsilonIm. The
// matrices LDinv (nInd x nInd) and LDinvIm (nDimOut x nDimOut) hold the
// lattice generators as columns. Prints nothing; nothing is freed.
void get_kmaxkmin_func(long *kmax, long *kmin, long *kImmax, long *kImmin, long long **linPart,
                       long long **paramPart, long long *constPart, int nDimOut, int nInd, int nParam,
                       long long *ineqEqPart_shape, long long **linPart_shape, long long **paramPart_shape,
                       long long *constPart_shape, int nConstr_shape, long long *ineqEqPart_shapeIm,
                       long long **linPart_shapeIm, long long **paramPart_shapeIm, long long *constPart_shapeIm,
                       int nConstr_shapeIm, long long epsilon, rational64 **LDinv, long long epsilonIm,
                       rational64 **LDinvIm, optionZIL *option);

#endif
