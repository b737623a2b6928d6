#include <random>
#include <sstream>

#include "Condition.h"
#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"

namespace {

class QuastConditionsTest : public MNTest {
 protected:
  void SetUp() override {
    MNTest::SetUp();
    t = constant_leaf(0, 1, 2);
    e = constant_leaf(1, 3, 4);
  }
  void TearDown() override {
    delete t;
    delete e;
    MNTest::TearDown();
  }
  Quast* t = nullptr;
  Quast* e = nullptr;
};

void leaves(Quast* q, std::vector<Quast*>& found) {
  if (q->is_leaf) found.push_back(q);
  if (q->is_if) {
    leaves(q->then_quast, found);
    leaves(q->else_quast, found);
  }
}

std::string tree_text(Quast* q) {
  std::ostringstream text;
  text << *q;
  return text.str();
}

TEST_F(QuastConditionsTest, FromConditionSelectsWhereTheConditionHolds) {
  RandomQuasts random(7);
  for (int round = 0; round < 60; round++) {
    Condition* condition = random.condition(3);
    std::vector<std::string> expected;
    for (const Values& p : parameter_box())
      expected.push_back(holds_at(condition, p) ? value_at(t, p) : value_at(&bottom, p));
    Quast* q = Quast::from_condition(condition, t, &bottom);
    EXPECT_EQ(values(q), expected) << round;
    delete q;
  }
}

TEST_F(QuastConditionsTest, FromConditionShapes) {
  Quast* q = Quast::from_condition(new Condition(1), t, e);
  EXPECT_TRUE(*q == *t);
  delete q;
  q = Quast::from_condition(new Condition(0), t, e);
  EXPECT_TRUE(*q == *e);
  delete q;
  // a = b gives (a >= b ? (b >= a ? t : e) : e).
  Inequation equal(EQ, c->lhs, c->rhs);
  q = Quast::from_condition(new Condition(&equal), t, e);
  Inequation above(GREATER_EQ, c->lhs, c->rhs), below(GREATER_EQ, c->rhs, c->lhs);
  Quast inner(&below, t, e);
  Quast expected(&above, &inner, e);
  EXPECT_TRUE(*q == expected);
  delete q;
  // OR(c, d) gives (c ? t : (d ? t : e)), AND(c, d) (c ? (d ? t : e) : e);
  // a strict test stays strict.
  Inequation strict(LESS, d->lhs, d->rhs);
  Condition left(c), right(&strict);
  q = Quast::from_condition(new Condition(OR, &left, &right), t, e);
  Quast or_inner(&strict, t, e);
  Quast or_expected(c, t, &or_inner);
  EXPECT_TRUE(*q == or_expected);
  delete q;
  q = Quast::from_condition(new Condition(AND, &left, &right), t, e);
  Quast and_inner(&strict, t, e);
  Quast and_expected(c, &and_inner, e);
  EXPECT_TRUE(*q == and_expected);
  delete q;
}

TEST_F(QuastConditionsTest, ExistenceConditionContainsEveryLeaf) {
  RandomQuasts random(11);
  for (int round = 0; round < 60; round++) {
    Quast* q = random.tree(3);
    // A comb: the chain of its tests above one leaf, so exact.
    Quast* comb = random.leaf();
    for (int k = round % 4; k > 0; k--) {
      Quast* next = new Quast(random.test(), comb, &bottom);
      delete comb;
      comb = next;
    }
    ASSERT_TRUE(comb->is_comb());
    Polyhedron* region = q->existence_condition();
    Polyhedron* comb_region = comb->existence_condition();
    for (const Values& p : parameter_box()) {
      EXPECT_TRUE(value_at(q, p) == "_|_" || contains_at(region, p)) << round;
      EXPECT_EQ(contains_at(comb_region, p), value_at(comb, p) != "_|_") << round;
    }
    delete region;
    delete comb_region;
    delete q;
    delete comb;
  }
}

TEST_F(QuastConditionsTest, ExistenceConditionCases) {
  Quast two(c, t, e), then_only(c, t, &bottom), else_only(c, &bottom, e);
  Polyhedron* p = two.existence_condition();
  EXPECT_TRUE(p->constraints.empty());
  delete p;
  p = then_only.existence_condition();
  ASSERT_EQ(p->constraints.size(), 1u);
  EXPECT_TRUE(*p->constraints.front() == *c);
  delete p;
  p = else_only.existence_condition();
  ASSERT_EQ(p->constraints.size(), 1u);
  EXPECT_EQ(p->constraints.front()->pred, LESS);
  delete p;
  p = bottom.existence_condition();
  EXPECT_EQ(p->is_empty(), 1);
  delete p;
  // Judged by the children's bottom flags: (c ? (d ? _|_ : _|_) : t) is
  // the universe, an over-approximation.
  Quast empty_test(d, &bottom, &bottom);
  Quast over(c, &empty_test, t);
  p = over.existence_condition();
  EXPECT_TRUE(p->constraints.empty());
  delete p;
  Polyhedron member(c);
  Quast extended(std::vector<Polyhedron*>{&member}, t, &bottom);
  EXPECT_STOP_ON_STDERR(extended.existence_condition(),
                        "Quast::existence_condition: extended conditions not handled");
}

TEST_F(QuastConditionsTest, MaxPositiveDimIsTheLargestEntry) {
  RandomQuasts random(13);
  for (int round = 0; round < 40; round++) {
    Quast* q = random.tree(3);
    std::vector<Quast*> found;
    leaves(q, found);
    for (int dim = 0; dim < 2; dim++) {
      Expression* largest = q->get_max_positive_dim(dim);
      EXPECT_EQ(largest == nullptr, found.empty());
      for (const Values& p : parameter_box()) {
        if (largest == nullptr) break;
        int expected = floor_value(found[0]->point->index_mapping[dim], p);
        for (Quast* leaf : found) expected = std::max(expected, floor_value(leaf->point->index_mapping[dim], p));
        EXPECT_EQ(floor_value(largest, p), expected);
      }
      delete largest;
    }
    delete q;
  }
  // A test over bottoms only gives no result instead of a MAX over null.
  Quast empty_test(d, &bottom, &bottom);
  Quast q(c, &empty_test, e);
  Expression* entry = q.get_max_positive_dim(1);
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->is_value(4));
  delete entry;
  EXPECT_STOP_ON_STDOUT(t->get_max_positive_dim(2), "Quast::get_max_positive_dim: dimension out of range");
  EXPECT_STOP_ON_STDOUT(t->get_max_positive_dim(-1), "Quast::get_max_positive_dim: dimension out of range");
  t->is_unbounded = 1;
  EXPECT_STOP_ON_STDOUT(t->get_max_positive_dim(0), "Quast::get_max_positive_dim: unbounded leaf");
}

// Every rewriting keeps the value at every point, on fresh trees and on
// trees whose subtrees are shared after pushing. Pushing never prunes behind
// a shared link, so each round can double a tree: local_simplify meets
// trees of at most three levels.
TEST_F(QuastConditionsTest, RewritingsKeepTheValues) {
  RandomQuasts random(17);
  int shared = 0;
  for (int round = 0; round < 30; round++) {
    Quast* q = random.tree(round < 8 ? 3 : 2, round % 4 == 2);
    std::vector<std::string> expected = values(q);
    Quast* compacted = q->clone();
    compacted->compact();
    EXPECT_EQ(values(compacted), expected) << round;
    Quast* simplified = q->simplify();
    EXPECT_EQ(values(simplified), expected) << round;
    Quast* cleaned = q->clean();
    EXPECT_EQ(values(cleaned), expected) << round;
    Quast* pruned = q->clone();
    pruned->local_one_pass_simplify();
    EXPECT_EQ(values(pruned), expected) << round;
    if (q->height() <= 3 && round % 2 == 0) {
      Quast* pushed = q->clone();
      pushed->local_simplify();
      EXPECT_EQ(values(pushed), expected) << round;
      shared += tree_text(pushed).find("(dag)") != std::string::npos;
      Quast* cleaned_again = pushed->clean();
      EXPECT_EQ(values(cleaned_again), expected) << round;
      Quast* again = pushed->clone();
      pushed->local_one_pass_simplify();
      EXPECT_EQ(values(pushed), expected) << round;
      pushed->compact();
      EXPECT_EQ(values(pushed), expected) << round;
      if (again->height() <= 3) {
        again->local_simplify();
        EXPECT_EQ(values(again), expected) << round;
      }
      for (Quast* tree : {pushed, again, cleaned_again}) delete tree;
    }
    for (Quast* tree : {q, compacted, simplified, cleaned, pruned}) delete tree;
  }
  EXPECT_GT(shared, 3);
}

TEST_F(QuastConditionsTest, CompactMergesChains) {
  Inequation* f = row_constraint(GREATER_EQ, {0, 0, 0, 1, -1});  // N >= 1
  Quast inner(f, t, &bottom), middle(d, &inner, &bottom);
  Quast chain(c, &middle, &bottom);
  chain.compact();
  ASSERT_EQ(chain.has_extended_condition, 1);
  ASSERT_EQ(chain.extended_condition.size(), 1u);
  std::list<Inequation*>& merged = chain.extended_condition[0]->constraints;
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_TRUE(*merged.front() == *d);
  EXPECT_TRUE(**std::next(merged.begin()) == *f);
  EXPECT_TRUE(*merged.back() == *c);
  EXPECT_TRUE(*chain.then_quast == *t);
  EXPECT_EQ(chain.else_quast->is_empty, 1);
  // A node whose else subtree is not bottom keeps its test.
  Quast full(c, &middle, e);
  full.compact();
  EXPECT_EQ(full.has_extended_condition, 0);
  EXPECT_EQ(full.then_quast->has_extended_condition, 1);
  delete f;
}

// Every member of the union below gets the outer test, as new polyhedra: the
// shared subtree and its polyhedra stay as they were.
TEST_F(QuastConditionsTest, CompactCutsEveryMemberOfAUnion) {
  Polyhedron p1(d);
  Inequation* f = row_constraint(GREATER_EQ, {0, 0, 0, 1, -4});  // N >= 4
  Polyhedron p2(f);
  Quast below(std::vector<Polyhedron*>{&p1, &p2}, t, &bottom);
  Quast* q = new Quast(c, &below, &bottom);
  std::vector<std::string> expected = values(q);
  Quast* shared = q->then_quast;
  Quast::add_link(shared);
  q->compact();
  ASSERT_EQ(q->extended_condition.size(), 2u);
  for (int k = 0; k < 2; k++) {
    ASSERT_EQ(q->extended_condition[k]->constraints.size(), 2u);
    EXPECT_TRUE(*q->extended_condition[k]->constraints.back() == *c);
  }
  EXPECT_TRUE(*q->extended_condition[1]->constraints.front() == *f);
  EXPECT_EQ(values(q), expected);
  EXPECT_EQ(shared->extended_condition[0]->constraints.size(), 1u);
  EXPECT_EQ(shared->extended_condition[1]->constraints.size(), 1u);
  EXPECT_EQ(values(shared), values(&below));
  delete shared;
  delete q;
  // An empty union stays empty.
  Quast never(std::list<Polyhedron*>{}, t, &bottom);
  Quast outer(c, &never, &bottom);
  outer.compact();
  EXPECT_EQ(outer.has_extended_condition, 1);
  EXPECT_EQ(outer.extended_condition.size(), 0u);
  EXPECT_EQ(values(&outer), values(&bottom));
  delete f;
}

TEST_F(QuastConditionsTest, SimplifyDropsTestsOverEqualBranches) {
  Quast same(c, t, t);
  Quast* simplified = same.simplify();
  EXPECT_TRUE(*simplified == *t);
  delete simplified;
  Quast nested(d, &same, t);
  simplified = nested.simplify();
  EXPECT_TRUE(*simplified == *t);
  delete simplified;
  Polyhedron member(c);
  Quast extended(std::vector<Polyhedron*>{&member}, t, t);
  simplified = extended.simplify();
  EXPECT_EQ(simplified->is_extended(), 1);
  EXPECT_EQ(simplified->size(), 3);
  delete simplified;
}

// A subtree that two trees share is pruned under one tree's context only on
// that tree's own copy: the other tree keeps its values.
TEST_F(QuastConditionsTest, PruningLeavesSharedSubtreesAlone) {
  Inequation* three = row_constraint(GREATER_EQ, {0, 0, 1, 0, -3});  // M >= 3
  Inequation* one = row_constraint(LESS_EQ, {0, 0, 1, 0, -1});     // M <= 1
  Quast* shared = new Quast(c, t, e);  // M >= 2 ? t : e
  Quast* q = new Quast(three, &bottom, &bottom);
  Quast* r = new Quast(one, &bottom, &bottom);
  delete q->then_quast;
  q->then_quast = shared;
  Quast::add_link(shared);
  delete r->then_quast;
  r->then_quast = shared;
  std::vector<std::string> q_values = values(q), r_values = values(r);
  q->local_one_pass_simplify();
  EXPECT_EQ(values(q), q_values);
  EXPECT_EQ(values(r), r_values);
  EXPECT_EQ(shared->is_if, 1);
  delete q;
  delete r;
  delete three;
  delete one;
}

// A child repeating its parent's extended test is bypassed: only its then
// subtree is reachable below the then link, its else subtree below the
// else link.
TEST_F(QuastConditionsTest, RepeatedExtendedTestsAreBypassed) {
  Polyhedron p1(c), p2(d);
  std::vector<Polyhedron*> x{&p1, &p2};
  Quast* u = constant_leaf(2, 5, 6);
  Quast* w = constant_leaf(2, 7, 8);
  Quast then_side(x, t, e), else_side(x, u, w);
  Quast q(x, &then_side, &else_side);
  std::vector<std::string> expected = values(&q);
  q.local_one_pass_simplify();
  EXPECT_TRUE(*q.then_quast == *t);
  EXPECT_TRUE(*q.else_quast == *w);
  EXPECT_EQ(values(&q), expected);
  delete u;
  delete w;
}

// (c ? (d ? t : u) : e) with c: N <= 4 and d: N >= 3: pushing d up makes
// (d ? (c ? t : e) : (c ? u : e)), e shared by the two new nodes; the
// pruning turns the second into u, where not d implies c. Three rounds
// (the height) end in that shape, the link to e still marked.
TEST_F(QuastConditionsTest, LocalSimplifyPushesTestsUp) {
  Inequation* low = row_constraint(LESS_EQ, {0, 0, 0, 1, -4});
  Inequation* high = row_constraint(GREATER_EQ, {0, 0, 0, 1, -3});
  Quast* u = constant_leaf(2, 5, 6);
  Quast inner(high, t, u);
  Quast* q = new Quast(low, &inner, e);
  std::vector<std::string> expected = values(q);
  q->local_simplify();
  EXPECT_EQ(tree_text(q),
            "if -3+N >= 0\nthen\n  if -4+N <= 0\n  then\n    S0(1,2):0\n  else (dag)\n    S1(3,4):0\n  endif\n"
            "else\n  S2(5,6):0\nendif\n");
  EXPECT_EQ(values(q), expected);
  EXPECT_EQ(q->height(), 3);
  delete q;
  delete u;
  delete low;
  delete high;
}

// (c ? L1 : (d ? L2 : L3)) with unrelated tests: each round pushes the
// else side's test above the node, and the two new nodes share the then
// side ("then (dag)"). A branch whose other side its context excludes
// becomes its kept subtree; when that one is reached through a shared
// link, both of its links are shared. Nothing is pruned behind a shared
// link, so every test stays, and so do the values.
TEST_F(QuastConditionsTest, LocalSimplifyPushesThroughTheElseSide) {
  Quast* u = constant_leaf(2, 5, 6);
  Quast inner(d, e, u);
  Quast* q = new Quast(c, t, &inner);
  std::vector<std::string> expected = values(q);
  q->local_simplify();
  const std::string shared_test =  // (d ? (c ? L1 : L2) : L1), indented by 4
      "    if -3+N <= 0\n"
      "    then (dag)\n      if -2+M >= 0\n      then (dag)\n        S0(1,2):0\n      else\n        S1(3,4):0\n      endif\n";
  EXPECT_EQ(tree_text(q), "if -3+N <= 0\nthen\n  if -2+M >= 0\n  then\n" + shared_test +
                              "    else (dag)\n      S0(1,2):0\n    endif\n  else\n    S1(3,4):0\n  endif\n"
                              "else\n  if -2+M >= 0\n  then (dag)\n" + shared_test +
                              "    else\n      S0(1,2):0\n    endif\n  else\n    S2(5,6):0\n  endif\nendif\n");
  EXPECT_EQ(values(q), expected);
  delete q;
  delete u;
}

// A condition of an unknown operator, and a node of no kind met by the
// pushing.
TEST_F(QuastConditionsTest, Stops) {
  Condition left(c), right(d);
  Condition* odd = new Condition(AND, &left, &right);
  odd->op = static_cast<boolean_operator_t>(2);
  EXPECT_EXIT(
      {
        check_stdout_only();
        Quast::from_condition(odd, t, e);
      },
      ::testing::ExitedWithCode(1),
      "^WARNING: Condition::simplify: unhandled operator\nQuast::from_condition: unhandled operator\n$");
  delete odd;
  Quast nothing;
  nothing.is_empty = 0;
  EXPECT_STOP_ON_STDOUT(nothing.local_simplify(), "Quast::push(): should be an if");
}

// Solver trees: the tagged minimum and maximum over i, j of random small
// polyhedra with the parameter N (floor divisions in tests and points).
class SolverQuastsTest : public IJNTest {
 protected:
  void TearDown() override { EXPECT_EQ(Quast::shared_objects(), 0); }
  static std::vector<std::string> values_over_n(Quast* q) {
    std::vector<std::string> result;
    for (int n = 0; n <= 4; n++) result.push_back(value_at(q, {{0, n}}));
    return result;
  }
};

TEST_F(SolverQuastsTest, RewritingsKeepTheValues) {
  std::mt19937 g(71);
  int pushed = 0;
  for (int round = 0; round < 16; round++) {
    Polyhedron p(random_polyhedron(g, 3, 4));
    for (Quast* q : {p.min_lex({0, 1}, 0), p.max_lex({0, 1}, 1)}) {
      std::vector<std::string> expected = values_over_n(q);
      Quast* compacted = q->clone();
      compacted->compact();
      Quast* simplified = q->simplify();
      Quast* cleaned = q->clean();
      Quast* pruned = q->clone();
      pruned->local_one_pass_simplify();
      for (Quast* copy : {compacted, simplified, cleaned, pruned}) EXPECT_EQ(values_over_n(copy), expected) << round;
      if (q->height() <= 4) {
        Quast* local = q->clone();
        local->local_simplify();
        EXPECT_EQ(values_over_n(local), expected) << round;
        pushed++;
        delete local;
      }
      Polyhedron* region = q->existence_condition();
      for (int n = 0; n <= 4; n++)
        EXPECT_TRUE(expected[n] == "_|_" || contains_at(region, {{0, n}})) << round;
      for (Quast* tree : {q, compacted, simplified, cleaned, pruned}) delete tree;
      delete region;
    }
  }
  EXPECT_GT(pushed, 8);
}

}  // namespace
