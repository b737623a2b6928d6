// Records of the tiling library and the integer and rational linear algebra
// that every tiling builds on.
//
// Conventions of the whole library:
// - A matrix is an array of separately allocated rows; its dimensions are
//   passed beside it. Every matrix, vector and record is allocated through
//   the checked functions of allocation.h (malloc underneath; exhausted
//   memory stops the process with a message) and released with the free
//   functions below (or free() for a vector). A function that returns one hands ownership to its caller and
//   leaves its inputs unchanged unless its comment says otherwise.
// - Contracts are checked with assertions that stay active in every build.
// - Arithmetic is plain 64-bit and wraps on overflow.
#ifndef ZIL_LINALG_H
#define ZIL_LINALG_H

// A parametric integer polyhedron. Constraint rows are
// [flag | nInd index coefficients | nParam parameter coefficients | constant],
// flag 1 meaning ">= 0" and flag 0 meaning "== 0". Modulo rows have the same
// width with a modulus m in place of the flag: the form is 0 modulo m.
struct polyhedronZIL {
  long long** polyScalar;
  int nConstr;
  int nInd;
  int nParam;
  long long** modConstr;
  int nConstrMod;
};

// A rational affine function: output i is
// (affFuncScalar[i] . (x, N, 1)) / divs[i], each row holding
// [nInd index coefficients | nParam parameter coefficients | constant].
struct affFuncZIL {
  long long** affFuncScalar;
  long long* divs;
  int dimOut;
  int nInd;
  int nParam;
};

// A rational number with no normal form: only simplify() reduces it, and a
// negative denominator may survive it.
struct rational64 {
  long long num;
  long long den;
};

// ---- Records -------------------------------------------------------------

// Adopts mat (nConstr rows); the record has no modulo rows and an empty,
// valid modConstr. The caller frees the record with freePolyhedron.
polyhedronZIL* buildPolyhedron(long long** mat, int nConstr, int nInd, int nParam);
// Frees the constraint rows, the modulo rows and the record.
void freePolyhedron(polyhedronZIL* poly);
// Prints the constraint rows, never the modulo rows.
void printPolyhedronZIL(const polyhedronZIL* poly);

// Adopts mat (dimOut rows) and gives every output the divisor 1.
affFuncZIL* buildAffineFunction(long long** mat, int dimOut, int nInd, int nParam);
// Adopts mat (dimOut rows) and divs (dimOut entries).
affFuncZIL* buildRationalAffineFunction(long long** mat, long long* divs, int dimOut,
                                        int nInd, int nParam);
// Frees the rows, the divisors and the record.
void freeAffineFunction(affFuncZIL* affFunc);
void printAffFuncZIL(const affFuncZIL* func);
// Divides each row and its divisor by their common gcd, in place.
void simplifyAffFuncZIL(affFuncZIL* func);

// Split a record into caller-allocated parts: ineqEqPart and constPart have
// one entry per row, linPart is rows x nInd, paramPart is rows x nParam.
void extractPoly(const polyhedronZIL* poly, long long* ineqEqPart, long long** linPart,
                 long long** paramPart, long long* constPart);
// Requires an integral function (every divisor 1).
void extractAffFunc(const affFuncZIL* affFunc, long long** linPart, long long** paramPart,
                    long long* constPart);
// Also copies the divisors into the caller's div (dimOut entries).
void extractRationalAffFunc(const affFuncZIL* affFunc, long long** linPart,
                            long long** paramPart, long long* constPart, long long* div);
// The inverse of extractPoly; note the order paramPart before linPart and
// nParam before nInd. Copies the parts into a new record owned by the caller.
polyhedronZIL* reformPoly(long long* ineqEqPart, long long** paramPart, long long** linPart,
                          long long* constPart, int nConstr, int nParam, int nInd);

// New record in which each equality is replaced by a pair of inequalities:
// every input row with flag 1, then the negation of each equality.
polyhedronZIL* eliminateEqualities(const polyhedronZIL* poly);
// New record over the indices of poly1 followed by those of poly2, sharing
// their parameters.
polyhedronZIL* cartesianProduct(const polyhedronZIL* poly1, const polyhedronZIL* poly2);
// New record: poly expressed in y = A.x + B.N + c, for an integral map whose
// index part A is unimodular. Neither argument changes.
polyhedronZIL* changeOfBasis(const polyhedronZIL* poly, const affFuncZIL* affFunc);
// New dimOut x (nInd + dimOut + nParam + 1) matrix of the relations
// f_i(x) - divs[i].y_i = 0 over the columns (x, y, N, 1).
long long** getRelationRepresentation(const affFuncZIL* func);

// ---- Integer matrices and vectors ----------------------------------------

// Frees nRow rows, then the row array; safe for nRow 0.
void freeMatrix(long long** mat, int nRow);
long long** copyMatrix(long long** mat, int nRow, int nCol);
void printMatrix(long long** mat, int nRow, int nCol);
void printVector(long long* vect, int nElem);
// New nRowA x (j2 - j1) matrix of the columns j1 to j2 - 1 of A.
long long** submatrixColumn(long long** A, int nRowA, int nColA, int j1, int j2);
// In place: exchanges rows i1 and i2.
void swapRows(long long** mat, int nRow, int nCol, int i1, int i2);
// In place: row i1 += scalar . row i2.
void rowAddition(long long** mat, int nRow, int nCol, int i1, int i2, int scalar);
long long** matrixMultiplication(long long** mat1, int nRow1, int nCol1, long long** mat2,
                                 int nRow2, int nCol2);
// New vector mat1 . vect2 of nRow1 entries.
long long* matrixVectMultiplication(long long** mat1, int nRow1, int nCol1, long long* vect2,
                                    int nRow2);
// New vector vect1 . mat2 of nCol2 entries.
long long* vectMatrixMultiplication(long long* vect1, int nCol1, long long** mat2, int nRow2,
                                    int nCol2);
long long dotProduct(long long* vect1, int nElem1, long long* vect2, int nElem2);
// New inverse of a square matrix of determinant 1 or -1; aborts on any other.
long long** inverseMatUnimod(long long** matrix, int nRow, int nCol);

// Never negative; gcd(0, 0) is 0.
long long gcd(long long a, long long b);
// (a / gcd(a, b)) . b: the sign follows the arguments.
long long ppcm(long long a, long long b);
// Folds from the first element, which a one-element array returns unchanged.
long long gcd_array(long long* elems, int nelem);
long long ppcm_array(long long* elems, int nelem);

// ---- Rational numbers ----------------------------------------------------

rational64 toRational(long long x);
// Divides both parts by their (non-negative) gcd; the sign stays where it is.
rational64 simplify(rational64 rat);
rational64 multiplyRational(rational64 a, rational64 b);
rational64 addRational(rational64 a, rational64 b);
rational64 subRational(rational64 a, rational64 b);
// Negates the numerator, without reducing.
rational64 oppositeRational(rational64 a);
// The inverse with a positive denominator; rat must not be 0.
rational64 invertRational(rational64 rat);

// ---- Rational matrices and vectors ---------------------------------------

rational64* toRationalVector(long long* vect, int nElem);
rational64** toRationalMatrix(long long** mat, int nRow, int nCol);
// New integer matrix of the numerators; every denominator must be 1.
long long** toIntegralMatrix(rational64** ratmat, int nRow, int nCol);
void printMatrix(rational64** mat, int nRow, int nCol);
void freeMatrix(rational64** mat, int nRow);
rational64 dotProduct(rational64* v1, rational64* v2, int nElem);
// New vector mat . vect of nRow entries.
rational64* matVectProduct(rational64** mat, int nRow, int nCol, rational64* vect, int nElem);
rational64** matrixMultiplication(rational64** mat1, int nRow1, int nCol1, rational64** mat2,
                                  int nRow2, int nCol2);
// In place: exchanges rows r1 and r2.
void swapRowsMatrix(rational64** DG, int nRow, int nCol, int r1, int r2);
// In place: row r1 += coeff . row r2, for distinct rows.
void rowAddition(rational64** DG, int nRow, int nCol, int r1, int r2, rational64 coeff);
// New nCol x nRow transpose.
rational64** transpose(rational64** mat, int nRow, int nCol);
// Fills the caller's nRow x nRow invA with the inverse of the integer matrix
// A and returns the product of the pivots: the determinant up to its sign,
// since row exchanges are not counted.
long long inverseDet(long long** A, rational64** invA, int nRow);

#endif
