// Column layout of the tiled space shared by the domain tilings, the rows
// they tile, and the pieces they return for a domain without rows.
#ifndef TARVEX_ZIL_TILED_SPACE_H
#define TARVEX_ZIL_TILED_SPACE_H

#include <list>

#include "allocation.h"
#include "linAlg.h"

// Columns of a tiled row for n indices and p parameters:
// [flag | ii (n) | il (n) | Nb (p) | Nl (p) | b | constant].
struct TiledLayout {
  int n, p;
  int width() const { return 2 * n + 2 * p + 3; }
  int ii(int k) const { return 1 + k; }
  int il(int k) const { return 1 + n + k; }
  int nb(int j) const { return 1 + 2 * n + j; }
  int nl(int j) const { return 1 + 2 * n + p + j; }
  int b() const { return 1 + 2 * n + 2 * p; }
  int cst() const { return 2 + 2 * n + 2 * p; }
};

// The rows of a polyhedron after eliminateEqualities, split as by
// extractPoly; every part is a new allocation freed by freeInequalityRows.
struct InequalityRows {
  int nRow;
  long long *flag;    // nRow entries, all 1
  long long **lin;    // nRow x nInd
  long long **param;  // nRow x nParam
  long long *cst;     // nRow entries
};

// Splits poly (not changed, still owned by the caller) into its rows
// without equalities.
InequalityRows splitInequalities(const polyhedronZIL *poly);
// Frees the parts of rows; the record itself is the caller's.
void freeInequalityRows(InequalityRows &rows);

// Tiling of a domain without rows: one inner list holding one piece, the
// equality 0 == 0 over 0 indices when n is 0, else no row over n indices;
// 2p + 1 parameters. The piece is owned by the caller.
std::list<std::list<polyhedronZIL *> > tilingOfUnconstrainedDomain(int n, int p);

// The pieces of a row that can hold an integer point: its full piece, and
// its equality pieces B + k == 0 for kmin < k <= kmax whose k is a multiple
// of g, the gcd of the coefficients of the block form B (k == 0 alone when
// g is 0); LLONG_MAX when the count does not fit.
long long piecesWithPoints(long long kmin, long long kmax, long long g);

// floor(a / m) for m > 0, exact.
long long floorDivision(long long a, long long m);

#endif
