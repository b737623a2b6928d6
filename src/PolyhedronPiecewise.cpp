// Piecewise quasi-polynomials: maps from polyhedra over the parameters to
// the expression that holds on each (the form of the counting results).

#include <cmath>
#include <iostream>

#include "Expression.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::map<Polyhedron*, Expression*> Piecewise;

// The pieces of `pieces` that are not empty enter `sum` with a new value
// of e; the empty ones are released.
void add_pieces(Piecewise& sum, const std::vector<Polyhedron*>& pieces, const Expression* e) {
  for (Polyhedron* piece : pieces) {
    if (piece->is_empty())
      delete piece;
    else
      sum[piece] = e->evaluate();
  }
}

// Each key of `operand` less every intersection, as pieces of `sum`. The
// differences leave pieces without a common integer point (the keys speak
// of parameters only), so that no point has two values.
void add_remainders(Piecewise& sum, const Piecewise& operand, const std::vector<Polyhedron*>& intersections) {
  for (const auto& piece : operand) {
    std::vector<Polyhedron*> rest{piece.first->clone()};
    for (Polyhedron* I : intersections) {
      std::vector<Polyhedron*> next;
      for (Polyhedron* s : rest) {
        std::vector<Polyhedron*> pieces = Polyhedron::disjoint_subtract(s, I);
        next.insert(next.end(), pieces.begin(), pieces.end());
      }
      del(rest);
      rest = next;
    }
    add_pieces(sum, rest, piece.second);
  }
}

// The exact value of e at the integer parameter values `point`, truncated
// toward zero at the very end.
int exact_value(const Expression* e, const std::map<int, int>& point) {
  if (e->is_an_enumeration()) return e->evaluate_int(point);
  std::map<int, Expression*> leaves;
  for (const auto& value : point) leaves[value.first] = new Expression(value.second);
  Expression* folded = e->evaluate(leaves);
  del(leaves);
  int answer = 0;
  if (folded->is_constant())
    answer = folded->val;
  else if (folded->is_constant_fraction())
    answer = folded->fg->val / folded->fd->val;
  int constant = folded->is_constant() || folded->is_constant_fraction();
  delete folded;
  if (!constant) stop(std::cerr, "Polyhedron::evaluate(): value is not a constant");
  return answer;
}

}  // namespace

Piecewise empty_clause() { return {{universe(), new Expression(0)}}; }

int is_empty_clause(const Piecewise& m) {
  for (const auto& piece : m) Polyhedron::expect_single(piece.first, "is_empty_clause");
  return m.size() == 1 && m.begin()->first->is_universe() && m.begin()->second->is_value(0);
}

Piecewise simplify(const Piecewise& m) {
  Piecewise r;
  for (const auto& piece : m)
    r[Polyhedron::expect_single(piece.first, "simplify")->simplify_chernikova()] = piece.second->simplify();
  return r;
}

Piecewise clone(const Piecewise& m) {
  Piecewise r;
  for (const auto& piece : m) r[piece.first->clone()] = piece.second->evaluate();
  return r;
}

int evaluate(const Piecewise& p, const std::map<int, double>& parameter) {
  // The values are truncated once; has() stops on one outside the int
  // range before any of them is used as an int.
  std::map<int, double> point;
  for (int q = 0; q < get_nb_parameters(); q++) {
    auto given = parameter.find(q);
    point[q] = given == parameter.end() ? 0.0 : std::trunc(given->second);
  }
  for (const auto& piece : p) {
    if (!piece.first->has(point)) continue;
    std::map<int, int> exact;
    for (const auto& value : point) exact[value.first] = static_cast<int>(value.second);
    return exact_value(piece.second, exact);
  }
  stop(std::cerr, "Polyhedron::evaluate(): point out of range");
}

Piecewise operator+(const Piecewise& p1, const Piecewise& p2) {
  for (const Piecewise* operand : {&p1, &p2})
    for (const auto& piece : *operand) Polyhedron::expect_single(piece.first, "operator+");
  if (is_empty_clause(p2)) return clone(p1);
  if (is_empty_clause(p1)) return clone(p2);
  Piecewise sum;
  std::vector<Polyhedron*> intersections;
  for (const auto& a : p1) {
    for (const auto& b : p2) {
      Polyhedron* I = new Polyhedron(a.first);
      I->add_constraints(b.first);
      if (I->is_empty()) {
        delete I;
        continue;
      }
      // Every non-empty intersection gets the sum, a zero value included:
      // left inside both remainders it would overlap them.
      Expression both(PLUS, a.second, b.second);
      sum[I] = both.evaluate();
      intersections.push_back(I);
    }
  }
  add_remainders(sum, p1, intersections);
  add_remainders(sum, p2, intersections);
  return sum;
}

std::ostream& operator<<(std::ostream& os, const Piecewise& m) {
  if (m.size() == 1) {
    Polyhedron* key = m.begin()->first;
    if (key->is_single_polyhedron() && key->is_universe()) return os << *m.begin()->second << std::endl;
    return os << "/---" << std::endl
              << *key << std::endl
              << *m.begin()->second << std::endl
              << "\\---" << std::endl;
  }
  os << "/---" << std::endl;
  for (const auto& piece : m) os << *piece.first << std::endl << *piece.second << std::endl << std::endl;
  return os << "\\---" << std::endl;
}
