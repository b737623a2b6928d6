#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "Inequation.h"
#include "ValueOutOfRange.h"

namespace {

bool holds_at(const Inequation& c, int vi, int vj, int vn) {
  std::map<int, int> counters{{0, vi}, {1, vj}}, parameters{{0, vn}};
  return holds(c.pred, c.lhs->evaluate_int(counters, parameters),
               c.rhs->evaluate_int(counters, parameters));
}

std::string shown(const Inequation& c) {
  std::ostringstream out;
  out << c;
  return out.str();
}

// Counter i (0) and parameter N (0); j (1) is added by the tests that need it.
class InequationTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_counter_rank("i");
    i = var("i");
    n = par("N");
  }
  void TearDown() override {
    del(std::vector<Expression*>{i, n});
    del(std::list<Inequation*>(made.begin(), made.end()));
  }
  Inequation* keep(Inequation* c) {
    made.push_back(c);
    return c;
  }
  Expression* i;
  Expression* n;
  std::vector<Inequation*> made;
};

TEST_F(InequationTest, ConstantConstraints) {
  Inequation yes(1), no(0);
  EXPECT_EQ(shown(yes), "1 = 1");
  EXPECT_EQ(shown(no), "1 < 1");
  EXPECT_TRUE(yes.is_true());
  EXPECT_FALSE(yes.is_false());
  EXPECT_TRUE(no.is_false());
  EXPECT_EQ(no.to_matrix(), (std::vector<std::vector<int>>{{0, 0, -1}}));
}

TEST_F(InequationTest, RowConstructor) {
  clear_registries();
  create_counter_rank("i");
  Inequation equality(std::vector<int>{0, 1, -2});
  EXPECT_EQ(equality.pred, EQ);
  EXPECT_EQ(shown(equality), "-2+i = 0");
  EXPECT_TRUE(equality.rhs->is_value(0));
  Inequation inequality(std::vector<int>{1, 1, -2});
  EXPECT_EQ(inequality.pred, GREATER_EQ);
  EXPECT_STOP_ON_STDOUT(Inequation(std::vector<int>{2, 1, -2}), "Inequation(vector<int>): bad flag 2");
  EXPECT_STOP_ON_STDOUT(Inequation(std::vector<int>{1, -2}),
                        "Inequation(vector<int>): bad vector size3\n2");
}

TEST_F(InequationTest, RowsOfEachPredicate) {
  EXPECT_EQ(keep(*i < *n)->to_matrix(), (std::vector<std::vector<int>>{{-1, 1, -1}}));
  EXPECT_EQ(keep(*i > *n)->to_matrix(), (std::vector<std::vector<int>>{{1, -1, -1}}));
  EXPECT_EQ(keep(*i <= *n)->to_matrix(), (std::vector<std::vector<int>>{{-1, 1, 0}}));
  EXPECT_EQ(keep(*i >= 2)->to_matrix(), (std::vector<std::vector<int>>{{1, 0, -2}}));
  Inequation equal(EQ, i, n);
  EXPECT_EQ(equal.to_matrix(), (std::vector<std::vector<int>>{{1, -1, 0}, {-1, 1, 0}}));
  Inequation* reversed = keep(3 <= *i);
  EXPECT_TRUE(reversed->lhs->is_value(3));
  EXPECT_EQ(reversed->pred, LESS_EQ);
  EXPECT_EQ(keep(*i == 4)->pred, EQ);
  EXPECT_TRUE(keep(4 == *i)->lhs->is_value(4));
  EXPECT_EQ(keep(1 < *i)->pred, LESS);
  EXPECT_EQ(keep(*i > 1)->pred, GREATER);
  EXPECT_EQ(keep(1 > *i)->pred, GREATER);
  EXPECT_EQ(keep(*i <= 1)->pred, LESS_EQ);
  EXPECT_EQ(keep(1 >= *i)->pred, GREATER_EQ);
  EXPECT_EQ(keep(*i >= *n)->pred, GREATER_EQ);
}

// The value that to_matrix() found beyond int, "none" when it fit.
std::string value_beyond_int(const Inequation& c) {
  try {
    c.to_matrix();
  } catch (const ValueOutOfRange& error) {
    return error.value;
  }
  return "none";
}

// The difference of two sides, and the 1 that makes a strict predicate
// non-strict, may leave int: wrapped, i < INT_MIN would hold everywhere.
// The 1 is taken with the difference, so that i > INT_MIN is a row.
TEST_F(InequationTest, RowsBeyondIntThrowTheirValue) {
  Expression int_min(-2147483647 - 1), int_max(2147483647), near_max(2147483000), minus_thousand(-1000);
  EXPECT_EQ(value_beyond_int(*keep(*i < int_min)), "-2147483649");
  EXPECT_EQ(value_beyond_int(*keep(*i >= int_min)), "2147483648");
  EXPECT_EQ(keep(*i > int_max)->to_matrix(), (std::vector<std::vector<int>>{{1, 0, -2147483647 - 1}}));
  // i - INT_MIN - 1 fits, though its first two terms alone do not.
  EXPECT_EQ(keep(*i > int_min)->to_matrix(), (std::vector<std::vector<int>>{{1, 0, 2147483647}}));
  Expression* sum = new Expression(PLUS, i, &near_max);
  EXPECT_EQ(value_beyond_int(*keep(new Inequation(LESS_EQ, sum, &int_min))), "-4294966648");
  Inequation equal(EQ, sum, &minus_thousand);
  EXPECT_EQ(value_beyond_int(equal), "2147484000");
  delete sum;
}

TEST_F(InequationTest, TrivialTrueFalseEmpty) {
  Expression zero(0), one(1);
  Inequation always(GREATER_EQ, &zero, &zero);
  EXPECT_TRUE(always.is_trivial());
  EXPECT_TRUE(always.is_true());
  Inequation never(GREATER_EQ, &zero, &one);
  EXPECT_TRUE(never.is_false());
  EXPECT_TRUE(never.is_empty());
  EXPECT_FALSE(keep(*i >= 0)->is_trivial());
  Expression half(1, 2);
  Inequation divided(GREATER_EQ, &half, &zero);
  EXPECT_FALSE(divided.is_true());
  EXPECT_FALSE(divided.is_empty());
  Expression two(2);
  Expression floor(FLOOR, n, &two);
  Inequation floored(GREATER_EQ, &floor, &zero);
  testing::internal::CaptureStdout();
  EXPECT_THROW(floored.is_true(), const char*);
  EXPECT_THROW(divided.is_false(), const char*);
  testing::internal::GetCapturedStdout();
}

TEST_F(InequationTest, ImplicationAndEquality) {
  Inequation* nonnegative = keep(*i >= 0);
  Inequation* above_minus_one = keep(*i >= -1);
  EXPECT_TRUE(nonnegative->implies(above_minus_one));
  EXPECT_FALSE(above_minus_one->implies(nonnegative));
  Inequation* is_one = keep(*i == 1);
  Inequation* is_zero = keep(*i == 0);
  EXPECT_FALSE(is_one->implies(is_zero));
  EXPECT_FALSE(is_zero->implies(is_one));
  EXPECT_TRUE(is_one->implies(keep(*i == 1)));
  EXPECT_FALSE(is_one->implies(nonnegative));
  EXPECT_FALSE(nonnegative->implies(is_one));
  EXPECT_TRUE(is_one->equals(keep(*i == 1)));
  EXPECT_FALSE(keep(1 == *i)->equals(is_one));  // only the first rows are compared
  EXPECT_TRUE(nonnegative->equals(keep(0 <= *i)));
  Expression two(2);
  Expression div(DIV, i, &two);
  Inequation divided(GREATER_EQ, &div, &two);
  EXPECT_FALSE(divided.implies(&divided));
  EXPECT_FALSE(divided.equals(&divided));
}

TEST_F(InequationTest, NegationAndItsEqualityStop) {
  Inequation* negated = keep(keep(*i < *n)->negate());
  EXPECT_EQ(shown(*negated), "i >= N");
  EXPECT_EQ(shown(*keep(keep(*i <= *n)->negate())), "i > N");
  EXPECT_EQ(shown(*keep(keep(*i > *n)->negate())), "i <= N");
  Inequation equal(EQ, i, n);
  EXPECT_STOP_ON_STDOUT(equal.negate(), "Inequation::negate: unhandled predicate\ni = N");
}

std::string shown_all(const std::vector<Inequation*>& l) {
  std::string joined;
  for (const Inequation* c : l) joined += (joined.empty() ? "" : " and ") + shown(*c);
  del(std::list<Inequation*>(l.begin(), l.end()));
  return joined;
}

TEST_F(InequationTest, SeparateGivesBoundsOnOneCounter) {
  create_counter_rank("j");
  // Rows are now [i, j, N, constant].
  EXPECT_TRUE(keep(*i >= *n)->separate(1).empty());
  Expression three_i(std::vector<int>{3, 0, -1, 0});
  EXPECT_EQ(shown_all(keep(three_i >= 0)->separate(0)), "i >= ceil(N,3)");
  Expression twice_i(std::vector<int>{2, 0, -1, 3});
  EXPECT_EQ(shown_all(keep(twice_i >= 0)->separate(0)), "i >= ceil(-3+N,2)");
  Expression minus_twice_i(std::vector<int>{-2, 0, 1, 0});
  EXPECT_EQ(shown_all(keep(minus_twice_i >= 0)->separate(0)), "i <= floor(N,2)");
  Inequation equal(EQ, i, n);
  EXPECT_EQ(shown_all(equal.separate(0)), "i >= N and i <= N");
  EXPECT_STOP_ON_STDOUT(equal.separate(2), "Inequation::separate: counter rank out of range: 2");
}


}  // namespace

namespace {

// Random affine constraints over i, j and N, tested on a box of points.
class InequationOracleTest : public IJNTest {
 protected:
  Inequation* draw(std::mt19937& random) {
    auto coefficient = [&random]() { return static_cast<int>(random() % 7) - 3; };
    Expression lhs(std::vector<int>{coefficient(), coefficient(), coefficient(), coefficient()});
    Expression rhs(std::vector<int>{coefficient(), 0, coefficient(), coefficient()});
    return new Inequation(static_cast<predicate_t>(random() % 5), &lhs, &rhs);
  }
  template <class F>
  void for_box(F f) {
    for (int vi = -4; vi <= 4; vi++)
      for (int vj = -4; vj <= 4; vj++)
        for (int vn = -3; vn <= 3; vn++) f(vi, vj, vn);
  }
};

TEST_F(InequationOracleTest, NegationHoldsExactlyWhereTheConstraintFails) {
  std::mt19937 random(23);
  for (int trial = 0; trial < 200; trial++) {
    Inequation* c = draw(random);
    if (c->pred != EQ) {
      Inequation* negated = c->negate();
      for_box([&](int vi, int vj, int vn) {
        EXPECT_NE(holds_at(*c, vi, vj, vn), holds_at(*negated, vi, vj, vn)) << shown(*c);
      });
      delete negated;
    }
    delete c;
  }
}

TEST_F(InequationOracleTest, SeparatedBoundsHoldExactlyWhereTheConstraintHolds) {
  std::mt19937 random(29);
  for (int trial = 0; trial < 200; trial++) {
    Inequation* c = draw(random);
    int counter = random() % 2;
    std::vector<Inequation*> bounds = c->separate(counter);
    if (!bounds.empty()) {
      for_box([&](int vi, int vj, int vn) {
        bool all = true;
        for (const Inequation* bound : bounds) all = all && holds_at(*bound, vi, vj, vn);
        EXPECT_EQ(all, holds_at(*c, vi, vj, vn)) << shown(*c) << " on " << counter;
      });
    }
    del(std::list<Inequation*>(bounds.begin(), bounds.end()));
    delete c;
  }
}

TEST_F(InequationOracleTest, ImplicationIsSound) {
  std::mt19937 random(31);
  int implied = 0;
  for (int trial = 0; trial < 3000; trial++) {
    Inequation* a = draw(random);
    Inequation* b = draw(random);
    if (a->implies(b)) {
      implied++;
      for_box([&](int vi, int vj, int vn) {
        if (holds_at(*a, vi, vj, vn)) {
          EXPECT_TRUE(holds_at(*b, vi, vj, vn)) << shown(*a) << " => " << shown(*b);
        }
      });
    }
    delete a;
    delete b;
  }
  EXPECT_GT(implied, 0);
}

// x pred floor/ceil(a, d) against its rewriting, for every x and a.
TEST_F(InequationOracleTest, FloorAndCeilEliminationKeepsTheIntegerPoints) {
  Expression* x = var("i");
  for (int d = 1; d <= 4; d++)
    for (int a = -10; a <= 10; a++) {
      Expression numerator(a), divisor(d);
      Expression ceil(CEIL, &numerator, &divisor), floor(FLOOR, &numerator, &divisor);
      std::pair<predicate_t, Expression*> forms[] = {
          {GREATER, &ceil}, {GREATER_EQ, &ceil}, {LESS, &floor}, {LESS_EQ, &floor}};
      for (auto form : forms) {
        Inequation original(form.first, x, form.second);
        Inequation rewritten(form.first, x, form.second);
        rewritten.eliminate_floor_and_ceil();
        EXPECT_FALSE(rewritten.rhs->has_ceil_or_floor());
        for (int vx = -10; vx <= 10; vx++)
          EXPECT_EQ(holds_at(original, vx, 0, 0), holds_at(rewritten, vx, 0, 0))
              << shown(original) << " became " << shown(rewritten) << " at " << vx;
      }
    }
  delete x;
}

}  // namespace

namespace {

using InequationFormsTest = InequationTest;

TEST_F(InequationFormsTest, EliminationPinsAndStops) {
  Expression four(4), two(2), one(1), five(5), zero(0);
  Expression ceil_n(CEIL, n, &four);
  Inequation at_least(GREATER_EQ, i, &ceil_n);
  at_least.eliminate_floor_and_ceil();
  EXPECT_EQ(shown(at_least), "4*i >= N");
  Expression half_one(CEIL, &one, &two);
  Inequation above(GREATER, i, &half_one);
  above.eliminate_floor_and_ceil();
  EXPECT_FALSE(holds_at(above, 1, 0, 0));  // x > ceil(1,2) is false at x = 1
  Expression floor_five(FLOOR, &five, &two);
  Inequation below(LESS, i, &floor_five);
  below.eliminate_floor_and_ceil();
  EXPECT_FALSE(holds_at(below, 2, 0, 0));  // x < floor(5,2) is false at x = 2
  Inequation plain(LESS, i, n);
  plain.eliminate_floor_and_ceil();
  EXPECT_EQ(shown(plain), "i < N");
  const std::string prefix = "Inequation::eliminate_floor_and_ceil: ";
  Inequation wrong_ceil(LESS_EQ, i, &ceil_n);
  EXPECT_STOP_ON_STDOUT(wrong_ceil.eliminate_floor_and_ceil(), prefix + "<[=] ceil unhandled");
  Expression floor_n(FLOOR, n, &two);
  Inequation wrong_floor(GREATER, i, &floor_n);
  EXPECT_STOP_ON_STDOUT(wrong_floor.eliminate_floor_and_ceil(), prefix + ">[=] floor unhandled");
  Expression by_zero(CEIL, n, &zero);
  Inequation zero_divisor(GREATER_EQ, i, &by_zero);
  EXPECT_STOP_ON_STDOUT(zero_divisor.eliminate_floor_and_ceil(),
                        prefix + "second argument of ceil must be a positive constant");
  Expression by_n(FLOOR, i, n);
  Inequation symbolic(LESS_EQ, i, &by_n);
  EXPECT_STOP_ON_STDOUT(symbolic.eliminate_floor_and_ceil(),
                        prefix + "second argument of floor must be a positive constant");
  Expression internal(PLUS, &floor_n, &one);
  Inequation nested(LESS_EQ, i, &internal);
  EXPECT_STOP_ON_STDOUT(nested.eliminate_floor_and_ceil(), prefix + "<[=] internal ceil/floorunhandled");
}

TEST_F(InequationFormsTest, TextForms) {
  Expression two(2);
  Expression twice_i(TIMES, &two, i);
  Expression sum(PLUS, &twice_i, n);
  Inequation equal(EQ, &sum, &two);
  EXPECT_EQ(shown(equal), "(2*i)+N = 2");
  std::ostringstream code;
  equal.print_code(code);
  EXPECT_EQ(code.str(), "(2*i)+N == 2");
  testing::internal::CaptureStderr();
  equal.print();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "(2*i)+N = 2");
  expression_print_parenthesis = 1;
  Expression half(DIV, n, &two);
  Inequation bounded(LESS, i, &half);
  std::ostringstream isl_text;
  bounded.print_iscc(isl_text);
  EXPECT_EQ(isl_text.str(), "(i) < floor((N)/2)");
  EXPECT_EQ(shown(bounded), "(i) < ((long long)N)/2");
}

TEST_F(InequationFormsTest, PavuForm) {
  clear_registries();
  create_counter_rank("i");
  Expression* x = var("i");
  std::ostringstream first;
  keep(*x >= 1)->print_pavu(first);
  EXPECT_EQ(first.str(), "(var(\"i\") + (-1) >= 0)");
  Expression* big_n = par("N");
  std::ostringstream second;
  keep(*x <= *big_n)->print_pavu(second);
  Expression row(std::vector<int>{-2, 1, 0});
  keep(row >= 0)->print_pavu(second);
  keep(*x == 0)->print_pavu(second);
  EXPECT_EQ(second.str(),
            "((-1*var(\"i\")) + par(\"N\") + 0 >= 0)((-2*var(\"i\")) + par(\"N\") + 0 >= 0)"
            "(var(\"i\") + 0 >= 0)((-1*var(\"i\")) + 0 >= 0)");
  delete x;
  delete big_n;
}

TEST_F(InequationFormsTest, CopiesRenamingsAndChecks) {
  Inequation* c = keep(*i < *n);
  Inequation* copy = keep(c->clone());
  EXPECT_TRUE(*copy == *c);
  EXPECT_NE(copy->lhs, c->lhs);
  EXPECT_FALSE(*keep(*n > *i) == *c);
  EXPECT_EQ(c->get_counters(), std::set<int>{0});
  EXPECT_EQ(c->get_parameters(), std::set<int>{0});
  EXPECT_TRUE(c->has_parameters() && c->has_variables() && !c->has_div());
  create_counter_rank("j");
  EXPECT_EQ(shown(*keep(c->counters_to_counters({{0, 1}}))), "j < N");
  EXPECT_EQ(shown(*keep(c->counters_to_parameters({{0, 0}}))), "N < N");
  EXPECT_EQ(shown(*keep(c->parameters_to_counters({{0, 1}}))), "i < j");
  create_parameter_rank("M");
  EXPECT_EQ(shown(*keep(c->parameters_to_parameters({{0, 1}}))), "i < M");
  Expression two(2);
  EXPECT_EQ(shown(*keep(c->substitute_counters({{0, &two}}))), "2 < N");
  EXPECT_EQ(shown(*keep(c->substitute_parameters({{0, &two}}))), "i < 2");
  Expression div(DIV, i, &two);
  Inequation divided(LESS, &div, &div);
  EXPECT_EQ(divided.get_divs().size(), 2u);
  EXPECT_EQ(c->check().size(), 2u);
  // One leaf object on both sides.
  Inequation shared(LESS, i, n);
  delete shared.rhs;
  shared.rhs = shared.lhs;
  std::string thrown;
  try {
    shared.check();
  } catch (const char* message) {
    thrown = message;
  }
  EXPECT_EQ(thrown, "Inequation::check: interference found");
  shared.rhs = new Expression(0);
  del(std::list<Inequation*>{nullptr, new Inequation(1)});
}

}  // namespace
