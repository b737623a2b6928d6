#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

#include "CoreTest.h"
#include "EnumerationExpression.h"
#include "PointSets.h"
#include "PolylibWrapper.h"
#include "Sampling.h"

namespace {

typedef std::map<std::set<int>, Expression*> Monomials;

// One piece of a count: its validity rows [flag | parameters | constant] and
// its quasi-polynomial read back as an expression.
struct Piece {
  Rows domain;
  Expression* count;
};

// The pieces of the count of m (rows [flag | counters | parameters | 1]),
// read from the counting records, which are released at once.
std::vector<Piece> count_pieces(const Rows& m, int nb_counters) {
  YEB_Enumeration* e = PolylibWrapper::volume(m, nb_counters);
  std::vector<Piece> pieces;
  for (YEB_Enumeration* cell = e; cell != nullptr; cell = cell->next) {
    Piece p;
    for (int i = 0; i < cell->nb_row; ++i)
      p.domain.emplace_back(cell->ValidityDomain[i], cell->ValidityDomain[i] + cell->nb_col);
    p.count = Expression::from_evalue(cell->EP);
    pieces.push_back(p);
  }
  free_enumeration(e);
  return pieces;
}

void release(std::vector<Piece>& pieces) {
  for (Piece& p : pieces) delete p.count;
}

// Every row holds at x, inequalities strictly.
bool strictly_inside(const Rows& domain, const Point& x) {
  for (const std::vector<int>& row : domain) {
    long long v = row.back();
    for (size_t k = 0; k < x.size(); ++k) v += static_cast<long long>(row[k + 1]) * x[k];
    if (row[0] == 0 ? v != 0 : v <= 0) return false;
  }
  return true;
}

Expression* value_leaf(int v) { return new Expression(v); }

class EnumerationTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_parameter_rank("N");
    create_parameter_rank("M");
  }

  // The polynomial with these constant coefficients in the parameter N.
  EnumerationExpression* polynomial(std::vector<int> coefficients) {
    std::vector<Expression*> c;
    for (int x : coefficients) c.push_back(value_leaf(x));
    Expression* n = par("N");
    EnumerationExpression* p = new EnumerationExpression(c, n);
    del(c);
    delete n;
    return p;
  }

  EnumerationExpression* periodic(std::vector<int> values, int parameter) {
    std::vector<Expression*> v;
    for (int x : values) v.push_back(value_leaf(x));
    EnumerationExpression* p = new EnumerationExpression(v, parameter);
    del(v);
    return p;
  }

  // Takes the coefficients over.
  EnumerationExpression* multivariate(Monomials m) {
    EnumerationExpression* p = new EnumerationExpression(m);
    del(m);
    return p;
  }
};

// ---------------------------------------------------------------------------
// Readers against the counting records and brute force

TEST_F(EnumerationTest, FixedShapesReadAndEvaluate) {
  // 0 <= j <= i <= N over [i, j | N, M | 1].
  std::vector<Piece> triangle = count_pieces({{1, 0, 1, 0, 0, 0}, {1, 1, -1, 0, 0, 0},
                                              {1, -1, 0, 1, 0, 0}},
                                             2);
  ASSERT_EQ(triangle.size(), 1u);
  EXPECT_EQ(text(triangle[0].count), "1/1 + 3/2*N + 1/2*N\xC2\xB2");
  EXPECT_EQ(triangle[0].count->evaluate_int({{0, 2}}), 6);
  release(triangle);

  // 0 <= 2i <= N: a periodic constant term; PolyLib's quasi-polynomial gives
  // -1 at N = -3.
  std::vector<Piece> even = count_pieces({{1, 2, 0, 0, 0}, {1, -2, 1, 0, 0}}, 1);
  ASSERT_EQ(even.size(), 1u);
  EXPECT_EQ(text(even[0].count), "[ 1/1 1/2 ]_N + 1/2*N");
  EXPECT_EQ(even[0].count->evaluate_int({{0, 3}}), 2);
  EXPECT_EQ(even[0].count->evaluate_int({{0, -3}}), -1);
  release(even);

  // 0 <= 3i <= N, 0 <= j <= i: intermediate powers pass 32 bits.
  std::vector<Piece> thirds = count_pieces(
      {{1, 3, 0, 0, 0, 0}, {1, -3, 0, 1, 0, 0}, {1, 0, 1, 0, 0, 0}, {1, 1, -1, 0, 0, 0}}, 2);
  ASSERT_EQ(thirds.size(), 1u);
  EXPECT_EQ(thirds[0].count->evaluate_int({{0, 30000}}), 50015001);
  EXPECT_EQ(thirds[0].count->evaluate_int({{0, -1}}), 0);
  release(thirds);

  // 0 <= i <= N, 0 <= j <= M: a polynomial in N whose coefficients are
  // polynomials in M.
  std::vector<Piece> box = count_pieces(
      {{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, 0}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 1, 0}}, 2);
  ASSERT_EQ(box.size(), 1u);
  EnumerationExpression* outer = dynamic_cast<EnumerationExpression*>(box[0].count);
  ASSERT_NE(outer, nullptr);
  ASSERT_TRUE(outer->is_polynomial);
  EXPECT_TRUE(outer->variable->is__parameter(0));
  for (Expression* c : outer->coefficient) EXPECT_EQ(c->get_class(), "polynomial");
  EXPECT_EQ(box[0].count->evaluate_int({{0, 3}, {1, 4}}), 20);
  release(box);

  // 0 <= i <= N, i <= M: min(N, M) + 1 points, in two pieces.
  std::vector<Piece> corner =
      count_pieces({{1, 1, 0, 0, 0}, {1, -1, 1, 0, 0}, {1, -1, 0, 1, 0}}, 1);
  EXPECT_EQ(corner.size(), 2u);
  for (int n = 0; n <= 5; ++n)
    for (int m = 0; m <= 5; ++m)
      for (Piece& p : corner) {
        if (!satisfies(p.domain, {n, m})) continue;
        EXPECT_EQ(p.count->evaluate_int({{0, n}, {1, m}}), std::min(n, m) + 1) << n << " " << m;
      }
  release(corner);
}

TEST_F(EnumerationTest, RandomCountsAgreeWithBruteForce) {
  std::mt19937 g(23);
  std::uniform_int_distribution<int> coef(-3, 3), extra(1, 2), kind(0, 3);
  int evaluations = 0;
  for (int t = 0; t < sampled(300); ++t) {
    // 0 <= i, j <= N over [i, j | N, M | 1], plus one or two random rows.
    Rows m{{1, 1, 0, 0, 0, 0}, {1, 0, 1, 0, 0, 0}, {1, -1, 0, 1, 0, 0}, {1, 0, -1, 1, 0, 0}};
    for (int k = extra(g); k > 0; --k)
      m.push_back({kind(g) == 0 ? 0 : 1, coef(g), coef(g), coef(g), 0, coef(g)});
    std::vector<Piece> pieces = count_pieces(m, 2);
    for (int n = 0; n <= 12; ++n) {
      long long points = 0;
      for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) points += satisfies(m, {i, j, n, 0});
      bool some_cell = false, some_equal = false;
      for (Piece& p : pieces) {
        if (!satisfies(p.domain, {n, 0})) continue;
        some_cell = true;
        int value = p.count->evaluate_int({{0, n}});
        ++evaluations;
        some_equal = some_equal || value == points;
        // PolyLib may err on a boundary shared with another piece, never
        // strictly inside one.
        if (strictly_inside(p.domain, {n, 0})) {
          EXPECT_EQ(value, points) << t << " N=" << n;
        }
        // The symbolic evaluation folds to the same integer.
        Expression at(n);
        Expression* folded = p.count->evaluate({{0, &at}});
        EXPECT_TRUE(folded->is_value(value)) << text(folded) << " " << value;
        delete folded;
      }
      if (points > 0) {
        EXPECT_TRUE(some_cell) << t << " N=" << n;
        EXPECT_TRUE(some_equal) << t << " N=" << n;
      }
    }
    release(pieces);
  }
  EXPECT_GT(evaluations, sampled(1500));
}

TEST_F(EnumerationTest, ReaderStops) {
  YEB_evalue wide{1, {0}};
  wide.x.n = 1LL << 40;
  EXPECT_STOP_ON_STDOUT(delete Expression::from_evalue(&wide),
                        "Expression::from_evalue: value out of int range");
  wide.x.n = 1;
  wide.d = -(1LL << 40);
  EXPECT_STOP_ON_STDOUT(delete Expression::from_evalue(&wide),
                        "Expression::from_evalue: value out of int range");
  YEB_evalue one{1, {1}};
  YEB_evalue* entries[] = {&one, &one};
  YEB_enode evector{YEB_evector, 2, 1, entries};
  EXPECT_STOP_ON_STDOUT(delete Expression::from_enode(&evector),
                        "Expression::from_enode: evector (!) not handled");

  // The variable is the parameter even when a counter has its name.
  create_counter_rank("N");
  YEB_enode line{YEB_polynomial, 2, 1, entries};
  Expression* p = Expression::from_enode(&line);
  EnumerationExpression* e = dynamic_cast<EnumerationExpression*>(p);
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->variable->is__parameter(0));
  // A single coefficient is folded; a fraction as stored is not reduced.
  YEB_evalue half{4, {2}};
  YEB_evalue* single[] = {&half};
  YEB_enode constant{YEB_polynomial, 1, 0, single};
  Expression* folded = Expression::from_enode(&constant);
  EXPECT_EQ(text(folded), "1/2");
  Expression* stored = Expression::from_evalue(&half);
  EXPECT_EQ(text(stored), "2/4");
  delete p;
  delete folded;
  delete stored;
}

// ---------------------------------------------------------------------------
// The forms and their operations

TEST_F(EnumerationTest, EvaluationCases) {
  EnumerationExpression* p = periodic({1, 2}, 0);
  EXPECT_EQ(text(p), "[ 1 2 ]_N");
  EXPECT_EQ(p->evaluate_int({{0, 5}}), 2);
  EXPECT_EQ(p->evaluate_int({{0, 4}}), 1);
  EXPECT_EQ(p->evaluate_int(std::map<int, int>()), 1);
  EXPECT_EQ(p->evaluate_int({{0, -3}}), 2);
  EXPECT_EQ(p->evaluate_double({{0, -3.5}}), 2.0);
  EnumerationExpression* line = polynomial({1, 2});
  EXPECT_EQ(line->evaluate_int({{0, 3}}), 7);
  EnumerationExpression* identity = polynomial({0, 1});
  EXPECT_EQ(identity->evaluate_double({{0, 2.5}}), 2.0);
  EXPECT_EQ(identity->evaluate_double({{0, -2.5}}), -2.0);
  EnumerationExpression* cubic = polynomial({1, 2, 3, 4});
  EXPECT_EQ(text(cubic), "1 + 2*N + 3*N\xC2\xB2 + 4*N^3");
  // Beyond int: a stop, not a wrapped value.
  EXPECT_STOP_ON_STDERR(cubic->evaluate_int({{0, 1000}}),
                        "EnumerationExpression: value out of int range");
  EnumerationExpression* big = polynomial({0, 0, 0, 0, 0, 0, 0, 1});
  EXPECT_STOP_ON_STDERR(big->evaluate_int({{0, 1 << 20}}),
                        "EnumerationExpression: arithmetic overflow");
  EnumerationExpression* none = periodic({}, 0);
  EXPECT_STOP_ON_STDERR(none->evaluate_int({{0, 1}}),
                        "EnumerationExpression: periodic number without values");
  EXPECT_STOP_ON_STDERR(none->evaluate_double({{0, 1}}),
                        "EnumerationExpression: periodic number without values");
  EXPECT_STOP_ON_STDERR(delete none->evaluate(), "EnumerationExpression: periodic number without values");

  // Symbolic: {0} -> 2, {1} -> 3 at N = 5 is {} -> 10, {1} -> 3.
  EnumerationExpression* two_terms = multivariate({{{0}, value_leaf(2)}, {{1}, value_leaf(3)}});
  EXPECT_EQ(text(two_terms), "2*N + 3*M");
  Expression five(5);
  Expression* at_five = two_terms->evaluate({{0, &five}});
  EXPECT_EQ(text(at_five), "10 + 3*M");
  Expression zero(0);
  Expression* all_set = two_terms->evaluate({{0, &zero}, {1, &five}});
  EXPECT_EQ(all_set->get_class(), "multivariate_polynomial");
  EXPECT_EQ(text(all_set), "15");
  // Symbolic polynomial: folded at a constant, kept at a parameter.
  Expression* one = line->evaluate({{0, &zero}});
  EXPECT_TRUE(one->is_value(1));
  Expression m(std::string("M"));
  Expression* in_m = line->evaluate({{0, &m}});
  EXPECT_EQ(text(in_m), "1 + 2*M");
  Expression* selected = p->evaluate({{0, &five}});
  EXPECT_TRUE(selected->is_value(2));
  Expression* kept = p->evaluate();
  EXPECT_EQ(text(kept), "[ 1 2 ]_N");
  EXPECT_STOP_ON_STDERR(delete p->evaluate({{0, &m}}),
                        "EnumerationExpression: evaluate: periodic value not resolved: [ 1 2 ]_N");
  for (Expression* e : std::vector<Expression*>{p, line, identity, cubic, big, none, two_terms,
                                                at_five, all_set, one, in_m, selected, kept})
    delete e;
}

// Fractions, the factors that scaling puts in front of them and nested
// forms are read without rounding on the way: only the value of the whole
// form is truncated.
TEST_F(EnumerationTest, EvaluationRoundsOnlyTheWholeValue) {
  Expression zero(0), one(1), two(2), three(3);
  Expression half(DIV, &one, &two), three_halves(DIV, &three, &two), third(DIV, &one, &three);
  Expression* n = par("N");
  Expression* m = par("M");
  // N/2 + N²/2 scaled by 2 is N + N²; [1/2 3/2]_N scaled by 2 is [1 3]_N.
  EnumerationExpression triangle({&zero, &half, &half}, n);
  Expression* doubled = triangle.scale(2);
  EXPECT_EQ(doubled->evaluate_int({{0, 2}}), 6);
  EXPECT_EQ(doubled->evaluate_double({{0, 2.0}}), 6.0);
  EnumerationExpression halves({&half, &three_halves}, 0);
  Expression* odd = halves.scale(2);
  EXPECT_EQ(odd->evaluate_int({{0, 1}}), 3);
  EXPECT_EQ(halves.evaluate_double({{0, 1.0}}), 1.5);
  // 1/2 + N/2 whose coefficients are polynomials in M: 1 at N = 1, and
  // 1.25 truncated at N = 1.5.
  EnumerationExpression inner({&half, &zero}, m);
  EnumerationExpression nested({&inner, &inner}, n);
  EXPECT_EQ(nested.evaluate_int({{0, 1}}), 1);
  EXPECT_EQ(nested.evaluate_double({{0, 1.0}}), 1.0);
  EXPECT_EQ(nested.evaluate_double({{0, 1.5}}), 1.0);
  // N/3 + N²/3 at N = 5 is 10; summed in doubles it falls just short.
  EnumerationExpression thirds({&zero, &third, &third}, n);
  EXPECT_EQ(thirds.evaluate_int({{0, 5}}), 10);
  EXPECT_EQ(thirds.evaluate_double({{0, 5.0}}), 10.0);
  for (Expression* e : std::vector<Expression*>{n, m, doubled, odd}) delete e;
}

TEST_F(EnumerationTest, ScalingRenamingAndDevelopment) {
  EnumerationExpression* line = polynomial({1, 2});
  Expression* zero = line->scale(0);
  EXPECT_EQ(zero->get_class(), "Expression");
  EXPECT_TRUE(zero->is_value(0));
  Expression* copy = line->scale(1);
  EXPECT_TRUE(*copy == *line);
  EXPECT_NE(copy, line);
  Expression* tripled = line->scale(3);
  EXPECT_EQ(tripled->evaluate_int({{0, 2}}), 15);
  EnumerationExpression* p = periodic({1, 2}, 0);
  Expression* p3 = p->scale(3);
  EXPECT_EQ(text(p3), "[ 3*1 3*2 ]_N");

  // Monomials that meet are summed.
  EnumerationExpression* m = multivariate({{{}, value_leaf(3)}, {{0}, value_leaf(2)}});
  Expression* joined = m->scale(std::set<int>{0});
  EnumerationExpression* j = dynamic_cast<EnumerationExpression*>(joined);
  ASSERT_EQ(j->multivariate_coefficient.size(), 1u);
  Expression* sum = j->multivariate_coefficient.at({0})->evaluate();
  EXPECT_TRUE(sum->is_value(5));
  EnumerationExpression* two = multivariate({{{0}, value_leaf(2)}, {{1}, value_leaf(3)}});
  Expression* merged = two->parameters_to_parameters({{1, 0}});
  EXPECT_EQ(text(merged), "(2+3)*N");
  Expression* swapped = p->parameters_to_parameters({{0, 1}});
  EXPECT_EQ(text(swapped), "[ 1 2 ]_M");
  Expression* renamed = line->parameters_to_parameters({{0, 1}});
  EXPECT_EQ(text(renamed), "1 + 2*M");
  for (Expression* e : std::vector<Expression*>{line, zero, copy, tripled, p, p3, m, joined, sum,
                                                two, merged, swapped, renamed})
    delete e;
}

// The value of a multivariate polynomial with integer coefficients, nested
// ones included, at 0/1 values of its parameters.
long long bit_value(const Expression* e, const std::map<int, int>& bits) {
  const EnumerationExpression* m = dynamic_cast<const EnumerationExpression*>(e);
  if (m == nullptr) return e->evaluate_int(bits);
  long long sum = 0;
  for (const auto& entry : m->multivariate_coefficient) {
    long long term = bit_value(entry.second, bits);
    for (int r : entry.first) term *= bits.at(r);
    sum += term;
  }
  return sum;
}

TEST_F(EnumerationTest, DevelopFlattensNestedPolynomials) {
  for (int r = 2; r < 6; ++r) create_parameter_rank("b" + std::to_string(r));
  std::mt19937 g(31);
  std::uniform_int_distribution<int> rank(0, 5), coef(-3, 3), size(0, 3), bit(0, 1);
  std::function<Expression*(int)> random_poly = [&](int depth) -> Expression* {
    Monomials m;
    for (int k = size(g); k >= 0; --k) {
      std::set<int> monomial;
      for (int n = size(g); n > 0; --n) monomial.insert(rank(g));
      if (m.count(monomial)) continue;
      m[monomial] = depth > 0 && bit(g) ? random_poly(depth - 1) : value_leaf(coef(g));
    }
    return multivariate(m);
  };
  for (int t = 0; t < 50; ++t) {
    Expression* nested = random_poly(2);
    Expression* flat = nested->develop();
    EnumerationExpression* f = dynamic_cast<EnumerationExpression*>(flat);
    ASSERT_NE(f, nullptr);
    for (const auto& entry : f->multivariate_coefficient)
      EXPECT_FALSE(entry.second->is_an_enumeration()) << text(flat);
    for (int a = 0; a < 8; ++a) {
      std::map<int, int> bits;
      for (int r = 0; r < 6; ++r) bits[r] = bit(g);
      EXPECT_EQ(bit_value(flat, bits), bit_value(nested, bits)) << text(nested);
    }
    delete nested;
    delete flat;
  }
}

TEST_F(EnumerationTest, EqualityIsStructuralAndSymmetric) {
  std::vector<Expression*> forms{
      periodic({1, 2}, 0), periodic({1, 3}, 0), periodic({1, 2}, 1), periodic({1, 2, 1}, 0),
      polynomial({1, 2}), polynomial({1, 3}), polynomial({1, 2, 0}),
      multivariate({{{0}, value_leaf(2)}}), multivariate({{{1}, value_leaf(2)}}),
      multivariate({{{0}, value_leaf(3)}}), new EnumerationExpression()};
  forms.push_back(forms[4]->parameters_to_parameters({{0, 1}}));
  const size_t no_form = 10;
  for (size_t a = 0; a < forms.size(); ++a) {
    Expression* copy = a == no_form ? new EnumerationExpression() : forms[a]->clone();
    EXPECT_TRUE(*copy == *forms[a]) << a;
    delete copy;
    for (size_t b = 0; b < forms.size(); ++b)
      if (a != b) {
        EXPECT_FALSE(*forms[a] == *forms[b]) << a << " " << b;
      }
  }
  // Against base leaves, in both directions. (An object without form keeps
  // the base's constant 0, which the base rule compares as such.)
  std::vector<Expression*> leaves{new Expression(0), new Expression(2), par("N"),
                                  Expression::from_counter_rank(0), new Expression(1, 2)};
  for (size_t a = 0; a < forms.size(); ++a)
    for (Expression* leaf : leaves) {
      EXPECT_FALSE(*forms[a] == *leaf) << a;
      if (a != no_form) {
        EXPECT_FALSE(*leaf == *forms[a]) << a;
      }
    }
  del(forms);
  del(leaves);
}

TEST_F(EnumerationTest, DivisionsAreThoseOfTheParts) {
  Expression* half = new Expression(1, 2);
  Expression* third = new Expression(1, 3);
  EnumerationExpression p({half, third}, 0);
  std::vector<Expression*> divs = p.get_divs();
  ASSERT_EQ(divs.size(), 2u);
  EXPECT_EQ(divs[0], p.periodic_val[0]);
  EXPECT_EQ(divs[1], p.periodic_val[1]);
  Expression* n = par("N");
  EnumerationExpression q({half, n, third}, n);
  divs = q.get_divs();
  ASSERT_EQ(divs.size(), 2u);
  EXPECT_EQ(divs[1], q.coefficient[2]);
  delete half;
  delete third;
  delete n;
}

TEST_F(EnumerationTest, NoFormStopsAndDeletionThroughTheBase) {
  EnumerationExpression none;
  EXPECT_EQ(none.get_class(), "undefined enumeration");
  EXPECT_EQ(text(none), "");
  const char* clone = "EnumerationExpression::clone(): not an enumeration!";
  EXPECT_STOP_ON_STDERR(delete none.clone(), clone);
  EXPECT_STOP_ON_STDERR(delete none.scale(1), clone);
  EXPECT_STOP_ON_STDERR(delete none.develop(), clone);
  EXPECT_STOP_ON_STDERR(delete none.parameters_to_parameters({}),
                        "EnumerationExpression::parameters_to_parameters: not an enumeration");
  EXPECT_STOP_ON_STDERR(delete none.scale(2), "EnumerationExpression: scale(k): not an enumeration");
  EXPECT_STOP_ON_STDERR(delete none.scale(std::set<int>{0}),
                        "EnumerationExpression: scale(set<int>): not a multivariate polynomial: ");
  EnumerationExpression* line = polynomial({1, 2});
  EXPECT_STOP_ON_STDERR(delete line->scale(std::set<int>{0}),
                        "EnumerationExpression: scale(set<int>): not a multivariate polynomial: "
                        "1 + 2*N");
  const char* no_int = "EnumerationExpression::evaluate_int(): not an enumeration!";
  EXPECT_STOP_ON_STDERR(none.evaluate_int({}), no_int);
  EnumerationExpression* m = multivariate({{{0}, value_leaf(2)}});
  EXPECT_STOP_ON_STDERR(m->evaluate_int({}), no_int);
  EXPECT_STOP_ON_STDERR(m->evaluate_double({}),
                        "EnumerationExpression::evaluate_double(): not an enumeration!");
  EXPECT_STOP_ON_STDERR(delete none.evaluate(), "EnumerationExpression::evaluate: not an enumeration");

  // Every form, nested ones included, deleted through the base pointer.
  std::vector<Expression*> all{periodic({1}, 0), line, m, new EnumerationExpression()};
  Expression* nested = new EnumerationExpression(std::vector<Expression*>{all[0], all[1]}, all[2]);
  all.push_back(nested);
  del(all);
}

}  // namespace
