// Unions of polyhedra (vectors and lists of Polyhedron*): tests over them,
// equality, complements, substitutions, the self-test and the stream
// operators.

#include <iostream>

#include "Condition.h"
#include "Expression.h"
#include "Inequation.h"
#include "Options.h"
#include "Polyhedron.h"

namespace {

typedef std::vector<Polyhedron*> Union;

Union as_vector(const std::list<Polyhedron*>& l) { return Union(l.begin(), l.end()); }

// 1 when every polyhedron of `pieces` is empty; the pieces are released in
// every case.
int all_empty(const Union& pieces) {
  int answer = 1;
  for (Polyhedron* piece : pieces) {
    if (answer && !piece->is_empty()) answer = 0;
    delete piece;
  }
  return answer;
}

}  // namespace

// ---------------------------------------------------------------------------
// Tests over unions

int Polyhedron::implies(Inequation* c) {
  expect_single(this, "implies");
  for (Inequation* mine : constraints)
    if (mine->implies(c)) return 1;
  return 0;
}

int Polyhedron::implies(const Union& v, Inequation* c) {
  for (Polyhedron* p : expect_single(v, "implies"))
    if (!p->implies(c)) return 0;
  return 1;
}

int Polyhedron::weak_is_empty(const Union& v) {
  return expect_single(v, "weak_is_empty").size() == 1 && v[0]->weak_is_empty();
}

int Polyhedron::is_empty(const Union& v) {
  for (Polyhedron* p : expect_single(v, "is_empty"))
    if (!p->is_empty()) return 0;
  return 1;
}

int Polyhedron::is_empty(const std::list<Polyhedron*>& l) { return is_empty(as_vector(l)); }

int Polyhedron::is_universe(const Union& v) {
  for (Polyhedron* p : expect_single(v, "is_universe"))
    if (p->is_universe()) return 1;
  return 0;
}

int Polyhedron::is_universe(const std::list<Polyhedron*>& l) { return is_universe(as_vector(l)); }

// ---------------------------------------------------------------------------
// Complements

Union Polyhedron::negate() {
  Condition conjunction(expect_single(this, "negate"));
  return conjunction.negate()->to_polyhedra();
}

Union Polyhedron::negate(const Union& v) {
  Condition disjunction(expect_single(v, "negate"));
  return disjunction.negate()->to_polyhedra();
}

// ---------------------------------------------------------------------------
// Equality

int operator==(Polyhedron& p, Polyhedron& q) {
  Polyhedron::expect_single(&p, "operator==");
  Polyhedron::expect_single(&q, "operator==");
  return all_empty(p - q) && all_empty(q - p);
}

int Polyhedron::equals(Polyhedron* q) {
  expect_single(this, "equals");
  expect_single(q, "equals");
  if (constraints.size() != q->constraints.size()) return 0;
  for (auto mine = constraints.begin(), theirs = q->constraints.begin(); mine != constraints.end();
       ++mine, ++theirs)
    if (!(*mine)->equals(*theirs)) return 0;
  return 1;
}

int equals(const Union& a, const Union& b) {
  if (a.size() != b.size()) return 0;
  for (size_t k = 0; k < a.size(); k++)
    if (!a[k]->equals(b[k])) return 0;
  return 1;
}

// ---------------------------------------------------------------------------
// Building and substituting

Polyhedron* operator+(Polyhedron& p, Polyhedron& q) {
  Polyhedron::expect_single(&p, "operator+");
  Polyhedron::expect_single(&q, "operator+");
  return Polyhedron::intersect(&p, &q);
}

Union clone(const Union& v) {
  Union r;
  for (Polyhedron* p : v) r.push_back(p->clone());
  return r;
}

Union substitute_counters(const Union& v, std::map<int, Expression*> m) {
  return Polyhedron::substitute_counters(v, m);
}

void substitute_domain(std::map<Polyhedron*, Polyhedron*>& m, Polyhedron* source_domain,
                       Polyhedron* target_domain) {
  // Moving an entry onto its own key and erasing the source would lose it.
  if (source_domain == target_domain) return;
  for (auto& entry : m)
    if (entry.second == source_domain) entry.second = target_domain;
  auto moved = m.find(source_domain);
  if (moved == m.end()) return;
  Polyhedron* value = moved->second;
  m.erase(moved);
  m[target_domain] = value;
}

std::set<Expression*> operator&(Expression& a, Expression& b) { return {a.clone(), b.clone()}; }

std::set<Expression*>& operator&(std::set<Expression*>& s, Expression& e) {
  s.insert(e.clone());
  return s;
}

std::set<Expression*> operator&(std::set<Expression*>&& s, Expression& e) {
  s.insert(e.clone());
  return std::move(s);
}

// ---------------------------------------------------------------------------
// Self-test

std::set<void*> Polyhedron::check() {
  expect_single(this, "check");
  std::set<void*> nodes;
  try {
    for (Inequation* c : constraints) nodes = union_and_check(nodes, c->check());
  } catch (const char*) {
    throw "Polyhedron::check: interference found";
  }
  return nodes;
}

void check(const Union& domain, std::string msg) {
  if (!Options::option["check"]) return;
  Polyhedron::expect_single(domain, "check");
  const std::string stars(46, '*');
  if (!msg.empty()) std::cout << std::endl << stars << std::endl << "** CHECK " << msg << std::endl << std::endl;
  for (size_t i = 0; i < domain.size(); i++) {
    std::cout << i << std::endl;
    domain[i]->check("");
  }
  std::cout << std::endl << "** PASSED" << std::endl << stars << std::endl;
}

// ---------------------------------------------------------------------------
// Stream operators

std::ostream& operator<<(std::ostream& os, const Union& v) {
  if (v.empty()) return os << "(empty domain)";
  for (size_t k = 0; k < v.size(); k++) {
    if (k > 0) os << "U" << std::endl;
    os << *v[k];
  }
  return os;
}

std::ostream& operator<<(std::ostream& os, const std::list<Polyhedron*>& l) {
  if (l.empty()) return os << "(empty domain)";
  for (Polyhedron* p : l) os << *p << "U" << std::endl;
  return os;
}
