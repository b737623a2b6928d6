// Helpers for the tests of the function tilings: release, canonical form and
// evaluation of the entries of a tiled function.
#ifndef ZIL_FUNCTION_TILING_TEST_SUPPORT_H
#define ZIL_FUNCTION_TILING_TEST_SUPPORT_H

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "tiling_test_support.h"

namespace zil_test {

using TiledFunction = std::map<polyhedronZIL*, affFuncZIL*>;

inline void freeTiledFunction(TiledFunction& tiled) {
  for (auto& entry : tiled) {
    freePolyhedron(entry.first);
    freeAffineFunction(entry.second);
  }
  tiled.clear();
}

// One entry as plain rows: its condition rows, modulo rows, function rows and
// divisors.
struct EntryRows {
  Rows condition, modulo, function;
  std::vector<long long> divs;
  bool operator<(const EntryRows& o) const {
    return std::tie(condition, modulo, function, divs) < std::tie(o.condition, o.modulo, o.function, o.divs);
  }
  bool operator==(const EntryRows& o) const {
    return std::tie(condition, modulo, function, divs) == std::tie(o.condition, o.modulo, o.function, o.divs);
  }
};

inline EntryRows entryRows(const polyhedronZIL* piece, const affFuncZIL* func) {
  EntryRows rows;
  rows.condition = polyRows(piece);
  rows.modulo = toRows(piece->modConstr, piece->nConstrMod, piece->nInd + piece->nParam + 2);
  rows.function = toRows(func->affFuncScalar, func->dimOut, func->nInd + func->nParam + 1);
  rows.divs.assign(func->divs, func->divs + func->dimOut);
  return rows;
}

// The entries sorted by their rows: the map's own order follows addresses.
inline std::vector<EntryRows> canonicalEntries(const TiledFunction& tiled) {
  std::vector<EntryRows> entries;
  for (const auto& entry : tiled) entries.push_back(entryRows(entry.first, entry.second));
  std::sort(entries.begin(), entries.end());
  return entries;
}

// Numerator of output i at point (the divisor is func->divs[i]).
inline long long outputNumerator(const affFuncZIL* func, int i, const Point& point) {
  const long long* row = func->affFuncScalar[i];
  long long value = row[point.size()];
  for (size_t j = 0; j < point.size(); j++) value += row[j] * point[j];
  return value;
}

// The entries whose condition and modulo rows hold at point.
inline std::vector<const affFuncZIL*> holdingEntries(const TiledFunction& tiled, const Point& point) {
  std::vector<const affFuncZIL*> found;
  for (const auto& entry : tiled)
    if (pieceContains(entry.first, point)) found.push_back(entry.second);
  return found;
}

// f(x, N) of an integral function given by rows [x | N | constant], times
// scale, with x given times scale: Q·X + scale·(R·N + c).
inline long long scaledOutput(const Rows& f, int i, const Point& scaledX, const Point& N, long long scale) {
  const std::vector<long long>& row = f[i];
  long long value = scale * row.back();
  for (size_t k = 0; k < scaledX.size(); k++) value += row[k] * scaledX[k];
  for (size_t j = 0; j < N.size(); j++) value += scale * row[scaledX.size() + j] * N[j];
  return value;
}

}  // namespace zil_test

#endif
