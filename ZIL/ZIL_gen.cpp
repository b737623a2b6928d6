// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "ZIL_gen.h"

#include <cassert>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "fraction128.h"
#include "lexmin.h"
#include "tiledSpace.h"

// ---------------------------------------------------------------------------
// Tile shapes and origin lattices
// ---------------------------------------------------------------------------

// Shape 0 <= (H^T x)_i <= sizes_i·b - 1; H NULL stands for the identity.
static polyhedronZIL *boxShapeOf(long long **H, long long *sizes, int n) {
  long long **mat = allocZeroMatrix(2 * n, n + 3);
  for (int i = 0; i < n; i++) {
    mat[i][0] = 1;
    mat[n + i][0] = 1;
    for (int j = 0; j < n; j++) {
      long long h = H != NULL ? H[j][i] : (i == j ? 1 : 0);
      mat[i][1 + j] = h;
      mat[n + i][1 + j] = -h;
    }
    mat[n + i][n + 1] = sizes[i];
    mat[n + i][n + 2] = -1;
  }
  return buildPolyhedron(mat, 2 * n, n, 1);
}

polyhedronZIL *rectangularShape(long long *sizes, int nDim) { return boxShapeOf(NULL, sizes, nDim); }

polyhedronZIL *parallelogramShape(long long **hyperplanes, long long *sizes, int nDim) {
  return boxShapeOf(hyperplanes, sizes, nDim);
}

long long **rectangularOriginLattice(long long *sizes, int nDim) {
  long long **lat = allocZeroMatrix(nDim + 1, nDim);
  for (int i = 0; i < nDim; i++) {
    lat[i][i] = sizes[i];
    lat[nDim][i] = 1;
  }
  return lat;
}

// With y = H^T x, a tile is the box 0 <= y_i <= sizes_i·b - 1, whose origins
// are b·diag(sizes)·z in y; in x they are b·T·diag(sizes)·z with T = (H^-1)^T,
// so column j of T is scaled by sizes_j.
long long **parallelogramOriginLattice(long long **hyperplanes, long long *sizes, int nDim) {
  int n = nDim;
  rational64 **inverse = allocZeroRationalMatrix(n, n);
  inverseDet(hyperplanes, inverse, n);
  rational64 **T = transpose(inverse, n, n);
  long long **lat = allocZeroMatrix(n + 1, n);
  for (int j = 0; j < n; j++) {
    for (int i = 0; i < n; i++) {
      T[i][j].num *= sizes[j];
      T[i][j] = simplify(T[i][j]);
    }
    long long D = T[0][j].den;
    for (int i = 1; i < n; i++) D = ppcm(D, T[i][j].den);
    for (int i = 0; i < n; i++) lat[i][j] = (D / T[i][j].den) * T[i][j].num;
    lat[n][j] = D;
  }
  freeMatrix(inverse, n);
  freeMatrix(T, n);
  return lat;
}

// ---------------------------------------------------------------------------
// Bounds on the block offset k of one row
// ---------------------------------------------------------------------------

double aux_max_computation(long long num_b_max, long long den_b_max, long long num_cst_max,
                           long long den_cst_max, optionZIL *option) {
  assert(den_b_max>0);
  assert(den_cst_max>0);
  double r = (double)num_b_max / (double)den_b_max;
  double q = (double)num_cst_max / (double)(option->minBlSizeParam * den_cst_max);
  if (option->kMinMaxOption == 0) {
    if (num_cst_max >= 0) return r + q;
    return den_b_max == 1 ? r - 1.0 : r;
  }
  assert(option->kMinMaxOption==1);
  if (num_cst_max > 0) return r + 0.001;
  // With no constant the maximum r·b itself is the bound; r - 1 would drop
  // the tiles where it is reached.
  if (num_cst_max == 0) return r;
  return den_b_max == 1 ? r - 1.0 : r;
}

double aux_min_computation(long long num_b_min, long long den_b_min, long long num_cst_min,
                           long long den_cst_min, optionZIL *option) {
  assert(den_b_min>0);
  assert(den_cst_min>0);
  double r = (double)num_b_min / (double)den_b_min;
  double q = (double)num_cst_min / (double)(option->minBlSizeParam * den_cst_min);
  if (option->kMinMaxOption == 0) return num_cst_min >= 0 ? r : r + q;
  assert(option->kMinMaxOption==1);
  if (num_cst_min > 0) return r;
  return den_b_min == 1 ? r - 1.0 : r - 0.001;
}

// Exact Σ term(c) over the columns c whose sign(c) is >= 0 (positive) or
// < 0 (otherwise), reduced with a positive denominator.
template <typename Sign, typename Term>
static rational64 selectedSum(int nCol, bool positive, Sign sign, Term term) {
  Fraction128 sum = makeFraction(0, 1);
  for (int c = 0; c < nCol; c++)
    if ((sign(c) >= 0) == positive) sum = addFractions(sum, term(c));
  return rational64{(long long)sum.num, (long long)sum.den};
}

static rational64 offsetShift(long long *w, long long *den_lattice, int nInd, bool positive) {
  return selectedSum(
      nInd, positive, [&](int c) { return w[c]; },
      [&](int c) { return makeFraction((__int128)(den_lattice[c] - 1) * w[c], den_lattice[c]); });
}

// The largest (positive) or smallest value of row·α over the lattice offsets
// 0 <= α_j <= eps - 1: Σ (eps - 1)·row_j over the entries >= 0, or < 0.
static rational64 latticeRowShift(rational64 *row, int nCol, long long eps, bool positive) {
  return selectedSum(
      nCol, positive, [&](int j) { return row[j].num; },
      [&](int j) { return makeFraction((__int128)(eps - 1) * row[j].num, row[j].den); });
}

rational64 maxOffsetShift(long long *w, long long *den_lattice, int nInd) {
  return offsetShift(w, den_lattice, nInd, true);
}

rational64 minOffsetShift(long long *w, long long *den_lattice, int nInd) {
  return offsetShift(w, den_lattice, nInd, false);
}

// Tiles whose block offset is below -kmax reach at most b·(r + shift) + cst
// < 0. With cst >= 0 the worst block size is the smallest, m; with cst < 0
// the bound r + shift itself must stay excluded: the largest integer strictly
// below it is ceil(r + shift) - 1.
long long kmaxBound(long long num_b_max, long long den_b_max, long long num_cst_max, long long den_cst_max,
                    rational64 shift, optionZIL *option) {
  assert(den_b_max>0);
  assert(den_cst_max>0);
  Fraction128 base = addFractions(makeFraction(num_b_max, den_b_max), makeFraction(shift.num, shift.den));
  if (num_cst_max < 0) return (long long)(ceilFraction(base) - 1);
  if (option->kMinMaxOption == 0) {
    Fraction128 cstPerBlock = makeFraction(num_cst_max, (__int128)den_cst_max * option->minBlSizeParam);
    return (long long)floorFraction(addFractions(base, cstPerBlock));
  }
  assert(option->kMinMaxOption==1);
  if (num_cst_max == 0) return (long long)floorFraction(base);
  return (long long)floorFraction(addFractions(base, makeFraction(1, 1000)));
}

// Tiles whose block offset is at least -kmin satisfy the row at every local
// point: their value is at least b·(r + shift) + cst.
long long kminBound(long long num_b_min, long long den_b_min, long long num_cst_min, long long den_cst_min,
                    rational64 shift, optionZIL *option) {
  assert(den_b_min>0);
  assert(den_cst_min>0);
  Fraction128 base = addFractions(makeFraction(num_b_min, den_b_min), makeFraction(shift.num, shift.den));
  if (option->kMinMaxOption == 0) {
    if (num_cst_min >= 0) return (long long)floorFraction(base);
    Fraction128 cstPerBlock = makeFraction(num_cst_min, (__int128)den_cst_min * option->minBlSizeParam);
    return (long long)floorFraction(addFractions(base, cstPerBlock));
  }
  assert(option->kMinMaxOption==1);
  if (num_cst_min > 0) return (long long)floorFraction(base);
  Fraction128 margin = den_b_min == 1 ? makeFraction(-1, 1) : makeFraction(-1, 1000);
  return (long long)floorFraction(addFractions(base, margin));
}

// Double-precision minimum shift for the debug line. The sum starts at +0.0
// so that a term -0.0 (D_c = 1, w_c < 0) never prints as "-0".
static double minOffsetShiftDouble(long long *w, long long *den_lattice, int nInd) {
  double sum = 0.0;
  for (int c = 0; c < nInd; c++)
    if (w[c] < 0) sum += ((double)(den_lattice[c] - 1) * (double)w[c]) / (double)den_lattice[c];
  return sum;
}

// Context of the local parts: the shape over il, 0 <= Nl_j <= b - 1 and,
// when boundBlockSize, b >= minBlSizeParam; indices (il, Nl), parameter b.
static polyhedronZIL *localContext(long long *ineqEqPart_shape, long long **linPart_shape,
                                   long long **paramPart_shape, long long *constPart_shape, int nConstr_shape,
                                   int nInd, int nParam, bool boundBlockSize, optionZIL *option) {
  int nRow = nConstr_shape + 2 * nParam + (boundBlockSize ? 1 : 0), nCol = nInd + nParam + 3;
  int bCol = nInd + nParam + 1, cstCol = nInd + nParam + 2;
  long long **mat = allocZeroMatrix(nRow, nCol);
  for (int t = 0; t < nConstr_shape; t++) {
    mat[t][0] = ineqEqPart_shape[t];
    for (int k = 0; k < nInd; k++) mat[t][1 + k] = linPart_shape[t][k];
    mat[t][bCol] = paramPart_shape[t][0];
    mat[t][cstCol] = constPart_shape[t];
  }
  for (int j = 0; j < nParam; j++) {
    long long *low = mat[nConstr_shape + j], *high = mat[nConstr_shape + nParam + j];
    low[0] = 1;
    low[1 + nInd + j] = 1;
    high[0] = 1;
    high[1 + nInd + j] = -1;
    high[bCol] = 1;
    high[cstCol] = -1;
  }
  if (boundBlockSize) {
    mat[nRow - 1][0] = 1;
    mat[nRow - 1][bCol] = 1;
    mat[nRow - 1][cstCol] = -option->minBlSizeParam;
  }
  return buildPolyhedron(mat, nRow, nInd + nParam, 1);
}

// The local part a·il + c·Nl + d of a row, over the indices of the context.
static affFuncZIL *localObjective(long long *a, long long *c, long long d, int nInd, int nParam) {
  long long **mat = allocZeroMatrix(1, nInd + nParam + 2);
  for (int k = 0; k < nInd; k++) mat[0][k] = a[k];
  for (int j = 0; j < nParam; j++) mat[0][nInd + j] = c[j];
  mat[0][nInd + nParam + 1] = d;
  return buildAffineFunction(mat, 1, nInd + nParam, 1);
}

// w = a·L with the unscaled lattice; a new array of nInd entries.
static long long *rowTimesLattice(long long *a, long long **L, int nInd) {
  long long *w = allocZeroVector(nInd);
  for (int c = 0; c < nInd; c++) {
    w[c] = 0;
    for (int k = 0; k < nInd; k++) w[c] += a[k] * L[k][c];
  }
  return w;
}

// kmax and kmin of every row, and with `trace` the debug line of each.
static void blockRanges(long *kmax, long *kmin, long long **linPart, long long **paramPart, long long *constPart,
                        int nConstr, int nInd, int nParam, long long *ineqEqPart_shape, long long **linPart_shape,
                        long long **paramPart_shape, long long *constPart_shape, int nConstr_shape,
                        long long **int_lattice, long long *den_lattice, optionZIL *option, bool trace) {
  polyhedronZIL *K = localContext(ineqEqPart_shape, linPart_shape, paramPart_shape, constPart_shape,
                                  nConstr_shape, nInd, nParam, true, option);
  for (int i = 0; i < nConstr; i++) {
    affFuncZIL *f = localObjective(linPart[i], paramPart[i], constPart[i], nInd, nParam);
    long long *w = rowTimesLattice(linPart[i], int_lattice, nInd);

    rational64 **maxSol = max(f, K);
    kmax[i] = kmaxBound(maxSol[0][0].num, maxSol[0][0].den, maxSol[0][1].num, maxSol[0][1].den,
                        maxOffsetShift(w, den_lattice, nInd), option);

    rational64 **minSol = min(f, K);
    long long num_b_min1 = minSol[0][0].num, den_b_min1 = minSol[0][0].den;
    long long num_cst_min1 = minSol[0][1].num, den_cst_min1 = minSol[0][1].den;
    assert(den_b_min1>0);
    assert(den_cst_min1>0);
    kmin[i] = kminBound(num_b_min1, den_b_min1, num_cst_min1, den_cst_min1, minOffsetShift(w, den_lattice, nInd),
                        option);
    if (trace) {
      double min1 = aux_min_computation(num_b_min1, den_b_min1, num_cst_min1, den_cst_min1, option);
      double min2 = minOffsetShiftDouble(w, den_lattice, nInd);
      double min3 = min1 + min2;
      std::cout << "min1 = " << min1 << " | min2 = " << min2 << " | min3 = " << min3 << std::endl << std::endl;
    }

    freeMatrix(maxSol, 1);
    freeMatrix(minSol, 1);
    free(w);
    freeAffineFunction(f);
  }
  freePolyhedron(K);
}

// kmax and kmin of one objective over a context from its maximum and minimum
// r·b + cst, shifted by the extremes of shiftRow·α over the lattice offsets
// 0 <= α_j <= eps - 1. Frees the objective.
static void blockOffsetRange(affFuncZIL *objective, polyhedronZIL *context, rational64 *shiftRow, int nCol,
                             long long eps, optionZIL *option, long *kmax, long *kmin) {
  rational64 **hi = max(objective, context);
  *kmax = kmaxBound(hi[0][0].num, hi[0][0].den, hi[0][1].num, hi[0][1].den,
                    latticeRowShift(shiftRow, nCol, eps, true), option);
  rational64 **lo = min(objective, context);
  *kmin = kminBound(lo[0][0].num, lo[0][0].den, lo[0][1].num, lo[0][1].den,
                    latticeRowShift(shiftRow, nCol, eps, false), option);
  freeMatrix(hi, 1);
  freeMatrix(lo, 1);
  freeAffineFunction(objective);
}

// The image coordinate y_i over m indices, with b as parameter.
static affFuncZIL *imageCoordinate(int i, int m) {
  long long **mat = allocZeroMatrix(1, m + 2);
  mat[0][i] = 1;
  return buildAffineFunction(mat, 1, m, 1);
}

void get_kmaxkmin_func(long *kmax, long *kmin, long *kImmax, long *kImmin, long long **linPart,
                       long long **paramPart, long long *constPart, int nDimOut, int nInd, int nParam,
                       long long *ineqEqPart_shape, long long **linPart_shape, long long **paramPart_shape,
                       long long *constPart_shape, int nConstr_shape, long long *ineqEqPart_shapeIm,
                       long long **linPart_shapeIm, long long **paramPart_shapeIm, long long *constPart_shapeIm,
                       int nConstr_shapeIm, long long epsilon, rational64 **LDinv, long long epsilonIm,
                       rational64 **LDinvIm, optionZIL *option) {
  int m = nDimOut;
  // The image shape alone, without a row on b: the merged extrema still
  // bound the image coordinates for every b >= 0.
  polyhedronZIL *KIm = localContext(ineqEqPart_shapeIm, linPart_shapeIm, paramPart_shapeIm, constPart_shapeIm,
                                    nConstr_shapeIm, m, 0, false, option);
  for (int i = 0; i < m; i++)
    blockOffsetRange(imageCoordinate(i, m), KIm, LDinvIm[i], m, epsilonIm, option, &kImmax[i], &kImmin[i]);
  freePolyhedron(KIm);

  polyhedronZIL *K = localContext(ineqEqPart_shape, linPart_shape, paramPart_shape, constPart_shape, nConstr_shape,
                                  nInd, nParam, true, option);
  rational64 **Q = toRationalMatrix(linPart, m, nInd);
  rational64 **P = matrixMultiplication(Q, m, nInd, LDinv, nInd, nInd);
  for (int c = 0; c < m; c++)
    blockOffsetRange(localObjective(linPart[c], paramPart[c], constPart[c], nInd, nParam), K, P[c], nInd, epsilon,
                     option, &kmax[c], &kmin[c]);
  freeMatrix(P, m);
  freeMatrix(Q, m);
  freePolyhedron(K);
}

void get_kmaxkmin_poly(long *kmax, long *kmin, long long **linPart, long long **paramPart, long long *constPart,
                       int nConstr, int nInd, int nParam, long long *ineqEqPart_shape, long long **linPart_shape,
                       long long **paramPart_shape, long long *constPart_shape, int nConstr_shape,
                       long long **int_lattice, long long *den_lattice, optionZIL *option) {
  blockRanges(kmax, kmin, linPart, paramPart, constPart, nConstr, nInd, nParam, ineqEqPart_shape, linPart_shape,
              paramPart_shape, constPart_shape, nConstr_shape, int_lattice, den_lattice, option, true);
}

// ---------------------------------------------------------------------------
// General tiling of a domain
// ---------------------------------------------------------------------------

namespace {

// Everything the pieces of one domain share.
struct TilingFrame {
  TiledLayout lay;
  InequalityRows shape;  // the shape without equalities
  long long M;           // lcm of the lattice denominators
  long long *D;          // lattice denominators
  optionZIL *option;
};

// One domain row a·x + c·N + d >= 0 under one lattice offset: v = a·L' and
// S = o·v.
struct RowOffset {
  long long *a;
  long long *c;
  long long d;
  long long *v;
  long long S;
  long long *o;
};

// Block form v·ii + M·c·Nb into a row.
void writeBlockForm(long long *out, const RowOffset &row, const TilingFrame &fr) {
  for (int k = 0; k < fr.lay.n; k++) out[fr.lay.ii(k)] = row.v[k];
  for (int j = 0; j < fr.lay.p; j++) out[fr.lay.nb(j)] = fr.M * row.c[j];
}

// The shape rows over il and b from row r on; returns the next free row.
int writeShapeRows(long long **mat, int r, const InequalityRows &shape, const TiledLayout &lay) {
  for (int t = 0; t < shape.nRow; t++, r++) {
    mat[r][0] = shape.flag[t];
    for (int k = 0; k < lay.n; k++) mat[r][lay.il(k)] = shape.lin[t][k];
    mat[r][lay.b()] = shape.param[t][0];
    mat[r][lay.cst()] = shape.cst[t];
  }
  return r;
}

// The shape rows over il and b, then b >= minBlSizeParam, then with
// areParamDiv the rows Nl_j == 0; from row r on.
void writeTileRows(long long **mat, int r, const TilingFrame &fr) {
  const TiledLayout &lay = fr.lay;
  r = writeShapeRows(mat, r, fr.shape, lay);
  mat[r][0] = 1;
  mat[r][lay.b()] = 1;
  mat[r][lay.cst()] = -fr.option->minBlSizeParam;
  r++;
  if (!fr.option->areParamDiv) return;
  for (int j = 0; j < lay.p; j++, r++) {
    mat[r][0] = 0;
    mat[r][lay.nl(j)] = 1;
  }
}

int tileRowCount(const TilingFrame &fr) {
  return fr.shape.nRow + 1 + (fr.option->areParamDiv ? fr.lay.p : 0);
}

// Replaces the piece's empty modulo rows by ii_c ≡ o_c (mod D_c), one per
// index, modulus 1 included.
polyhedronZIL *withModuloRows(polyhedronZIL *piece, const RowOffset &row, const TilingFrame &fr) {
  int n = fr.lay.n;
  if (n == 0) return piece;
  long long **mod = allocZeroMatrix(n, fr.lay.width());
  for (int c = 0; c < n; c++) {
    mod[c][0] = fr.D[c];
    mod[c][fr.lay.ii(c)] = 1;
    mod[c][fr.lay.cst()] = -row.o[c];
  }
  freeMatrix(piece->modConstr, piece->nConstrMod);
  piece->modConstr = mod;
  piece->nConstrMod = n;
  return piece;
}

// Tiles whose block part alone satisfies the row at every local point.
polyhedronZIL *fullPiece(const RowOffset &row, long kmin, const TilingFrame &fr) {
  int nRow = 1 + tileRowCount(fr);
  long long **mat = allocZeroMatrix(nRow, fr.lay.width());
  mat[0][0] = 1;
  writeBlockForm(mat[0], row, fr);
  mat[0][fr.lay.cst()] = kmin * fr.M - row.S;
  writeTileRows(mat, 1, fr);
  return withModuloRows(buildPolyhedron(mat, nRow, 2 * fr.lay.n, 2 * fr.lay.p + 1), row, fr);
}

// Tiles whose block part is S - k·M, with the row as a condition on the
// local part.
polyhedronZIL *equalityPiece(const RowOffset &row, long long k, const TilingFrame &fr) {
  const TiledLayout &lay = fr.lay;
  int nRow = 2 + tileRowCount(fr);
  long long **mat = allocZeroMatrix(nRow, lay.width());
  mat[0][0] = 0;
  writeBlockForm(mat[0], row, fr);
  mat[0][lay.cst()] = k * fr.M - row.S;
  mat[1][0] = 1;
  for (int q = 0; q < lay.n; q++) mat[1][lay.il(q)] = fr.M * row.a[q];
  for (int j = 0; j < lay.p; j++) mat[1][lay.nl(j)] = fr.M * row.c[j];
  mat[1][lay.b()] = row.S - k * fr.M;
  mat[1][lay.cst()] = fr.M * row.d;
  writeTileRows(mat, 2, fr);
  return withModuloRows(buildPolyhedron(mat, nRow, 2 * lay.n, 2 * lay.p + 1), row, fr);
}

// Whether v·ii + M·c·Nb + k·M - S == 0 can have an integer solution: g, the
// gcd of its coefficients, must divide k·M - S. With no coefficient at all
// (g = 0) the equality holds only when k·M - S is itself 0.
bool hasIntegerSolution(const RowOffset &row, long long k, const TilingFrame &fr) {
  long long g_ii = fr.lay.n > 0 ? gcd_array(row.v, fr.lay.n) : 0;
  long long g_N = fr.lay.p > 0 ? gcd_array(row.c, fr.lay.p) * fr.M : 0;
  long long g = gcd(g_ii, g_N);
  long long rhs = k * fr.M - row.S;
  return g == 0 ? rhs == 0 : rhs % g == 0;
}

void appendGroup(std::list<polyhedronZIL *> &pieces, const RowOffset &row, long kmin, long kmax,
                 const TilingFrame &fr) {
  pieces.push_back(fullPiece(row, kmin, fr));
  for (long long k = kmin + 1; k <= kmax; k++)
    if (hasIntegerSolution(row, k, fr)) pieces.push_back(equalityPiece(row, k, fr));
}

// Next offset with o_0 varying fastest; false once every offset was seen.
bool nextOffset(long long *o, long long *D, int n) {
  for (int c = 0; c < n; c++) {
    if (++o[c] < D[c]) return true;
    o[c] = 0;
  }
  return false;
}

// The groups of every offset of one row, one after the other: the tiling
// pass intersects one piece per inner list, so the congruence classes of a
// row must stay together in one union.
std::list<polyhedronZIL *> tileRow(RowOffset row, long kmin, long kmax, long long **Lscaled,
                                   const TilingFrame &fr) {
  int n = fr.lay.n;
  std::list<polyhedronZIL *> pieces;
  row.v = n > 0 ? vectMatrixMultiplication(row.a, n, Lscaled, n, n) : NULL;
  row.o = allocZeroVector(n);
  do {
    row.S = 0;
    for (int c = 0; c < n; c++) row.S += row.o[c] * row.v[c];
    appendGroup(pieces, row, kmin, kmax, fr);
  } while (nextOffset(row.o, fr.D, n));
  free(row.v);
  free(row.o);
  return pieces;
}

}  // namespace

namespace {

// What every entry below needs: the domain and the shape without
// equalities, the frame of the pieces, and the block range of every row.
struct DomainRanges {
  InequalityRows dom;
  TilingFrame fr;
  long *kmax;
  long *kmin;
};

// The contracts of the general tiling, then the ranges of a domain with at
// least one row; freed with freeRanges.
DomainRanges blockRangesOf(polyhedronZIL *polyScalar, polyhedronZIL *shape, long long **lattice, optionZIL *option,
                           bool trace) {
  int n = polyScalar->nInd, p = polyScalar->nParam;
  DomainRanges r;
  r.dom = splitInequalities(polyScalar);
  r.fr.lay = TiledLayout{n, p};
  r.fr.shape = splitInequalities(shape);
  r.fr.option = option;
  r.fr.D = allocZeroVector(n);
  for (int c = 0; c < n; c++) r.fr.D[c] = lattice[n][c];
  r.fr.M = n > 0 ? ppcm_array(r.fr.D, n) : 1;
  r.kmax = static_cast<long *>(allocZeroArray(r.dom.nRow, sizeof(long)));
  r.kmin = static_cast<long *>(allocZeroArray(r.dom.nRow, sizeof(long)));
  blockRanges(r.kmax, r.kmin, r.dom.lin, r.dom.param, r.dom.cst, r.dom.nRow, n, p, r.fr.shape.flag, r.fr.shape.lin,
              r.fr.shape.param, r.fr.shape.cst, r.fr.shape.nRow, lattice, r.fr.D, option, trace);
  return r;
}

void freeRanges(DomainRanges &r) {
  free(r.kmax);
  free(r.kmin);
  free(r.fr.D);
  freeInequalityRows(r.fr.shape);
  freeInequalityRows(r.dom);
}

void checkArguments(polyhedronZIL *polyScalar, polyhedronZIL *shape, long long **lattice, optionZIL *option) {
  assert(option->minBlSizeParam>=1);
  assert(polyScalar->nInd==shape->nInd);
  assert(shape->nParam==1);
  int n = polyScalar->nInd;
  // A zero denominator would divide by zero, a negative one unnormalise M.
  for (int c = 0; c < n; c++) assert(lattice[n][c]>=1);
}

}  // namespace

long long *getTiledDomainPieceCounts(polyhedronZIL *polyScalar, polyhedronZIL *shape, long long **lattice,
                                     optionZIL *option, int *nList) {
  checkArguments(polyScalar, shape, lattice, option);
  if (polyScalar->nConstr == 0) {
    *nList = 1;
    long long *one = allocZeroVector(1);
    one[0] = 1;
    return one;
  }
  DomainRanges r = blockRangesOf(polyScalar, shape, lattice, option, false);
  int n = r.fr.lay.n;
  __int128 offsets = 1;
  for (int c = 0; c < n; c++) offsets *= r.fr.D[c];
  long long *counts = allocZeroVector(r.dom.nRow);
  for (int i = 0; i < r.dom.nRow; i++) {
    // With one offset (every denominator 1) an equality piece needs the gcd
    // of its block form v.ii + c.Nb to divide k; with several, every k of
    // the range is counted for each offset.
    long long g = 1;
    if (offsets == 1) {
      long long *v = rowTimesLattice(r.dom.lin[i], lattice, n);
      g = 0;
      for (int c = 0; c < n; c++) g = gcd(g, v[c]);
      for (int j = 0; j < r.fr.lay.p; j++) g = gcd(g, r.dom.param[i][j]);
      free(v);
    }
    __int128 count = offsets * piecesWithPoints(r.kmin[i], r.kmax[i], g);
    counts[i] = count > LLONG_MAX ? LLONG_MAX : (long long)count;
  }
  *nList = r.dom.nRow;
  freeRanges(r);
  return counts;
}

std::list<std::list<polyhedronZIL *> > getTiledDomain(polyhedronZIL *polyScalar, polyhedronZIL *shape,
                                                      long long **lattice, optionZIL *option) {
  checkArguments(polyScalar, shape, lattice, option);
  int n = polyScalar->nInd, p = polyScalar->nParam;
  if (polyScalar->nConstr == 0) return tilingOfUnconstrainedDomain(n, p);

  DomainRanges r = blockRangesOf(polyScalar, shape, lattice, option, true);
  long long **Lscaled = allocZeroMatrix(n, n);
  for (int k = 0; k < n; k++)
    for (int c = 0; c < n; c++) Lscaled[k][c] = lattice[k][c] * (r.fr.M / r.fr.D[c]);

  std::list<std::list<polyhedronZIL *> > tiled;
  for (int i = 0; i < r.dom.nRow; i++) {
    RowOffset row = {r.dom.lin[i], r.dom.param[i], r.dom.cst[i], NULL, 0, NULL};
    tiled.push_back(tileRow(row, r.kmin[i], r.kmax[i], Lscaled, r.fr));
  }
  freeMatrix(Lscaled, n);
  freeRanges(r);
  return tiled;
}

// ---------------------------------------------------------------------------
// General tiling of an affine function
// ---------------------------------------------------------------------------

// The generators of a lattice of n + 1 rows as columns: A[i][j] = L[i][j] / D_j.
// New n x n matrix.
static rational64 **latticeGenerators(long long **lattice, int n) {
  rational64 **A = toRationalMatrix(lattice, n, n);
  for (int i = 0; i < n; i++)
    for (int j = 0; j < n; j++) A[i][j] = simplify(rational64{lattice[i][j], lattice[n][j]});
  return A;
}

// The inverse of latticeGenerators(lattice, m): diag(D)·L^-1. New m x m
// matrix.
static rational64 **latticeGeneratorsInverse(long long **lattice, int m) {
  rational64 **inverse = toRationalMatrix(lattice, m, m);  // overwritten by inverseDet
  inverseDet(lattice, inverse, m);
  for (int i = 0; i < m; i++)
    for (int j = 0; j < m; j++) inverse[i][j] = multiplyRational(toRational(lattice[m][i]), inverse[i][j]);
  return inverse;
}

// The lcm, folded from 1, of the reduced denominators of a matrix.
static long long denominatorLcm(rational64 **mat, int nRow, int nCol) {
  long long l = 1;
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) l = ppcm(l, simplify(mat[i][j]).den);
  return l;
}

// row · v for an integer vector v of n entries.
static rational64 timesIntegers(const rational64 *row, const long long *v, int n) {
  rational64 sum = toRational(0);
  for (int j = 0; j < n; j++) sum = addRational(sum, multiplyRational(row[j], toRational(v[j])));
  return sum;
}

namespace {

// A rational row made integral as it is written: every value put so far is
// multiplied by scale, the lcm (folded from 1) of the reduced denominators.
// Tiled column j sits at cells[j - 1], past a flag or modulus column, which
// stays out; in a function row, scale becomes the divisor.
struct ScaledRow {
  long long *cells;
  int nCell;
  long long scale;
};

ScaledRow scaledRow(long long *cells, const TiledLayout &lay) { return ScaledRow{cells, lay.width() - 1, 1}; }

void put(ScaledRow &row, int column, rational64 value) {
  value = simplify(value);
  // Scaling an inequality by a negative denominator would reverse it.
  assert(value.den>0);
  long long l = ppcm(row.scale, value.den);
  if (l != row.scale) {
    for (int j = 0; j < row.nCell; j++) row.cells[j] *= l / row.scale;
    row.scale = l;
  }
  row.cells[column - 1] = value.num * (l / value.den);
}

// What the entries of one function tiling share: f = Q·x + R·N + c, both
// shapes without equalities, the lattice generators A and AIm, BIm = AIm^-1,
// P = Q·A, U = BIm·P, V = BIm·R, and eps and epsIm, the lcms of the
// denominators of P and AIm.
struct FunctionTiling {
  TiledLayout lay;
  int m;
  long long **Q, **R, *c;
  InequalityRows shape, shapeIm;
  rational64 **A, **AIm, **BIm, **P, **U, **V;
  long long eps, epsIm;
  long long **unit;  // m x m identity: output i as a weighting of the outputs
};

// The block offsets k and kIm and lattice offsets α and αIm of one entry,
// with Pα, w = (kIm - k) + Pα - AIm·αIm, and the image block part
// BIm·(k - kIm) - U·α.
struct FunctionEntry {
  const long long *k, *kIm, *alpha, *alphaIm;
  std::vector<rational64> Palpha, w, imageBlock;
};

FunctionTiling functionTiling(affFuncZIL *f, polyhedronZIL *shape, long long **lattice, polyhedronZIL *shapeIm,
                              long long **latticeIm, long long *c) {
  int m = f->dimOut, n = f->nInd, p = f->nParam;
  FunctionTiling fr;
  fr.lay = TiledLayout{n, p};
  fr.m = m;
  fr.Q = allocZeroMatrix(m, n);
  fr.R = allocZeroMatrix(m, p);
  fr.c = c;
  extractAffFunc(f, fr.Q, fr.R, fr.c);
  fr.shape = splitInequalities(shape);
  fr.shapeIm = splitInequalities(shapeIm);
  fr.A = latticeGenerators(lattice, n);
  fr.AIm = latticeGenerators(latticeIm, m);
  fr.BIm = latticeGeneratorsInverse(latticeIm, m);
  rational64 **Qr = toRationalMatrix(fr.Q, m, n), **Rr = toRationalMatrix(fr.R, m, p);
  fr.P = matrixMultiplication(Qr, m, n, fr.A, n, n);
  fr.U = matrixMultiplication(fr.BIm, m, m, fr.P, m, n);
  fr.V = matrixMultiplication(fr.BIm, m, m, Rr, m, p);
  freeMatrix(Qr, m);
  freeMatrix(Rr, m);
  fr.eps = denominatorLcm(fr.P, m, n);
  fr.epsIm = denominatorLcm(fr.AIm, m, m);
  fr.unit = allocZeroMatrix(m, m);
  for (int i = 0; i < m; i++) fr.unit[i][i] = 1;
  return fr;
}

void freeFunctionTiling(FunctionTiling &fr) {
  int m = fr.m;
  freeMatrix(fr.unit, m);
  freeMatrix(fr.V, m);
  freeMatrix(fr.U, m);
  freeMatrix(fr.P, m);
  freeMatrix(fr.BIm, m);
  freeMatrix(fr.AIm, m);
  freeMatrix(fr.A, fr.lay.n);
  freeInequalityRows(fr.shapeIm);
  freeInequalityRows(fr.shape);
  freeMatrix(fr.R, m);
  freeMatrix(fr.Q, m);
}

FunctionEntry functionEntry(const FunctionTiling &fr, const long long *k, const long long *kIm,
                            const long long *alpha, const long long *alphaIm) {
  int m = fr.m, n = fr.lay.n;
  FunctionEntry e = {k, kIm, alpha, alphaIm, std::vector<rational64>(m), std::vector<rational64>(m),
                     std::vector<rational64>(m)};
  std::vector<long long> kDiff(m);
  for (int i = 0; i < m; i++) kDiff[i] = k[i] - kIm[i];
  for (int i = 0; i < m; i++) {
    e.Palpha[i] = timesIntegers(fr.P[i], alpha, n);
    e.w[i] = addRational(toRational(kIm[i] - k[i]), subRational(e.Palpha[i], timesIntegers(fr.AIm[i], alphaIm, m)));
    e.imageBlock[i] = subRational(timesIntegers(fr.BIm[i], kDiff.data(), m), timesIntegers(fr.U[i], alpha, n));
  }
  return e;
}

// sign·coef·(Q·il + R·Nl + c) + cst + value·b, coef weighting the m outputs.
void putLocalImage(ScaledRow &row, const FunctionTiling &fr, const long long *coef, long long sign,
                   rational64 value, long long cst) {
  const TiledLayout &lay = fr.lay;
  for (int q = 0; q < lay.n; q++) {
    long long sum = 0;
    for (int i = 0; i < fr.m; i++) sum += coef[i] * fr.Q[i][q];
    put(row, lay.il(q), toRational(sign * sum));
  }
  for (int j = 0; j < lay.p; j++) {
    long long sum = 0;
    for (int i = 0; i < fr.m; i++) sum += coef[i] * fr.R[i][j];
    put(row, lay.nl(j), toRational(sign * sum));
  }
  long long sum = 0;
  for (int i = 0; i < fr.m; i++) sum += coef[i] * fr.c[i];
  put(row, lay.cst(), toRational(cst + sign * sum));
  put(row, lay.b(), value);
}

// U_i·ii + V_i·Nb + cst.
void putImageBlock(ScaledRow &row, const FunctionTiling &fr, int i, rational64 cst) {
  const TiledLayout &lay = fr.lay;
  for (int q = 0; q < lay.n; q++) put(row, lay.ii(q), fr.U[i][q]);
  for (int j = 0; j < lay.p; j++) put(row, lay.nb(j), fr.V[i][j]);
  put(row, lay.cst(), cst);
}

// ii_j ≡ α_j (mod eps) for every index when eps > 1; then, for every output
// whose modulus epsIm·ℓ exceeds 1, BIm_i·(Z - kIm) ≡ 0 (mod epsIm) scaled by
// its ℓ, which makes the block output Y_i an integer congruent to αIm_i.
void attachModuloRows(polyhedronZIL *piece, const FunctionTiling &fr, const FunctionEntry &e) {
  const TiledLayout &lay = fr.lay;
  int nInput = fr.eps != 1 ? lay.n : 0;
  std::vector<std::vector<long long> > image;
  for (int i = 0; i < fr.m; i++) {
    std::vector<long long> cells(lay.width(), 0);
    ScaledRow row = scaledRow(cells.data() + 1, lay);
    putImageBlock(row, fr, i, e.imageBlock[i]);
    cells[0] = fr.epsIm * row.scale;
    if (cells[0] > 1) image.push_back(cells);
  }
  int nMod = nInput + (int)image.size();
  if (nMod == 0) return;
  long long **mod = allocZeroMatrix(nMod, lay.width());
  for (int j = 0; j < nInput; j++) {
    mod[j][0] = fr.eps;
    mod[j][lay.ii(j)] = 1;
    mod[j][lay.cst()] = -e.alpha[j];
  }
  for (size_t r = 0; r < image.size(); r++)
    for (int col = 0; col < lay.width(); col++) mod[nInput + r][col] = image[r][col];
  freeMatrix(piece->modConstr, piece->nConstrMod);
  piece->modConstr = mod;
  piece->nConstrMod = nMod;
}

// The input shape rows; the image shape rows on the image local offset
// Q·il + R·Nl + c + b·w; b·k_i <= λ_i for every output i, then
// λ_i < b·(k_i + 1), with λ = Q·il + R·Nl + c + b·Pα. Then the modulo rows.
polyhedronZIL *entryCondition(const FunctionTiling &fr, const FunctionEntry &e) {
  const TiledLayout &lay = fr.lay;
  int m = fr.m, nRow = fr.shape.nRow + fr.shapeIm.nRow + 2 * m;
  long long **mat = allocZeroMatrix(nRow, lay.width());
  int r = writeShapeRows(mat, 0, fr.shape, lay);
  for (int q = 0; q < fr.shapeIm.nRow; q++, r++) {
    mat[r][0] = fr.shapeIm.flag[q];
    ScaledRow row = scaledRow(mat[r] + 1, lay);
    rational64 value = addRational(timesIntegers(e.w.data(), fr.shapeIm.lin[q], m), toRational(fr.shapeIm.param[q][0]));
    putLocalImage(row, fr, fr.shapeIm.lin[q], 1, value, fr.shapeIm.cst[q]);
  }
  for (int i = 0; i < m; i++, r++) {
    mat[r][0] = 1;
    ScaledRow row = scaledRow(mat[r] + 1, lay);
    putLocalImage(row, fr, fr.unit[i], 1, subRational(e.Palpha[i], toRational(e.k[i])), 0);
  }
  for (int i = 0; i < m; i++, r++) {
    mat[r][0] = 1;
    ScaledRow row = scaledRow(mat[r] + 1, lay);
    putLocalImage(row, fr, fr.unit[i], -1, subRational(toRational(e.k[i] + 1), e.Palpha[i]), 0);
    mat[r][lay.cst()] -= 1;  // strict: the scaled row is an integer
  }
  polyhedronZIL *piece = buildPolyhedron(mat, nRow, 2 * lay.n, 2 * lay.p + 1);
  attachModuloRows(piece, fr, e);
  return piece;
}

// Block outputs Y_i = U_i·ii + V_i·Nb + αIm_i + BIm_i·(k - kIm) - U_i·α, then
// local outputs yl_i = Q_i·il + R_i·Nl + c_i + b·w_i.
affFuncZIL *entryFunction(const FunctionTiling &fr, const FunctionEntry &e) {
  const TiledLayout &lay = fr.lay;
  int m = fr.m;
  affFuncZIL *func = buildAffineFunction(allocZeroMatrix(2 * m, lay.width() - 1), 2 * m, 2 * lay.n, 2 * lay.p + 1);
  for (int i = 0; i < m; i++) {
    ScaledRow block = scaledRow(func->affFuncScalar[i], lay);
    putImageBlock(block, fr, i, addRational(toRational(e.alphaIm[i]), e.imageBlock[i]));
    func->divs[i] = block.scale;
    ScaledRow local = scaledRow(func->affFuncScalar[m + i], lay);
    putLocalImage(local, fr, fr.unit[i], 1, e.w[i], 0);
    func->divs[m + i] = local.scale;
  }
  simplifyAffFuncZIL(func);
  return func;
}

// The integer vectors of the box lo <= v <= hi, component 0 fastest.
struct Odometer {
  std::vector<long long> lo, hi, v;
  bool empty() const {
    for (size_t c = 0; c < v.size(); c++)
      if (lo[c] > hi[c]) return true;
    return false;
  }
  // Moves to the next vector; false (back at lo) once every vector was seen.
  bool next() {
    for (size_t c = 0; c < v.size(); c++) {
      if (++v[c] <= hi[c]) return true;
      v[c] = lo[c];
    }
    return false;
  }
};

Odometer boxOdometer(const std::vector<long> &lo, const std::vector<long> &hi) {
  std::vector<long long> low(lo.begin(), lo.end());
  return Odometer{low, std::vector<long long>(hi.begin(), hi.end()), low};
}

Odometer offsetOdometer(int n, long long eps) {
  return Odometer{std::vector<long long>(n, 0), std::vector<long long>(n, eps - 1), std::vector<long long>(n, 0)};
}

// One entry per (k, kIm, α, αIm): k outermost, αIm innermost.
void insertEntries(std::map<polyhedronZIL *, affFuncZIL *> &tiled, const FunctionTiling &fr, Odometer &k,
                   Odometer &kIm, Odometer &alpha, Odometer &alphaIm) {
  do {
    do {
      do {
        do {
          FunctionEntry e = functionEntry(fr, k.v.data(), kIm.v.data(), alpha.v.data(), alphaIm.v.data());
          polyhedronZIL *piece = entryCondition(fr, e);
          tiled[piece] = entryFunction(fr, e);
        } while (alphaIm.next());
      } while (alpha.next());
    } while (kIm.next());
  } while (k.next());
}

}  // namespace

std::map<polyhedronZIL *, affFuncZIL *> getTiledFunction(affFuncZIL *affScalar, polyhedronZIL *shape,
                                                         long long **lattice, polyhedronZIL *shapeIm,
                                                         long long **latticeIm, optionZIL *option) {
  assert(option->minBlSizeParam>=1);
  assert(affScalar->nInd==shape->nInd);
  assert(affScalar->dimOut==shapeIm->nInd);
  assert(shape->nParam==1);
  assert(shapeIm->nParam==1);
  int m = affScalar->dimOut, n = affScalar->nInd, p = affScalar->nParam;
  // A zero denominator would divide by zero; a negative one would reverse
  // the inequality rows scaled by it.
  for (int c = 0; c < n; c++) assert(lattice[n][c]>=1);
  for (int c = 0; c < m; c++) assert(latticeIm[m][c]>=1);
  TiledLayout lay = {n, p};
  std::map<polyhedronZIL *, affFuncZIL *> tiled;
  if (m == 0) {
    polyhedronZIL *all = buildPolyhedron(allocZeroMatrix(1, lay.width()), 1, 2 * n, 2 * p + 1);
    tiled[all] = buildAffineFunction(allocZeroMatrix(0, lay.width() - 1), 0, 2 * n, 2 * p + 1);
    return tiled;
  }

  std::vector<long long> c(m);
  FunctionTiling fr = functionTiling(affScalar, shape, lattice, shapeIm, latticeIm, c.data());
  std::vector<long> kmax(m), kmin(m), kImmax(m), kImmin(m);
  get_kmaxkmin_func(kmax.data(), kmin.data(), kImmax.data(), kImmin.data(), fr.Q, fr.R, fr.c, m, n, p,
                    fr.shape.flag, fr.shape.lin, fr.shape.param, fr.shape.cst, fr.shape.nRow, fr.shapeIm.flag,
                    fr.shapeIm.lin, fr.shapeIm.param, fr.shapeIm.cst, fr.shapeIm.nRow, fr.eps, fr.A, fr.epsIm,
                    fr.AIm, option);
  Odometer k = boxOdometer(kmin, kmax), kIm = boxOdometer(kImmin, kImmax);
  Odometer alpha = offsetOdometer(n, fr.eps), alphaIm = offsetOdometer(m, fr.epsIm);
  // An empty box has no vector; its lower corner must not become an entry.
  if (!k.empty() && !kIm.empty()) insertEntries(tiled, fr, k, kIm, alpha, alphaIm);
  freeFunctionTiling(fr);
  return tiled;
}
