// Lattices of tile origins with denominators: their lowest terms, the block
// sizes that keep every tile origin an integer point, and the reading of
// the library's pieces, which then carry congruences on the lattice
// counters.
//
// A lattice with generators L[.][c] / D_c is the union of the cosets
// o + diag(D)·Z^n of its lattice coordinates ii, 0 <= o_c < D_c: the
// library tiles a domain row by row and, within a row, offset by offset,
// every piece of offset o carrying ii_c ≡ o_c (mod D_c). The tiled code
// holds each lattice coordinate as two counters: the quotient outer_c and
// the offset lattice_offset_c of ii_c = D_c·outer_c + lattice_offset_c.
// Every piece then becomes affine (no division, no congruence), so the
// emptiness tests of the cross product and the coalescing are exact, and
// the code generator meets no existential variable. Pieces of different
// offsets never meet: the lists are crossed offset by offset.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <map>
#include <numeric>

#include "Expression.h"
#include "GeneratedName.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "ZIL.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

typedef std::vector<long long> Offset;

[[noreturn]] void internal_stop(const std::string& why) {
  stop(std::cerr, "ZILWrapper::to_tiled_domain_with_offsets: " + why);
}

// The offset o of a piece from its modulo rows [D_c | 1 at ii_c | -o_c],
// one per lattice counter in order, ii being the first n index columns.
Offset offset_of(const polyhedronZIL* piece, const std::vector<int>& denominators) {
  size_t n = denominators.size();
  if (piece->nConstrMod != static_cast<int>(n)) internal_stop("a piece without its lattice offset");
  int width = piece->nInd + piece->nParam + 2;
  Offset o(n);
  for (size_t c = 0; c < n; c++) {
    const long long* row = piece->modConstr[c];
    if (row[0] != denominators[c] || row[1 + c] != 1) internal_stop("unexpected modulo row");
    o[c] = -row[width - 1];
  }
  return o;
}

// The piece over the quotients q of ii_c = D_c·q_c + o_c, in place: the
// coefficient a of ii_c becomes D_c·a, the constant gains a·o_c, and the
// modulo rows, now always true, go.
void to_quotients(polyhedronZIL* piece, const Offset& o, const std::vector<int>& denominators) {
  int width = piece->nInd + piece->nParam + 2;
  for (int r = 0; r < piece->nConstr; r++) {
    long long* row = piece->polyScalar[r];
    for (size_t c = 0; c < o.size(); c++) {
      row[width - 1] += row[1 + c] * o[c];
      row[1 + c] *= denominators[c];
    }
  }
  freeMatrix(piece->modConstr, piece->nConstrMod);
  piece->modConstr = nullptr;
  piece->nConstrMod = 0;
}

// lattice_offset_c == o_c for every lattice counter c with D_c > 1.
void add_offsets(Polyhedron* p, const Offset& o, const std::vector<int>& offset_counters) {
  for (size_t c = 0; c < o.size(); c++) {
    if (offset_counters[c] < 0) continue;
    Expression counter(get_counter_string(offset_counters[c]));
    Expression value(static_cast<int>(o[c]));  // below D_c
    Inequation fixed(EQ, &counter, &value);
    p->add_constraint(&fixed);
  }
}

// The pieces of one offset, crossed within the budget and coalesced over the
// quotients, with their offset.
std::vector<Polyhedron*> tile_offset(std::list<std::list<polyhedronZIL*>>& lists, const Offset& o,
                                     const std::vector<int>& offset_counters, CrossingBudget* budget) {
  std::vector<Polyhedron*> pieces = to_tiled_domain(lists, false, nullptr, budget);
  for (Polyhedron* p : pieces) add_offsets(p, o, offset_counters);
  return pieces;
}

void free_lists(std::list<std::list<polyhedronZIL*>>& lists) {
  for (std::list<polyhedronZIL*>& pieces : lists)
    for (polyhedronZIL* piece : pieces) freePolyhedron(piece);
  lists.clear();
}

}  // namespace

Rows reduced_lattice(const Rows& lattice) {
  size_t n = lattice.size() - 1;
  Rows result = lattice;
  for (size_t c = 0; c < n; c++) {
    int g = lattice[n][c];
    for (size_t i = 0; i < n; i++) g = std::gcd(g, lattice[i][c]);
    for (size_t i = 0; i <= n; i++) result[i][c] /= g;
  }
  return result;
}

long long lattice_block_multiple(const Rows& lattice) {
  long long M = 1;
  Rows reduced = reduced_lattice(lattice);
  for (int d : reduced.back()) {
    M = std::lcm(M, static_cast<long long>(d));
    if (M > INT_MAX) return static_cast<long long>(INT_MAX) + 1;
  }
  return M;
}

long long lattice_offset_count(const Rows& lattice) {
  long long count = 1;
  Rows reduced = reduced_lattice(lattice);
  for (int d : reduced.back()) count = count > LLONG_MAX / d ? LLONG_MAX : count * d;
  return count;
}

std::vector<std::vector<long long>> common_denominator_basis(const Rows& lattice) {
  Rows reduced = reduced_lattice(lattice);
  long long M = lattice_block_multiple(lattice);
  size_t n = reduced.size() - 1;
  std::vector<std::vector<long long>> basis(n, std::vector<long long>(n));
  for (size_t i = 0; i < n; i++)
    for (size_t c = 0; c < n; c++) basis[i][c] = reduced[i][c] * (M / reduced[n][c]);
  return basis;
}

std::vector<int> lattice_offset_counters(const Rows& lattice) {
  Rows reduced = reduced_lattice(lattice);
  std::vector<int> ranks;
  for (size_t c = 0; c < reduced.back().size(); c++) {
    if (reduced.back()[c] == 1) {
      ranks.push_back(-1);
      continue;
    }
    std::string name = lattice_offset_name(static_cast<int>(c));
    create_extra_counter_rank(name);
    ranks.push_back(get_counter_rank(name));
  }
  return ranks;
}

std::vector<Polyhedron*> to_tiled_domain_with_offsets(std::list<std::list<polyhedronZIL*>>& lists,
                                                      const std::vector<int>& denominators,
                                                      const std::vector<int>& offset_counters,
                                                      CrossingBudget* budget) {
  // A domain without constraints gives one piece of the whole space,
  // without offset.
  bool offsets = false;
  for (const std::list<polyhedronZIL*>& pieces : lists)
    for (const polyhedronZIL* piece : pieces) offsets = offsets || piece->nConstrMod > 0;
  if (!offsets) return to_tiled_domain(lists, false);
  // For every offset, its pieces of every list, list order kept.
  std::map<Offset, std::list<std::list<polyhedronZIL*>>> by_offset;
  size_t list_number = 0;
  for (std::list<polyhedronZIL*>& pieces : lists) {
    for (polyhedronZIL* piece : pieces) {
      Offset o = offset_of(piece, denominators);
      std::list<std::list<polyhedronZIL*>>& own = by_offset[o];
      own.resize(list_number + 1);
      to_quotients(piece, o, denominators);
      own.back().push_back(piece);
    }
    pieces.clear();
    list_number++;
  }
  lists.clear();
  std::vector<Polyhedron*> result;
  for (auto& offset : by_offset) {
    // An offset missing from some list has no point there.
    std::list<std::list<polyhedronZIL*>>& own = offset.second;
    if (own.size() != list_number ||
        std::any_of(own.begin(), own.end(), [](const std::list<polyhedronZIL*>& l) { return l.empty(); })) {
      free_lists(offset.second);
      continue;
    }
    std::vector<Polyhedron*> pieces = tile_offset(own, offset.first, offset_counters, budget);
    result.insert(result.end(), pieces.begin(), pieces.end());
  }
  return result;
}

}  // namespace ZILWrapper
