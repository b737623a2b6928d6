#include "Condition.h"
#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"
#include "Schedule.h"

namespace {

using QuastRewritingTest = MNTest;

// M -> N + 1 and N -> 2 - M, as expressions and as values.
std::map<int, Expression*> substitution() {
  return {{0, new Expression(std::vector<int>{0, 0, 0, 1, 1})}, {1, new Expression(std::vector<int>{0, 0, -1, 0, 2})}};
}

TEST_F(QuastRewritingTest, SubstitutionsCommuteWithEvaluation) {
  RandomQuasts random(29);
  std::map<int, Expression*> m = substitution();
  for (int round = 0; round < 30; round++) {
    Quast* q = random.tree(3, round % 2 == 1);
    Quast* substituted = q->substitute_parameters(m);
    Quast* renamed = q->parameters_to_counters({{0, 1}});  // M -> j
    for (const Values& p : parameter_box()) {
      Values image{{0, p.at(1) + 1}, {1, 2 - p.at(0)}};
      EXPECT_EQ(value_at(substituted, p), value_at(q, image)) << round;
      EXPECT_EQ(value_at(renamed, {{0, 9}, {1, p.at(1)}}, {{1, p.at(0)}}), value_at(q, p)) << round;
    }
    for (Quast* tree : {q, substituted, renamed}) delete tree;
  }
  del(m);
}

// Each tagged leaf is replaced by its statement's tree with M and N set to
// the leaf's two entries.
TEST_F(QuastRewritingTest, PutToLeavesInstantiatesTheStatementTrees) {
  RandomQuasts random(31);
  for (int round = 0; round < 20; round++) {
    Quast* q = random.tree(2);
    std::vector<Quast*> qs{random.tree(2), random.tree(2), random.tree(2)};
    Quast* grafted = q->put_to_leaves(qs, {0, 1});
    for (const Values& p : parameter_box()) {
      Quast* leaf = leaf_at(q, p);
      std::string expected = "_|_";
      if (leaf != nullptr)
        expected = value_at(qs[leaf->stmt], {{0, floor_value(leaf->point->index_mapping[0], p)},
                                             {1, floor_value(leaf->point->index_mapping[1], p)}});
      EXPECT_EQ(value_at(grafted, p), expected) << round;
    }
    delete q;
    delete grafted;
    del(qs);
  }
}

TEST_F(QuastRewritingTest, LeafWalks) {
  Quast* a = constant_leaf(0, 1, 2);
  Quast* b = constant_leaf(1, 3, 4);
  b->read_rank = 2;
  a->read_rank = 1;
  Quast q(c, a, b);
  q.tag(3);
  EXPECT_EQ(q.then_quast->read_rank, 3);
  EXPECT_EQ(q.else_quast->read_rank, 3);
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Quast untagged(&point);
  untagged.set_read_rank(4);
  EXPECT_EQ(untagged.is_tagged, 0);
  untagged.tag(5);
  EXPECT_EQ(untagged.is_tagged, 1);
  EXPECT_EQ(untagged.stmt, 0);
  // remove_read_rank keeps the test node.
  Quast r(c, a, b);
  r.remove_read_rank(1);
  EXPECT_EQ(r.is_if, 1);
  EXPECT_EQ(r.then_quast->is_empty, 1);
  EXPECT_EQ(r.then_quast->point, nullptr);
  EXPECT_EQ(r.else_quast->read_rank, 2);
  r.set_bottom_value("x");
  EXPECT_EQ(r.then_quast->bottom_value, "x");
  r.nullify_leaves(1);
  EXPECT_TRUE(r.else_quast->point->index_mapping[1]->is_value(0));
  EXPECT_TRUE(r.else_quast->point->index_mapping[0]->is_value(3));
  r.make_empty();
  EXPECT_EQ(r.is_empty, 1);
  EXPECT_EQ(r.is_if, 0);
  EXPECT_EQ(r.then_quast, nullptr);
  Quast none(c, &bottom, &bottom);
  none.set_bottom_value("y");
  Quast leafy(c, a, b), same(c, a, b);
  leafy.set_bottom_value("y");
  EXPECT_TRUE(leafy == same);
  delete a;
  delete b;
}

TEST_F(QuastRewritingTest, Grafting) {
  Quast* a = constant_leaf(0, 1, 2);
  Quast* r = constant_leaf(2, 5, 6);
  Quast* grafted = a->put_to_bottoms(r);
  EXPECT_TRUE(*grafted == *a);
  delete grafted;
  grafted = bottom.put_to_bottoms(r);
  EXPECT_TRUE(*grafted == *r);
  delete grafted;
  Quast q(c, a, &bottom);
  grafted = q.put_to_bottoms(r);
  Quast expected(c, a, r);
  EXPECT_TRUE(*grafted == expected);
  delete grafted;
  grafted = bottom.put_to_leaves({}, {});
  EXPECT_EQ(grafted->is_empty, 1);
  delete grafted;
  grafted = q.parameters_to_counters({});
  EXPECT_TRUE(*grafted == q);
  delete grafted;
  delete a;
  delete r;
}

TEST_F(QuastRewritingTest, Stops) {
  Quast* a = constant_leaf(0, 1, 2);
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Quast untagged(&point);
  EXPECT_STOP_ON_STDOUT(untagged.nullify_leaves(0), "Quast::nullify_leaves: Quast is not tagged");
  EXPECT_STOP_ON_STDOUT(a->nullify_leaves(2), "Quast::nullify_leaves: dimension out of range");
  EXPECT_STOP_ON_STDOUT(untagged.put_to_leaves({a}, {0, 1}), "Quast::put_to_leaves: Quast not tagged");
  EXPECT_STOP_ON_STDOUT(a->put_to_leaves({}, {0, 1}), "Quast::put_to_leaves: no quast for statement 0");
  EXPECT_STOP_ON_STDOUT(a->put_to_leaves({nullptr}, {0, 1}), "Quast::put_to_leaves: no quast for statement 0");
  EXPECT_STOP_ON_STDOUT(a->put_to_leaves({a}, {0}), "Quast::put_to_leaves: too few parameters");
  a->is_unbounded = 1;
  EXPECT_STOP_ON_STDOUT(a->put_to_leaves({a}, {0, 1}), "Quast::put_to_leaves: unbounded leaf");
  Quast nothing;
  nothing.is_empty = 0;
  EXPECT_EXIT(
      {
        check_stdout_only();
        nothing.substitute_parameters({});
      },
      ::testing::ExitedWithCode(1), "^Quast::substitute_parameters: bad quast$");
  delete a;
}

// The flattened forms: new keys and operations, the input unchanged.
TEST_F(QuastRewritingTest, FlattenedMapForms) {
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  delete point.index_mapping[1];
  point.index_mapping[1] = new Expression("M");
  Polyhedron* key = new Polyhedron(c);
  std::map<Polyhedron*, Operation*> f{{key, new Operation(0, {0}, &point, 3)},
                                      {new Polyhedron(), new Operation()}};
  std::map<Polyhedron*, Operation*> renamed = Quast::parameters_to_counters(f, {{0, 1}});
  std::map<int, Expression*> m{{1, new Expression(7)}};
  std::map<Polyhedron*, Operation*> substituted = Quast::substitute_counters(renamed, m);
  ASSERT_EQ(renamed.size(), 2u);
  for (auto& piece : renamed) {
    if (piece.second->is_bottom) continue;
    EXPECT_TRUE(piece.second->point->index_mapping[1]->is__counter(1));
    EXPECT_EQ(piece.second->tag, 3);
    EXPECT_EQ(piece.first->get_counters(), std::set<int>{1});
  }
  for (auto& piece : substituted) {
    if (piece.second->is_bottom) continue;
    EXPECT_EQ(floor_value(piece.second->point->index_mapping[1], {}), 7);
    EXPECT_TRUE(piece.first->get_counters().empty());
  }
  EXPECT_TRUE(f.at(key)->point->index_mapping[1]->is__parameter(0));
  EXPECT_TRUE(key->get_counters().empty());
  del(m);
  del(f);
  del(renamed);
  del(substituted);
}

// Marks the leaves of statement 1 as unbounded optima (values_at then
// ends their text with "u"); the number of unbounded leaves below q.
void mark_unbounded(Quast* q) {
  if (q->is_leaf) q->is_unbounded = q->stmt == 1;
  if (q->is_if) {
    mark_unbounded(q->then_quast);
    mark_unbounded(q->else_quast);
  }
}

int unbounded_leaves(Quast* q) {
  if (q->is_if) return unbounded_leaves(q->then_quast) + unbounded_leaves(q->else_quast);
  return q->is_unbounded;
}

// Every operation that copies or rewrites a leaf keeps its unbounded
// marker; a leaf made a bottom drops it; the comparisons refuse it.
TEST_F(QuastRewritingTest, UnboundedMarkerIsCarried) {
  RandomQuasts random(67);
  std::map<int, Expression*> m = substitution();
  for (int round = 0; round < 20; round++) {
    Quast* q = random.tree(round < 10 ? 2 : 3, round % 3 == 1);
    mark_unbounded(q);
    std::vector<std::string> expected = values(q);
    Quast* substituted = q->substitute_parameters(m);
    Quast* renamed = q->parameters_to_counters({{0, 1}});
    Quast* grafted = q->put_to_bottoms(&bottom);
    Quast* simplified = q->simplify();
    Quast* cleaned = q->clean();
    Quast* compacted = q->clone();
    compacted->compact();
    Quast* pruned = q->clone();
    pruned->local_one_pass_simplify();
    for (Quast* copy : {simplified, cleaned, compacted, pruned, grafted}) EXPECT_EQ(values(copy), expected) << round;
    for (const Values& p : parameter_box()) {
      Values image{{0, p.at(1) + 1}, {1, 2 - p.at(0)}};
      EXPECT_EQ(value_at(substituted, p), value_at(q, image)) << round;
      EXPECT_EQ(value_at(renamed, {{0, 9}, {1, p.at(1)}}, {{1, p.at(0)}}), value_at(q, p)) << round;
    }
    int marked = unbounded_leaves(q);
    q->tag(1);
    q->nullify_leaves(0);
    EXPECT_EQ(unbounded_leaves(q), marked) << round;
    q->remove_read_rank(1);
    EXPECT_EQ(unbounded_leaves(q), 0) << round;
    for (Quast* tree : {q, substituted, renamed, grafted, simplified, cleaned, compacted, pruned}) delete tree;
  }
  del(m);
  Quast* u = constant_leaf(1, 1, 2);
  u->is_unbounded = 1;
  Quast* a = constant_leaf(0, 3, 4);
  Quast* chosen = Quast::from_condition(new Condition(c), u, a);
  EXPECT_EQ(chosen->then_quast->is_unbounded, 1);
  Quast* instantiated = a->put_to_leaves({chosen}, {0, 1});
  EXPECT_EQ(unbounded_leaves(instantiated), 1);
  Polyhedron* everywhere = chosen->existence_condition();
  EXPECT_TRUE(everywhere->constraints.empty());
  chosen->make_empty();
  EXPECT_EQ(chosen->is_unbounded, 0);
  // The schedule order reads the points as dates.
  IndexFunction identity(std::vector<int>{0, 1}, std::vector<std::vector<int>>{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}});
  std::vector<Schedule*> S{new Schedule(&identity), new Schedule(&identity)};
  EXPECT_STOP_ON_STDOUT(Quast::min(S, a, u), "Quast::min: unbounded leaf");
  EXPECT_STOP_ON_STDOUT(Quast::max(S, u, a), "Quast::max: unbounded leaf");
  EXPECT_STOP_ON_STDOUT(Quast::max(u, a), "Quast::max: unbounded leaf");
  del(S);
  for (Quast* tree : {u, a, chosen, instantiated}) delete tree;
  delete everywhere;
}

}  // namespace
