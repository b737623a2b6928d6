#ifndef TARVEX_INEQUATION_H
#define TARVEX_INEQUATION_H

// One constraint lhs pred rhs over counters and parameters; polyhedra are
// conjunctions of them. Its rows are affine vectors [counters | parameters |
// constant] read as row . (counters, parameters, 1) >= 0.
//
// Ownership: a constraint owns both sides; constructors store clones, and
// every operation yielding constraints returns new objects for the caller.

#include <list>
#include <map>
#include <ostream>
#include <set>
#include <vector>

#include "Expression.h"

class Xml;

enum predicate_t { LESS = 0, LESS_EQ = 1, GREATER = 2, GREATER_EQ = 3, EQ = 4 };

class Inequation {
 public:
  predicate_t pred;
  Expression* lhs;  // owned
  Expression* rhs;  // owned

  // Non-zero: the true constraint 1 = 1; zero: the false one 1 < 1.
  explicit Inequation(int b);
  // lhs pred rhs over clones; the caller keeps both.
  Inequation(predicate_t pred, const Expression* lhs, const Expression* rhs);
  // [flag | counters | parameters | constant] >= 0 (flag 1) or = 0 (flag 0).
  explicit Inequation(std::vector<int> row);
  // Read from its XML element; owns both sides read. Stops on a bad
  // predicate code or a missing side.
  explicit Inequation(const Xml& node);
  ~Inequation();
  Inequation(const Inequation&) = delete;
  Inequation& operator=(const Inequation&) = delete;

  Inequation* clone() const;
  int operator==(const Inequation& other) const;  // structural

  int has_parameters() const;
  int has_variables() const;
  int has_div() const;
  std::set<int> get_counters() const;
  std::set<int> get_parameters() const;
  std::vector<Expression*> get_divs();  // pointers into the sides

  Inequation* parameters_to_parameters(const std::map<int, int>& m) const;
  Inequation* parameters_to_counters(const std::map<int, int>& m) const;
  Inequation* counters_to_parameters(const std::map<int, int>& m) const;
  Inequation* counters_to_counters(const std::map<int, int>& m) const;
  Inequation* substitute_counters(const std::map<int, Expression*>& m) const;
  Inequation* substitute_parameters(const std::map<int, Expression*>& m) const;

  // One row, two for EQ (lhs - rhs first); strict predicates are made
  // non-strict over the integers. Throws on a non-affine side.
  std::vector<std::vector<int>> to_matrix() const;
  static int is_trivial_vec(const std::vector<int>& v);
  static int is_true_vec(const std::vector<int>& v);
  static int is_false_vec(const std::vector<int>& v);
  int is_trivial() const;
  int is_true() const;
  int is_false() const;
  int is_empty() const;
  int implies(const Inequation* other) const;
  int equals(const Inequation* other) const;

  // The complement over the integers; stops on EQ.
  Inequation* negate() const;
  // The constraint as bounds on one counter: counter >= lower, <= upper.
  std::vector<Inequation*> separate(int counter) const;
  // Rewrites x pred floor/ceil(a, d) on the right side into d*x pred' a'.
  void eliminate_floor_and_ceil();
  // A new constraint from a C comparison node.
  static Inequation* from_Sage(SgExpression* e);

  // The leaf identities of both sides; throws "Inequation::check:
  // interference found" when a node is reachable along two paths.
  std::set<void*> check();

  void print() const;  // plain form on standard error
  void print_code(std::ostream& sout) const;  // C form, "==" for EQ
  void print_pavu(std::ostream& sout) const;
  void print_iscc(std::ostream& sout) const;  // sides in isl's syntax
  // The element `tag`: "pred", "lhs", "rhs".
  void print_xml(std::ostream& os, std::string tag) const;
};

// Comparison builders: new constraints over clones, left operand on the
// left. The non-const references keep them apart from the ordering
// Expression::operator<, reached through const operands.
Inequation* operator<(Expression& a, Expression& b);
Inequation* operator<(Expression& a, int b);
Inequation* operator<(int a, Expression& b);
Inequation* operator<=(Expression& a, Expression& b);
Inequation* operator<=(Expression& a, int b);
Inequation* operator<=(int a, Expression& b);
Inequation* operator>(Expression& a, Expression& b);
Inequation* operator>(Expression& a, int b);
Inequation* operator>(int a, Expression& b);
Inequation* operator>=(Expression& a, Expression& b);
Inequation* operator>=(Expression& a, int b);
Inequation* operator>=(int a, Expression& b);
Inequation* operator==(Expression& a, int b);
Inequation* operator==(int a, Expression& b);

std::ostream& operator<<(std::ostream& sout, const Inequation& ineq);

// Deletes every non-null constraint; the list stays the caller's.
void del(std::list<Inequation*> l);

#endif
