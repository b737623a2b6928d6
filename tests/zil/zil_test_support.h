// Small helpers shared by the tiling library's tests: malloc'd matrices from
// literals, comparison, capture of standard output, assertion patterns.
#ifndef ZIL_TEST_SUPPORT_H
#define ZIL_TEST_SUPPORT_H

#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "linAlg.h"

namespace zil_test {

using Rows = std::vector<std::vector<long long>>;

// New malloc'd matrix holding rows; the caller frees it with freeMatrix or
// hands it to a build function.
inline long long** makeMatrix(const Rows& rows) {
  long long** mat = static_cast<long long**>(malloc((rows.size() + 1) * sizeof(long long*)));
  for (size_t i = 0; i < rows.size(); i++) {
    mat[i] = static_cast<long long*>(malloc((rows[i].size() + 1) * sizeof(long long)));
    for (size_t j = 0; j < rows[i].size(); j++) mat[i][j] = rows[i][j];
  }
  return mat;
}

// New malloc'd vector; the caller frees it with free.
inline long long* makeVector(const std::vector<long long>& v) {
  long long* out = static_cast<long long*>(malloc((v.size() + 1) * sizeof(long long)));
  for (size_t i = 0; i < v.size(); i++) out[i] = v[i];
  return out;
}

inline Rows toRows(long long** mat, int nRow, int nCol) {
  Rows rows(nRow, std::vector<long long>(nCol));
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) rows[i][j] = mat[i][j];
  return rows;
}

inline Rows polyRows(const polyhedronZIL* poly) {
  return toRows(poly->polyScalar, poly->nConstr, poly->nInd + poly->nParam + 2);
}

// New polyhedron over a copy of rows; the caller frees it with freePolyhedron.
inline polyhedronZIL* makePoly(const Rows& rows, int nInd, int nParam) {
  return buildPolyhedron(makeMatrix(rows), static_cast<int>(rows.size()), nInd, nParam);
}

// New function over a copy of rows and divs; freed with freeAffineFunction.
inline affFuncZIL* makeFunc(const Rows& rows, const std::vector<long long>& divs, int nInd,
                            int nParam) {
  return buildRationalAffineFunction(makeMatrix(rows), makeVector(divs),
                                     static_cast<int>(rows.size()), nInd, nParam);
}

// What body writes to std::cout.
template <typename Body>
std::string captureCout(Body body) {
  std::ostringstream out;
  std::streambuf* saved = std::cout.rdbuf(out.rdbuf());
  body();
  std::cout.rdbuf(saved);
  return out.str();
}

// Regular expression for the standard assertion message of the library
// module linAlg with the given condition text.
inline std::string linAlgAssertion(const std::string& condition) {
  std::string escaped;
  for (char c : condition) {
    if (std::string(".[]()*+?{}|^$\\").find(c) != std::string::npos) escaped += '\\';
    escaped += c;
  }
  return "linAlg\\.cpp:[0-9]+: .*Assertion `" + escaped + "' failed";
}

}  // namespace zil_test

#endif
