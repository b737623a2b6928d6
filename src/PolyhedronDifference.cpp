// Set difference of polyhedra and of unions of polyhedra, through PolyLib
// (over chosen counters) or isl (over the variables that occur).

#include <iostream>

#include "ISLWrapper.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;
typedef std::vector<Polyhedron*> Union;

// The matrices of the PolyLib road drop every counter column outside the
// set: a counter of p outside it would silently vanish from the answer.
void check_counters(Polyhedron* p, const std::set<int>& counters) {
  for (int c : p->get_counters())
    if (!counters.count(c))
      stop(std::cerr, "Polyhedron::subtract: counter " + get_counter_string(c) + " not in the counter set");
}

// Replaces r by its coalesced form; the replaced polyhedra are released.
void coalesce_in_place(Union& r) {
  Union merged = Polyhedron::coalesce(r);
  del(r);
  r = merged;
}

void append(Union& r, const Union& pieces) { r.insert(r.end(), pieces.begin(), pieces.end()); }

}  // namespace

// ---------------------------------------------------------------------------
// Single polyhedra

Union Polyhedron::subtract(Polyhedron* p1, Polyhedron* p2, std::set<int> counters) {
  expect_single(p1, "subtract");
  expect_single(p2, "subtract");
  check_counters(p1, counters);
  check_counters(p2, counters);
  Rows m1 = p1->to_matrix(counters);
  Rows m2 = p2->to_matrix(counters);
  if (m1 == m2) return Union();
  Union pieces;
  for (const Rows& piece : PolylibWrapper::subtract(m1, m2, counters.size()))
    pieces.push_back(new Polyhedron(piece, counters));
  // PolyLib answers an empty difference with an "empty polyhedron" piece,
  // which the coalescing removes.
  coalesce_in_place(pieces);
  return pieces;
}

Union Polyhedron::polylib_subtract(Polyhedron* p1, Polyhedron* p2) {
  std::set<int> every_counter;
  for (int c = 0; c < get_nb_counters(); c++) every_counter.insert(c);
  return subtract(p1, p2, every_counter);
}

Union Polyhedron::isl_subtract(Polyhedron* p1, Polyhedron* p2) {
  Union both{expect_single(p1, "subtract"), expect_single(p2, "subtract")};
  std::set<int> C = get_counters(both), P = get_parameters(both);
  Union pieces;
  for (const Rows& piece :
       ISLWrapper::subtract({p1->to_matrix(C, P)}, {p2->to_matrix(C, P)}, C.size(), P.size()))
    pieces.push_back(new Polyhedron(piece, C, P));
  return pieces;
}

Union Polyhedron::subtract(Polyhedron* p1, Polyhedron* p2) { return isl_subtract(p1, p2); }

Union Polyhedron::disjoint_subtract(Polyhedron* p1, Polyhedron* p2) {
  Union both{expect_single(p1, "subtract"), expect_single(p2, "subtract")};
  std::set<int> C = get_counters(both), P = get_parameters(both);
  Union pieces;
  for (const Rows& piece : ISLWrapper::disjoint_subtract(p1->to_matrix(C, P), p2->to_matrix(C, P), C.size() + P.size()))
    pieces.push_back(new Polyhedron(piece, C, P));
  return pieces;
}

// ---------------------------------------------------------------------------
// Unions

Union Polyhedron::subtract(const Union& p1, Polyhedron* p2) {
  expect_single(p1, "subtract");
  expect_single(p2, "subtract");
  Union r;
  for (Polyhedron* member : p1) {
    append(r, subtract(member, p2));
    coalesce_in_place(r);
  }
  return r;
}

Union Polyhedron::subtract(const Union& p1, Polyhedron* p2, std::set<int> active_counters) {
  expect_single(p1, "subtract");
  expect_single(p2, "subtract");
  Union r;
  for (Polyhedron* member : p1) append(r, subtract(member, p2, active_counters));
  return r;
}

Union Polyhedron::subtract(const Union& p1, const Union& p2, std::set<int> active_counters) {
  expect_single(p2, "subtract");
  Union r = ::clone(expect_single(p1, "subtract"));
  for (Polyhedron* q : p2) {
    Union next = subtract(r, q, active_counters);
    del(r);
    r = next;
  }
  return r;
}

Union Polyhedron::subtract(const Union& p1, const Union& p2) {
  expect_single(p2, "subtract");
  Union r = ::clone(expect_single(p1, "subtract"));
  for (size_t i = 0; i < p2.size(); i++) {
    std::cerr << i + 1 << "/" << p2.size() << " --> " << r.size() << " polyhedra" << std::flush;
    Union next = subtract(r, p2[i]);
    del(r);
    r = next;
    coalesce_in_place(r);
    std::cerr << "\r                \r" << std::flush;
  }
  return r;
}

// ---------------------------------------------------------------------------
// Operators and counter sets

Union operator-(Polyhedron& p, Polyhedron& q) { return Polyhedron::subtract(&p, &q); }

Union operator-(Union& v, Polyhedron& q) { return Polyhedron::subtract(Union(v), &q); }

std::set<int> operator-(std::set<int> a, std::set<int> b) {
  for (int x : b) a.erase(x);
  return a;
}

std::vector<int> set_to_vec(std::set<int> s) { return std::vector<int>(s.begin(), s.end()); }
