#include <numeric>
#include <random>

#include "CoreTest.h"
#include "Expression.h"
#include "FakeEnumeration.h"
#include "ValueOutOfRange.h"

namespace {

// Counters i (0), j (1), parameter N (0).
class ExpressionAlgebraTest : public IJNLeavesTest {
 protected:
  // The message printed and the text thrown by to_vector().
  std::pair<std::string, std::string> non_affine(const Expression& e) {
    testing::internal::CaptureStdout();
    std::string thrown = "nothing";
    try {
      e.to_vector();
    } catch (const char* message) {
      thrown = message;
    }
    return {testing::internal::GetCapturedStdout(), thrown};
  }
};

Expression* node(operator_t op, int a, int b) {
  Expression l(a), r(b);
  return new Expression(op, &l, &r);
}

Expression* node(operator_t op, const Expression* a, int b) {
  Expression r(b);
  return new Expression(op, a, &r);
}

Expression* node(operator_t op, int a, const Expression* b) {
  Expression l(a);
  return new Expression(op, &l, b);
}

TEST_F(ExpressionAlgebraTest, AffineVectors) {
  Expression* twice_i = node(TIMES, 2, i);
  Expression* n_three = node(TIMES, n, 3);
  Expression sum(PLUS, twice_i, n_three);
  EXPECT_EQ(sum.to_vector(), (std::vector<int>{2, 0, 3, 0}));
  Expression difference(MINUS, n_three, j);
  EXPECT_EQ(difference.to_vector(), (std::vector<int>{0, -1, 3, 0}));
  EXPECT_TRUE(sum.is_positive());
  EXPECT_FALSE(difference.is_positive());
  create_extra_counter_rank("k");
  EXPECT_EQ(sum.to_vector(), (std::vector<int>{2, 0, 0, 3, 0}));
  delete twice_i;
  delete n_three;
}

TEST_F(ExpressionAlgebraTest, NonAffineTreesPrintAndThrow) {
  Expression product(TIMES, i, n);
  EXPECT_EQ(non_affine(product),
            std::make_pair(std::string("Expression::to_vector: Non affine expression\n"),
                           std::string("Expression::to_vector: Non affine expression")));
  Expression* floor = node(FLOOR, i, 2);
  EXPECT_EQ(non_affine(*floor),
            std::make_pair(
                std::string("Expression::to_vector: Non affine expression (newparm?): floor(i,2)\n"),
                std::string("Expression::to_vector: Non affine expression (newparm?)")));
  // Operands are converted first: the innermost node reports.
  Expression* outer = node(FLOOR, &product, 2);
  EXPECT_EQ(non_affine(*outer).second, "Expression::to_vector: Non affine expression");
  Expression* half = node(DIV, 1, 2);
  Expression scaled(TIMES, half, i);
  EXPECT_EQ(non_affine(scaled).first,
            "Expression::to_vector: Non affine expression (newparm?): 1/2\n");
  FakeEnumeration polynomial;
  EXPECT_EQ(non_affine(polynomial).second, "Expression::to_vector: Non affine expression");
  Expression with_polynomial(PLUS, i, &polynomial);
  EXPECT_EQ(non_affine(with_polynomial).second, "Expression::to_vector: Non affine expression");
  del(std::vector<Expression*>{floor, outer, half});
}

// The value that to_vector() found beyond int, "none" when it fit.
std::string value_beyond_int(const Expression& e) {
  try {
    e.to_vector();
  } catch (const ValueOutOfRange& error) {
    return error.value;
  }
  return "none";
}

// A row entry beyond int would wrap into a constraint the input never
// wrote: 2147483646 - N + 3 must not become -2147483647 - N.
TEST_F(ExpressionAlgebraTest, RowEntriesBeyondIntThrowTheirValue) {
  Expression* near_max = node(MINUS, 2147483646, n);
  Expression* beyond = node(PLUS, near_max, 3);
  EXPECT_EQ(value_beyond_int(*beyond), "2147483649");
  Expression* at_max = node(PLUS, near_max, 1);
  EXPECT_EQ(at_max->to_vector(), (std::vector<int>{0, 0, -1, 2147483647}));
  Expression* minus_min = node(MINUS, i, -2147483647 - 1);
  EXPECT_EQ(value_beyond_int(*minus_min), "2147483648");
  Expression* scaled = node(TIMES, 65536, near_max);
  EXPECT_EQ(value_beyond_int(*scaled), "140737488224256");
  Expression* large_i = node(TIMES, i, 1073741824);
  Expression* counter_scaled = node(TIMES, 2, large_i);
  EXPECT_EQ(value_beyond_int(*counter_scaled), "2147483648");
  Expression* j_min = node(PLUS, j, -2147483647 - 1);
  Expression* negated_min = node(TIMES, -1, j_min);
  EXPECT_EQ(value_beyond_int(*negated_min), "2147483648");
  del(std::vector<Expression*>{near_max, beyond, at_max, minus_min, scaled, large_i, counter_scaled, j_min, negated_min});
}

TEST_F(ExpressionAlgebraTest, ChosenColumnsFollowListOrLinearRankOrder) {
  Expression e(std::vector<int>{3, 5, 7, 9});
  EXPECT_EQ(e.to_vector(std::vector<int>{1, 0}, std::vector<int>{0}),
            (std::vector<int>{5, 3, 7, 9}));
  EXPECT_EQ(e.to_vector(std::set<int>{1, 0}, std::set<int>{}), (std::vector<int>{3, 5, 9}));
  EXPECT_EQ(e.to_vector_linear({1, 0}), (std::vector<int>{3, 5}));
  Expression* counters = e.linear_part();
  EXPECT_EQ(text(counters), "(3*i)+(5*j)");
  delete counters;
  Expression* parameters = e.param_part();
  EXPECT_EQ(text(parameters), "7*N");
  Expression* normal = e.simplify_matrix();
  EXPECT_TRUE(*normal == e);
  Expression* shifted = node(PLUS, &e, 4);
  EXPECT_TRUE(shifted->is_translation(&e));
  EXPECT_FALSE(shifted->is_translation(parameters));
  del(std::vector<Expression*>{parameters, normal, shifted});
}

TEST_F(ExpressionAlgebraTest, StructureQueries) {
  Expression* a = node(DIV, i, 2);
  Expression* b = node(DIV, n, 3);
  Expression sum(PLUS, a, b);
  Expression outer(DIV, &sum, j);
  std::vector<Expression*> divs = outer.get_divs();
  ASSERT_EQ(divs.size(), 3u);
  EXPECT_EQ(divs[0], outer.fg->fg);
  EXPECT_EQ(divs[1], outer.fg->fd);
  EXPECT_EQ(divs[2], &outer);
  EXPECT_EQ(outer.get_counters(), (std::set<int>{0, 1}));
  EXPECT_EQ(outer.get_parameters(), std::set<int>{0});
  Expression max_ij(MAX, i, j);
  Expression max3(MAX, &max_ij, n);
  std::vector<Expression*> terms = max3.get_max_terms();
  ASSERT_EQ(terms.size(), 3u);
  EXPECT_EQ(text(terms[0]) + text(terms[1]) + text(terms[2]), "ijN");
  del(terms);
  del(std::vector<Expression*>{a, b});
}

// A random affine-or-not tree over i, j, N and small constants.
Expression* random_tree(std::mt19937& random, int depth, const std::vector<Expression*>& leaves) {
  if (depth == 0 || random() % 3 == 0) {
    int pick = random() % (leaves.size() + 1);
    if (pick == static_cast<int>(leaves.size())) return new Expression(static_cast<int>(random() % 7) - 3);
    return leaves[pick]->clone();
  }
  static const operator_t ops[] = {PLUS, MINUS, TIMES};
  Expression* l = random_tree(random, depth - 1, leaves);
  Expression* r = random_tree(random, depth - 1, leaves);
  Expression* made = new Expression(ops[random() % 3], l, r);
  delete l;
  delete r;
  return made;
}

TEST_F(ExpressionAlgebraTest, RenamingsAndSubstitutionsAgreeWithEvaluation) {
  std::mt19937 random(5);
  create_parameter_rank("M");
  Expression* m = par("M");
  for (int trial = 0; trial < 100; trial++) {
    Expression* e = random_tree(random, 4, {i, j, n, m});
    std::map<int, int> counters{{0, 2}, {1, -1}}, parameters{{0, 3}, {1, 4}};
    int value = e->evaluate_int(counters, parameters);
    // Swap i and j, and N and M, both ways round.
    Expression* swapped = e->counters_to_counters({{0, 1}, {1, 0}});
    EXPECT_EQ(swapped->evaluate_int({{0, -1}, {1, 2}}, parameters), value);
    Expression* renamed = e->parameters_to_parameters({{0, 1}, {1, 0}});
    EXPECT_EQ(renamed->evaluate_int(counters, {{0, 4}, {1, 3}}), value);
    Expression* as_parameters = e->counters_to_parameters({{0, 2}});
    EXPECT_EQ(as_parameters->evaluate_int({{1, -1}}, {{0, 3}, {1, 4}, {2, 2}}), value);
    Expression* back = as_parameters->parameters_to_counters({{2, 0}});
    EXPECT_EQ(back->evaluate_int(counters, parameters), value);
    Expression* shifted_i = node(PLUS, j, 3);  // i := j + 3
    Expression* substituted = e->substitute_counters({{0, shifted_i}});
    EXPECT_EQ(substituted->evaluate_int({{1, -1}}, parameters),
              e->evaluate_int({{0, 2}, {1, -1}}, parameters));
    Expression* doubled_n = node(TIMES, 2, m);  // N := 2M
    Expression* in_m = e->substitute_parameters({{0, doubled_n}});
    EXPECT_EQ(in_m->evaluate_int(counters, {{1, 4}}), e->evaluate_int(counters, {{0, 8}, {1, 4}}));
    del(std::vector<Expression*>{e, swapped, renamed, as_parameters, back, shifted_i, substituted,
                                 doubled_n, in_m});
  }
  delete m;
}

TEST_F(ExpressionAlgebraTest, ParameterRenamingKeepsParametersWhenACounterSharesTheName) {
  create_parameter_rank("n");
  delete var("n");
  Expression* renamed = n->parameters_to_parameters({{0, 1}});
  EXPECT_TRUE(renamed->is__parameter(1));
  Expression* moved = n->parameters_to_counters({{0, 1}});
  EXPECT_TRUE(moved->is__counter(1));
  del(std::vector<Expression*>{renamed, moved});
}

TEST_F(ExpressionAlgebraTest, SimplifyRules) {
  Expression* zeros = node(PLUS, 0, 0);
  Expression* one_x = node(TIMES, 1, i);
  Expression two_pass(PLUS, zeros, one_x);
  two_pass.to_vector();
  Expression* once = two_pass.one_pass_simplify();
  EXPECT_EQ(text(once), "0+i");
  Expression* simplified = two_pass.simplify();
  EXPECT_EQ(text(simplified), "i");
  EXPECT_EQ(simplified->has_vector, 1);
  EXPECT_EQ(simplified->vec, two_pass.vec);
  Expression* minus_zero = node(MINUS, i, 0);
  Expression* kept = minus_zero->simplify();
  EXPECT_TRUE(*kept == *minus_zero);
  Expression* zero_div = node(DIV, 0, j);
  Expression* folded = zero_div->simplify();
  EXPECT_TRUE(folded->is_value(0));
  Expression* times_zero = node(TIMES, j, 0);
  Expression* zero = times_zero->simplify();
  EXPECT_TRUE(zero->is_value(0));
  Expression* by_one = node(DIV, i, 1);
  Expression* plain = by_one->simplify();
  EXPECT_TRUE(*plain == *i);
  Expression* constants = node(PLUS, 2, 3);
  Expression* unfolded = constants->simplify();
  EXPECT_EQ(text(unfolded), "2+3");
  del(std::vector<Expression*>{zeros, one_x, once, simplified, minus_zero, kept, zero_div, folded,
                               times_zero, zero, by_one, plain, constants, unfolded});
}

TEST_F(ExpressionAlgebraTest, DevelopDistributesAtTheRootOnly) {
  Expression ij(PLUS, i, j);
  Expression* twice = node(TIMES, 2, &ij);
  Expression* developed = twice->develop();
  EXPECT_EQ(text(developed), "(2*i)+(2*j)");
  Expression* nested = node(PLUS, 1, twice);
  Expression* unchanged = nested->develop();
  EXPECT_TRUE(*unchanged == *nested);
  Expression* seven_halves = node(FLOOR, 7, 2);
  Expression* three = seven_halves->develop();
  EXPECT_TRUE(three->is_value(3));
  del(std::vector<Expression*>{twice, developed, nested, unchanged, seven_halves, three});
}

TEST_F(ExpressionAlgebraTest, DevelopKeepsTheValueOfRandomTrees) {
  std::mt19937 random(3);
  for (int trial = 0; trial < 300; trial++) {
    Expression* e = random_tree(random, 4, {i, j, n});
    Expression* developed = e->develop();
    for (int x = -2; x <= 2; x++)
      EXPECT_EQ(developed->evaluate_int({{0, x}, {1, 1 - x}}, {{0, x + 3}}),
                e->evaluate_int({{0, x}, {1, 1 - x}}, {{0, x + 3}}))
          << text(e) << " developed " << text(developed);
    del(std::vector<Expression*>{e, developed});
  }
}

TEST_F(ExpressionAlgebraTest, ScalingFractionsAndDivisions) {
  Expression* s0 = i->scale(0);
  Expression* s1 = i->scale(1);
  Expression* s3 = i->scale(3);
  EXPECT_TRUE(s0->is_value(0));
  EXPECT_TRUE(*s1 == *i);
  EXPECT_EQ(text(s3), "3*i");
  Expression* half_i = node(DIV, i, 2);
  Expression* third_j = node(DIV, j, 3);
  Expression sum(PLUS, half_i, third_j);
  std::pair<Expression*, int> removed = sum.remove_fractions();
  EXPECT_EQ(removed.second, 6);
  EXPECT_EQ(text(removed.first), "(6*(i/2))+(6*(j/3))");
  Expression* no_divs = sum.remove_divs();
  EXPECT_EQ(text(no_divs), "((i*2)+(j*3))+5");
  Expression by_n(DIV, i, n);
  EXPECT_STOP_ON_STDERR(by_n.remove_divs(), "Expression::remove_divs: constant divisor expected: i/N");
  EXPECT_STOP_ON_STDERR(i->scale(std::set<int>{1}), "Expression::scale: expect an EnumerationExpression");
  std::pair<std::map<int, std::vector<int>>, Expression*> expanded = sum.expand({{0, 1}});
  EXPECT_TRUE(expanded.first.empty());
  EXPECT_TRUE(*expanded.second == sum);
  del(std::vector<Expression*>{s0, s1, s3, half_i, third_j, removed.first, no_divs,
                               expanded.second});
}

TEST_F(ExpressionAlgebraTest, IntegerAndFloatingEvaluation) {
  auto value = [](operator_t op, int a, int b) {
    Expression* e = node(op, a, b);
    int result = e->evaluate_int({});
    delete e;
    return result;
  };
  EXPECT_EQ(value(DIV, -7, 2), -3);
  EXPECT_EQ(value(FLOOR, -7, 2), -4);
  EXPECT_EQ(value(CEIL, 7, 2), 4);
  EXPECT_EQ(value(MOD, -7, 2), -1);
  EXPECT_EQ(value(POWER, 2, 10), 1024);
  EXPECT_EQ(value(MAX, -7, 2), 2);
  EXPECT_EQ(i->evaluate_int({}, {}), 0);
  Expression* quotient = node(DIV, i, 4);
  EXPECT_DOUBLE_EQ(quotient->evaluate_double({{0, 2.0}}, {}), 0.5);
  EXPECT_STOP_ON_STDERR(value(DIV, 1, 0), "Expression::evaluate_int: division by zero: 1/0");
  EXPECT_STOP_ON_STDERR(value(MOD, 1, 0), "Expression::evaluate_int: division by zero: 1%0");
  EXPECT_STOP_ON_STDERR(value(FLOOR, 1, 0), "Expression::evaluate_int: division by zero: floor(1,0)");
  Expression* maximum = node(MAX, i, 1);
  EXPECT_STOP_ON_STDERR(maximum->evaluate_double({}),
                        "Expression::evaluate_double: unknown/forbidden operator: max(i,1)");
  del(std::vector<Expression*>{quotient, maximum});
}

TEST_F(ExpressionAlgebraTest, SymbolicEvaluation) {
  Expression* half = node(DIV, 1, 2);
  Expression* third = node(DIV, 1, 3);
  Expression sum(PLUS, half, third);
  Expression* folded = sum.evaluate();
  EXPECT_EQ(text(folded), "5/6");
  Expression* negative = node(DIV, 4, -6);
  Expression* kept_sign = negative->evaluate();
  EXPECT_EQ(text(kept_sign), "2/-3");
  Expression* by_zero = node(DIV, 1, 0);
  EXPECT_STOP_ON_STDERR(by_zero->evaluate(), "Expression::evaluate: unhandled operator: 1/0");
  // Symbolic sides: zero and one are dropped, products by zero are not.
  Expression* zero_plus = node(PLUS, 0, i);
  Expression* i_only = zero_plus->evaluate();
  EXPECT_TRUE(*i_only == *i);
  Expression* times_zero = node(TIMES, 0, i);
  Expression* kept = times_zero->evaluate();
  EXPECT_EQ(text(kept), "0*i");
  Expression* i_plus_n = new Expression(PLUS, i, n);
  Expression* two = new Expression(2);
  Expression* evaluated = i_plus_n->evaluate({{0, two}}, {{0, half}});
  EXPECT_EQ(text(evaluated), "5/2");
  Expression* parameters_only = i_plus_n->evaluate({{0, two}});
  EXPECT_EQ(text(parameters_only), "i+2");
  del(std::vector<Expression*>{half, third, folded, negative, kept_sign, by_zero, zero_plus, i_only,
                               times_zero, kept, i_plus_n, two, evaluated, parameters_only});
}

// The exact value of a folded constant or constant fraction, as n/d.
std::pair<long long, long long> rational(const Expression* e) {
  if (e->is_constant()) return {e->val, 1};
  EXPECT_TRUE(e->is_constant_fraction()) << text(e);
  return {e->fg->val, e->fd->val};
}

bool same_rational(std::pair<long long, long long> a, long long n, long long d) {
  return a.first * d == n * a.second;
}

TEST_F(ExpressionAlgebraTest, FoldsFloorCeilMaxModExactly) {
  for (int a = -12; a <= 12; a++)
    for (int b = -12; b <= 12; b++) {
      Expression l(a), r(b);
      Expression maximum(MAX, &l, &r);
      Expression* m = maximum.evaluate();
      EXPECT_TRUE(m->is_value(std::max(a, b)));
      delete m;
      if (b == 0) continue;
      for (operator_t op : {FLOOR, CEIL, MOD}) {
        Expression e(op, &l, &r);
        Expression* folded = e.evaluate();
        long long expected = op == FLOOR ? floor_div(a, b) : op == CEIL ? -floor_div(-a, b) : a % b;
        EXPECT_TRUE(folded->is_value(expected)) << text(e) << " gave " << text(folded);
        delete folded;
      }
    }
  const int denominators[] = {-3, -2, 2, 3};
  for (int a = -6; a <= 6; a++)
    for (int b : denominators)
      for (int c = -6; c <= 6; c++)
        for (int d : denominators) {
          Expression l(a, b), r(c, d);
          Expression maximum(MAX, &l, &r);
          Expression* m = maximum.evaluate();
          bool left_larger = static_cast<double>(a) / b >= static_cast<double>(c) / d;
          EXPECT_TRUE(left_larger ? same_rational(rational(m), a, b) : same_rational(rational(m), c, d))
              << text(maximum) << " gave " << text(m);
          delete m;
          if (c == 0) continue;
          Expression floor(FLOOR, &l, &r), ceil(CEIL, &l, &r);
          Expression* f = floor.evaluate();
          Expression* g = ceil.evaluate();
          EXPECT_TRUE(f->is_value(floor_div(1LL * a * d, 1LL * b * c))) << text(floor);
          EXPECT_TRUE(g->is_value(-floor_div(-1LL * a * d, 1LL * b * c))) << text(ceil);
          del(std::vector<Expression*>{f, g});
        }
}

TEST_F(ExpressionAlgebraTest, FoldPinsAndStops) {
  Expression* ceil = node(CEIL, -7, 2);
  Expression* minus_three = ceil->evaluate();
  EXPECT_TRUE(minus_three->is_value(-3));
  Expression* two_thirds = node(DIV, 2, -3);
  Expression* maximum = node(MAX, two_thirds, 0);
  Expression* zero = maximum->evaluate();
  EXPECT_TRUE(zero->is_value(0));
  Expression* squared = node(POWER, two_thirds, 2);
  Expression* four_ninths = squared->evaluate();
  EXPECT_EQ(text(four_ninths), "4/9");
  Expression* inverse = node(POWER, 2, -2);
  Expression* quarter = inverse->evaluate();
  EXPECT_EQ(text(quarter), "1/4");
  Expression* floor_by_zero = node(FLOOR, 1, 0);
  EXPECT_STOP_ON_STDERR(floor_by_zero->evaluate(), "Expression::evaluate: unhandled operator: floor(1,0)");
  Expression* mod_fraction = node(MOD, two_thirds, 2);
  EXPECT_STOP_ON_STDERR(mod_fraction->evaluate(), "Expression::evaluate: unhandled operator: (2/-3)%2");
  Expression* huge = node(POWER, 10, 12);
  EXPECT_STOP_ON_STDERR(huge->evaluate(), "Expression::evaluate: unhandled operator: 10^12");
  del(std::vector<Expression*>{ceil, minus_three, two_thirds, maximum, zero, squared, four_ninths,
                               inverse, quarter, floor_by_zero, mod_fraction, huge});
}

TEST_F(ExpressionAlgebraTest, NumberFunctions) {
  for (int a = 1; a <= 40; a++)
    for (int b = 1; b <= 40; b++) {
      EXPECT_EQ(gcd(a, b), std::gcd(a, b));
      EXPECT_EQ(lcm(a, b), std::lcm(a, b));
    }
  EXPECT_EQ(gcd(1000000007, 2), 1);
  EXPECT_STOP_ON_STDERR(gcd(0, 3), "Expression: gcd: negative operand");
  EXPECT_STOP_ON_STDERR(lcm(4, -1), "lcm: negative numbers");
  int n = 4, d = -6;
  simplify_fraction(n, d);
  EXPECT_EQ(std::make_pair(n, d), std::make_pair(2, -3));
  n = -4, d = -6;
  simplify_fraction(n, d);
  EXPECT_EQ(std::make_pair(n, d), std::make_pair(2, 3));
  n = -4, d = 6;
  simplify_fraction(n, d);
  EXPECT_EQ(std::make_pair(n, d), std::make_pair(-2, 3));
  n = 0, d = 6;
  simplify_fraction(n, d);
  EXPECT_EQ(std::make_pair(n, d), std::make_pair(0, 6));
  int zero = 0;
  EXPECT_STOP_ON_STDERR(simplify_fraction(n, zero), "Expression::simplify_fraction: */0");
}

TEST_F(ExpressionAlgebraTest, CheckFindsSharedSubtrees) {
  Expression sound(PLUS, i, j);
  EXPECT_EQ(sound.check().size(), 2u);
  Expression* shared = new Expression(PLUS, i, j);
  delete shared->fd;
  shared->fd = shared->fg;
  std::string thrown;
  try {
    shared->check();
  } catch (const char* message) {
    thrown = message;
  }
  EXPECT_EQ(thrown, "Expression::check: interference found");
  shared->fd = nullptr;
  delete shared;
  try {
    union_and_check({i}, {j, i});
  } catch (const char* message) {
    thrown = message;
  }
  EXPECT_EQ(thrown, "union_and_check: interference found");
}

TEST_F(ExpressionAlgebraTest, OrderingByVectorOrByTextWithDivisions) {
  Expression* a = node(PLUS, i, 1);
  Expression* b = node(PLUS, i, 2);
  const Expression& ca = *a;
  const Expression& cb = *b;
  EXPECT_TRUE(ca < cb);
  EXPECT_FALSE(cb < ca);
  EXPECT_FALSE(ca < ca);
  Expression* half = node(DIV, i, 2);
  const Expression& ch = *half;
  EXPECT_EQ(ch < ca, std::string("i/2") < std::string("i+1"));
  del(std::vector<Expression*>{a, b, half});
}

TEST_F(ExpressionAlgebraTest, EnumerationLeavesAnswerThroughTheVirtualSlots) {
  FakeEnumeration polynomial;
  Expression* three_p = node(TIMES, 3, &polynomial);
  Expression* developed = three_p->develop();
  EXPECT_EQ(text(developed), "3*P");
  Expression* p_two = node(TIMES, &polynomial, 2);
  Expression* mirrored = p_two->develop();
  EXPECT_EQ(text(mirrored), "2*P");
  Expression sum(PLUS, i, &polynomial);
  EXPECT_EQ(text(sum), "i+(1*P)");
  Expression* renamed = sum.counters_to_counters({{0, 1}});
  EXPECT_EQ(text(renamed), "j+(1*P)");
  EXPECT_TRUE(renamed->fd->is_an_enumeration());
  del(std::vector<Expression*>{three_p, developed, p_two, mirrored, renamed});
}

}  // namespace
