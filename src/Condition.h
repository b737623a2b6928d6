#ifndef TARVEX_CONDITION_H
#define TARVEX_CONDITION_H

// A boolean and/or tree over affine constraints: the form of a condition that
// is not a plain conjunction, such as the complement of a polyhedron or of a
// union of polyhedra, or the test that selects between two branches of a
// quast. A node is a constant leaf (true or false), a constraint leaf, or an
// AND/OR node over two operands.
//
// Ownership: a condition owns its whole tree and never shares a subtree.
// Constructors clone what they are given. simplify, dnf and to_polyhedra take
// over their receiver (the caller must neither use nor free it afterwards);
// every other operation leaves it unchanged and returns new objects owned by
// the caller.

#include <list>
#include <ostream>
#include <vector>

class Inequation;
class Polyhedron;

enum boolean_operator_t { AND = 0, OR = 1 };

class Condition {
 public:
  int is_leaf;
  int is_value;     // leaf: 1 for a constant, 0 for a constraint
  int value;        // constant leaf: 1 true, 0 false
  Inequation* ineq;  // constraint leaf, owned
  boolean_operator_t op;
  Condition* fg;  // node: left operand, owned
  Condition* fd;  // node: right operand, owned

  // Constant leaf: true for any non-zero v, false for 0. The value is stored
  // as 1 or 0, so that every test of "true" agrees.
  explicit Condition(int v);
  explicit Condition(Inequation* c);
  Condition(boolean_operator_t op, Condition* fg, Condition* fd);
  // op(clone of fg, leaf of a clone of c).
  Condition(boolean_operator_t op, Condition* fg, Inequation* c);
  // The conjunction of p's constraints, each new constraint leaf on the left
  // of what the earlier ones built: {c1, c2} gives AND(c2, AND(c1, true)).
  // A Domain stops the run: its own constraint list is not its union.
  explicit Condition(Polyhedron* p);
  // The disjunction of the members' conjunctions, built from false the same
  // way: OR(C(q2), OR(C(q1), false)).
  explicit Condition(const std::list<Polyhedron*>& l);
  explicit Condition(const std::vector<Polyhedron*>& v);
  ~Condition();
  Condition(const Condition&) = delete;
  Condition& operator=(const Condition&) = delete;

  Condition* clone() const;
  int operator==(const Condition& other) const;  // structural
  int is_true() const;
  int is_false() const;

  // Repeats one pass of constant propagation until a pass changes nothing;
  // consumes the receiver, which comes back itself when the first pass
  // changes nothing. A constraint leaf becomes a constant only when its
  // affine form decides it: a leaf with a division, floor, ceil or max is
  // kept as it is.
  Condition* simplify();
  // The same, in the spelling of callers that hold a pointer.
  static Condition* simplify(Condition* c);
  // Disjunctive normal form by repeated distribution (no OR below an AND);
  // consumes the receiver. The size may grow exponentially.
  Condition* dnf();
  // New polyhedra whose union is the set where the condition holds, empty
  // ones left out (emptiness as Polyhedron::is_empty sees it: parameters
  // >= 0); consumes the receiver.
  std::vector<Polyhedron*> to_polyhedra();
  // The complement, by De Morgan's laws; an equality l = r becomes
  // (l < r) or (l > r).
  Condition* negate() const;

  // The frame ("(", ") and (", "true", ...) on standard output, the
  // constraints through Inequation::print on standard error.
  void print() const;

 private:
  Condition();
  // Leaf and node taking over their arguments (no clone).
  static Condition* leaf_of(Inequation* c);
  static Condition* node_of(boolean_operator_t op, Condition* l, Condition* r);
  // Takes over every field of tree and frees the emptied tree.
  void adopt(Condition* tree);
  Condition* one_pass_simplify() const;
  Condition* one_pass_dnf() const;
  Condition* fixpoint(Condition* (Condition::*pass)() const);
  std::list<Polyhedron*> to_polyhedra_() const;
};

// The whole condition on sout.
std::ostream& operator<<(std::ostream& sout, const Condition& cond);

#endif
