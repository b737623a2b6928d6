// Bit expansion of a count polynomial and its VHDL text.
//
// With N = sum over j of 2^j b_j and every bit b_j in {0, 1}, a power N^d
// expands by the multinomial theorem into monomials over sets of bits
// (b^k = b). The expansion is exact: its arithmetic is checked 64-bit, and
// a coefficient that no constant leaf can hold stops the run.

#include <cctype>
#include <iostream>

#include "EnumerationExpression.h"
#include "ExactRational.h"
#include "ExpressionNode.h"
#include "Stop.h"

typedef std::map<std::set<int>, Expression*> Monomials;

namespace {

const char* const kOutOfRange = "EnumerationExpression: expand: coefficient out of int range";

int sum_of(const std::vector<int>& v) {
  int sum = 0;
  for (int x : v) sum += x;
  return sum;
}

// A checked 64-bit value as an int for a constant leaf.
int leaf_value(long long x) {
  if (!fits_int(x)) stop(std::cerr, kOutOfRange);
  return static_cast<int>(x);
}

long long product(long long a, long long b) { return checked_mul(a, b, kOutOfRange); }

// A DIV of two integer constants whose divisor is not 0.
int is_fraction(const Expression* e) { return e->is_constant_fraction() && e->fd->val != 0; }

long long power_of_two(long long exponent) {
  if (exponent > 62) stop(std::cerr, kOutOfRange);
  return 1LL << exponent;
}

// s / q as a constant when q divides s, else the unreduced DIV of both.
Expression* quotient(long long s, long long q) {
  if (s % q == 0) return new Expression(leaf_value(s / q));
  return new Expression(leaf_value(s), leaf_value(q));
}

// The term factor * c of a coefficient c of the polynomial.
Expression* term(long long factor, Expression* c) {
  if (c->is_constant()) return new Expression(leaf_value(product(factor, c->val)));
  if (is_fraction(c)) {
    long long n = c->fg->val, q = c->fd->val;
    if (factor % q != 0) return new Expression(leaf_value(product(n, factor)), leaf_value(q));
    return new Expression(leaf_value(product(factor / q, n)));
  }
  Expression k(leaf_value(factor));
  return new Expression(TIMES, &k, c);
}

// p + t, folded exactly when both are constants or constant fractions; both
// are taken over. Fractions are not reduced.
Expression* sum(Expression* p, Expression* t) {
  Expression* folded = nullptr;
  if (p->is_constant() && t->is_constant()) {
    folded = new Expression(leaf_value(checked_add(p->val, t->val, kOutOfRange)));
  } else if (is_fraction(p) && t->is_constant()) {
    long long q = p->fd->val;
    folded = quotient(checked_add(p->fg->val, product(t->val, q), kOutOfRange), q);
  } else if (p->is_constant() && is_fraction(t)) {
    long long q = t->fd->val;
    folded = quotient(checked_add(product(p->val, q), t->fg->val, kOutOfRange), q);
  } else if (is_fraction(p) && is_fraction(t)) {
    long long a = p->fg->val, e = p->fd->val, b = t->fg->val, f = t->fd->val;
    if (e == f) folded = quotient(checked_add(b, a, kOutOfRange), e);
    else folded = quotient(checked_add(product(b, e), product(a, f), kOutOfRange), product(e, f));
  } else {
    return make_node(PLUS, p, t);
  }
  delete p;
  delete t;
  return folded;
}

}  // namespace

int fact(int n) {
  if (n > 12) stop(std::cerr, "EnumerationExpression: fact: overflow");
  int f = 1;
  for (int i = 2; i <= n; ++i) f *= i;
  return f;
}

long long multinomial(int n, std::vector<int> k) {
  long long result = 1;
  long long left = n;
  for (int part : k) {
    // C(left, part), built so that every partial quotient is exact.
    for (long long i = 1; i <= part; ++i) result = product(result, left - part + i) / i;
    left -= part;
  }
  return result;
}

std::vector<std::vector<int>> EnumerationExpression::enumerate_k_rec(int dim, int i, int m) const {
  std::vector<std::vector<int>> vectors;
  if (dim == m) {
    for (int t = 0; t <= i; ++t) vectors.push_back({t});
    return vectors;
  }
  std::vector<std::vector<int>> shorter = enumerate_k_rec(dim + 1, i, m);
  for (int t = 0; t <= i; ++t)
    for (const std::vector<int>& e : shorter) {
      if (sum_of(e) + t > i) continue;
      std::vector<int> longer(e);
      longer.push_back(t);
      vectors.push_back(longer);
    }
  return vectors;
}

std::vector<std::vector<int>> EnumerationExpression::enumerate_k(int i, int m) const {
  std::vector<std::vector<int>> compositions;
  for (const std::vector<int>& e : enumerate_k_rec(1, i, m))
    if (sum_of(e) == i) compositions.push_back(e);
  return compositions;
}

namespace {

// Each value expanded; the values' bit tables are not kept.
std::pair<BitTable, Expression*> expand_values(const std::vector<Expression*>& values,
                                               int modulo_parameter, const BitWidths& widths) {
  std::vector<Expression*> expanded;
  for (const Expression* v : values) expanded.push_back(v->expand(widths).second);
  Expression* periodic = new EnumerationExpression(expanded, modulo_parameter);
  del(expanded);
  return std::make_pair(BitTable(), periodic);
}

// The ranks of the bit parameters bit_<name>_0 .. bit_<name>_<w-1> of the
// parameter of rank v, registered when new.
std::vector<int> bit_parameters(int v, const BitWidths& widths) {
  std::string name = get_parameter_string(v);
  auto width = widths.find(v);
  if (width == widths.end())
    stop(std::cerr, "EnumerationExpression: expand: bit width undefined for parameter " + name);
  if (width->second < 1)
    stop(std::cerr,
         "EnumerationExpression: expand: bit width must be at least 1 for parameter " + name);
  std::vector<int> bits;
  for (int j = 0; j < width->second; ++j) {
    std::pair<int, Expression*> bit = create_parameter("bit_" + name, j);
    delete bit.second;
    bits.push_back(bit.first);
  }
  return bits;
}

// Adds c * N^d over the bits of N into result: one term per weak
// composition k of d, factor d! / prod k_j! * prod 2^(j k_j), on the set of
// the bits with k_j > 0.
void add_expanded_power(Monomials& result, Expression* c, int d, const std::vector<int>& bits,
                        const EnumerationExpression& compositions) {
  int w = static_cast<int>(bits.size());
  for (const std::vector<int>& k : compositions.enumerate_k(d, w)) {
    long long factor = multinomial(d, k);
    std::set<int> monomial;
    for (int j = 0; j < w; ++j) {
      factor = product(factor, power_of_two(static_cast<long long>(j) * k[j]));
      if (k[j] != 0) monomial.insert(bits[j]);
    }
    Expression* t = term(factor, c);
    auto found = result.find(monomial);
    if (found == result.end()) result[monomial] = t;
    else found->second = sum(found->second, t);
  }
}

}  // namespace

std::pair<BitTable, Expression*> EnumerationExpression::expand(const BitWidths& widths) const {
  if (periodic()) return expand_values(periodic_val, modulo_parameter, widths);
  if (!polynomial()) stop(std::cerr, "EnumerationExpression:expand: not a polynomial");
  if (!variable->is_a_parameter())
    stop(std::cerr, "EnumerationExpression:expand: polynomial variable is not a parameter");
  int v = variable->parameter_rank;
  std::vector<int> bits = bit_parameters(v, widths);
  Monomials result;
  for (size_t d = 0; d < coefficient.size(); ++d) {
    Expression* c = coefficient[d]->expand(widths).second;
    add_expanded_power(result, c, static_cast<int>(d), bits, *this);
    delete c;
  }
  Expression* expanded = new EnumerationExpression(result);
  del(result);
  return std::make_pair(BitTable{{v, bits}}, expanded);
}

// ---------------------------------------------------------------------------
// VHDL text

namespace {

std::string lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// VHDL names are case-insensitive: a fresh name must differ from every
// registered counter and parameter name in that sense.
int is_registered(const std::string& candidate) {
  for (const auto& entry : counter_rank)
    if (lower(entry.first) == candidate) return 1;
  for (const auto& entry : parameter_rank)
    if (lower(entry.first) == candidate) return 1;
  return 0;
}

// vhdl_<k> from a process-wide sequence, so that the nested texts of one
// printing never reuse a name.
std::string fresh_vhdl_name() {
  static int next = 0;
  std::string name;
  do name = "vhdl_" + std::to_string(next++);
  while (is_registered(name));
  return name;
}

std::string declared(std::ostream& decl) {
  std::string x = fresh_vhdl_name();
  decl << "  variable " << x << " : integer;\n";
  return x;
}

// The VHDL value of a coefficient: the variable of a nested enumeration's
// text, or the coefficient's own text. VHDL's integer division would
// truncate a fraction silently, so a fraction must be a whole number.
std::string coefficient_text(const Expression* c, std::ostream& sout, std::ostream& decl) {
  if (c->is_an_enumeration()) return c->print_vhdl(sout, decl);
  if (c->is_constant_fraction() && (c->fd->val == 0 || c->fg->val % c->fd->val != 0))
    stop(std::cerr, "EnumerationExpression: print_vhdl: non-integer coefficient: " +
                        expression_text(*c));
  return expression_text(*c);
}

void print_bit_test(std::ostream& sout, const std::set<int>& monomial) {
  sout << "  if(";
  const char* separator = "";
  for (int r : monomial) {
    sout << separator << get_parameter_string(r) << " = 1";
    separator = " and ";
  }
  sout << ") then\n";
}

}  // namespace

std::string EnumerationExpression::print_vhdl(std::ostream& sout, std::ostream& decl) const {
  if (periodic()) stop(std::cerr, "Periodic numbers not yet handled!");
  if (polynomial()) stop(std::cerr, "Monovariate polynomials not yet handled!");
  if (!multivariate()) stop(std::cerr, "EnumerationExpression: print_vhdl: not an enumeration");
  if (multivariate_coefficient.empty())
    stop(std::cerr, "EnumerationExpression: print_vhdl: empty monom");
  std::vector<std::string> names;
  for (const auto& entry : multivariate_coefficient) {
    std::string c = coefficient_text(entry.second, sout, decl);
    std::string x = declared(decl);
    names.push_back(x);
    if (entry.first.empty()) {
      sout << "  " << x << " := " << c << ";\n\n";
      continue;
    }
    print_bit_test(sout, entry.first);
    sout << "    " << x << " := " << c << ";\n";
    sout << "  else\n";
    sout << "    " << x << " := 0;\n";
    sout << "  end if;\n\n";
  }
  std::string r = declared(decl);
  sout << "  " << r << " := ";
  for (size_t k = 0; k < names.size(); ++k) sout << (k ? " + " : "") << names[k];
  sout << ";\n\n";
  return r;
}

std::ostream& operator<<(std::ostream& os, const BitTable& table) {
  for (const auto& entry : table) {
    os << get_parameter_string(entry.first) << " -> [";
    for (int bit : entry.second) os << get_parameter_string(bit) << " ";
    os << "]" << std::endl;
  }
  return os;
}
