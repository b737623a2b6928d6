// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "ZIL_rect.h"

#include <cassert>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "tiledSpace.h"

optionZIL::optionZIL() : kMinMaxOption(0), areParamDiv(false), minBlSizeParam(4), errorIfModulo(false) {}

namespace {

// One row a·x + c·N + d >= 0 of the domain without equalities.
struct DomainRow {
  long long *a;
  long long *c;
  long long d;
};

// Range of block values k for which a row is decided neither way by the
// block form B alone: B + k == 0 for kmin < k <= kmax, B + kmin >= 0 beyond.
struct BlockRange {
  long long kmin, kmax;
};

// With il_k in [0, s_k·b - 1] and Nl_j in [0, b - 1], the local form L lies
// between b·Q - Q' + d and b·P - P' + d, where P and Q weight the index
// coefficients by the scales and P' and Q' do not. So B >= -kmin always
// satisfies the row, and B < -kmax never does, for every b >= m (option 0)
// or for large b (option 1).
BlockRange blockRange(const DomainRow &row, long long *scale, int n, int p, optionZIL *option) {
  long long P = 0, Pu = 0, Q = 0, Qu = 0;
  for (int k = 0; k < n; k++) {
    if (row.a[k] > 0) { P += row.a[k] * scale[k]; Pu += row.a[k]; }
    if (row.a[k] < 0) { Q += row.a[k] * scale[k]; Qu += row.a[k]; }
  }
  for (int j = 0; j < p; j++) {
    if (row.c[j] > 0) { P += row.c[j]; Pu += row.c[j]; }
    if (row.c[j] < 0) { Q += row.c[j]; Qu += row.c[j]; }
  }
  long long m = option->minBlSizeParam;
  bool exact = option->kMinMaxOption == 0;
  BlockRange range;
  if (row.d - Pu < 0) range.kmax = P - 1;
  else range.kmax = exact ? P + floorDivision(row.d - Pu, m) : P;
  if (row.d - Qu >= 0) range.kmin = Q;
  else range.kmin = exact ? Q + floorDivision(row.d - Qu, m) : Q - 1;
  return range;
}

// Writes the block form B (weighted ii part and Nb part) into a row.
void writeBlockForm(long long *out, const DomainRow &row, long long *scale, const TiledLayout &lay) {
  for (int k = 0; k < lay.n; k++) out[lay.ii(k)] = scale[k] * row.a[k];
  for (int j = 0; j < lay.p; j++) out[lay.nb(j)] = row.c[j];
}

// Writes 0 <= il_k (n rows) then il_k <= s_k·b - 1 (n rows) from row r on;
// returns the next free row.
int writeLocalBounds(long long **mat, int r, long long *scale, const TiledLayout &lay) {
  for (int k = 0; k < lay.n; k++, r++) {
    mat[r][0] = 1;
    mat[r][lay.il(k)] = 1;
  }
  for (int k = 0; k < lay.n; k++, r++) {
    mat[r][0] = 1;
    mat[r][lay.il(k)] = -1;
    mat[r][lay.b()] = scale[k];
    mat[r][lay.cst()] = -1;
  }
  return r;
}

int writeBlockSizeRow(long long **mat, int r, const TiledLayout &lay, optionZIL *option) {
  mat[r][0] = 1;
  mat[r][lay.b()] = 1;
  mat[r][lay.cst()] = -option->minBlSizeParam;
  return r + 1;
}

int writeParamDivRows(long long **mat, int r, const TiledLayout &lay) {
  for (int j = 0; j < lay.p; j++, r++) {
    mat[r][0] = 0;
    mat[r][lay.nl(j)] = 1;
  }
  return r;
}

// Piece where B == -k and the row holds on the local part: L - k·b >= 0.
polyhedronZIL *equalityPiece(const DomainRow &row, long long k, long long *scale, const TiledLayout &lay,
                             optionZIL *option) {
  int nRow = 2 * lay.n + 3 + (option->areParamDiv ? lay.p : 0);
  long long **mat = allocZeroMatrix(nRow, lay.width());
  mat[0][0] = 0;
  writeBlockForm(mat[0], row, scale, lay);
  mat[0][lay.cst()] = k;
  mat[1][0] = 1;
  for (int q = 0; q < lay.n; q++) mat[1][lay.il(q)] = row.a[q];
  for (int j = 0; j < lay.p; j++) mat[1][lay.nl(j)] = row.c[j];
  mat[1][lay.b()] = -k;
  mat[1][lay.cst()] = row.d;
  int r = writeLocalBounds(mat, 2, scale, lay);
  if (option->areParamDiv) r = writeParamDivRows(mat, r, lay);
  writeBlockSizeRow(mat, r, lay, option);
  return buildPolyhedron(mat, nRow, 2 * lay.n, 2 * lay.p + 1);
}

// Piece where B >= -kmin, which satisfies the row at every local point.
polyhedronZIL *inequalityPiece(const DomainRow &row, long long kmin, long long *scale, const TiledLayout &lay,
                               optionZIL *option) {
  int nRow = 2 * lay.n + 2 + (option->areParamDiv ? lay.p : 0);
  long long **mat = allocZeroMatrix(nRow, lay.width());
  mat[0][0] = 1;
  writeBlockForm(mat[0], row, scale, lay);
  mat[0][lay.cst()] = kmin;
  int r = writeLocalBounds(mat, 1, scale, lay);
  r = writeBlockSizeRow(mat, r, lay, option);
  if (option->areParamDiv) writeParamDivRows(mat, r, lay);
  return buildPolyhedron(mat, nRow, 2 * lay.n, 2 * lay.p + 1);
}

std::list<polyhedronZIL *> tileRow(const DomainRow &row, long long *scale, const TiledLayout &lay,
                                   optionZIL *option) {
  BlockRange range = blockRange(row, scale, lay.n, lay.p, option);
  std::list<polyhedronZIL *> pieces;
  for (long long k = range.kmin + 1; k <= range.kmax; k++)
    pieces.push_back(equalityPiece(row, k, scale, lay, option));
  pieces.push_back(inequalityPiece(row, range.kmin, scale, lay, option));
  return pieces;
}


// The pieces of a row that can hold an integer point (see piecesWithPoints):
// g is the gcd of the coefficients of its block form.
long long possiblePieceCount(const DomainRow &row, const BlockRange &range, long long *scale,
                             const TiledLayout &lay) {
  long long g = 0;
  for (int k = 0; k < lay.n; k++) g = gcd(g, scale[k] * row.a[k]);
  for (int j = 0; j < lay.p; j++) g = gcd(g, row.c[j]);
  return piecesWithPoints(range.kmin, range.kmax, g);
}

// The contracts of both entries below.
void checkArguments(polyhedronZIL *polyScalar, long long *scale, optionZIL *option) {
  assert(option->minBlSizeParam>=1);
  // A scale of 0 or less would silently give an empty or wrong tiling.
  for (int k = 0; k < polyScalar->nInd; k++) assert(scale[k]>=1);
}

}  // namespace

long long *getRectangularPieceCounts(polyhedronZIL *polyScalar, long long *scale, optionZIL *option, int *nList) {
  checkArguments(polyScalar, scale, option);
  if (polyScalar->nConstr == 0) {
    *nList = 1;
    long long *one = allocZeroVector(1);
    one[0] = 1;
    return one;
  }
  InequalityRows dom = splitInequalities(polyScalar);
  TiledLayout lay = {polyScalar->nInd, polyScalar->nParam};
  long long *counts = allocZeroVector(dom.nRow);
  for (int i = 0; i < dom.nRow; i++) {
    DomainRow row = {dom.lin[i], dom.param[i], dom.cst[i]};
    BlockRange range = blockRange(row, scale, lay.n, lay.p, option);
    counts[i] = possiblePieceCount(row, range, scale, lay);
  }
  *nList = dom.nRow;
  freeInequalityRows(dom);
  return counts;
}

std::list<std::list<polyhedronZIL *> > getRectangularTiledDomain(polyhedronZIL *polyScalar, long long *scale,
                                                                 optionZIL *option) {
  checkArguments(polyScalar, scale, option);
  int n = polyScalar->nInd, p = polyScalar->nParam;
  if (polyScalar->nConstr == 0) return tilingOfUnconstrainedDomain(n, p);

  InequalityRows dom = splitInequalities(polyScalar);

  TiledLayout lay = {n, p};
  std::list<std::list<polyhedronZIL *> > tiled;
  for (int i = 0; i < dom.nRow; i++) {
    DomainRow row = {dom.lin[i], dom.param[i], dom.cst[i]};
    tiled.push_back(tileRow(row, scale, lay, option));
  }
  freeInequalityRows(dom);
  return tiled;
}

// ---------------------------------------------------------------------------
// Rectangular tiling of an affine function
// ---------------------------------------------------------------------------

namespace {

// What the entries of one function tiling share: y = A·x + B·N + c split by
// rows, the scales and the options.
struct FunctionFrame {
  TiledLayout lay;
  int m;
  long long **A, **B, *c;
  long long *scale, *scaleIm;
  optionZIL *option;
};

// Output i read as a domain row A_i·x + B_i·N + c_i, whose block range bounds
// floor(L_i / b) for the local form L_i = A_i·il + B_i·Nl + c_i.
DomainRow outputRow(const FunctionFrame &fr, int i) { return DomainRow{fr.A[i], fr.B[i], fr.c[i]}; }

// sign·(L_i - k·t_i·b) into a row whose tiled column j sits at cells[j - 1]
// (a constraint row past its flag, or a function row).
void writeLocalOutput(long long *cells, const FunctionFrame &fr, int i, long long k, long long sign) {
  const TiledLayout &lay = fr.lay;
  for (int q = 0; q < lay.n; q++) cells[lay.il(q) - 1] = sign * fr.A[i][q];
  for (int j = 0; j < lay.p; j++) cells[lay.nl(j) - 1] = sign * fr.B[i][j];
  cells[lay.b() - 1] = -sign * k * fr.scaleIm[i];
  cells[lay.cst() - 1] = sign * fr.c[i];
}

// The windows k_i·t_i·b <= L_i <= (k_i + 1)·t_i·b - 1 (the m lower rows, then
// the m upper rows), the local bounds, b >= minBlSizeParam, and with
// areParamDiv the rows Nl_j == 0.
polyhedronZIL *windowPiece(const FunctionFrame &fr, const long long *k) {
  const TiledLayout &lay = fr.lay;
  int m = fr.m;
  int nRow = 2 * m + 2 * lay.n + 1 + (fr.option->areParamDiv ? lay.p : 0);
  long long **mat = allocZeroMatrix(nRow, lay.width());
  for (int i = 0; i < m; i++) {
    mat[i][0] = 1;
    writeLocalOutput(mat[i] + 1, fr, i, k[i], 1);
    long long *upper = mat[m + i];
    upper[0] = 1;
    writeLocalOutput(upper + 1, fr, i, k[i], -1);
    upper[lay.b()] += fr.scaleIm[i];
    upper[lay.cst()] -= 1;
  }
  int r = writeLocalBounds(mat, 2 * m, fr.scale, lay);
  r = writeBlockSizeRow(mat, r, lay, fr.option);
  if (fr.option->areParamDiv) writeParamDivRows(mat, r, lay);
  return buildPolyhedron(mat, nRow, 2 * lay.n, 2 * lay.p + 1);
}

// value / divisor, which must be exact; otherwise the function has no
// integral block outputs and the process stops.
long long exactQuotient(long long value, long long divisor, const char *part, int i, int j) {
  if (value % divisor != 0) {
    std::cerr << "The resulting affine function has Z-polyhedral constraints (" << part << " | i = " << i
              << " | j = " << j << " )" << std::endl;
    std::exit(-1);
  }
  return value / divisor;
}

// Block output Y_i = (Σ s_q·A_iq·ii_q + Σ B_ij·Nb_j + k·t_i) / t_i into a
// function row; with errorIfModulo the exact quotients over divisor 1.
// Returns the divisor.
long long writeBlockOutput(long long *cells, const FunctionFrame &fr, int i, long long k) {
  const TiledLayout &lay = fr.lay;
  long long t = fr.scaleIm[i];
  bool quotients = fr.option->errorIfModulo;
  long long d = quotients ? t : 1;
  for (int q = 0; q < lay.n; q++) cells[lay.ii(q) - 1] = exactQuotient(fr.scale[q] * fr.A[i][q], d, "linear", i, q);
  for (int j = 0; j < lay.p; j++) cells[lay.nb(j) - 1] = exactQuotient(fr.B[i][j], d, "param", i, j);
  cells[lay.cst() - 1] = quotients ? k : k * t;
  return quotients ? 1 : t;
}

// The block outputs, then the local outputs yl_i = L_i - k_i·t_i·b.
affFuncZIL *windowOutputs(const FunctionFrame &fr, const long long *k) {
  const TiledLayout &lay = fr.lay;
  int m = fr.m;
  affFuncZIL *func = buildAffineFunction(allocZeroMatrix(2 * m, lay.width() - 1), 2 * m, 2 * lay.n, 2 * lay.p + 1);
  for (int i = 0; i < m; i++) func->divs[i] = writeBlockOutput(func->affFuncScalar[i], fr, i, k[i]);
  for (int i = 0; i < m; i++) writeLocalOutput(func->affFuncScalar[m + i], fr, i, k[i], 1);
  simplifyAffFuncZIL(func);
  return func;
}

// Next vector of the box, k_0 fastest; false once every vector was seen.
bool nextBlockOffsets(long long *k, const BlockRange *ranges, int m) {
  for (int i = 0; i < m; i++) {
    if (++k[i] <= ranges[i].kmax) return true;
    k[i] = ranges[i].kmin;
  }
  return false;
}

// The whole space 0 == 0, tiled, with a function of no outputs.
void insertFunctionWithoutOutputs(std::map<polyhedronZIL *, affFuncZIL *> &tiled, const TiledLayout &lay) {
  polyhedronZIL *all = buildPolyhedron(allocZeroMatrix(1, lay.width()), 1, 2 * lay.n, 2 * lay.p + 1);
  tiled[all] = buildAffineFunction(allocZeroMatrix(0, lay.width() - 1), 0, 2 * lay.n, 2 * lay.p + 1);
}

}  // namespace

std::map<polyhedronZIL *, affFuncZIL *> getRectangularTiledFunction(affFuncZIL *affScalar, long long *scale,
                                                                    long long *scaleIm, optionZIL *option) {
  assert(option->minBlSizeParam>=1);
  int m = affScalar->dimOut, n = affScalar->nInd, p = affScalar->nParam;
  for (int k = 0; k < n; k++) assert(scale[k]>=1);
  // An output scale of 0 makes the divisor 0, a negative one reverses the
  // windows.
  for (int i = 0; i < m; i++) assert(scaleIm[i]>=1);
  TiledLayout lay = {n, p};
  std::map<polyhedronZIL *, affFuncZIL *> tiled;
  if (m == 0) {
    insertFunctionWithoutOutputs(tiled, lay);
    return tiled;
  }

  std::vector<long long> c(m);
  FunctionFrame fr = {lay, m, allocZeroMatrix(m, n), allocZeroMatrix(m, p), c.data(), scale, scaleIm, option};
  extractAffFunc(affScalar, fr.A, fr.B, fr.c);
  std::vector<BlockRange> ranges(m);
  std::vector<long long> k(m);
  for (int i = 0; i < m; i++) {
    ranges[i] = blockRange(outputRow(fr, i), scale, n, p, option);
    k[i] = ranges[i].kmin;
  }
  do {
    polyhedronZIL *piece = windowPiece(fr, k.data());
    tiled[piece] = windowOutputs(fr, k.data());
  } while (nextBlockOffsets(k.data(), ranges.data(), m));
  freeMatrix(fr.A, m);
  freeMatrix(fr.B, m);
  return tiled;
}

// ---------------------------------------------------------------------------
// Rectangular tiling along unimodular hyperplanes
// ---------------------------------------------------------------------------

namespace {

// The inverse of a unimodular matrix, integral. New n x n matrix.
long long **unimodularInverse(long long **H, int n) {
  rational64 **inverse = toRationalMatrix(H, n, n);  // overwritten by inverseDet
  long long det = inverseDet(H, inverse, n);
  using std::abs;  // the long long overload: C's abs(int) would truncate
  assert(abs(det)==1);
  long long **integral = toIntegralMatrix(inverse, n, n);
  freeMatrix(inverse, n);
  return integral;
}

// The map y = diag(M, .., M)·x with `copies` diagonal blocks of the n x n
// matrix M, over nParam parameters with zero parameter and constant parts.
affFuncZIL *blockDiagonalMap(long long **M, int n, int copies, int nParam) {
  int dim = copies * n;
  long long **mat = allocZeroMatrix(dim, dim + nParam + 1);
  for (int c = 0; c < copies; c++)
    for (int i = 0; i < n; i++)
      for (int j = 0; j < n; j++) mat[c * n + i][c * n + j] = M[i][j];
  return buildAffineFunction(mat, dim, dim, nParam);
}

}  // namespace

std::list<std::list<polyhedronZIL *> > getRectangularCoBTiledFunction(polyhedronZIL *poly, long long **hyperplanes,
                                                                      long long *scale, optionZIL *option) {
  int n = poly->nInd, p = poly->nParam;
  // Without indices there is no basis to change (and no matrix to invert).
  if (n == 0) return getRectangularTiledDomain(poly, scale, option);

  long long **inverse = unimodularInverse(hyperplanes, n);
  affFuncZIL *toHyperplanes = blockDiagonalMap(inverse, n, 1, p);
  polyhedronZIL *inY = changeOfBasis(poly, toHyperplanes);
  std::list<std::list<polyhedronZIL *> > tiledY = getRectangularTiledDomain(inY, scale, option);

  affFuncZIL *back = blockDiagonalMap(hyperplanes, n, 2, 2 * p + 1);
  std::list<std::list<polyhedronZIL *> > tiled;
  for (std::list<polyhedronZIL *> &inner : tiledY) {
    tiled.push_back(std::list<polyhedronZIL *>());
    for (polyhedronZIL *piece : inner) {
      // A piece without rows is the universe, whatever its index count.
      if (piece->nConstr == 0) {
        tiled.back().push_back(piece);
        continue;
      }
      tiled.back().push_back(changeOfBasis(piece, back));
      freePolyhedron(piece);
    }
  }
  freeAffineFunction(back);
  freePolyhedron(inY);
  freeAffineFunction(toHyperplanes);
  freeMatrix(inverse, n);
  return tiled;
}
