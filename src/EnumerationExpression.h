#ifndef TARVEX_ENUMERATION_EXPRESSION_H
#define TARVEX_ENUMERATION_EXPRESSION_H

// The number of integer points of a parametric polyhedron as an expression
// leaf: a periodic number (a value selected by a parameter modulo the
// period), a polynomial in one variable, or a multivariate polynomial whose
// monomials are sets of parameter ranks (each parameter to the power 1, the
// empty set being the constant term). It answers every virtual operation of
// Expression for its form, and rewrites a polynomial over the bits of its
// parameter for the VHDL printer.
//
// Ownership: constructors clone what they are given; the object owns its
// values, coefficients and variable; every operation returns new objects
// owned by the caller. An object made by the default constructor has no
// form: its base is the constant 0 and the operations that need a form stop.

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Expression.h"

// Parameter rank -> number of bits of that parameter.
typedef std::map<int, int> BitWidths;
// Parameter rank -> ranks of its bit parameters, least significant first.
typedef std::map<int, std::vector<int>> BitTable;

class EnumerationExpression : public Expression {
 public:
  int is_periodic;
  std::vector<Expression*> periodic_val;  // owned
  int modulo_parameter;                   // rank of the selecting parameter
  int is_polynomial;
  std::vector<Expression*> coefficient;  // owned, by ascending degree
  Expression* variable;                  // owned
  int is_multivariate_polynomial;
  std::map<std::set<int>, Expression*> multivariate_coefficient;  // owned values

  // No form.
  EnumerationExpression();
  // Periodic number: values[N mod p] for N the selecting parameter.
  EnumerationExpression(std::vector<Expression*> values, int modulo_parameter);
  // Sum of coefficients[i] * variable^i.
  EnumerationExpression(std::vector<Expression*> coefficients, Expression* variable);
  // Sum of coefficient * product of the monomial's parameters.
  explicit EnumerationExpression(std::map<std::set<int>, Expression*> coefficients);
  ~EnumerationExpression() override;
  EnumerationExpression(const EnumerationExpression&) = delete;
  EnumerationExpression& operator=(const EnumerationExpression&) = delete;

  std::string get_class() const override;
  // 1 only for another enumeration of the same form with equal parts.
  int operator==(const Expression& e) const override;
  int is_an_enumeration() const override;
  int is_a_polynomial() const override;
  int is_a_multivariate_polynomial() const override;
  int is_a_periodic_number() const override;
  Expression* clone() const override;
  // Monomials that the renaming makes equal have their coefficients summed.
  Expression* parameters_to_parameters(const std::map<int, int>& m) const override;
  std::vector<Expression*> get_divs() override;
  // Nested multivariate coefficients are flattened into one polynomial.
  Expression* develop() const override;
  Expression* scale(int k) const override;
  // Multivariate only: every monomial joined with s; monomials that meet
  // have their coefficients summed.
  Expression* scale(std::set<int> s) const override;
  // A polynomial in a parameter of known width as a multivariate polynomial
  // over its bits, exactly; the bit parameters "bit_<name>_<j>" are
  // registered for good.
  std::pair<BitTable, Expression*> expand(const BitWidths& bits) const override;
  // The exact value of a polynomial or periodic number, truncated toward
  // zero when it is not an integer; a value beyond int stops the run.
  int evaluate_int(const std::map<int, int>& counters,
                   const std::map<int, int>& parameters) const override;
  int evaluate_int(const std::map<int, int>& parameters) const override;
  // The value with nothing rounded on the way (exact at integer values), a
  // polynomial's truncated toward zero.
  double evaluate_double(const std::map<int, double>& counters,
                         const std::map<int, double>& parameters) const override;
  double evaluate_double(const std::map<int, double>& parameters) const override;
  Expression* evaluate(const std::map<int, Expression*>& counters,
                       const std::map<int, Expression*>& parameters) const override;
  Expression* evaluate(const std::map<int, Expression*>& parameters) const override;
  Expression* evaluate() const override;
  void print(std::ostream& os) const override;
  // A multivariate polynomial over bits as VHDL: declarations to decl,
  // statements to sout; returns the name of the variable holding the sum.
  std::string print_vhdl(std::ostream& sout, std::ostream& decl) const override;

  // The weak compositions of i into m parts, and the recursion behind them.
  std::vector<std::vector<int>> enumerate_k(int i, int m) const;
  std::vector<std::vector<int>> enumerate_k_rec(int dim, int i, int m) const;

 private:
  int periodic() const;
  int polynomial() const;
  int multivariate() const;
  int has_form() const;
};

// 1 * 2 * ... * n (1 for n <= 0); stops beyond 12!, the last that fits an int.
int fact(int n);
// n! / (k[0]! k[1]! ...) for k summing to n, as a product of binomials.
long long multinomial(int n, std::vector<int> k);

// Adds other's coefficients into acc in place: a constant-0 coefficient is
// skipped, a new monomial gets a clone, a present one PLUS(old, clone).
void add_multivariate(EnumerationExpression* acc, EnumerationExpression* other);
// Appends the pointers of src to dst; nothing is cloned.
void append_vec_expr(std::vector<Expression*>& dst, std::vector<Expression*> src);

std::ostream& operator<<(std::ostream& os, EnumerationExpression& e);
// One line per parameter: "N -> [bit_N_0 bit_N_1 ]".
std::ostream& operator<<(std::ostream& os, const BitTable& table);

#endif
