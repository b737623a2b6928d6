// Helpers for the tiling tests: evaluation of tiled pieces and of domains at
// integer points, release of tilings, random domains.
#ifndef ZIL_TILING_TEST_SUPPORT_H
#define ZIL_TILING_TEST_SUPPORT_H

#include <list>
#include <random>
#include <vector>

#include "ZIL.h"
#include "zil_test_support.h"

namespace zil_test {

using Tiling = std::list<std::list<polyhedronZIL*>>;
using Point = std::vector<long long>;

inline void freeTiling(Tiling& tiling) {
  for (auto& inner : tiling)
    for (polyhedronZIL* piece : inner) freePolyhedron(piece);
  tiling.clear();
}

// Value of row (without its leading flag or modulus) at point (variables, 1).
inline long long rowValue(const long long* row, const Point& point) {
  long long value = row[1 + point.size()];
  for (size_t j = 0; j < point.size(); j++) value += row[1 + j] * point[j];
  return value;
}

// Whether point satisfies every constraint row (flag 0: == 0, flag 1: >= 0)
// and every modulo row of piece.
inline bool pieceContains(const polyhedronZIL* piece, const Point& point) {
  for (int i = 0; i < piece->nConstr; i++) {
    long long v = rowValue(piece->polyScalar[i], point);
    if (piece->polyScalar[i][0] == 0 ? v != 0 : v < 0) return false;
  }
  for (int i = 0; i < piece->nConstrMod; i++)
    if (rowValue(piece->modConstr[i], point) % piece->modConstr[i][0] != 0) return false;
  return true;
}

// Whether point lies in some piece of every inner list.
inline bool tilingContains(const Tiling& tiling, const Point& point) {
  for (const auto& inner : tiling) {
    bool found = false;
    for (const polyhedronZIL* piece : inner)
      if (pieceContains(piece, point)) {
        found = true;
        break;
      }
    if (!found) return false;
  }
  return true;
}

// Tiled-space point [ii | il | Nb | Nl | b].
inline Point tiledPoint(const Point& ii, const Point& il, const Point& Nb, const Point& Nl, long long b) {
  Point point(ii);
  point.insert(point.end(), il.begin(), il.end());
  point.insert(point.end(), Nb.begin(), Nb.end());
  point.insert(point.end(), Nl.begin(), Nl.end());
  point.push_back(b);
  return point;
}

// Whether scale·(x, N) satisfies the rows of poly, x being given times scale
// (so rational points can be tested exactly): a·X + scale·(c·N + d).
inline bool domainContainsScaled(const polyhedronZIL* poly, const Point& scaledX, const Point& N, long long scale) {
  for (int i = 0; i < poly->nConstr; i++) {
    const long long* row = poly->polyScalar[i];
    long long v = scale * row[1 + poly->nInd + poly->nParam];
    for (int k = 0; k < poly->nInd; k++) v += row[1 + k] * scaledX[k];
    for (int j = 0; j < poly->nParam; j++) v += scale * row[1 + poly->nInd + j] * N[j];
    if (row[0] == 0 ? v != 0 : v < 0) return false;
  }
  return true;
}

inline long long floorDiv(long long a, long long m) { return a / m - ((a % m != 0 && (a < 0) != (m < 0)) ? 1 : 0); }

// Random domain: n indices, p parameters, 1..maxRows rows with coefficients
// in [-2, 2], constants in [-4, 4], about one row in four an equality.
inline polyhedronZIL* randomDomain(std::mt19937& rng, int n, int p, int maxRows) {
  std::uniform_int_distribution<int> coef(-2, 2), cst(-4, 4), rows(1, maxRows), flag(0, 3);
  Rows mat(rows(rng));
  for (auto& row : mat) {
    row.push_back(flag(rng) == 0 ? 0 : 1);
    for (int j = 0; j < n + p; j++) row.push_back(coef(rng));
    row.push_back(cst(rng));
  }
  return makePoly(mat, n, p);
}

// Calls body(v) for every v with lo <= v_k <= hi_k.
template <typename Body>
void forEachPoint(const Point& lo, const Point& hi, Body body) {
  Point v(lo);
  if (v.empty()) {
    body(v);
    return;
  }
  for (;;) {
    body(v);
    size_t k = 0;
    while (k < v.size() && ++v[k] > hi[k]) v[k] = lo[k], k++;
    if (k == v.size()) return;
  }
}

// Regular expression for an assertion message of a library module.
inline std::string moduleAssertion(const std::string& module, const std::string& text) {
  return module + "\\.cpp:[0-9]+: .*Assertion .*" + text + ".* failed";
}

}  // namespace zil_test

#endif
