#ifndef TARVEX_EXPRESSION_H
#define TARVEX_EXPRESSION_H

// The symbolic value of the system: a binary tree whose leaves are integer
// constants, counters and parameters (named by their registry ranks) and
// whose inner nodes apply an operator_t to two owned operands. Each node
// caches its affine coefficient vector [counters | parameters | constant]
// together with the registry widths it was built for.
//
// Ownership: every operation that returns an Expression* returns a new tree
// owned by the caller; constructors clone the operands they are given.

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Rank.h"

class Polyhedron;
class SgNode;
class Xml;
class SgExpression;
struct PipVector;
struct YEB__evalue;
struct YEB__enode;

enum operator_t {
  PLUS = 0,
  MINUS = 1,
  TIMES = 2,
  DIV = 3,
  POWER = 4,
  MOD = 5,
  MAX = 6,
  FLOOR = 7,
  CEIL = 8
};

// While non-zero (while C code is written), the text form writes every
// counter name as "(" name ")", every parameter as "((long long)" name ")"
// and a negative constant after a minus sign as "(" value ")".
extern int expression_print_parenthesis;

class Expression {
 public:
  int is_leaf;
  int is_val;
  int val;
  int is_counter;
  int counter_rank;
  int is_parameter;
  int parameter_rank;
  operator_t op;
  Expression* fg;  // left operand, owned; null in a leaf
  Expression* fd;  // right operand, owned; null in a leaf
  // Affine vector cache, filled lazily by to_vector() also on trees that
  // are otherwise read-only, hence mutable.
  mutable int has_vector;
  mutable std::vector<int> vec;
  mutable int _nb_counters;
  mutable int _nb_parameters;

  // Constant leaf 0.
  Expression();
  explicit Expression(int v);
  // DIV of the constants n and d.
  Expression(int n, int d);
  // Counter leaf for a registered counter name, else a parameter leaf (the
  // name is registered as a parameter when new).
  explicit Expression(std::string name);
  // op(l, r) over clones of l and r; the caller keeps both.
  Expression(operator_t op, const Expression* l, const Expression* r);
  // Deep copy, cache included.
  Expression(const Expression& e);
  // Affine tree of a full row [counters | parameters | constant], optionally
  // preceded by a flag that is skipped; the cache is primed with the row.
  explicit Expression(std::vector<int> row);
  // Affine tree of [chosen counters | chosen parameters | constant], the
  // ranks taken in ascending order (sets) or in list order (vectors).
  Expression(std::vector<int> coefs, std::set<int> counters, std::set<int> parameters);
  Expression(std::vector<int> coefs, std::vector<int> counters,
             std::vector<int> parameters);
  // A plain expression read from its XML element (see print_xml); the new
  // tree owns the operands it reads. Invalid fields stop the run.
  explicit Expression(const Xml& node);
  virtual ~Expression();

  // Replaces this node's contents by a clone of src (src may lie inside this
  // tree); the replaced operands are freed.
  Expression& operator=(const Expression& src);
  // Takes over every field of src, operand pointers included, and nulls
  // src's operand pointers so that deleting src afterwards frees nothing.
  void shallow_copy(Expression* src);

  // The virtual operations, in slot order.
  virtual std::string get_class() const;                                   // 0
  virtual int operator==(const Expression& e) const;                       // 1
  virtual int is_an_enumeration() const;                                   // 2
  virtual int is_a_polynomial() const;                                     // 3
  virtual int is_a_multivariate_polynomial() const;                        // 4
  virtual int is_a_periodic_number() const;                                // 5
  virtual Expression* clone() const;                                       // 6
  virtual Expression* parameters_to_parameters(const std::map<int, int>& m) const;  // 7
  // The DIV nodes of the tree in post-order, as pointers into this tree.
  virtual std::vector<Expression*> get_divs();                             // 8
  virtual Expression* develop() const;                                     // 9
  virtual Expression* scale(int k) const;                                  // 10
  virtual Expression* scale(std::set<int> s) const;                        // 11
  virtual std::pair<std::map<int, std::vector<int>>, Expression*> expand(
      const std::map<int, int>& bits) const;                               // 12
  virtual int evaluate_int(const std::map<int, int>& counters,
                           const std::map<int, int>& parameters) const;    // 13
  virtual int evaluate_int(const std::map<int, int>& parameters) const;    // 14
  virtual double evaluate_double(const std::map<int, double>& counters,
                                 const std::map<int, double>& parameters) const;  // 15
  virtual double evaluate_double(const std::map<int, double>& parameters) const;  // 16
  // Symbolic evaluation; the maps keep their expressions.
  virtual Expression* evaluate(const std::map<int, Expression*>& counters,
                               const std::map<int, Expression*>& parameters) const;  // 17
  virtual Expression* evaluate(const std::map<int, Expression*>& parameters) const;  // 18
  virtual Expression* evaluate() const;                                    // 19
  virtual void print(std::ostream& os) const;                              // 20
  virtual std::string print_vhdl(std::ostream& os, std::ostream& decl) const;  // 21

  int operator!=(const Expression& e) const;

  static Expression* from_counter_rank(int r);
  static Expression* from_Sage(SgExpression* e);
  // newparm maps a vector column to the expression it stands for (kept by
  // the caller); other columns are read through actual_parameter.
  static Expression* from_PipVector(PipVector* v, std::map<int, Expression*> newparm);
  static std::set<int> get_counters(const std::vector<Expression*>& l);
  // Trees of an Ehrhart count (records kept by the caller): a fraction n/d
  // as the DIV of its constants, unreduced; a node as an enumeration leaf
  // over the parameter of rank pos - 1.
  static Expression* from_evalue(YEB__evalue* e);
  static Expression* from_enode(YEB__enode* n);

  // Predicates.
  int is_constant() const;
  int is_value(int v) const;
  int is__counter(int r) const;
  int is__parameter(int r) const;
  int is_a_parameter() const;
  int is_op(operator_t o) const;
  int is_neg() const;
  int is_constant_fraction() const;
  int is_positive_constant() const;
  int is_positive() const;  // throws as to_vector() on a non-affine tree
  int is_floor() const;
  int is_ceil() const;
  int has_ceil_or_floor() const;
  int has_internal_ceil_or_floor() const;
  int has_div() const;
  int has_parameters() const;
  int has_variables() const;
  int has_up_to_date_vector() const;
  int depth() const;
  int nb_power_2() const;

  // Affine forms. A non-affine tree prints a line on standard output and
  // throws a C string.
  std::vector<int> to_vector() const;
  std::vector<int> to_vector(const std::set<int>& counters,
                             const std::set<int>& parameters) const;
  std::vector<int> to_vector(const std::vector<int>& counters,
                             const std::vector<int>& parameters) const;
  std::vector<int> to_vector_linear(const std::vector<int>& counters) const;
  Expression* linear_part() const;
  Expression* param_part() const;
  Expression* simplify_matrix() const;
  int is_translation(const Expression* e) const;

  // Structure queries.
  std::set<int> get_counters() const;
  std::set<int> get_parameters() const;
  std::vector<Expression*> get_max_terms() const;  // new clones

  // Renamings and substitutions: new trees, the maps' expressions stay the
  // caller's.
  Expression* parameters_to_counters(const std::map<int, int>& m) const;
  Expression* counters_to_parameters(const std::map<int, int>& m) const;
  Expression* counters_to_counters(const std::map<int, int>& m) const;
  Expression* substitute_counters(const std::map<int, Expression*>& m) const;
  Expression* substitute_parameters(const std::map<int, Expression*>& m) const;

  Expression* simplify() const;
  Expression* one_pass_simplify() const;
  // (develop(l * this), l) with l the lcm of the constant denominators.
  std::pair<Expression*, int> remove_fractions();
  Expression* remove_divs() const;

  // The identities of the leaves; throws "Expression::check: interference
  // found" when a subtree is reachable along two paths.
  std::set<void*> check();

  // Comparison and bounds over a polyhedron P, whose integer points are
  // taken as the emptiness test does: parameters >= 0, counters of any
  // sign. P and the listed expressions stay the caller's.
  //
  // 1 when P has no point where this expression exceeds e. With a division
  // on either side only the syntactic emptiness test applies, so such a
  // comparison answers 0 unless P is false by itself.
  int less(Expression* e, Polyhedron* P) const;
  // A clone of the element that is at most (at least) every other on P, the
  // later of two that are so of each other; null when none is, or, with the
  // option "silent-ld-failure", the last candidate after one "not found!"
  // line per failing element on standard error. An empty list stops.
  static Expression* minimum(const std::vector<Expression*>& v, Polyhedron* P);
  static Expression* maximum(const std::vector<Expression*>& v, Polyhedron* P);
  static Expression* minimum(const std::set<Expression*>& s, Polyhedron* P);
  static Expression* maximum(const std::set<Expression*>& s, Polyhedron* P);
  // Clones of the elements of s whose affine vector agrees with e's on
  // every non-zero entry of e's.
  static std::set<Expression*> filter(const std::set<Expression*>& s, Expression* e);
  // A constant upper bound of this maximum of affine terms over P, found by
  // parametric integer programming with every parameter turned into a free
  // companion counter "<p>_counter" (so the bound holds for all parameter
  // values, negative ones included). Codes: -1 when P is empty, -2 when
  // every maximum is negative, -3 when some term has no constant maximum.
  // Where the solver finds the whole optimum unbounded (any counter of P,
  // renamed parameters included, may cause it), a term's bound is taken
  // over the rational shadow of the problem on the bound counter: still an
  // upper bound, possibly above the integer maximum. The companion
  // counters and "upper_bound_var_<k>" stay registered. A name clash (a
  // companion, the bound's counter or a quotient counter of the division
  // elimination already in use) stops the run.
  int upper_bound(Polyhedron* P) const;

  // Ordering for sorted containers: text order when a DIV is involved,
  // otherwise the affine vectors entry by entry.
  bool operator<(const Expression& e) const;

  // Text forms.
  void print() const;      // plain form on standard error
  void print_ptr() const;  // plain form with node addresses on standard error
  // The text form in isl's syntax: integer divisions as floor/ceil of a
  // quotient by a positive constant, counters and parameters by isl_name.
  void print_iscc(std::ostream& os) const;
  // The element `tag` with one child per field, "fg" and "fd" only for an
  // operator node. An enumeration expression has no XML form: it stops.
  void print_xml(std::ostream& os, std::string tag) const;

 private:
  void init_leaf();
  void clear_operands();
  void take_row(const std::vector<int>& full_row);
};

// Arithmetic: new heap nodes over clones of the operands, nothing folded;
// the caller frees the result (delete &r).
Expression& operator+(const Expression& a, const Expression& b);
Expression& operator+(const Expression& a, int b);
Expression& operator+(int a, const Expression& b);
Expression& operator-(const Expression& a, const Expression& b);
Expression& operator-(const Expression& a, int b);
Expression& operator-(int a, const Expression& b);
Expression& operator*(const Expression& a, const Expression& b);
Expression& operator*(const Expression& a, int b);
Expression& operator*(int a, const Expression& b);
Expression& operator/(const Expression& a, const Expression& b);
Expression& operator/(const Expression& a, int b);
Expression& operator/(int a, const Expression& b);
Expression& operator%(const Expression& a, const Expression& b);
Expression& operator%(const Expression& a, int b);
Expression& operator%(int a, const Expression& b);

// Factories: each returns a new leaf owned by the caller.
Expression* v(int n);
Expression* val(int n);
Expression* s(std::string name);
Expression* var(std::string name);  // registers an extra counter when new
Expression* par(std::string name);  // registers a parameter when new
Expression* var(int r);

std::vector<Expression*> clone_ve(const std::vector<Expression*>& l);
// Joins two maps with disjoint keys; the pointers are shared, not cloned.
std::map<int, Expression*> union_map(std::map<int, Expression*> a,
                                     std::map<int, Expression*> b);
// Delete every non-null expression held; the containers stay the caller's.
void del(std::map<int, Expression*> m);
void del(std::vector<Expression*> l);
void del(std::map<std::set<int>, Expression*> m);

int is_power_of_2(int n);
int gcd(int a, int b);
int lcm(int a, int b);
void simplify_fraction(int& n, int& d);
std::set<void*> union_and_check(std::set<void*> a, const std::set<void*>& b);

// 1 when the node is a call of floor, respectively ceil.
int is_floor(SgNode* node);
int is_ceil(SgNode* node);

std::ostream& operator<<(std::ostream& os, const Expression& e);
std::ostream& operator<<(std::ostream& os, const std::vector<Expression*>& l);
std::ostream& operator<<(std::ostream& os, const std::set<Expression*>& l);
std::ostream& operator<<(std::ostream& os, const std::map<int, Expression*>& m);

#endif
