#include <random>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronTestSupport.h"
#include "Schedule.h"

namespace {

// Counters i, j (0, 1); parameter N (0). Rows [flag | i | j | N | 1].
class PredicateTest : public IJNTest {
 protected:
  // x: values of every registered counter, then every parameter.
  static bool holds(Polyhedron* p, const Point& x) { return satisfies(p->to_matrix(), x); }
  // A constraint over clones of the operands.
  static Inequation* constraint(predicate_t pred, const Expression& l, const Expression& r) {
    return new Inequation(pred, &l, &r);
  }
};

TEST_F(PredicateTest, EmptinessAndUniverse) {
  Polyhedron nothing;
  EXPECT_EQ(nothing.is_empty(), 0);
  EXPECT_EQ(nothing.is_universe(), 1);
  Polyhedron* zero = universe();
  EXPECT_EQ(zero->is_universe(), 1);
  delete zero;
  Polyhedron* never = empty();
  EXPECT_EQ(never->is_empty(), 1);
  EXPECT_EQ(never->dim(), -1);
  EXPECT_EQ(never->weak_is_empty(), 0);
  delete never;
  Polyhedron below_n(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}});
  EXPECT_EQ(below_n.is_empty(), 0);
  Polyhedron crossed(Rows{{1, 1, 0, 0, -1}, {1, -1, 0, 0, 0}});
  EXPECT_EQ(crossed.is_empty(), 1);
  // With a division the test is only syntactic.
  Expression i("i"), two(2), zero_e(0);
  Expression half(DIV, &i, &two);
  Inequation* with_div = constraint(GREATER_EQ, half, zero_e);
  crossed.add_constraint(with_div);
  EXPECT_EQ(crossed.is_empty(), 0);
  Expression z(0);
  Expression zero_half(DIV, &z, &two);
  Inequation* true_div = constraint(GREATER_EQ, zero_half, z);
  Polyhedron trivially(true_div);
  EXPECT_EQ(trivially.is_universe(), 0);
  Expression one(1);
  Inequation* one_is_zero = constraint(EQ, one, z);
  Polyhedron weak(one_is_zero);
  EXPECT_EQ(weak.weak_is_empty(), 1);
  EXPECT_EQ(dim(std::vector<Polyhedron*>()), -1);
  for (Inequation* c : {with_div, true_div, one_is_zero}) delete c;
}

TEST_F(PredicateTest, ContainmentAndMatrices) {
  Polyhedron box(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 0, 3}});
  Polyhedron inner(Rows{{1, 1, 0, 0, -1}, {1, -1, 0, 0, 2}});
  Polyhedron nothing;
  Polyhedron* never = empty();
  EXPECT_EQ(box.contains(&inner), 1);
  EXPECT_EQ(inner.contains(&box), 0);
  EXPECT_EQ(nothing.contains(&box), 1);
  EXPECT_EQ(inner.contains(never), 1);
  delete never;
  // Equalities are tested on both sides.
  Expression i("i"), three(3);
  Inequation* is_three = constraint(EQ, i, three);
  Polyhedron eq(is_three);
  Polyhedron pinned(Rows{{1, 1, 0, 0, -3}, {1, -1, 0, 0, 3}});
  EXPECT_EQ(eq.contains(&pinned), 1);
  EXPECT_EQ(eq.contains(&inner), 0);
  EXPECT_EQ(pinned.is_saturated_by(is_three), 1);
  delete is_three;
  Polyhedron* copy = box.clone();
  EXPECT_EQ(box.weak_equals(copy), 1);
  delete copy;
  Polyhedron swapped(Rows{{1, -1, 0, 0, 3}, {1, 1, 0, 0, 0}});
  EXPECT_EQ(box.weak_equals(&swapped), 0);
  EXPECT_EQ(box.has_parameters(), 0);
  EXPECT_EQ(eq.has_eq(), 1);
  EXPECT_EQ(box.has_div(), 0);
  // i == j with 0 <= i <= 3 over two counters is a line segment.
  Polyhedron diagonal(Rows{{0, 1, -1, 0, 0}, {1, 1, 0, 0, 0}, {1, -1, 0, 0, 3}});
  EXPECT_EQ(diagonal.dim(), 1);
  EXPECT_EQ(dim(std::vector<Polyhedron*>{&diagonal, &box}), 2);
}

TEST_F(PredicateTest, ProjectionAndElimination) {
  create_counter_rank("k");  // rows [flag | i | j | k | N | 1]
  Polyhedron tri(Rows{{1, 1, 0, 0, 0, 0}, {1, -1, 1, 0, 0, 0}, {1, 0, -1, 0, 1, 0}});  // 0 <= i <= j <= N
  Polyhedron* on_i = tri.project(0);
  EXPECT_TRUE(holds(on_i, {2, 100, 100, 2}));
  EXPECT_FALSE(holds(on_i, {3, 100, 100, 2}));
  EXPECT_FALSE(holds(on_i, {-1, 100, 100, 2}));
  Polyhedron* without_j = tri.eliminate(1);
  EXPECT_EQ(row_set(without_j->to_matrix()), row_set(on_i->to_matrix()));
  Polyhedron* without_k = tri.eliminate(std::vector<int>{2});
  EXPECT_TRUE(holds(without_k, {1, 2, 50, 2}));
  EXPECT_FALSE(holds(without_k, {2, 1, 50, 2}));
  // A counter outside the constraints stays unconstrained.
  Polyhedron* with_free = tri.project(std::vector<int>{0, 2});
  EXPECT_TRUE(holds(with_free, {0, 9, -7, 1}));
  Polyhedron* none = tri.project(std::set<int>());
  EXPECT_FALSE(holds(none, {7, 7, 7, -1}));
  EXPECT_TRUE(holds(none, {7, 7, 7, 0}));
  for (Polyhedron* p : {on_i, without_j, without_k, with_free, none}) delete p;
}

TEST_F(PredicateTest, ProjectionThroughDivisions) {
  // j >= i / 2 and 0 <= i <= 4.
  Expression i("i"), j("j"), two(2);
  Expression half(DIV, &i, &two);
  Inequation* above = constraint(GREATER_EQ, j, half);
  Polyhedron p(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 0, 4}});
  p.add_constraint(above);
  delete above;
  EXPECT_STOP_ON_STDERR(p.project(0), "Polyhedron::project: cannot project constraints with integer divisions");
  Polyhedron* on_j = p.project(1);
  EXPECT_EQ(on_j->has_div(), 0);
  EXPECT_EQ(on_j->has_divs, 0);
  int nb = get_nb_counters();
  Point x(nb + 1, 0);
  x[1] = 0;
  EXPECT_TRUE(holds(on_j, x));
  x[1] = -1;
  EXPECT_FALSE(holds(on_j, x));
  delete on_j;
  Polyhedron* plain = p.eliminate_divs_and_simplify();
  EXPECT_EQ(plain->has_divs, 0);
  std::vector<Polyhedron*> all = Polyhedron::eliminate_divs(std::vector<Polyhedron*>{&p});
  EXPECT_EQ(all.size(), 1u);
  delete plain;
  del(all);
}

TEST_F(PredicateTest, Symmetrisation) {
  Polyhedron box(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 0, 3}});
  testing::internal::CaptureStdout();
  Polyhedron* sym = box.symetrize();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "dim = 1\n");
  for (int v = -4; v <= 4; v++) EXPECT_EQ(holds(sym, {v, 0, 0}), v >= -3 && v <= 3) << v;
  delete sym;
  // An equality stays one: the mirrored segment i == j.
  Polyhedron diagonal(Rows{{0, 1, -1, 0, 0}, {1, 1, 0, 0, 0}, {1, -1, 0, 0, 3}});
  testing::internal::CaptureStdout();
  sym = diagonal.symetrize();
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(holds(sym, {-2, -2, 0}));
  EXPECT_FALSE(holds(sym, {2, 1, 0}));
  EXPECT_FALSE(holds(sym, {1, 2, 0}));
  delete sym;
  // A kept counter of no constraint is not mistaken for another one.
  Polyhedron on_j(Rows{{1, 0, 1, 0, 0}, {1, 0, -1, 0, 3}});
  testing::internal::CaptureStdout();
  Polyhedron* kept_i = on_j.project_and_symetrize(std::set<int>{0});
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(holds(kept_i, {0, 10, 0}));
  delete kept_i;
  testing::internal::CaptureStdout();
  Polyhedron* kept_j = on_j.project_and_symetrize(std::set<int>{1});
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(holds(kept_j, {0, -3, 0}));
  EXPECT_FALSE(holds(kept_j, {0, 4, 0}));
  delete kept_j;
}

// The values of every registered counter (0 unless given by rank) and of N.
Point at(const std::map<int, int>& counters, int n) {
  Point x(get_nb_counters() + 1, 0);
  for (const auto& c : counters) x[c.first] = c.second;
  x.back() = n;
  return x;
}

TEST_F(PredicateTest, ImagesAgreeWithEnumeration) {
  std::mt19937 g(21);
  std::uniform_int_distribution<int> small(-2, 2);
  for (int round = 0; round < 10; round++) {
    Rows square = random_polyhedron(g, 2, 3);
    Rows rows;
    // Full width: image counters of earlier rounds are registered by now.
    for (const std::vector<int>& r : square) {
      std::vector<int> row(get_nb_counters() + 3, 0);
      row[0] = r[0];
      row[1] = r[1];
      row[2] = r[2];
      row.back() = r[3];
      rows.push_back(row);
    }
    int a = small(g), b = small(g);
    Rows map{{1, a, small(g)}, {b, 1 + a * b, small(g)}};  // determinant 1
    Polyhedron p(rows);
    IndexFunction f(map, std::vector<int>{0, 1}, std::vector<int>());
    std::pair<Polyhedron*, std::vector<int>> image = p.image(&f);
    ASSERT_EQ(image.second.size(), 2u);
    std::set<Point> mapped;
    for (const Point& x : points(square, 2, 3))
      mapped.insert({map[0][0] * x[0] + map[0][1] * x[1] + map[0][2], map[1][0] * x[0] + map[1][1] * x[1] + map[1][2]});
    if (mapped.empty()) {
      EXPECT_EQ(image.first->size(), 1) << "round " << round;
    } else {
      for (int t0 = -25; t0 <= 25; t0++)
        for (int t1 = -25; t1 <= 25; t1++) {
          bool in_image = holds(image.first, at({{image.second[0], t0}, {image.second[1], t1}}, 0));
          EXPECT_EQ(in_image, mapped.count({t0, t1}) == 1) << "round " << round << " " << t0 << "," << t1;
        }
    }
    delete image.first;
  }
}

TEST_F(PredicateTest, ImageCountersAndEdgeCases) {
  Polyhedron below_n(Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}});  // 0 <= i <= N - 1
  IndexFunction negated(Rows{{-1, -1}}, std::vector<int>{0}, std::vector<int>());
  std::pair<Polyhedron*, std::vector<int>> first = below_n.image(&negated);
  EXPECT_EQ(get_counter_string(first.second[0]), "t___0");
  EXPECT_EQ(first.first->is_empty(), 0);
  EXPECT_TRUE(holds(first.first, at({{first.second[0], -1}}, 1)));
  EXPECT_FALSE(holds(first.first, at({{first.second[0], 0}}, 1)));
  std::pair<Polyhedron*, std::vector<int>> again = below_n.image(&negated);
  EXPECT_EQ(again.second, first.second);
  // The image of an image speaks of t___0 on both sides.
  int t0 = first.second[0];
  IndexFunction plus_one(Rows{{1, 1}}, std::vector<int>{t0}, std::vector<int>());
  std::pair<Polyhedron*, std::vector<int>> shifted = first.first->image(&plus_one);
  EXPECT_EQ(shifted.second[0], t0);
  EXPECT_TRUE(holds(shifted.first, at({{t0, 0}}, 1)));
  EXPECT_FALSE(holds(shifted.first, at({{t0, 1}}, 1)));
  EXPECT_FALSE(holds(shifted.first, at({{t0, -1}}, 1)));
  // Empty receiver: 1 > 1, the counters still returned.
  Polyhedron crossed(Rows{{1, 1, 0, 0, 0, 0, -1}, {1, -1, 0, 0, 0, 0, 0}});
  std::pair<Polyhedron*, std::vector<int>> none = crossed.image(&negated);
  ASSERT_EQ(none.first->size(), 1);
  Inequation* c = none.first->constraints.front();
  EXPECT_EQ(c->pred, GREATER);
  EXPECT_TRUE(c->lhs->is_value(1));
  EXPECT_TRUE(c->rhs->is_value(1));
  EXPECT_EQ(none.second, first.second);
  // No component: only what the receiver says of the parameters.
  IndexFunction nothing;
  std::pair<Polyhedron*, std::vector<int>> params = below_n.image(&nothing);
  EXPECT_TRUE(params.second.empty());
  EXPECT_FALSE(holds(params.first, at({}, 0)));
  EXPECT_TRUE(holds(params.first, at({}, 1)));
  // Listed components and schedules.
  IndexFunction two(Rows{{1, 0}, {-1, -1}}, std::vector<int>{0}, std::vector<int>());
  std::pair<Polyhedron*, std::map<int, int>> second = below_n.image(&two, {1});
  EXPECT_EQ(second.second, (std::map<int, int>{{t0, 1}}));
  EXPECT_TRUE(holds(second.first, at({{t0, -1}}, 1)));
  Schedule s(&negated);
  std::pair<Polyhedron*, std::vector<int>> dated = below_n.image(&s);
  EXPECT_EQ(row_set(dated.first->to_matrix()), row_set(first.first->to_matrix()));
  for (Polyhedron* p : {first.first, again.first, shifted.first, none.first, params.first, second.first, dated.first})
    delete p;
}

}  // namespace
