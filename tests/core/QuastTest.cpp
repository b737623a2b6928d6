#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"

namespace {

// One counter i and one parameter N, both solution columns mapped.
class QuastTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_counter_rank("i");
    create_parameter_rank("N");
    actual_counter[0] = 0;
    actual_parameter[0] = 0;
  }
  // A leaf node whose list holds the given vectors.
  static PipQuast* leaf(const std::vector<PipVector*>& vectors) {
    PipQuast* q = pip_node();
    q->list = pip_list(vectors);
    return q;
  }
  // Root: new parameter N/3 and the test N/3 - 1 >= 0; then: new parameter
  // N/2 and the point N/2; else: the given vector (N/3 visible, N/2 not).
  static PipQuast* two_level(PipVector* else_vector) {
    PipQuast* root = pip_node();
    root->newparm = pip_newparm(1, pip_vector({1, 0}), 3);
    root->condition = pip_vector({0, 1, -1});
    root->next_then = leaf({pip_vector({0, 0, 1, 0})});
    root->next_then->newparm = pip_newparm(2, pip_vector({1, 0, 0}), 2);
    root->next_else = leaf({else_vector});
    return root;
  }
};

TEST_F(QuastTest, NewParametersAreFloorDivisionsSeenBelowOnly) {
  PipQuast* answer = two_level(pip_vector({1, 0, 0}));
  Quast q(answer);
  pip_quast_free(answer);
  ASSERT_TRUE(q.is_if);
  EXPECT_EQ(floor_value(q.condition->lhs, {{0, 7}}), 1);
  EXPECT_EQ(floor_value(q.condition->lhs, {{0, 2}}), -1);
  EXPECT_EQ(q.condition->pred, GREATER_EQ);
  Expression* then_point = q.then_quast->point->index_mapping[0];
  EXPECT_TRUE(then_point->is_op(DIV));
  EXPECT_EQ(floor_value(then_point, {{0, 7}}), 3);
  EXPECT_TRUE(q.else_quast->point->index_mapping[0]->is__parameter(0));
  EXPECT_EQ(leaf_at(&q, {{0, 7}}), q.then_quast);
  EXPECT_EQ(leaf_at(&q, {{0, 2}}), q.else_quast);
  EXPECT_EQ(q.empty(), 0);
  EXPECT_EQ(q.height(), 2);
  // The sibling does not see N/2: a vector with its column is too long.
  EXPECT_STOP_ON_STDOUT(
      {
        PipQuast* bad = two_level(pip_vector({1, 0, 0, 0}));
        Quast never(bad);
      },
      "Expression::from_PipVector(): bad vector size");
}

TEST_F(QuastTest, NullAnswersPrintTheirVariant) {
  const char* texts[] = {"Quast::Quast(pipquast)-1: null pipquast (empty context)",
                         "Quast::Quast(pipquast)-2: null pipquast (empty context)",
                         "Quast::Quast(pipquast)-3: null pipquast (empty context)",
                         "Quast::Quast(pipquast)-4: null pipquast (empty context)",
                         "Quast::Quast(pipquast)-5: null pipquast"};
  for (int variant = 0; variant < 5; variant++) {
    testing::internal::CaptureStdout();
    Quast* q = nullptr;
    PipQuast* none = nullptr;
    switch (variant) {
      case 0: q = new Quast(none); break;
      case 1: q = new Quast({0}, 1, none); break;
      case 2: q = new Quast(none, 1); break;
      case 3: q = new Quast({0}, 1, none, 1); break;
      case 4: q = new Quast({0}, 1, none, 1, 2); break;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(texts[variant]) + "\n");
    EXPECT_EQ(q->is_empty, 1);
    EXPECT_EQ(q->empty(), 1);
    delete q;
  }
}

TEST_F(QuastTest, NilIsBottomAndLeavesAreTaggedOrSkipped) {
  PipQuast* nil = pip_node();
  testing::internal::CaptureStdout();
  Quast bottom(nil);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(bottom.is_empty, 1);
  // A test whose two branches are Nil is empty.
  nil->condition = pip_vector({1, 0});
  nil->next_then = pip_node();
  nil->next_else = pip_node();
  Quast both_nil(nil);
  EXPECT_EQ(both_nil.empty(), 1);
  pip_quast_free(nil);

  PipQuast* answer = leaf({pip_vector({0, 4}), pip_vector({1, 0})});
  Quast skipped({0}, 2, answer, 1, 9);
  pip_quast_free(answer);
  ASSERT_TRUE(skipped.is_leaf);
  EXPECT_EQ(skipped.is_tagged, 1);
  EXPECT_EQ(skipped.stmt, 2);
  EXPECT_EQ(skipped.read_rank, 9);
  EXPECT_TRUE(skipped.point->index_mapping[0]->is__parameter(0));
}

TEST_F(QuastTest, DenominatorsMarkUnboundedOrStop) {
  PipQuast* answer = leaf({pip_vector({0, 0}, 0)});
  Quast unbounded(answer);
  pip_quast_free(answer);
  EXPECT_EQ(unbounded.is_unbounded, 1);
  EXPECT_EQ(unbounded.empty(), 0);
  Quast* copy = unbounded.clone();
  EXPECT_EQ(copy->is_unbounded, 1);
  answer = leaf({pip_vector({0, 0})});
  Quast bounded(answer);
  pip_quast_free(answer);
  EXPECT_EQ(*copy == bounded, 0);
  delete copy;
  EXPECT_STOP_ON_STDOUT(
      {
        PipQuast* half = leaf({pip_vector({1, 0}, 2)});
        Quast never(half);
      },
      "Quast::Quast(pipquast): non-integral solution");
  EXPECT_STOP_ON_STDOUT(
      {
        PipQuast* wide = leaf({pip_vector({0, 0, 1})});
        wide->newparm = pip_newparm(1, pip_vector({1, 0}), (1LL << 32) + 3);
        Quast never(wide);
      },
      "Quast::Quast(pipquast): value out of range");
}

TEST_F(QuastTest, ShortListsStop) {
  actual_counter[1] = 0;
  EXPECT_STOP_ON_STDOUT(
      {
        PipQuast* one = leaf({pip_vector({1, 0})});
        Quast never(one);
      },
      "IndexFunction::from_Piplist: incorrect size");
}

// Leaves over the constants 1 and 2 and the test N >= 0.
class QuastStructureTest : public QuastTest {
 protected:
  void SetUp() override {
    QuastTest::SetUp();
    one = new IndexFunction(std::vector<int>(), std::vector<int>{1});
    two = new IndexFunction(std::vector<int>(), std::vector<int>{2});
    Expression n("N");
    Expression zero(0);
    test = new Inequation(GREATER_EQ, &n, &zero);
  }
  void TearDown() override {
    delete one;
    delete two;
    delete test;
  }
  IndexFunction* one = nullptr;
  IndexFunction* two = nullptr;
  Inequation* test = nullptr;
};

TEST_F(QuastStructureTest, EqualityCloneAndQueries) {
  Quast a(one), b(two), bottom;
  Quast t(test, &a, &bottom);
  Quast* copy = t.clone();
  EXPECT_EQ(*copy == t, 1);
  copy->is_then_dag = 1;
  copy->else_quast->bottom_value = "x";
  EXPECT_EQ(*copy == t, 1);
  Quast tagged({0}, 0, one);
  EXPECT_EQ(tagged == a, 0);
  Quast other(test, &b, &bottom);
  EXPECT_EQ(other == t, 0);
  EXPECT_EQ(t.is_comb(), 1);
  Quast full(test, &a, &b);
  EXPECT_EQ(full.is_comb(), 0);
  EXPECT_EQ(full.is_constant({0}), 1);
  Quast deeper(test, &full, &bottom);
  EXPECT_EQ(deeper.height(), 3);
  deeper.is_then_dag = 1;
  EXPECT_EQ(deeper.height(), 2);
  EXPECT_EQ(deeper.is_extended(), 0);
  delete copy;
}

TEST_F(QuastStructureTest, ExtendedTests) {
  Quast a(one), bottom;
  Polyhedron* never = empty();
  Polyhedron* always = universe();
  Quast listed(std::list<Polyhedron*>{never, always}, &a, &bottom);
  EXPECT_EQ(listed.extended_condition.size(), 1u);
  Quast kept(std::vector<Polyhedron*>{never, always}, &a, &bottom);
  EXPECT_EQ(kept.extended_condition.size(), 2u);
  EXPECT_EQ(kept.is_extended(), 1);
  EXPECT_STOP_ON_STDOUT((void)(kept == listed), "Quast::==: unhandled extended condition");
  delete never;
  delete always;
}

// Two test nodes share a subtree and a test through copy assignment; both
// deletions leave nothing behind and free nothing twice.
TEST_F(QuastStructureTest, SharedLinksAreCounted) {
  Quast a(one), bottom;
  Quast* first = new Quast(test, &a, &bottom);
  Quast* second = new Quast();
  *second = *first;
  EXPECT_EQ(Quast::links(first->then_quast), 2);
  EXPECT_EQ(Quast::links(first->condition), 2);
  second->is_then_dag = 1;
  delete first;
  EXPECT_EQ(Quast::links(second->then_quast), 1);
  EXPECT_EQ(*second->then_quast->point == *one, 1);
  delete second;
  // In-place replacement by a child: the child's objects move up.
  Quast* parent = new Quast(test, &a, &bottom);
  Quast* child = parent->then_quast;
  Inequation* old_test = parent->condition;
  Quast* old_else = parent->else_quast;
  *parent = *child;
  delete child;
  delete old_test;
  delete old_else;
  EXPECT_EQ(parent->is_leaf, 1);
  EXPECT_EQ(Quast::links(parent->point), 1);
  delete parent;
}

TEST_F(QuastStructureTest, ContainerRelease) {
  del(std::vector<Quast*>{new Quast(one), new Quast()});
  std::map<Polyhedron*, IndexFunction*> pieces{{universe(), one->clone()}};
  del(pieces);
}

}  // namespace
