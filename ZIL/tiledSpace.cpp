// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "tiledSpace.h"

#include <climits>
#include <cstdlib>

InequalityRows splitInequalities(const polyhedronZIL *poly) {
  polyhedronZIL *ineq = eliminateEqualities(poly);
  InequalityRows rows;
  rows.nRow = ineq->nConstr;
  rows.flag = allocZeroVector(rows.nRow);
  rows.lin = allocZeroMatrix(rows.nRow, ineq->nInd);
  rows.param = allocZeroMatrix(rows.nRow, ineq->nParam);
  rows.cst = allocZeroVector(rows.nRow);
  extractPoly(ineq, rows.flag, rows.lin, rows.param, rows.cst);
  freePolyhedron(ineq);
  return rows;
}

void freeInequalityRows(InequalityRows &rows) {
  free(rows.flag);
  freeMatrix(rows.lin, rows.nRow);
  freeMatrix(rows.param, rows.nRow);
  free(rows.cst);
}

std::list<std::list<polyhedronZIL *> > tilingOfUnconstrainedDomain(int n, int p) {
  int nRow = n == 0 ? 1 : 0;
  polyhedronZIL *piece = buildPolyhedron(allocZeroMatrix(nRow, 2 * n + 2 * p + 3), nRow, n, 2 * p + 1);
  return std::list<std::list<polyhedronZIL *> >(1, std::list<polyhedronZIL *>(1, piece));
}

long long piecesWithPoints(long long kmin, long long kmax, long long g) {
  if (kmax <= kmin) return 1;
  if (g == 0) return kmin < 0 && 0 <= kmax ? 2 : 1;
  __int128 multiples = (__int128)floorDivision(kmax, g) - floorDivision(kmin, g);
  return multiples + 1 > LLONG_MAX ? LLONG_MAX : (long long)(multiples + 1);
}

long long floorDivision(long long a, long long m) {
  long long q = a / m;
  return (a % m != 0 && a < 0) ? q - 1 : q;
}
