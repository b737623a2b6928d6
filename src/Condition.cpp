#include "Condition.h"

#include <iostream>

#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Stop.h"

// ---------------------------------------------------------------------------
// Construction

Condition::Condition()
    : is_leaf(1), is_value(1), value(0), ineq(nullptr), op(AND), fg(nullptr), fd(nullptr) {}

Condition::Condition(int v) : Condition() { value = v != 0; }

Condition::Condition(Inequation* c) : Condition() {
  is_value = 0;
  ineq = c->clone();
}

Condition::Condition(boolean_operator_t o, Condition* l, Condition* r) : Condition() {
  is_leaf = 0;
  is_value = 0;
  op = o;
  fg = l->clone();
  fd = r->clone();
}

Condition::Condition(boolean_operator_t o, Condition* l, Inequation* c) : Condition() {
  adopt(node_of(o, l->clone(), new Condition(c)));
}

Condition::Condition(Polyhedron* p) : Condition() {
  if (p->is_domain()) stop(std::cerr, "Condition::Condition: expect single polyhedra");
  Condition* current = new Condition(1);
  for (Inequation* c : p->constraints) current = node_of(AND, new Condition(c), current);
  adopt(current);
}

Condition::Condition(const std::list<Polyhedron*>& l)
    : Condition(std::vector<Polyhedron*>(l.begin(), l.end())) {}

Condition::Condition(const std::vector<Polyhedron*>& v) : Condition() {
  Condition* current = new Condition(0);
  for (Polyhedron* q : v) current = node_of(OR, new Condition(q), current);
  adopt(current);
}

Condition::~Condition() {
  delete ineq;
  delete fg;
  delete fd;
}

Condition* Condition::leaf_of(Inequation* c) {
  Condition* leaf = new Condition();
  leaf->is_value = 0;
  leaf->ineq = c;
  return leaf;
}

Condition* Condition::node_of(boolean_operator_t o, Condition* l, Condition* r) {
  Condition* node = new Condition();
  node->is_leaf = 0;
  node->is_value = 0;
  node->op = o;
  node->fg = l;
  node->fd = r;
  return node;
}

void Condition::adopt(Condition* tree) {
  delete ineq;
  delete fg;
  delete fd;
  is_leaf = tree->is_leaf;
  is_value = tree->is_value;
  value = tree->value;
  ineq = tree->ineq;
  op = tree->op;
  fg = tree->fg;
  fd = tree->fd;
  tree->ineq = nullptr;
  tree->fg = nullptr;
  tree->fd = nullptr;
  delete tree;
}

// ---------------------------------------------------------------------------
// Queries

Condition* Condition::clone() const {
  if (!is_leaf) return new Condition(op, fg, fd);
  if (is_value) return new Condition(value);
  return new Condition(ineq);
}

int Condition::operator==(const Condition& other) const {
  if (is_leaf != other.is_leaf) return 0;
  if (!is_leaf) return op == other.op && *fg == *other.fg && *fd == *other.fd;
  if (is_value != other.is_value) return 0;
  return is_value ? value == other.value : *ineq == *other.ineq;
}

int Condition::is_true() const { return is_leaf && is_value && value == 1; }

int Condition::is_false() const { return is_leaf && is_value && value == 0; }

// ---------------------------------------------------------------------------
// Simplification and normal form

namespace {

// The constant a constraint is known to be: 1 true, 0 false, -1 undecided.
// A division makes the affine tests unusable (is_false would throw), and a
// floor, ceil or max side throws in both; such constraints stay undecided.
int decided_value(const Inequation* c) {
  if (c->has_div()) return -1;
  try {
    if (c->is_true()) return 1;
    if (c->is_false()) return 0;
  } catch (const char*) {
  }
  return -1;
}

}  // namespace

Condition* Condition::one_pass_simplify() const {
  if (is_leaf && is_value) return clone();
  if (is_leaf) {
    int decided = decided_value(ineq);
    return decided < 0 ? clone() : new Condition(decided);
  }
  if (op == AND) {
    if (fg->is_false() || fd->is_false()) return new Condition(0);
    if (fg->is_true()) return fd->clone()->simplify();
    if (fd->is_true()) return fg->clone()->simplify();
  } else if (op == OR) {
    if (fg->is_true() || fd->is_true()) return new Condition(1);
    if (fg->is_false()) return fd->clone()->simplify();
    if (fd->is_false()) return fg->clone()->simplify();
  } else {
    std::cout << "WARNING: Condition::simplify: unhandled operator" << std::endl;
  }
  return node_of(op, fg->one_pass_simplify(), fd->one_pass_simplify());
}

Condition* Condition::fixpoint(Condition* (Condition::*pass)() const) {
  Condition* current = this;
  Condition* next = (current->*pass)();
  while (!(*next == *current)) {
    delete current;
    current = next;
    next = (current->*pass)();
  }
  delete next;
  return current;
}

Condition* Condition::simplify() { return fixpoint(&Condition::one_pass_simplify); }

Condition* Condition::simplify(Condition* c) { return c->simplify(); }

Condition* Condition::one_pass_dnf() const {
  if (is_leaf) return clone();
  if (op == AND && fd->is_leaf == 0 && fd->op == OR)
    return node_of(OR, new Condition(AND, fg, fd->fg), new Condition(AND, fg, fd->fd));
  if (op == AND && fg->is_leaf == 0 && fg->op == OR)
    return node_of(OR, new Condition(AND, fg->fg, fd), new Condition(AND, fg->fd, fd));
  return node_of(op, fg->one_pass_dnf(), fd->one_pass_dnf());
}

Condition* Condition::dnf() { return fixpoint(&Condition::one_pass_dnf); }

// ---------------------------------------------------------------------------
// Polyhedra of a normal form

namespace {

int is_zero_ge_zero(const Inequation* c) {
  Expression zero(0);
  Inequation trivial(GREATER_EQ, &zero, &zero);
  return *c == trivial;
}

}  // namespace

std::list<Polyhedron*> Condition::to_polyhedra_() const {
  if (is_leaf && is_value) return {value ? new Polyhedron() : empty()};
  if (is_leaf) return {is_zero_ge_zero(ineq) ? new Polyhedron() : new Polyhedron(ineq)};
  std::list<Polyhedron*> left = fg->to_polyhedra_();
  std::list<Polyhedron*> right = fd->to_polyhedra_();
  if (op == OR) {
    left.splice(left.end(), right);
    return left;
  }
  if (op != AND) {
    del(left);
    del(right);
    return {};
  }
  Polyhedron* merged = new Polyhedron();
  for (Polyhedron* p : left) merged->add_constraints(p);
  for (Polyhedron* p : right) merged->add_constraints(p);
  del(left);
  del(right);
  return {merged};
}

std::vector<Polyhedron*> Condition::to_polyhedra() {
  Condition* normal = dnf();
  std::list<Polyhedron*> pieces = normal->to_polyhedra_();
  delete normal;
  std::vector<Polyhedron*> kept;
  for (Polyhedron* p : pieces)
    if (!p->is_empty()) kept.push_back(p->clone());
  del(pieces);
  return kept;
}

// ---------------------------------------------------------------------------
// Negation

Condition* Condition::negate() const {
  if (is_leaf && is_value) return new Condition(!value);
  if (is_leaf && ineq->pred == EQ)
    return node_of(OR, leaf_of(new Inequation(LESS, ineq->lhs, ineq->rhs)),
                   leaf_of(new Inequation(GREATER, ineq->lhs, ineq->rhs)));
  if (is_leaf) return leaf_of(ineq->negate());
  if (op != AND && op != OR) stop(std::cout, "Condition::negate: unhandled operator");
  return node_of(op == AND ? OR : AND, fg->negate(), fd->negate());
}

// ---------------------------------------------------------------------------
// Printing

namespace {

const char* joint(boolean_operator_t op) { return op == AND ? ") and (" : ") or ("; }

}  // namespace

void Condition::print() const {
  if (is_leaf && is_value) {
    std::cout << (value ? "true" : "false");
  } else if (is_leaf) {
    ineq->print();
  } else {
    if (op != AND && op != OR) stop(std::cout, "Condition::print: unhandled operator");
    std::cout << "(";
    fg->print();
    std::cout << joint(op);
    fd->print();
    std::cout << ")";
  }
}

std::ostream& operator<<(std::ostream& sout, const Condition& cond) {
  if (cond.is_leaf && cond.is_value) return sout << (cond.value ? "true" : "false");
  if (cond.is_leaf) return sout << *cond.ineq;
  if (cond.op != AND && cond.op != OR) stop(sout, "Condition::print: unhandled operator");
  return sout << "(" << *cond.fg << joint(cond.op) << *cond.fd << ")";
}
