#include <gtest/gtest.h>

#include <cctype>
#include <numeric>
#include <random>
#include <sstream>

#include "CoreTest.h"
#include "EnumerationExpression.h"
#include "PolylibWrapper.h"

namespace {

typedef std::map<std::set<int>, Expression*> Monomials;
typedef std::vector<std::vector<int>> Vectors;

// An exact fraction of small values, for the oracle.
struct Fraction {
  long long n, d;
};

Fraction reduced(long long n, long long d) {
  long long g = std::gcd(n, d);
  if (d < 0) g = -g;
  return {n / g, d / g};
}

Fraction operator+(Fraction a, Fraction b) { return reduced(a.n * b.d + b.n * a.d, a.d * b.d); }
Fraction operator*(Fraction a, Fraction b) { return reduced(a.n * b.n, a.d * b.d); }
bool same(Fraction a, Fraction b) { return a.n * b.d == b.n * a.d; }

// Constants, constant fractions and their sums and products.
Fraction value(const Expression* e) {
  if (e->is_constant()) return {e->val, 1};
  if (e->is_op(DIV)) return reduced(value(e->fg).n * value(e->fd).d, value(e->fg).d * value(e->fd).n);
  if (e->is_op(PLUS)) return value(e->fg) + value(e->fd);
  if (e->is_op(TIMES)) return value(e->fg) * value(e->fd);
  ADD_FAILURE() << "unexpected coefficient " << text(e);
  return {0, 1};
}

// The multivariate polynomial at 0/1 values of its bit parameters.
Fraction value_at_bits(const EnumerationExpression* m, const std::map<int, int>& bits) {
  Fraction sum{0, 1};
  for (const auto& entry : m->multivariate_coefficient) {
    long long product = 1;
    for (int r : entry.first) product *= bits.at(r);
    sum = sum + value(entry.second) * Fraction{product, 1};
  }
  return sum;
}

Fraction polynomial_at(const std::vector<Expression*>& c, long long x) {
  Fraction sum{0, 1}, power{1, 1};
  for (const Expression* a : c) {
    sum = sum + value(a) * power;
    power = power * Fraction{x, 1};
  }
  return sum;
}

class ExpansionTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_parameter_rank("N");
  }

  // Takes the coefficients over.
  EnumerationExpression* polynomial(std::vector<Expression*> c) {
    Expression* n = par("N");
    EnumerationExpression* p = new EnumerationExpression(c, n);
    del(c);
    delete n;
    return p;
  }

  EnumerationExpression* polynomial(std::vector<int> c) {
    std::vector<Expression*> leaves;
    for (int x : c) leaves.push_back(new Expression(x));
    return polynomial(leaves);
  }

  // The expansion of p over w bits of N, p freed; the table is kept.
  EnumerationExpression* expand(EnumerationExpression* p, int w) {
    std::pair<BitTable, Expression*> e = p->expand({{0, w}});
    table = e.first;
    delete p;
    return dynamic_cast<EnumerationExpression*>(e.second);
  }

  // Registers the parameter bit_N_0; its rank.
  int bit_n_0() {
    std::pair<int, Expression*> bit = create_parameter("bit_N", 0);
    delete bit.second;
    return bit.first;
  }

  BitTable table;
};

// ---------------------------------------------------------------------------
// Compositions, the expansion and its arithmetic

TEST_F(ExpansionTest, CompositionsAndMultinomials) {
  EnumerationExpression e;
  EXPECT_EQ(e.enumerate_k(2, 2), (Vectors{{2, 0}, {1, 1}, {0, 2}}));
  EXPECT_EQ(e.enumerate_k(0, 3), (Vectors{{0, 0, 0}}));
  EXPECT_EQ(e.enumerate_k(3, 1), (Vectors{{3}}));
  EXPECT_EQ(e.enumerate_k(3, 2), (Vectors{{3, 0}, {2, 1}, {1, 2}, {0, 3}}));
  EXPECT_EQ(multinomial(0, {0, 0, 0}), 1);
  EXPECT_EQ(multinomial(2, {1, 1}), 2);
  EXPECT_EQ(multinomial(4, {2, 1, 1}), 12);
  EXPECT_EQ(multinomial(20, {10, 10}), 184756);
  EXPECT_EQ(fact(0), 1);
  EXPECT_EQ(fact(12), 479001600);
  EXPECT_STOP_ON_STDERR(fact(13), "EnumerationExpression: fact: overflow");
}

TEST_F(ExpansionTest, PinnedExpansions) {
  EnumerationExpression* linear = expand(polynomial({3, 5}), 2);
  EXPECT_EQ(text(linear), "3 + 5*bit_N_0 + 10*bit_N_1");
  std::ostringstream out;
  out << table;
  EXPECT_EQ(out.str(), "N -> [bit_N_0 bit_N_1 ]\n");
  EnumerationExpression* square = expand(polynomial({0, 0, 1}), 2);
  EXPECT_EQ(text(square), "0 + 1*bit_N_0 + 4*bit_N_0.bit_N_1 + 4*bit_N_1");
  // N²(N+1)/2: every coefficient an integer.
  auto fraction = [](int n, int d) { return new Expression(n, d); };
  EnumerationExpression* half_cube =
      expand(polynomial({fraction(0, 1), fraction(0, 1), fraction(1, 2), fraction(1, 2)}), 2);
  EXPECT_EQ(text(half_cube), "0 + 1*bit_N_0 + 11*bit_N_0.bit_N_1 + 6*bit_N_1");

  // Sums under one monomial: [0, a, b] over one bit puts a + b on {b0}.
  std::vector<std::pair<std::pair<Expression*, Expression*>, std::string>> sums{
      {{fraction(1, 2), fraction(1, 2)}, "1"},
      {{fraction(1, 2), fraction(1, 3)}, "5/6"},
      {{fraction(2, 4), new Expression(1)}, "6/4"},
      {{new Expression(1), fraction(2, 4)}, "6/4"}};
  for (auto& s : sums) {
    EnumerationExpression* e =
        expand(polynomial({new Expression(0), s.first.first, s.first.second}), 1);
    EXPECT_EQ(text(e->multivariate_coefficient.at({1})), s.second);
    delete e;
  }

  // N² over 16 bits: 2^30 fits, N³ does not.
  EnumerationExpression* wide = expand(polynomial({0, 0, 1}), 16);
  int b14 = get_parameter_rank("bit_N_14"), b15 = get_parameter_rank("bit_N_15");
  EXPECT_TRUE(wide->multivariate_coefficient.at({b15})->is_value(1073741824));
  EXPECT_TRUE(wide->multivariate_coefficient.at({b14, b15})->is_value(1073741824));
  EnumerationExpression* cube = polynomial({0, 0, 0, 1});
  EXPECT_STOP_ON_STDERR(delete cube->expand({{0, 16}}).second,
                        "EnumerationExpression: expand: coefficient out of int range");
  for (Expression* x : std::vector<Expression*>{linear, square, half_cube, wide, cube}) delete x;
}

TEST_F(ExpansionTest, ExpansionStops) {
  EnumerationExpression* p = polynomial({1, 2});
  EXPECT_STOP_ON_STDERR(delete p->expand({}).second,
                        "EnumerationExpression: expand: bit width undefined for parameter N");
  EXPECT_STOP_ON_STDERR(delete p->expand({{0, 0}}).second,
                        "EnumerationExpression: expand: bit width must be at least 1 for parameter N");
  Monomials m{{{}, new Expression(1)}};
  EnumerationExpression multi(m);
  del(m);
  EXPECT_STOP_ON_STDERR(delete multi.expand({{0, 1}}).second,
                        "EnumerationExpression:expand: not a polynomial");
  Expression* counter = Expression::from_counter_rank(0);
  std::vector<Expression*> c{new Expression(1)};
  EnumerationExpression in_counter(c, counter);
  EXPECT_STOP_ON_STDERR(delete in_counter.expand({{0, 1}}).second,
                        "EnumerationExpression:expand: polynomial variable is not a parameter");
  // A periodic number expands each value and gives no table.
  std::vector<Expression*> values{p, new Expression(4)};
  EnumerationExpression periodic(values, 0);
  std::pair<BitTable, Expression*> e = periodic.expand({{0, 1}});
  EXPECT_TRUE(e.first.empty());
  EXPECT_EQ(text(e.second), "[ 1 + 2*bit_N_0 4 ]_N");
  delete e.second;
  del(values);
  del(c);
  delete counter;
}

TEST_F(ExpansionTest, ExpansionsEqualThePolynomialAtEveryValue) {
  std::mt19937 g(41);
  std::uniform_int_distribution<int> degree(0, 4), width(1, 4), numerator(-6, 6), denominator(1, 4);
  for (int t = 0; t < 120; ++t) {
    std::vector<Expression*> c;
    for (int d = degree(g); d >= 0; --d) {
      int q = denominator(g);
      c.push_back(q == 1 ? new Expression(numerator(g)) : new Expression(numerator(g), q));
    }
    int w = width(g);
    EnumerationExpression* p = polynomial(clone_ve(c));
    std::pair<BitTable, Expression*> e = p->expand({{0, w}});
    const std::vector<int>& bits = e.first.at(0);
    const EnumerationExpression* m = dynamic_cast<const EnumerationExpression*>(e.second);
    for (long long n = 0; n < (1 << w); ++n) {
      std::map<int, int> at;
      for (int j = 0; j < w; ++j) at[bits[j]] = (n >> j) & 1;
      EXPECT_TRUE(same(value_at_bits(m, at), polynomial_at(c, n))) << text(p) << " N=" << n;
    }
    delete p;
    delete e.second;
    del(c);
  }
}

// ---------------------------------------------------------------------------
// VHDL text

// The names declared ("  variable <name> : integer;"), in order.
std::vector<std::string> declared_names(const std::string& decl) {
  std::vector<std::string> names;
  std::istringstream in(decl);
  std::string variable, name, colon, type;
  while (in >> variable >> name >> colon >> type) {
    EXPECT_EQ(variable + colon + type, "variable:integer;");
    names.push_back(name);
  }
  return names;
}

bool starts_with(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

// 1 when every "<bit> = 1" of an if line holds.
bool test_holds(const std::string& line, const std::map<std::string, long long>& values) {
  std::istringstream items(line.substr(5, line.size() - 5 - 6));  // "  if(" ... ") then"
  std::string name, equals, one, conjunction;
  bool holds = true;
  while (items >> name >> equals >> one) {
    holds = holds && values.at(name) == 1;
    items >> conjunction;
  }
  return holds;
}

// The value of "<integer or name> + ..." without its final ";".
long long sum_of_terms(const std::string& terms, const std::map<std::string, long long>& values) {
  std::istringstream in(terms.substr(0, terms.size() - 1));
  long long sum = 0;
  std::string term;
  while (in >> term) {
    if (term == "+") continue;
    sum += std::isalpha(static_cast<unsigned char>(term[0])) ? values.at(term) : std::stoll(term);
  }
  return sum;
}

// Runs the emitted subset (assignments of integers, names and sums of
// names; if blocks over bits) and returns the value of `result`.
long long run_vhdl(const std::string& code, const std::map<std::string, int>& bits,
                   const std::string& result) {
  std::map<std::string, long long> values(bits.begin(), bits.end());
  std::istringstream in(code);
  std::string line;
  bool taken = true;
  while (std::getline(in, line)) {
    size_t assign = line.find(" := ");
    if (starts_with(line, "  if(")) {
      taken = test_holds(line, values);
    } else if (line == "  else") {
      taken = !taken;
    } else if (line == "  end if;") {
      taken = true;
    } else if (assign != std::string::npos) {
      size_t first = line.find_first_not_of(' ');
      if (taken) values[line.substr(first, assign - first)] = sum_of_terms(line.substr(assign + 4), values);
    } else if (!line.empty()) {
      ADD_FAILURE() << "unexpected line: " << line;
    }
  }
  return values.at(result);
}

// The VHDL text of the multivariate polynomial of m (taken over).
struct Vhdl {
  std::string code;
  std::string result;
  std::vector<std::string> names;
};

Vhdl vhdl_of(Monomials m) {
  EnumerationExpression e(m);
  del(m);
  std::ostringstream sout, decl;
  Vhdl v;
  v.result = e.print_vhdl(sout, decl);
  v.code = sout.str();
  v.names = declared_names(decl.str());
  return v;
}

TEST_F(ExpansionTest, VhdlOfThePartsExamples) {
  int b = bit_n_0();
  Vhdl v = vhdl_of({{{}, new Expression(3)}, {{b}, new Expression(2)}});
  const std::vector<std::string>& x = v.names;
  ASSERT_EQ(x.size(), 3u);
  EXPECT_EQ(v.result, x[2]);
  EXPECT_EQ(v.code, "  " + x[0] + " := 3;\n\n"
                    "  if(bit_N_0 = 1) then\n"
                    "    " + x[1] + " := 2;\n"
                    "  else\n"
                    "    " + x[1] + " := 0;\n"
                    "  end if;\n\n"
                    "  " + x[2] + " := " + x[0] + " + " + x[1] + ";\n\n");
  EXPECT_EQ(std::set<std::string>(x.begin(), x.end()).size(), 3u);

  Vhdl five = vhdl_of({{{}, new Expression(5)}});
  const std::vector<std::string>& y = five.names;
  ASSERT_EQ(y.size(), 2u);
  EXPECT_EQ(five.code, "  " + y[0] + " := 5;\n\n  " + y[1] + " := " + y[0] + ";\n\n");
  // Fresh names never repeat, and skip registered names in any case.
  EXPECT_EQ(x[0].substr(0, 5), "vhdl_");
  int k = std::stoi(y[1].substr(5));
  create_parameter_rank("VHDL_" + std::to_string(k + 1));
  create_counter_rank("vhdl_" + std::to_string(k + 2));
  EXPECT_EQ(vhdl_of({{{}, new Expression(5)}}).names,
            (std::vector<std::string>{"vhdl_" + std::to_string(k + 3), "vhdl_" + std::to_string(k + 4)}));
  // An exact quotient is written as it stands.
  EXPECT_NE(vhdl_of({{{}, new Expression(2, 2)}}).code.find(" := 2/2;"), std::string::npos);
}

TEST_F(ExpansionTest, VhdlComputesIntegerValuedCounts) {
  auto fraction = [](int n, int d) { return new Expression(n, d); };
  std::vector<std::vector<Expression*>> counts{
      {fraction(0, 1), fraction(1, 2), fraction(1, 2)},                  // N(N+1)/2
      {fraction(0, 1), fraction(0, 1), fraction(1, 2), fraction(1, 2)},  // N²(N+1)/2
      {fraction(1, 1), fraction(3, 2), fraction(1, 2)},                  // the triangle count
      {new Expression(-3), new Expression(2), new Expression(0), new Expression(1)}};
  for (std::vector<Expression*>& c : counts) {
    for (int w = 1; w <= 4; ++w) {
      EnumerationExpression* p = polynomial(clone_ve(c));
      std::pair<BitTable, Expression*> e = p->expand({{0, w}});
      const EnumerationExpression* m = dynamic_cast<const EnumerationExpression*>(e.second);
      for (const auto& entry : m->multivariate_coefficient)
        EXPECT_TRUE(entry.second->is_constant()) << text(m);
      std::ostringstream sout, decl;
      std::string r = m->print_vhdl(sout, decl);
      for (long long n = 0; n < (1 << w); ++n) {
        std::map<std::string, int> bits;
        for (int j = 0; j < w; ++j) bits["bit_N_" + std::to_string(j)] = (n >> j) & 1;
        Fraction expected = polynomial_at(c, n);
        EXPECT_EQ(run_vhdl(sout.str(), bits, r) * expected.d, expected.n) << text(p) << " N=" << n;
      }
      delete p;
      delete e.second;
    }
    del(c);
  }
}

TEST_F(ExpansionTest, VhdlNestingAndStops) {
  int b = bit_n_0();
  Monomials inner{{{b}, new Expression(2)}};
  EnumerationExpression* nested = new EnumerationExpression(inner);
  del(inner);
  Vhdl v = vhdl_of({{{}, nested}, {{b}, new Expression(1)}});
  ASSERT_EQ(v.names.size(), 5u);
  // The inner block comes first; the outer's constant term is its result.
  EXPECT_NE(v.code.find("  " + v.names[2] + " := " + v.names[1] + ";\n\n"), std::string::npos);
  EXPECT_EQ(run_vhdl(v.code, {{"bit_N_0", 1}}, v.result), 3);
  EXPECT_EQ(run_vhdl(v.code, {{"bit_N_0", 0}}, v.result), 0);

  std::ostringstream sink;
  std::vector<Expression*> one{new Expression(1)};
  EnumerationExpression periodic(one, 0);
  EXPECT_STOP_ON_STDERR(periodic.print_vhdl(sink, sink), "Periodic numbers not yet handled!");
  EnumerationExpression* line = polynomial({1, 2});
  EXPECT_STOP_ON_STDERR(line->print_vhdl(sink, sink), "Monovariate polynomials not yet handled!");
  EnumerationExpression none;
  EXPECT_STOP_ON_STDERR(none.print_vhdl(sink, sink),
                        "EnumerationExpression: print_vhdl: not an enumeration");
  EnumerationExpression empty{Monomials()};
  EXPECT_STOP_ON_STDERR(empty.print_vhdl(sink, sink), "EnumerationExpression: print_vhdl: empty monom");
  Monomials half{{{}, new Expression(1, 2)}};
  EnumerationExpression fraction(half);
  del(half);
  EXPECT_STOP_ON_STDERR(fraction.print_vhdl(sink, sink),
                        "EnumerationExpression: print_vhdl: non-integer coefficient: 1/2");
  del(one);
  delete line;
}

}  // namespace
