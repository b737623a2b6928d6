// The library's contracts are assertions that must hold in every build,
// including the optimised ones that define NDEBUG on the command line.
#undef NDEBUG

#include "linAlg.h"

#include <cassert>
#include <cstdlib>
#include <iostream>

#include "allocation.h"

static long long** identityMatrix(int n) {
  long long** mat = allocZeroMatrix(n, n);
  for (int i = 0; i < n; i++) mat[i][i] = 1;
  return mat;
}

static long long absValue(long long a) { return a < 0 ? -a : a; }

// ---- Records ---------------------------------------------------------------

static int polyWidth(const polyhedronZIL* poly) { return poly->nInd + poly->nParam + 2; }

static int funcWidth(const affFuncZIL* func) { return func->nInd + func->nParam + 1; }

polyhedronZIL* buildPolyhedron(long long** mat, int nConstr, int nInd, int nParam) {
  polyhedronZIL* poly = static_cast<polyhedronZIL*>(allocArray(1, sizeof(polyhedronZIL)));
  poly->polyScalar = mat;
  poly->nConstr = nConstr;
  poly->nInd = nInd;
  poly->nParam = nParam;
  poly->modConstr = allocZeroMatrix(0, 0);
  poly->nConstrMod = 0;
  return poly;
}

void freePolyhedron(polyhedronZIL* poly) {
  freeMatrix(poly->polyScalar, poly->nConstr);
  freeMatrix(poly->modConstr, poly->nConstrMod);
  free(poly);
}

// One row in the record layout: "\t\t(", " e" per entry, " )".
static void printRecordRow(const long long* row, int nElem) {
  std::cout << "\t\t(";
  for (int j = 0; j < nElem; j++) std::cout << " " << row[j];
  std::cout << " )";
}

void printPolyhedronZIL(const polyhedronZIL* poly) {
  for (int i = 0; i < poly->nConstr; i++) {
    printRecordRow(poly->polyScalar[i], polyWidth(poly));
    std::cout << std::endl;
  }
  std::cout << std::endl;
}

affFuncZIL* buildAffineFunction(long long** mat, int dimOut, int nInd, int nParam) {
  long long* divs = static_cast<long long*>(allocArray(dimOut, sizeof(long long)));
  for (int i = 0; i < dimOut; i++) divs[i] = 1;
  return buildRationalAffineFunction(mat, divs, dimOut, nInd, nParam);
}

affFuncZIL* buildRationalAffineFunction(long long** mat, long long* divs, int dimOut,
                                        int nInd, int nParam) {
  affFuncZIL* func = static_cast<affFuncZIL*>(allocArray(1, sizeof(affFuncZIL)));
  func->affFuncScalar = mat;
  func->divs = divs;
  func->dimOut = dimOut;
  func->nInd = nInd;
  func->nParam = nParam;
  return func;
}

void freeAffineFunction(affFuncZIL* affFunc) {
  freeMatrix(affFunc->affFuncScalar, affFunc->dimOut);
  free(affFunc->divs);
  free(affFunc);
}

void printAffFuncZIL(const affFuncZIL* func) {
  for (int i = 0; i < func->dimOut; i++) {
    printRecordRow(func->affFuncScalar[i], funcWidth(func));
    if (func->divs[i] != 1) std::cout << " / " << func->divs[i];
    std::cout << std::endl;
  }
  std::cout << std::endl;
}

void simplifyAffFuncZIL(affFuncZIL* func) {
  int width = funcWidth(func);
  for (int i = 0; i < func->dimOut; i++) {
    long long* row = func->affFuncScalar[i];
    long long g = gcd_array(row, width);
    // A zero row takes the divisor's magnitude, so that (0 .. 0) / -3
    // becomes (0 .. 0) / -1 rather than failing the check below.
    long long gGlobal = g != 0 ? gcd(func->divs[i], g) : absValue(func->divs[i]);
    if (gGlobal == 1) continue;
    assert(gGlobal>1);
    for (int j = 0; j < width; j++) row[j] /= gGlobal;
    func->divs[i] /= gGlobal;
  }
}

void extractPoly(const polyhedronZIL* poly, long long* ineqEqPart, long long** linPart,
                 long long** paramPart, long long* constPart) {
  for (int i = 0; i < poly->nConstr; i++) {
    const long long* row = poly->polyScalar[i];
    ineqEqPart[i] = row[0];
    for (int j = 0; j < poly->nInd; j++) linPart[i][j] = row[1 + j];
    for (int j = 0; j < poly->nParam; j++) paramPart[i][j] = row[1 + poly->nInd + j];
    constPart[i] = row[1 + poly->nInd + poly->nParam];
  }
}

// Splits each row of affFunc into index part, parameter part and constant.
static void splitFuncRows(const affFuncZIL* affFunc, long long** linPart, long long** paramPart,
                          long long* constPart) {
  for (int i = 0; i < affFunc->dimOut; i++) {
    const long long* row = affFunc->affFuncScalar[i];
    for (int j = 0; j < affFunc->nInd; j++) linPart[i][j] = row[j];
    for (int j = 0; j < affFunc->nParam; j++) paramPart[i][j] = row[affFunc->nInd + j];
    constPart[i] = row[affFunc->nInd + affFunc->nParam];
  }
}

void extractAffFunc(const affFuncZIL* affFunc, long long** linPart, long long** paramPart,
                    long long* constPart) {
  for (int i = 0; i < affFunc->dimOut; i++) assert(affFunc->divs[i]==1);
  splitFuncRows(affFunc, linPart, paramPart, constPart);
}

void extractRationalAffFunc(const affFuncZIL* affFunc, long long** linPart,
                            long long** paramPart, long long* constPart, long long* div) {
  splitFuncRows(affFunc, linPart, paramPart, constPart);
  for (int i = 0; i < affFunc->dimOut; i++) div[i] = affFunc->divs[i];
}

polyhedronZIL* reformPoly(long long* ineqEqPart, long long** paramPart, long long** linPart,
                          long long* constPart, int nConstr, int nParam, int nInd) {
  long long** mat = allocZeroMatrix(nConstr, nInd + nParam + 2);
  for (int i = 0; i < nConstr; i++) {
    mat[i][0] = ineqEqPart[i];
    for (int j = 0; j < nInd; j++) mat[i][1 + j] = linPart[i][j];
    for (int j = 0; j < nParam; j++) mat[i][1 + nInd + j] = paramPart[i][j];
    mat[i][1 + nInd + nParam] = constPart[i];
  }
  return buildPolyhedron(mat, nConstr, nInd, nParam);
}

polyhedronZIL* eliminateEqualities(const polyhedronZIL* poly) {
  int width = polyWidth(poly);
  int nEq = 0;
  for (int i = 0; i < poly->nConstr; i++)
    if (poly->polyScalar[i][0] == 0) nEq++;
  // The order (all rows, then the negated equalities) fixes the order of
  // the pieces every tiling builds from the result.
  long long** mat = allocZeroMatrix(poly->nConstr + nEq, width);
  int k = 0;
  for (int i = 0; i < poly->nConstr; i++, k++) {
    for (int j = 1; j < width; j++) mat[k][j] = poly->polyScalar[i][j];
    mat[k][0] = 1;
  }
  for (int i = 0; i < poly->nConstr; i++) {
    if (poly->polyScalar[i][0] != 0) continue;
    for (int j = 1; j < width; j++) mat[k][j] = -poly->polyScalar[i][j];
    mat[k][0] = 1;
    k++;
  }
  return buildPolyhedron(mat, poly->nConstr + nEq, poly->nInd, poly->nParam);
}

// Copies row src of a polyhedron with nInd indices into dst, whose index
// coefficients start at column 1 + indOffset in a row of totalInd indices.
static void placeRow(const long long* src, int nInd, int nParam, long long* dst,
                     int indOffset, int totalInd) {
  dst[0] = src[0];
  for (int j = 0; j < nInd; j++) dst[1 + indOffset + j] = src[1 + j];
  for (int j = 0; j <= nParam; j++) dst[1 + totalInd + j] = src[1 + nInd + j];
}

polyhedronZIL* cartesianProduct(const polyhedronZIL* poly1, const polyhedronZIL* poly2) {
  assert(poly1->nParam==poly2->nParam);
  int nInd = poly1->nInd + poly2->nInd;
  int nParam = poly1->nParam;
  int nConstr = poly1->nConstr + poly2->nConstr;
  long long** mat = allocZeroMatrix(nConstr, nInd + nParam + 2);
  for (int i = 0; i < poly1->nConstr; i++)
    placeRow(poly1->polyScalar[i], poly1->nInd, nParam, mat[i], 0, nInd);
  for (int i = 0; i < poly2->nConstr; i++)
    placeRow(poly2->polyScalar[i], poly2->nInd, nParam, mat[poly1->nConstr + i],
             poly1->nInd, nInd);
  return buildPolyhedron(mat, nConstr, nInd, nParam);
}

// The parts of a polyhedron or a function, each a new allocation.
struct SplitRows {
  long long* flag;  // polyhedra only
  long long** lin;
  long long** param;
  long long* cst;
  int nRow;
};

static SplitRows newSplit(int nRow, int nInd, int nParam) {
  SplitRows s;
  s.flag = allocZeroVector(nRow);
  s.lin = allocZeroMatrix(nRow, nInd);
  s.param = allocZeroMatrix(nRow, nParam);
  s.cst = allocZeroVector(nRow);
  s.nRow = nRow;
  return s;
}

static void freeSplit(SplitRows& s) {
  free(s.flag);
  freeMatrix(s.lin, s.nRow);
  freeMatrix(s.param, s.nRow);
  free(s.cst);
}

// target[i][j] -= sub[i][j] over an nRow x nCol block.
static void subtractInPlace(long long** target, long long** sub, int nRow, int nCol) {
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) target[i][j] -= sub[i][j];
}

polyhedronZIL* changeOfBasis(const polyhedronZIL* poly, const affFuncZIL* affFunc) {
  assert(affFunc->nInd == affFunc->dimOut);
  assert(affFunc->nParam == poly->nParam);
  assert(affFunc->nInd == poly->nInd);
  int n = poly->nInd, p = poly->nParam, m = poly->nConstr;

  // y = A.x + B.N + c; extractAffFunc stops unless the map is integral,
  // and the map itself is never changed.
  SplitRows map = newSplit(n, n, p);
  extractAffFunc(affFunc, map.lin, map.param, map.cst);
  SplitRows rows = newSplit(m, n, p);  // C.x + D.N + e
  extractPoly(poly, rows.flag, rows.lin, rows.param, rows.cst);

  // x = A^-1.(y - B.N - c), so C.x = C.A^-1.y - C.A^-1.B.N - C.A^-1.c.
  long long** invA = inverseMatUnimod(map.lin, n, n);
  long long** CinvA = matrixMultiplication(rows.lin, m, n, invA, n, n);
  long long** CinvAB = matrixMultiplication(CinvA, m, n, map.param, n, p);
  long long* CinvAc = matrixVectMultiplication(CinvA, m, n, map.cst, n);
  subtractInPlace(rows.param, CinvAB, m, p);
  for (int i = 0; i < m; i++) rows.cst[i] -= CinvAc[i];

  polyhedronZIL* result = reformPoly(rows.flag, rows.param, CinvA, rows.cst, m, p, n);
  freeMatrix(invA, n);
  freeMatrix(CinvA, m);
  freeMatrix(CinvAB, m);
  free(CinvAc);
  freeSplit(map);
  freeSplit(rows);
  return result;
}

long long** getRelationRepresentation(const affFuncZIL* func) {
  int nInd = func->nInd, nParam = func->nParam, dimOut = func->dimOut;
  long long** mat = allocZeroMatrix(dimOut, nInd + dimOut + nParam + 1);
  for (int i = 0; i < dimOut; i++) {
    const long long* row = func->affFuncScalar[i];
    for (int j = 0; j < nInd; j++) mat[i][j] = row[j];
    mat[i][nInd + i] = -func->divs[i];
    for (int j = 0; j <= nParam; j++) mat[i][nInd + dimOut + j] = row[nInd + j];
  }
  return mat;
}

// ---- Integer matrices and vectors --------------------------------------------

void freeMatrix(long long** mat, int nRow) {
  for (int i = 0; i < nRow; i++) free(mat[i]);
  free(mat);
}

long long** copyMatrix(long long** mat, int nRow, int nCol) {
  assert(nRow>=0);
  assert(nCol>=0);
  long long** copy = allocZeroMatrix(nRow, nCol);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) copy[i][j] = mat[i][j];
  return copy;
}

// "[ ", every entry followed by a blank, "]", then end of line.
static void printBracketLine(const long long* vect, int nElem) {
  std::cout << "[ ";
  for (int j = 0; j < nElem; j++) std::cout << vect[j] << " ";
  std::cout << "]" << std::endl;
}

void printMatrix(long long** mat, int nRow, int nCol) {
  for (int i = 0; i < nRow; i++) printBracketLine(mat[i], nCol);
  std::cout << std::endl;
}

void printVector(long long* vect, int nElem) { printBracketLine(vect, nElem); }

long long** submatrixColumn(long long** A, int nRowA, int nColA, int j1, int j2) {
  assert(0<=j1 && j1<j2 && j2<=nColA);
  long long** sub = allocZeroMatrix(nRowA, j2 - j1);
  for (int i = 0; i < nRowA; i++)
    for (int j = j1; j < j2; j++) sub[i][j - j1] = A[i][j];
  return sub;
}

void swapRows(long long** mat, int nRow, int nCol, int i1, int i2) {
  assert(0<=i1 && i1<nRow);
  assert(0<=i2 && i2<nRow);
  for (int j = 0; j < nCol; j++) {
    long long tmp = mat[i1][j];
    mat[i1][j] = mat[i2][j];
    mat[i2][j] = tmp;
  }
}

void rowAddition(long long** mat, int nRow, int nCol, int i1, int i2, int scalar) {
  assert(0<=i1 && i1<nRow);
  assert(0<=i2 && i2<nRow);
  for (int j = 0; j < nCol; j++) mat[i1][j] += scalar * mat[i2][j];
}

long long** matrixMultiplication(long long** mat1, int nRow1, int nCol1, long long** mat2,
                                 int nRow2, int nCol2) {
  assert(nCol1==nRow2);
  long long** prod = allocZeroMatrix(nRow1, nCol2);
  for (int i = 0; i < nRow1; i++)
    for (int k = 0; k < nCol1; k++)
      for (int j = 0; j < nCol2; j++) prod[i][j] += mat1[i][k] * mat2[k][j];
  return prod;
}

long long* matrixVectMultiplication(long long** mat1, int nRow1, int nCol1, long long* vect2,
                                    int nRow2) {
  assert(nCol1==nRow2);
  long long* prod = allocZeroVector(nRow1);
  for (int i = 0; i < nRow1; i++)
    for (int k = 0; k < nCol1; k++) prod[i] += mat1[i][k] * vect2[k];
  return prod;
}

long long* vectMatrixMultiplication(long long* vect1, int nCol1, long long** mat2, int nRow2,
                                    int nCol2) {
  assert(nCol1==nRow2);
  long long* prod = allocZeroVector(nCol2);
  for (int i = 0; i < nCol1; i++)
    for (int j = 0; j < nCol2; j++) prod[j] += vect1[i] * mat2[i][j];
  return prod;
}

long long dotProduct(long long* vect1, int nElem1, long long* vect2, int nElem2) {
  assert(nElem1==nElem2);
  long long sum = 0;
  for (int i = 0; i < nElem1; i++) sum += vect1[i] * vect2[i];
  return sum;
}

// Applies the same row operation to A and to the transformation U.
static void addRowBoth(long long** A, long long** U, int n, int i1, int i2, int scalar) {
  rowAddition(A, n, n, i1, i2, scalar);
  rowAddition(U, n, n, i1, i2, scalar);
}

static void swapRowsBoth(long long** A, long long** U, int n, int i1, int i2) {
  swapRows(A, n, n, i1, i2);
  swapRows(U, n, n, i1, i2);
}

// Row operations recorded in U (U.M = A on return) that bring the first
// column of A to (g, 0, ..., 0) with g > 0 the gcd of the column.
static void reduceFirstColumn(long long** A, long long** U, int n) {
  for (int i = 0; i < n; i++) {
    long long s = A[i][0] < 0 ? -1 : 1;
    for (int j = 0; j < n; j++) A[i][j] *= s;
    U[i][i] = s;
  }
  int first = 0;
  while (first < n - 1 && A[first][0] == 0) first++;
  swapRowsBoth(A, U, n, 0, first);
  assert(A[0][0]!=0);  // an all-zero first column is singular
  for (int i = 1; i < n; i++) {
    // Euclid on the pair (A[0][0], A[i][0]); the remainder is never 0 when
    // it is swapped into the pivot, so the pivot stays positive.
    while (A[i][0] % A[0][0] != 0) {
      addRowBoth(A, U, n, i, 0, static_cast<int>(-(A[i][0] / A[0][0])));
      swapRowsBoth(A, U, n, 0, i);
    }
    addRowBoth(A, U, n, i, 0, static_cast<int>(-(A[i][0] / A[0][0])));
  }
}

long long** inverseMatUnimod(long long** matrix, int nRow, int nCol) {
  assert(nRow==nCol);
  int n = nRow;
  long long** A = copyMatrix(matrix, n, n);
  if (n == 0) return A;  // the empty matrix is its own inverse
  if (n == 1) {
    assert(A[0][0]==1 || A[0][0]==-1);  // the determinant must be 1 or -1
    return A;
  }
  long long** U = allocZeroMatrix(n, n);
  reduceFirstColumn(A, U, n);
  // det(matrix) = +-A[0][0].det(S): the pivot of a unimodular matrix is 1.
  assert(A[0][0]==1);

  // A = [[1, r], [0, S]] has the inverse F.E, F = diag(1, S^-1) and
  // E = [[1, -r.S^-1], [0, I]].
  long long** S = allocZeroMatrix(n - 1, n - 1);
  for (int i = 1; i < n; i++)
    for (int j = 1; j < n; j++) S[i - 1][j - 1] = A[i][j];
  long long** invS = inverseMatUnimod(S, n - 1, n - 1);
  long long* w = vectMatrixMultiplication(A[0] + 1, n - 1, invS, n - 1, n - 1);

  long long** E = identityMatrix(n);
  long long** F = allocZeroMatrix(n, n);
  F[0][0] = 1;
  for (int j = 1; j < n; j++) E[0][j] = -w[j - 1];
  for (int i = 1; i < n; i++)
    for (int j = 1; j < n; j++) F[i][j] = invS[i - 1][j - 1];

  long long** EU = matrixMultiplication(E, n, n, U, n, n);
  long long** inverse = matrixMultiplication(F, n, n, EU, n, n);
  freeMatrix(EU, n);
  freeMatrix(E, n);
  freeMatrix(F, n);
  free(w);
  freeMatrix(invS, n - 1);
  freeMatrix(S, n - 1);
  freeMatrix(U, n);
  freeMatrix(A, n);
  return inverse;
}

long long gcd(long long a, long long b) {
  a = absValue(a);
  b = absValue(b);
  while (b != 0) {
    long long r = a % b;
    a = b;
    b = r;
  }
  return a;
}

long long ppcm(long long a, long long b) {
  long long g = gcd(a, b);
  assert(g!=0);  // ppcm(0, 0) is undefined
  return (a / g) * b;
}

long long gcd_array(long long* elems, int nelem) {
  assert(nelem>0);
  long long g = elems[0];
  for (int i = 1; i < nelem; i++) g = gcd(g, elems[i]);
  return g;
}

long long ppcm_array(long long* elems, int nelem) {
  assert(nelem>0);
  long long l = elems[0];
  for (int i = 1; i < nelem; i++) l = ppcm(l, elems[i]);
  return l;
}

// ---- Rational numbers --------------------------------------------------------

rational64 toRational(long long x) { return rational64{x, 1}; }

rational64 simplify(rational64 rat) {
  long long g = gcd(rat.num, rat.den);
  assert(g!=0);  // 0/0 has no value
  return rational64{rat.num / g, rat.den / g};
}

rational64 multiplyRational(rational64 a, rational64 b) {
  return simplify(rational64{a.num * b.num, a.den * b.den});
}

rational64 addRational(rational64 a, rational64 b) {
  return simplify(rational64{a.num * b.den + b.num * a.den, a.den * b.den});
}

rational64 subRational(rational64 a, rational64 b) {
  return simplify(rational64{a.num * b.den - a.den * b.num, a.den * b.den});
}

rational64 oppositeRational(rational64 a) { return rational64{-a.num, a.den}; }

rational64 invertRational(rational64 rat) {
  assert(rat.num!=0);
  if (rat.num > 0) return rational64{rat.den, rat.num};
  return rational64{-rat.den, -rat.num};
}

// ---- Rational matrices and vectors -------------------------------------------

rational64* toRationalVector(long long* vect, int nElem) {
  rational64* rat = static_cast<rational64*>(allocArray(nElem, sizeof(rational64)));
  for (int i = 0; i < nElem; i++) rat[i] = toRational(vect[i]);
  return rat;
}

rational64** toRationalMatrix(long long** mat, int nRow, int nCol) {
  rational64** rat = allocZeroRationalMatrix(nRow, nCol);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) rat[i][j] = toRational(mat[i][j]);
  return rat;
}

long long** toIntegralMatrix(rational64** ratmat, int nRow, int nCol) {
  long long** mat = allocZeroMatrix(nRow, nCol);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) {
      // Values are not reduced: 4/2 is refused like 1/2.
      assert(ratmat[i][j].den==1);
      mat[i][j] = ratmat[i][j].num;
    }
  return mat;
}

void printMatrix(rational64** mat, int nRow, int nCol) {
  for (int i = 0; i < nRow; i++) {
    std::cout << "[ ";
    for (int j = 0; j < nCol; j++) std::cout << mat[i][j].num << "/" << mat[i][j].den << " ";
    std::cout << "]" << std::endl;
  }
  std::cout << std::endl;
}

void freeMatrix(rational64** mat, int nRow) {
  for (int i = 0; i < nRow; i++) free(mat[i]);
  free(mat);
}

rational64 dotProduct(rational64* v1, rational64* v2, int nElem) {
  rational64 sum = toRational(0);
  for (int i = 0; i < nElem; i++) sum = addRational(sum, multiplyRational(v1[i], v2[i]));
  return sum;
}

rational64* matVectProduct(rational64** mat, int nRow, int nCol, rational64* vect, int nElem) {
  assert(nCol==nElem);
  rational64* prod = static_cast<rational64*>(allocArray(nRow, sizeof(rational64)));
  for (int i = 0; i < nRow; i++) prod[i] = dotProduct(mat[i], vect, nElem);
  return prod;
}

rational64** matrixMultiplication(rational64** mat1, int nRow1, int nCol1, rational64** mat2,
                                  int nRow2, int nCol2) {
  assert(nCol1==nRow2);
  rational64** prod = allocZeroRationalMatrix(nRow1, nCol2);
  for (int i = 0; i < nRow1; i++)
    for (int j = 0; j < nCol2; j++)
      for (int k = 0; k < nCol1; k++)
        prod[i][j] = addRational(prod[i][j], multiplyRational(mat1[i][k], mat2[k][j]));
  return prod;
}

void swapRowsMatrix(rational64** DG, int nRow, int nCol, int r1, int r2) {
  assert(0<=r1);
  assert(0<=r2);
  assert(r1<nRow);
  assert(r2<nRow);
  for (int j = 0; j < nCol; j++) {
    rational64 tmp = DG[r1][j];
    DG[r1][j] = DG[r2][j];
    DG[r2][j] = tmp;
  }
}

void rowAddition(rational64** DG, int nRow, int nCol, int r1, int r2, rational64 coeff) {
  assert(0<=r1);
  assert(0<=r2);
  assert(r1<nRow);
  assert(r2<nRow);
  assert(r1!=r2);
  for (int j = 0; j < nCol; j++)
    DG[r1][j] = addRational(DG[r1][j], multiplyRational(coeff, DG[r2][j]));
}

rational64** transpose(rational64** mat, int nRow, int nCol) {
  rational64** tr = allocZeroRationalMatrix(nCol, nRow);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) tr[j][i] = mat[i][j];
  return tr;
}

// Gauss-Jordan elimination of column i in DG, mirrored in U.
static void eliminateColumn(rational64** DG, rational64** U, int nRow, int i) {
  int nZrow = i;
  while (nZrow < nRow && DG[nZrow][i].num == 0) nZrow++;
  assert(nZrow<nRow);  // no pivot: the matrix is singular
  if (nZrow != i) {
    swapRowsMatrix(DG, nRow, nRow, i, nZrow);
    swapRowsMatrix(U, nRow, nRow, i, nZrow);
  }
  for (int j = 0; j < nRow; j++) {
    if (j == i) continue;
    rational64 coeff = multiplyRational(DG[j][i], invertRational(DG[i][i]));
    coeff.num = -coeff.num;
    rowAddition(DG, nRow, nRow, j, i, coeff);
    rowAddition(U, nRow, nRow, j, i, coeff);
  }
}

long long inverseDet(long long** A, rational64** invA, int nRow) {
  assert(nRow>0);
  int n = nRow;
  rational64** DG = toRationalMatrix(A, n, n);
  rational64** U = allocZeroRationalMatrix(n, n);
  for (int i = 0; i < n; i++) U[i][i] = toRational(1);

  for (int i = 0; i < n; i++) eliminateColumn(DG, U, n, i);
  // DG is diagonal now: its inverse is the inverse of each pivot.
  rational64 det = toRational(1);
  for (int i = 0; i < n; i++) {
    det = multiplyRational(det, DG[i][i]);
    DG[i][i] = invertRational(DG[i][i]);
  }
  rational64** inverse = matrixMultiplication(DG, n, n, U, n, n);
  for (int i = 0; i < n; i++)
    for (int j = 0; j < n; j++) invA[i][j] = inverse[i][j];

  freeMatrix(inverse, n);
  freeMatrix(U, n);
  freeMatrix(DG, n);
  assert(det.den==1);
  return det.num;
}
