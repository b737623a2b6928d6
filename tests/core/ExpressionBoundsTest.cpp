#include <gtest/gtest.h>

#include "CoreTest.h"
#include "IndexFunction.h"
#include "Options.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Quast.h"

namespace {

// Counters i, j and parameter N; the option table is restored after each
// case.
class BoundsTest : public IJNLeavesTest {
 protected:
  void TearDown() override {
    Options::option.erase("silent-ld-failure");
    IJNLeavesTest::TearDown();
  }

  // Takes ownership of the tree.
  int bound(Expression* e, Polyhedron* P) {
    int b = e->upper_bound(P);
    delete e;
    return b;
  }

  Expression* sum(Expression* a, int k) { return &(*a + k); }
};

TEST_F(BoundsTest, LessComparesAtEveryPoint) {
  Polyhedron* P = poly({*i >= 0, *i <= *n});
  EXPECT_TRUE(i->less(i, P));
  EXPECT_TRUE(i->less(n, P));
  EXPECT_FALSE(n->less(i, P));
  EXPECT_FALSE(i->less(j, P));
  // Counters of any sign count: over -5 <= i <= -1, i <= -1 holds, -1 <= i
  // does not.
  Polyhedron* negative = poly({*i >= -5, *i <= -1});
  Expression minus_one(-1);
  EXPECT_TRUE(i->less(&minus_one, negative));
  EXPECT_FALSE(minus_one.less(i, negative));
  // A division makes the emptiness test syntactic: not shown.
  Expression two(2);
  Expression half(DIV, i, &two);
  EXPECT_FALSE(half.less(i, P));
  delete P;
  delete negative;
}

TEST_F(BoundsTest, MinimumAndMaximumOfLists) {
  Polyhedron* P = poly({*i >= 0, *i <= *n, *j >= 0, *j <= *n});
  Expression* least = Expression::minimum(std::vector<Expression*>{i, n}, P);
  EXPECT_TRUE(*least == *i);
  Expression* greatest = Expression::maximum(std::vector<Expression*>{i, n}, P);
  EXPECT_TRUE(*greatest == *n);
  Expression* single = Expression::minimum(std::vector<Expression*>{j}, P);
  EXPECT_TRUE(*single == *j);
  EXPECT_NE(single, j);
  // Of two that are at most each other, the later wins.
  Expression* i_plus_0 = sum(i, 0);
  Expression* later = Expression::minimum(std::vector<Expression*>{i, i_plus_0}, P);
  EXPECT_EQ(text(later), "i+0");
  Expression* later_max = Expression::maximum(std::vector<Expression*>{i, i_plus_0}, P);
  EXPECT_EQ(text(later_max), "i+0");
  // The set forms see the same elements.
  Expression* from_set = Expression::maximum(std::set<Expression*>{i, n}, P);
  EXPECT_TRUE(*from_set == *n);

  // i and j are unordered.
  EXPECT_EQ(Expression::minimum(std::vector<Expression*>{i, j}, P), nullptr);
  EXPECT_EQ(Expression::maximum(std::vector<Expression*>{i, j}, P), nullptr);
  Options::option["silent-ld-failure"] = 1;
  ChildRun run = run_in_child([&] {
    Expression* found = Expression::minimum(std::vector<Expression*>{i, j}, P);
    std::cout << text(found);
    delete found;
  });
  EXPECT_EQ(run.out, "i");
  EXPECT_EQ(run.err, "Expression::minimum: not found!\n");
  run = run_in_child([&] { delete Expression::maximum(std::vector<Expression*>{i, j}, P); });
  EXPECT_EQ(run.err, "Expression::maximum: not found!\n");

  EXPECT_STOP_ON_STDERR(Expression::minimum(std::vector<Expression*>(), P),
                        "Expression::minimum: empty vector");
  EXPECT_STOP_ON_STDERR(Expression::maximum(std::vector<Expression*>(), P),
                        "Expression::maximum: empty vector");
  for (Expression* e : {least, greatest, single, i_plus_0, later, later_max, from_set}) delete e;
  delete P;
}

TEST_F(BoundsTest, FilterKeepsAgreeingVectors) {
  Expression two(2);
  Expression two_n(TIMES, &two, n);
  Expression* i_n = new Expression(PLUS, i, n);
  Expression* i_2n = new Expression(PLUS, i, &two_n);
  Expression* j_n = new Expression(PLUS, j, n);
  std::set<Expression*> kept = Expression::filter({i_n, i_2n, j_n}, i);
  std::set<std::string> texts;
  for (Expression* e : kept) texts.insert(text(e));
  EXPECT_EQ(texts, (std::set<std::string>{"i+N", "i+(2*N)"}));
  for (Expression* e : kept) EXPECT_TRUE(e != i_n && e != i_2n);
  for (Expression* e : kept) delete e;
  del(std::vector<Expression*>{i_n, i_2n, j_n});
}

TEST_F(BoundsTest, UpperBoundOfMaximaOfAffineTerms) {
  Expression one(1), two(2), five(5);
  Expression half(DIV, i, &two);
  Expression* minus_i = &(-1 * *i);
  Polyhedron* box = poly({*i >= 0, *i <= 10, *j >= 0, *j <= 5});
  EXPECT_EQ(bound(new Expression(MAX, i, j), box), 10);
  Polyhedron* below = poly({*i >= -10, *i <= 0});
  EXPECT_EQ(minus_i->upper_bound(below), 10);
  Polyhedron* positive = poly({*i >= 1, *i <= 5});
  EXPECT_EQ(minus_i->upper_bound(positive), -2);
  Polyhedron* nothing = poly({*i >= 1, *i <= 0});
  EXPECT_EQ(i->upper_bound(nothing), -1);
  EXPECT_EQ(bound(new Expression(MAX, i, j), nothing), -1);
  Polyhedron* up_to_n = poly({*i >= 0, *i <= *n});
  // Unbounded: no constant bound, neither 0 nor a stop.
  EXPECT_EQ(i->upper_bound(up_to_n), -3);
  Polyhedron* nine = poly({*i >= 0, *i <= 9});
  EXPECT_EQ(bound(new Expression(MAX, &half, &one), nine), 4);
  // A term without constant maximum is not outvoted by a constant one.
  EXPECT_EQ(bound(new Expression(MAX, i, &five), up_to_n), -3);
  // N's companion counter is unbounded, which the solver reports for the
  // whole optimum: the bounds of i and of a constant come from the shadow
  // on the bound counter, exact here.
  Polyhedron* ten = poly({*i >= 0, *i <= 10, *n >= 1});
  EXPECT_EQ(i->upper_bound(ten), 10);
  EXPECT_EQ(five.upper_bound(up_to_n), 5);
  EXPECT_EQ(half.upper_bound(ten), 5);
  // The shadow is rational: even i up to 5 gets 5, not 4; still a bound.
  Expression two_j(TIMES, &two, j);
  Polyhedron* even = poly({*i >= 1, *i <= 5, new Inequation(EQ, i, &two_j), *n >= 1});
  EXPECT_EQ(i->upper_bound(even), 5);

  // What upper_bound registers stays registered.
  EXPECT_EQ(get_counter_rank("N_counter"), 2);
  EXPECT_EQ(get_counter_rank("upper_bound_var_0"), 3);
  EXPECT_EQ(get_counter_rank("upper_bound_var_1"), 4);
  for (Polyhedron* p : {box, below, positive, nothing, up_to_n, nine, ten, even}) delete p;
  delete minus_i;
}

TEST_F(BoundsTest, UpperBoundStopsOnNameClashes) {
  // A C counter named like N's companion.
  Expression* companion = var("N_counter");
  Polyhedron* P = poly({*companion >= 0, *companion <= *n});
  EXPECT_STOP_ON_STDERR(companion->upper_bound(P),
                        "Expression::upper_bound: counter name clash: N_counter");
  Polyhedron* other = poly({*i >= 0});
  EXPECT_STOP_ON_STDERR(companion->upper_bound(other),
                        "Expression::upper_bound: counter name clash: N_counter");
  // The bound's own counter.
  Expression* own = var("upper_bound_var_0");
  Polyhedron* Q = poly({*own >= 0, *own <= 3});
  EXPECT_STOP_ON_STDERR(i->upper_bound(Q),
                        "Expression::upper_bound: counter name clash: upper_bound_var_0");
  // A quotient counter of the division elimination already in P.
  Expression* quotient = var("q__0");
  Polyhedron* R = poly({*quotient >= 0, *quotient <= 3, *i >= 0, *i <= 4});
  Expression two(2);
  Expression half(DIV, i, &two);
  EXPECT_STOP_ON_STDERR(half.upper_bound(R), "Expression::upper_bound: counter name clash: q__0");
  for (Polyhedron* p : {P, other, Q, R}) delete p;
  for (Expression* e : {companion, own, quotient}) delete e;
}

TEST_F(BoundsTest, MaxPositiveConstantOfQuastLeaves) {
  auto leaf = [&](std::vector<Expression*> point) {
    IndexFunction f(point);
    del(point);
    return new Quast(&f);
  };
  Expression zero(0);
  Inequation test(GREATER_EQ, n, &zero);
  auto node = [&](Quast* t, Quast* e) {
    Quast* q = new Quast(&test, t, e);
    delete t;
    delete e;
    return q;
  };
  Quast* both = node(leaf({new Expression(4), new Expression(0)}),
                     leaf({new Expression(7), new Expression(1)}));
  EXPECT_EQ(both->get_max_positive_constant_dim(0), 7);
  EXPECT_EQ(both->get_max_positive_constant_dim(1), 1);
  Quast* negative = node(leaf({new Expression(-5)}), new Quast());
  EXPECT_EQ(negative->get_max_positive_constant_dim(0), -1);
  Quast* only_negative = leaf({new Expression(-5)});
  EXPECT_EQ(only_negative->get_max_positive_constant_dim(0), -2);
  Quast* symbolic = leaf({n->clone()});
  EXPECT_EQ(symbolic->get_max_positive_constant_dim(0), -3);
  Quast* mixed = node(leaf({n->clone()}), leaf({new Expression(2)}));
  EXPECT_EQ(mixed->get_max_positive_constant_dim(0), 2);
  EXPECT_STOP_ON_STDOUT(mixed->get_max_positive_constant_dim(1),
                        "Quast::get_max_positive_constant_dim: dimension out of range");
  EXPECT_STOP_ON_STDOUT(mixed->get_max_positive_constant_dim(-1),
                        "Quast::get_max_positive_constant_dim: dimension out of range");
  Polyhedron* up = poly({*i >= 0});
  Quast* unbounded = up->max_lex();
  ASSERT_TRUE(unbounded->is_unbounded);
  EXPECT_STOP_ON_STDOUT(unbounded->get_max_positive_constant_dim(0),
                        "Quast::get_max_positive_constant_dim: unbounded leaf");
  for (Quast* q : {both, negative, only_negative, symbolic, mixed, unbounded}) delete q;
  delete up;
}

}  // namespace
