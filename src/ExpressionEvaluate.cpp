// Integer, floating and symbolic evaluation, and the number functions they
// use.

#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <numeric>

#include "Expression.h"
#include "ExpressionNode.h"
#include "Stop.h"

namespace {

template <class Value>
Value value_of(const std::map<int, Value>& values, int rank) {
  auto found = values.find(rank);
  return found == values.end() ? Value(0) : found->second;
}

}  // namespace

int Expression::evaluate_int(const std::map<int, int>& counters,
                             const std::map<int, int>& parameters) const {
  if (is_leaf) {
    if (is_val) return val;
    if (is_counter) return value_of(counters, counter_rank);
    if (is_parameter) return value_of(parameters, parameter_rank);
    return 0;
  }
  int a = fg->evaluate_int(counters, parameters);
  int b = fd->evaluate_int(counters, parameters);
  bool divides = op == DIV || op == MOD || op == FLOOR || op == CEIL;
  if (divides && b == 0)
    stop(std::cerr, "Expression::evaluate_int: division by zero: " + expression_text(*this));
  switch (op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV: return a / b;
    case MOD: return a % b;
    case POWER: return static_cast<int>(std::pow(a, b));
    case MAX: return a > b ? a : b;
    case FLOOR: return static_cast<int>(std::floor(static_cast<double>(a) / b));
    case CEIL: return static_cast<int>(std::ceil(static_cast<double>(a) / b));
  }
  stop(std::cerr, "Expression::evaluate_int: unknown operator: " + expression_text(*this));
}

int Expression::evaluate_int(const std::map<int, int>& parameters) const {
  return evaluate_int(std::map<int, int>(), parameters);
}

double Expression::evaluate_double(const std::map<int, double>& counters,
                                   const std::map<int, double>& parameters) const {
  if (is_leaf) {
    if (is_val) return val;
    if (is_counter) return value_of(counters, counter_rank);
    if (is_parameter) return value_of(parameters, parameter_rank);
    return 0.0;
  }
  double a = fg->evaluate_double(counters, parameters);
  double b = fd->evaluate_double(counters, parameters);
  switch (op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV: return a / b;
    case POWER: return std::pow(a, b);
    default: break;
  }
  stop(std::cerr, "Expression::evaluate_double: unknown/forbidden operator: " +
                      expression_text(*this));
}

double Expression::evaluate_double(const std::map<int, double>& parameters) const {
  return evaluate_double(std::map<int, double>(), parameters);
}

namespace {

// An exact rational n/d as computed by the symbolic evaluation.
struct Rational {
  long long n;
  long long d;
};

bool rational_of(const Expression* e, Rational& r) {
  if (e->is_constant()) {
    r = {e->val, 1};
    return true;
  }
  if (e->is_constant_fraction()) {
    r = {e->fg->val, e->fd->val};
    return true;
  }
  return false;
}

Rational positive_denominator(Rational r) {
  return r.d < 0 ? Rational{-r.n, -r.d} : r;
}

long long floor_div(long long n, long long d) {
  long long q = n / d;
  return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

long long ceil_div(long long n, long long d) { return -floor_div(-n, d); }

// base^exponent, false on 64-bit overflow.
bool power(long long base, long long exponent, long long& result) {
  result = 1;
  for (long long i = 0; i < exponent; i++)
    if (__builtin_mul_overflow(result, base, &result)) return false;
  return true;
}

// Folds op over two rationals; false when the operator has no exact value
// there (zero divisor, MOD of non-integers, overflow).
bool fold(operator_t op, Rational a, Rational c, Rational& out) {
  switch (op) {
    case PLUS: out = {c.n * a.d + a.n * c.d, a.d * c.d}; return true;
    case MINUS: out = {a.n * c.d - c.n * a.d, a.d * c.d}; return true;
    case TIMES: out = {a.n * c.n, a.d * c.d}; return true;
    case DIV: out = {a.n * c.d, c.n * a.d}; return true;
    default: break;
  }
  a = positive_denominator(a);
  c = positive_denominator(c);
  switch (op) {
    case FLOOR:
    case CEIL: {
      if (c.n == 0) return false;
      Rational q = positive_denominator({a.n * c.d, a.d * c.n});
      out = {op == FLOOR ? floor_div(q.n, q.d) : ceil_div(q.n, q.d), 1};
      return true;
    }
    case MAX: out = a.n * c.d >= c.n * a.d ? a : c; return true;
    case MOD:
      if (a.d != 1 || c.d != 1 || c.n == 0) return false;
      out = {a.n % c.n, 1};
      return true;
    case POWER: {
      if (c.d != 1 || (c.n < 0 && a.n == 0)) return false;
      long long exponent = c.n < 0 ? -c.n : c.n;
      long long n, d;
      if (!power(a.n, exponent, n) || !power(a.d, exponent, d)) return false;
      out = c.n < 0 ? Rational{d, n} : Rational{n, d};
      return true;
    }
    default: return false;
  }
}

bool fits_int(long long x) { return x >= INT_MIN && x <= INT_MAX; }

// The constant or constant fraction of r, reduced; false when r has a zero
// denominator or does not fit in int.
bool rational_expression(Rational r, Expression*& result) {
  if (r.d == 0) return false;
  long long g = std::gcd(r.n, r.d);
  if (g > 1) {
    r.n /= g;
    r.d /= g;
  }
  if (!fits_int(r.n) || !fits_int(r.d)) return false;
  int n = static_cast<int>(r.n);
  int d = static_cast<int>(r.d);
  simplify_fraction(n, d);
  if (n == 0) result = new Expression(0);
  else if (d == 1) result = new Expression(n);
  else result = new Expression(n, d);
  return true;
}

int is_zero(const Rational& r) { return r.n == 0; }
int is_one(const Rational& r) { return r.n == r.d; }

}  // namespace

Expression* Expression::evaluate(const std::map<int, Expression*>& counters,
                                 const std::map<int, Expression*>& parameters) const {
  if (is_leaf) {
    auto found = counters.end();
    if (is_counter && (found = counters.find(counter_rank)) != counters.end())
      return found->second->clone();
    if (is_parameter && (found = parameters.find(parameter_rank)) != parameters.end())
      return found->second->clone();
    return clone();
  }
  Expression* l = fg->evaluate(counters, parameters);
  Expression* r = fd->evaluate(counters, parameters);
  Rational a{0, 1}, c{0, 1};
  bool left_rational = rational_of(l, a);
  bool right_rational = rational_of(r, c);
  if (left_rational && right_rational) {
    delete l;
    delete r;
    Rational folded;
    Expression* result = nullptr;
    if (!fold(op, a, c, folded) || !rational_expression(folded, result))
      stop(std::cerr, "Expression::evaluate: unhandled operator: " + expression_text(*this));
    return result;
  }
  if ((op == PLUS && left_rational && is_zero(a)) || (op == TIMES && left_rational && is_one(a))) {
    delete l;
    return r;
  }
  if ((op == PLUS && right_rational && is_zero(c)) ||
      (op == TIMES && right_rational && is_one(c))) {
    delete r;
    return l;
  }
  return make_node(op, l, r);
}

Expression* Expression::evaluate(const std::map<int, Expression*>& parameters) const {
  return evaluate(std::map<int, Expression*>(), parameters);
}

Expression* Expression::evaluate() const {
  return evaluate(std::map<int, Expression*>(), std::map<int, Expression*>());
}

void simplify_fraction(int& n, int& d) {
  if (d == 0) stop(std::cerr, "Expression::simplify_fraction: */0");
  if (n == 0) return;
  int g = gcd(std::abs(n), std::abs(d));
  if (n > 0 && d > 0) {
    n /= g;
    d /= g;
  } else if (n < 0 && d > 0) {
    n = -(std::abs(n) / g);
    d /= g;
  } else if (n < 0 && d < 0) {
    n = std::abs(n) / g;
    d = std::abs(d) / g;
  } else {
    n /= g;
    d = -(std::abs(d) / g);
  }
}

int gcd(int a, int b) {
  if (a < 1 || b < 1) stop(std::cerr, "Expression: gcd: negative operand");
  while (b != 0) {
    int rest = a % b;
    a = b;
    b = rest;
  }
  return a;
}

int lcm(int a, int b) {
  if (a < 1 || b < 1) stop(std::cerr, "lcm: negative numbers");
  return a / gcd(a, b) * b;
}
