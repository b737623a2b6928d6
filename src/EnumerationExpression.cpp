// Enumeration expressions: the three forms of an Ehrhart count, their
// readers from the counting records, renaming, scaling, development,
// evaluation and text form.

#include "EnumerationExpression.h"

#include <climits>
#include <cmath>
#include <iostream>

#include "ExactRational.h"
#include "ExpressionNode.h"
#include "PolylibWrapper.h"
#include "Stop.h"

typedef std::map<std::set<int>, Expression*> Monomials;

// ---------------------------------------------------------------------------
// Construction

EnumerationExpression::EnumerationExpression()
    : is_periodic(0),
      modulo_parameter(0),
      is_polynomial(0),
      variable(nullptr),
      is_multivariate_polynomial(0) {}

namespace {

// The base of a form: a leaf that is neither a value, a counter nor a
// parameter.
void make_form_leaf(Expression* e) {
  e->is_leaf = 1;
  e->is_val = 0;
  e->is_counter = 0;
  e->is_parameter = 0;
}

Monomials clone_monomials(const Monomials& m) {
  Monomials copy;
  for (const auto& entry : m) copy[entry.first] = entry.second->clone();
  return copy;
}

}  // namespace

EnumerationExpression::EnumerationExpression(std::vector<Expression*> values, int parameter)
    : EnumerationExpression() {
  make_form_leaf(this);
  is_periodic = 1;
  periodic_val = clone_ve(values);
  modulo_parameter = parameter;
}

EnumerationExpression::EnumerationExpression(std::vector<Expression*> coefficients,
                                             Expression* var)
    : EnumerationExpression() {
  make_form_leaf(this);
  is_polynomial = 1;
  coefficient = clone_ve(coefficients);
  variable = var->clone();
}

EnumerationExpression::EnumerationExpression(Monomials coefficients) : EnumerationExpression() {
  make_form_leaf(this);
  is_multivariate_polynomial = 1;
  multivariate_coefficient = clone_monomials(coefficients);
}

EnumerationExpression::~EnumerationExpression() {
  del(periodic_val);
  del(coefficient);
  delete variable;
  del(multivariate_coefficient);
}

int EnumerationExpression::periodic() const { return is_leaf && is_periodic; }
int EnumerationExpression::polynomial() const { return is_leaf && is_polynomial; }
int EnumerationExpression::multivariate() const { return is_leaf && is_multivariate_polynomial; }
int EnumerationExpression::has_form() const { return periodic() || polynomial() || multivariate(); }

// ---------------------------------------------------------------------------
// Readers of the counting records

namespace {

int int_of(long long x) {
  if (!fits_int(x)) stop(std::cout, "Expression::from_evalue: value out of int range");
  return static_cast<int>(x);
}

// The entries of a node, read by from_evalue; the caller frees them.
std::vector<Expression*> entries(YEB_enode* n) {
  std::vector<Expression*> read;
  for (int i = 0; i < n->size; ++i) read.push_back(Expression::from_evalue(n->arr[i]));
  return read;
}

// A form made from parts that are freed afterwards (the constructors clone).
template <class... Parts>
Expression* form_of(std::vector<Expression*> parts, Parts... rest) {
  Expression* made = new EnumerationExpression(parts, rest...);
  del(parts);
  return made;
}

}  // namespace

Expression* Expression::from_evalue(YEB_evalue* e) {
  if (e->d != 0) return new Expression(int_of(e->x.n), int_of(e->d));
  return from_enode(e->x.p);
}

Expression* Expression::from_enode(YEB_enode* n) {
  switch (n->type) {
    case YEB_polynomial:
      if (n->size == 1) {
        Expression* single = from_evalue(n->arr[0]);
        Expression* folded = single->evaluate();
        delete single;
        return folded;
      } else {
        // The variable is made from the rank: a counter of the same name
        // must not take the parameter's place.
        Expression* variable = make_parameter_leaf(n->pos - 1);
        Expression* made = form_of(entries(n), variable);
        delete variable;
        return made;
      }
    case YEB_periodic: return form_of(entries(n), n->pos - 1);
    case YEB_evector: break;
  }
  stop(std::cout, "Expression::from_enode: evector (!) not handled");
}

// ---------------------------------------------------------------------------
// Classification and comparison

std::string EnumerationExpression::get_class() const {
  if (is_polynomial) return "polynomial";
  if (is_multivariate_polynomial) return "multivariate_polynomial";
  if (is_periodic) return "periodic number";
  return "undefined enumeration";
}

namespace {

int equal_lists(const std::vector<Expression*>& a, const std::vector<Expression*>& b) {
  if (a.size() != b.size()) return 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (!(*a[i] == *b[i])) return 0;
  return 1;
}

int equal_monomials(const Monomials& a, const Monomials& b) {
  if (a.size() != b.size()) return 0;
  for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y)
    if (x->first != y->first || !(*x->second == *y->second)) return 0;
  return 1;
}

}  // namespace

int EnumerationExpression::operator==(const Expression& e) const {
  const EnumerationExpression* other = dynamic_cast<const EnumerationExpression*>(&e);
  if (other == nullptr) return 0;
  if (periodic() != other->periodic() || polynomial() != other->polynomial() ||
      multivariate() != other->multivariate())
    return 0;
  if (periodic())
    return modulo_parameter == other->modulo_parameter &&
           equal_lists(periodic_val, other->periodic_val);
  if (polynomial())
    return *variable == *other->variable && equal_lists(coefficient, other->coefficient);
  if (multivariate()) return equal_monomials(multivariate_coefficient, other->multivariate_coefficient);
  return 1;
}

int EnumerationExpression::is_an_enumeration() const { return 1; }
int EnumerationExpression::is_a_polynomial() const { return is_polynomial; }
int EnumerationExpression::is_a_multivariate_polynomial() const {
  return is_multivariate_polynomial;
}
int EnumerationExpression::is_a_periodic_number() const { return is_periodic; }

Expression* EnumerationExpression::clone() const {
  if (periodic()) return new EnumerationExpression(periodic_val, modulo_parameter);
  if (polynomial()) return new EnumerationExpression(coefficient, variable);
  if (multivariate()) return new EnumerationExpression(multivariate_coefficient);
  stop(std::cerr, "EnumerationExpression::clone(): not an enumeration!");
}

// ---------------------------------------------------------------------------
// Renaming, scaling and development

namespace {

// Adds a coefficient (taken over) under a monomial: a monomial met twice
// holds the sum, PLUS(earlier, later).
void accumulate(Monomials& m, const std::set<int>& monomial, Expression* c) {
  auto found = m.find(monomial);
  if (found == m.end()) {
    m[monomial] = c;
    return;
  }
  found->second = make_node(PLUS, found->second, c);
}

// A multivariate polynomial of coefficients that are freed afterwards.
Expression* multivariate_of(Monomials m) {
  Expression* made = new EnumerationExpression(m);
  del(m);
  return made;
}

template <class F>
std::vector<Expression*> map_list(const std::vector<Expression*>& l, F f) {
  std::vector<Expression*> images;
  for (const Expression* e : l) images.push_back(f(e));
  return images;
}

}  // namespace

Expression* EnumerationExpression::parameters_to_parameters(const std::map<int, int>& m) const {
  auto rename = [&m](const Expression* e) { return e->parameters_to_parameters(m); };
  if (periodic()) {
    auto image = m.find(modulo_parameter);
    return form_of(map_list(periodic_val, rename),
                   image == m.end() ? modulo_parameter : image->second);
  }
  if (polynomial()) {
    Expression* renamed = variable->parameters_to_parameters(m);
    Expression* made = form_of(map_list(coefficient, rename), renamed);
    delete renamed;
    return made;
  }
  if (multivariate()) {
    Monomials result;
    for (const auto& entry : multivariate_coefficient) {
      std::set<int> monomial;
      for (int r : entry.first) {
        auto image = m.find(r);
        monomial.insert(image == m.end() ? r : image->second);
      }
      accumulate(result, monomial, entry.second->parameters_to_parameters(m));
    }
    return multivariate_of(result);
  }
  stop(std::cerr, "EnumerationExpression::parameters_to_parameters: not an enumeration");
}

std::vector<Expression*> EnumerationExpression::get_divs() {
  std::vector<Expression*> divs;
  if (periodic())
    for (Expression* v : periodic_val) append_vec_expr(divs, v->get_divs());
  if (polynomial())
    for (Expression* c : coefficient) append_vec_expr(divs, c->get_divs());
  if (multivariate())
    for (auto& entry : multivariate_coefficient) append_vec_expr(divs, entry.second->get_divs());
  return divs;
}

Expression* EnumerationExpression::scale(int k) const {
  if (k == 0) return new Expression(0);
  if (k == 1) return clone();
  Expression factor(k);
  auto times_k = [&factor](const Expression* e) { return new Expression(TIMES, &factor, e); };
  if (polynomial()) return form_of(map_list(coefficient, times_k), variable);
  if (multivariate()) {
    Monomials result;
    for (const auto& entry : multivariate_coefficient)
      result[entry.first] = times_k(entry.second);
    return multivariate_of(result);
  }
  if (periodic()) return form_of(map_list(periodic_val, times_k), modulo_parameter);
  stop(std::cerr, "EnumerationExpression: scale(k): not an enumeration");
}

Expression* EnumerationExpression::scale(std::set<int> s) const {
  if (!multivariate())
    stop(std::cerr, "EnumerationExpression: scale(set<int>): not a multivariate polynomial: " +
                        expression_text(*this));
  Monomials result;
  for (const auto& entry : multivariate_coefficient) {
    std::set<int> monomial = entry.first;
    monomial.insert(s.begin(), s.end());
    accumulate(result, monomial, entry.second->clone());
  }
  return multivariate_of(result);
}

namespace {

// Adds the single entry {monomial: c} into acc; c stays the caller's.
void add_monomial(EnumerationExpression* acc, const std::set<int>& monomial, Expression* c) {
  EnumerationExpression single(Monomials{{monomial, c}});
  add_multivariate(acc, &single);
}

}  // namespace

Expression* EnumerationExpression::develop() const {
  auto develop_each = [](const Expression* e) { return e->develop(); };
  if (periodic()) return form_of(map_list(periodic_val, develop_each), modulo_parameter);
  if (!polynomial() && !multivariate()) return clone();
  if (polynomial()) return form_of(map_list(coefficient, develop_each), variable);
  EnumerationExpression* result = new EnumerationExpression(Monomials());
  for (const auto& entry : multivariate_coefficient) {
    Expression* developed = entry.second->develop();
    EnumerationExpression* nested = dynamic_cast<EnumerationExpression*>(developed);
    if (nested != nullptr && nested->multivariate()) {
      Expression* scaled = nested->scale(entry.first);
      Expression* flat = scaled->develop();
      add_multivariate(result, static_cast<EnumerationExpression*>(flat));
      delete scaled;
      delete flat;
    } else {
      add_monomial(result, entry.first, developed);
    }
    delete developed;
  }
  return result;
}

void add_multivariate(EnumerationExpression* acc, EnumerationExpression* other) {
  for (const auto& entry : other->multivariate_coefficient) {
    if (entry.second->is_value(0)) continue;
    accumulate(acc->multivariate_coefficient, entry.first, entry.second->clone());
  }
}

void append_vec_expr(std::vector<Expression*>& dst, std::vector<Expression*> src) {
  dst.insert(dst.end(), src.begin(), src.end());
}

// ---------------------------------------------------------------------------
// Evaluation

namespace {

const char* const kOutOfInt = "EnumerationExpression: value out of int range";
const char* const kNoValues = "EnumerationExpression: periodic number without values";

template <class Value>
Value value_of(const std::map<int, Value>& values, int rank) {
  auto found = values.find(rank);
  return found == values.end() ? Value(0) : found->second;
}

// The position of selector value x in a period of p values, also for a
// negative x.
size_t periodic_index(long long x, size_t p) {
  long long period = static_cast<long long>(p);
  return static_cast<size_t>(((x % period) + period) % period);
}

}  // namespace

namespace {

// The two number types of the evaluations: exact fractions over integer
// values, doubles over any values. Their leaves and the operators beyond
// + - * / follow the base evaluation rules.
ExactRational base_value(const Expression* e, const std::map<int, int>& counters,
                         const std::map<int, int>& parameters) {
  return exact_rational(e->evaluate_int(counters, parameters), 1);
}

double base_value(const Expression* e, const std::map<int, double>& counters,
                  const std::map<int, double>& parameters) {
  return e->evaluate_double(counters, parameters);
}

template <class Number>
Number zero();
template <>
ExactRational zero<ExactRational>() { return exact_rational(0, 1); }
template <>
double zero<double>() { return 0; }

bool is_zero(ExactRational x) { return x.n == 0; }
bool is_zero(double x) { return x == 0; }

// The selector of a periodic number: a double selects by its integer part.
long long selector(int x) { return x; }
long long selector(double x) { return static_cast<long long>(std::trunc(x)); }

template <class Number, class Value>
Number value_of_tree(const Expression* e, const std::map<int, Value>& counters,
                     const std::map<int, Value>& parameters);

// The value of a polynomial (Horner, so that no power beyond the degree is
// formed) or of a periodic number, nested forms included, without rounding
// on the way.
template <class Number, class Value>
Number form_value(const EnumerationExpression* e, const std::map<int, Value>& counters,
                  const std::map<int, Value>& parameters) {
  if (e->is_periodic) {
    if (e->periodic_val.empty()) stop(std::cerr, kNoValues);
    size_t k = periodic_index(selector(value_of(parameters, e->modulo_parameter)), e->periodic_val.size());
    return value_of_tree<Number>(e->periodic_val[k], counters, parameters);
  }
  Number x = value_of_tree<Number>(e->variable, counters, parameters);
  Number sum = zero<Number>();
  for (size_t i = e->coefficient.size(); i-- > 0;)
    sum = sum * x + value_of_tree<Number>(e->coefficient[i], counters, parameters);
  return sum;
}

// Nested forms and the sums, differences, products and quotients over them
// (the fractions of the coefficients, the factors that scaling puts in
// front) without rounding; any other tree by the base rules. A quotient by
// 0 is left to the base rules too, which report it.
template <class Number, class Value>
Number value_of_tree(const Expression* e, const std::map<int, Value>& counters,
                     const std::map<int, Value>& parameters) {
  const EnumerationExpression* form = dynamic_cast<const EnumerationExpression*>(e);
  if (form != nullptr && form->is_leaf && (form->is_periodic || form->is_polynomial))
    return form_value<Number>(form, counters, parameters);
  bool arithmetic =
      form == nullptr && !e->is_leaf && (e->op == PLUS || e->op == MINUS || e->op == TIMES || e->op == DIV);
  if (!arithmetic) return base_value(e, counters, parameters);
  Number a = value_of_tree<Number>(e->fg, counters, parameters);
  Number b = value_of_tree<Number>(e->fd, counters, parameters);
  switch (e->op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    default: return is_zero(b) ? base_value(e, counters, parameters) : a / b;
  }
}

// The integer values of a map, false when some value is not one.
bool integral(const std::map<int, double>& values, std::map<int, int>& integers) {
  for (const auto& entry : values) {
    bool integer = entry.second == std::trunc(entry.second) && entry.second >= INT_MIN && entry.second <= INT_MAX;
    if (!integer) return false;
    integers[entry.first] = static_cast<int>(entry.second);
  }
  return true;
}

}  // namespace

int EnumerationExpression::evaluate_int(const std::map<int, int>& counters,
                                        const std::map<int, int>& parameters) const {
  if (!periodic() && !polynomial())
    stop(std::cerr, "EnumerationExpression::evaluate_int(): not an enumeration!");
  ExactRational value = form_value<ExactRational>(this, counters, parameters);
  // The base rule for a quotient: truncation toward zero.
  long long truncated = value.n / value.d;
  if (!fits_int(truncated)) stop(std::cerr, kOutOfInt);
  return static_cast<int>(truncated);
}

int EnumerationExpression::evaluate_int(const std::map<int, int>& parameters) const {
  return evaluate_int(std::map<int, int>(), parameters);
}

double EnumerationExpression::evaluate_double(const std::map<int, double>& counters,
                                              const std::map<int, double>& parameters) const {
  if (!periodic() && !polynomial())
    stop(std::cerr, "EnumerationExpression::evaluate_double(): not an enumeration!");
  // At integer values (where counts are read) the value is exact: a sum of
  // fractions in doubles may fall just short of the integer it equals, and
  // the truncation would then lose one.
  std::map<int, int> integer_counters, integer_parameters;
  if (integral(counters, integer_counters) && integral(parameters, integer_parameters)) {
    ExactRational value = form_value<ExactRational>(this, integer_counters, integer_parameters);
    if (polynomial()) return static_cast<double>(value.n / value.d);
    return static_cast<double>(value.n) / static_cast<double>(value.d);
  }
  double value = form_value<double>(this, counters, parameters);
  return polynomial() ? std::trunc(value) : value;
}

double EnumerationExpression::evaluate_double(const std::map<int, double>& parameters) const {
  return evaluate_double(std::map<int, double>(), parameters);
}

namespace {

int is_rational_constant(const Expression* e) {
  return e->is_constant() || e->is_constant_fraction();
}

// Sum of a[i] * x^i as a tree of fresh nodes, evaluated by the base rules.
Expression* polynomial_value(const std::vector<Expression*>& a, const Expression* x,
                             const std::map<int, Expression*>& counters,
                             const std::map<int, Expression*>& parameters) {
  Expression* sum = new Expression(0);
  Expression* power = new Expression(1);
  for (const Expression* c : a) {
    Expression* term = make_node(TIMES, c->evaluate(counters, parameters), power->clone());
    sum = make_node(PLUS, sum, term);
    power = make_node(TIMES, power, x->clone());
  }
  Expression* value = sum->evaluate(counters, parameters);
  delete sum;
  delete power;
  return value;
}

// The parameters of pv multiplied into the coefficients, the others kept
// as monomials; coefficients that come out as the constant 0 are dropped.
Expression* multivariate_value(const Monomials& m, const std::map<int, Expression*>& counters,
                               const std::map<int, Expression*>& parameters) {
  Monomials collected;
  for (const auto& entry : m) {
    Expression* product = entry.second->clone();
    std::set<int> residual;
    for (int r : entry.first) {
      auto found = parameters.find(r);
      if (found == parameters.end()) residual.insert(r);
      else product = make_node(TIMES, product, found->second->clone());
    }
    accumulate(collected, residual, product);
  }
  Monomials result;
  for (const auto& entry : collected) {
    Expression* value = entry.second->evaluate(counters, parameters);
    if (value->is_value(0)) delete value;
    else result[entry.first] = value;
  }
  del(collected);
  return multivariate_of(result);
}

}  // namespace

Expression* EnumerationExpression::evaluate(const std::map<int, Expression*>& counters,
                                            const std::map<int, Expression*>& parameters) const {
  auto evaluate_each = [&](const Expression* e) { return e->evaluate(counters, parameters); };
  if (periodic()) {
    if (periodic_val.empty()) stop(std::cerr, kNoValues);
    auto selector = parameters.find(modulo_parameter);
    if (selector == parameters.end())
      return form_of(map_list(periodic_val, evaluate_each), modulo_parameter);
    Expression* m = selector->second->evaluate(counters, parameters);
    int resolved = m->is_constant();
    long long x = m->val;
    delete m;
    if (!resolved)
      stop(std::cerr, "EnumerationExpression: evaluate: periodic value not resolved: " +
                          expression_text(*this));
    return periodic_val[periodic_index(x, periodic_val.size())]->evaluate(counters, parameters);
  }
  if (polynomial()) {
    Expression* x = variable->evaluate(counters, parameters);
    Expression* value = is_rational_constant(x)
                            ? polynomial_value(coefficient, x, counters, parameters)
                            : form_of(map_list(coefficient, evaluate_each), x);
    delete x;
    return value;
  }
  if (multivariate()) return multivariate_value(multivariate_coefficient, counters, parameters);
  stop(std::cerr, "EnumerationExpression::evaluate: not an enumeration");
}

Expression* EnumerationExpression::evaluate(const std::map<int, Expression*>& parameters) const {
  return evaluate(std::map<int, Expression*>(), parameters);
}

Expression* EnumerationExpression::evaluate() const {
  return evaluate(std::map<int, Expression*>(), std::map<int, Expression*>());
}

// ---------------------------------------------------------------------------
// Text form

namespace {

// Constants and constant fractions bare, anything else in parentheses.
void print_coefficient(std::ostream& os, const Expression* c) {
  if (is_rational_constant(c)) os << *c;
  else os << "(" << *c << ")";
}

void print_power(std::ostream& os, size_t i) {
  if (i == 2) os << "\xC2\xB2";
  if (i > 2) os << "^" << i;
}

}  // namespace

void EnumerationExpression::print(std::ostream& os) const {
  if (periodic()) {
    os << "[ ";
    for (const Expression* v : periodic_val) os << *v << " ";
    os << "]_" << get_parameter_string(modulo_parameter);
  }
  if (polynomial() && !coefficient.empty()) {
    os << *coefficient[0];
    for (size_t i = 1; i < coefficient.size(); ++i) {
      os << " + ";
      print_coefficient(os, coefficient[i]);
      os << "*" << *variable;
      print_power(os, i);
    }
  }
  if (multivariate()) {
    const char* separator = "";
    for (const auto& entry : multivariate_coefficient) {
      os << separator;
      separator = " + ";
      print_coefficient(os, entry.second);
      if (entry.first.empty()) continue;
      os << "*";
      print_variable_list(os, entry.first, ".", 0);
    }
  }
}

std::ostream& operator<<(std::ostream& os, EnumerationExpression& e) {
  e.print(os);
  return os;
}
