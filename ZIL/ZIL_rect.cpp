// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "ZIL_rect.h"

#include <cassert>

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
