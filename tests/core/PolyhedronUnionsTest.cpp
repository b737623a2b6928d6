// Tests over unions, equality, complements, substitutions, the self-test
// and the stream operators of unions.

#include <gtest/gtest.h>

#include <algorithm>

#include "CoreTest.h"
#include "Domain.h"
#include "Options.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronOracles.h"
#include "PolyhedronTestSupport.h"

namespace {

class Unions : public IJNLeavesTest {
 protected:
  // Every point of the box with N >= 0.
  std::set<Point> everything() {
    Polyhedron universe;
    return point_set(&universe, 0);
  }
};

// The point sets of each piece, with N >= 0.
std::set<std::set<Point>> piece_sets(const Union& pieces) {
  std::set<std::set<Point>> r;
  for (Polyhedron* p : pieces) r.insert(point_set(p, 0));
  return r;
}

}  // namespace

TEST_F(Unions, ComplementsOfRandomPolyhedraAndPairs) {
  std::mt19937 g(2114);
  for (int t = 0; t < 24; t++) {
    Union v = random_union(g, 2, t % 3 != 0);
    Union one = v[0]->negate();
    EXPECT_EQ(point_set(one, 0), minus(everything(), point_set(v[0], 0))) << box(v[0]);
    del(one);
    // The complement of a pair has a piece per pair of negated constraints.
    if (t % 6 == 0) {
      Union both = Polyhedron::negate(v);
      EXPECT_EQ(point_set(both, 0), minus(everything(), point_set(v, 0)));
      del(both);
    }
    del(v);
  }
}

TEST_F(Unions, ComplementsWithEqualitiesAndEdgeCases) {
  Expression three(3);
  Polyhedron* equality = poly({new Inequation(EQ, i, &three)});
  Union sides = equality->negate();
  Polyhedron* below = poly({*i < 3});
  Polyhedron* above = poly({*i > 3});
  EXPECT_EQ(piece_sets(sides), piece_sets(Union{below, above}));
  del(sides);
  // PolyLib's rows: the equality i == 3 as a flag-0 row.
  Polyhedron* pinned = poly({*i >= 3, *i <= 3, *j >= 0});
  Polyhedron* rows = pinned->simplify_chernikova();
  ASSERT_TRUE(rows->has_eq());
  Union outside = rows->negate();
  EXPECT_EQ(point_set(outside, 0), minus(everything(), point_set(pinned, 0)));
  del(outside);
  Polyhedron nothing;
  EXPECT_TRUE(nothing.negate().empty());
  Union all = Polyhedron::negate(Union{});
  ASSERT_EQ(all.size(), 1u);
  EXPECT_TRUE(all[0]->is_universe());
  del(all);
  del(Union{equality, below, above, pinned, rows});
}

TEST_F(Unions, EqualityAgainstEnumeration) {
  std::mt19937 g(1140);
  int equal_pairs = 0, unequal_pairs = 0;
  for (int t = 0; t < 30; t++) {
    Polyhedron* p = random_ijn(g, true, 0);
    // Another random polyhedron, or p cut by a constraint that is now and
    // then redundant.
    Polyhedron* other = random_ijn(g, t % 2 == 0, 0);
    std::uniform_int_distribution<int> coef(-1, 1), cst(2, 9);
    Polyhedron cut(Rows{{1, coef(g), coef(g), coef(g), cst(g)}});
    Polyhedron* q = t % 2 ? *p + cut : other->clone();
    delete other;
    EXPECT_EQ(*p == *q, point_set(p, 0) == point_set(q, 0)) << box(p) << box(q);
    // The same set, written differently.
    Rows rows = p->to_matrix();
    std::reverse(rows.begin(), rows.end());
    rows.push_back({1, -1, 0, 0, 10});
    Polyhedron r(rows);
    EXPECT_EQ(*p == r, 1);
    EXPECT_EQ(p->equals(&r), 0);
    equal_pairs += point_set(p, 0) == point_set(q, 0);
    unequal_pairs += point_set(p, 0) != point_set(q, 0);
    del(Union{p, q});
  }
  EXPECT_GT(equal_pairs, 0);
  EXPECT_GT(unequal_pairs, 0);
  // Sets differing in one point; sets equal for every N >= 0 only.
  Expression zero(0);
  Polyhedron* a = poly({*i >= 0, *i <= 3, new Inequation(EQ, j, &zero), new Inequation(EQ, n, &zero)});
  Polyhedron* b = poly({*i >= 0, *i <= 4, new Inequation(EQ, j, &zero), new Inequation(EQ, n, &zero)});
  Polyhedron* c = poly({*i >= 0, *i <= 3});
  Polyhedron* d = poly({*i >= 0, *i <= 3, *n >= 0});
  EXPECT_EQ(*a == *b, 0);
  EXPECT_EQ(*b == *a, 0);
  EXPECT_EQ(*c == *d, 1);
  EXPECT_EQ(c->equals(d), 0);
  EXPECT_EQ(c->equals(c), 1);
  EXPECT_EQ(equals(Union{a, c}, Union{a, c}), 1);
  EXPECT_EQ(equals(Union{a, c}, Union{a, d}), 0);
  EXPECT_EQ(equals(Union{a}, Union{a, d}), 0);
  Polyhedron none, also_none;
  EXPECT_EQ(none.equals(&also_none), 1);
  del(Union{a, b, c, d});
}

TEST_F(Unions, TestsOverVectorsAndLists) {
  Expression one(1), zero(0);
  Polyhedron* never = poly({new Inequation(EQ, &one, &zero)});
  Polyhedron* also_never = poly({*i >= 1, *i <= 0});
  Polyhedron* some = poly({*i >= 2});
  Polyhedron* all = universe();
  EXPECT_EQ(Polyhedron::is_empty(Union{}), 1);
  EXPECT_EQ(Polyhedron::is_empty(std::list<Polyhedron*>{}), 1);
  EXPECT_EQ(Polyhedron::is_empty(Union{never, also_never}), 1);
  EXPECT_EQ(Polyhedron::is_empty(std::list<Polyhedron*>{never, some}), 0);
  EXPECT_EQ(Polyhedron::is_universe(Union{}), 0);
  EXPECT_EQ(Polyhedron::is_universe(std::list<Polyhedron*>{}), 0);
  EXPECT_EQ(Polyhedron::is_universe(Union{some, all}), 1);
  EXPECT_EQ(Polyhedron::is_universe(std::list<Polyhedron*>{some, never}), 0);
  EXPECT_EQ(Polyhedron::weak_is_empty(Union{never}), 1);
  EXPECT_EQ(Polyhedron::weak_is_empty(Union{never, never}), 0);
  EXPECT_EQ(Polyhedron::weak_is_empty(Union{also_never}), 0);
  EXPECT_EQ(Polyhedron::weak_is_empty(Union{}), 0);
  Inequation* positive = *i >= 0;
  EXPECT_EQ(some->implies(positive), 1);
  EXPECT_EQ(all->implies(positive), 0);
  EXPECT_EQ(Polyhedron().implies(positive), 0);
  EXPECT_EQ(Polyhedron::implies(Union{}, positive), 1);
  EXPECT_EQ(Polyhedron::implies(Union{some, all}, positive), 0);
  EXPECT_EQ(Polyhedron::implies(Union{some, also_never}, positive), 1);
  delete positive;
  del(Union{never, also_never, some, all});
}

TEST_F(Unions, StreamsOfVectorsListsAndDomains) {
  Polyhedron* p = poly({*i >= 0});
  Polyhedron* q = poly({*j <= 2});
  auto written = [](const auto& container) { return text_of([&](std::ostream& os) { os << container; }); };
  EXPECT_EQ(written(Union{}), "(empty domain)");
  EXPECT_EQ(written(std::list<Polyhedron*>{}), "(empty domain)");
  EXPECT_EQ(written(Union{p, q}), box(p) + "U\n" + box(q));
  EXPECT_EQ(written(std::list<Polyhedron*>{p, q}), box(p) + "U\n" + box(q) + "U\n");
  Domain d(Union{p, q});
  EXPECT_EQ(box(&d), written(Union{p, q}));
  Domain nothing;
  EXPECT_EQ(box(&nothing), "(empty domain)");
  del(Union{p, q});
}

TEST_F(Unions, SelfTestFindsSharedNodes) {
  Polyhedron* p = poly({*i >= 0, *j >= 0});
  EXPECT_FALSE(p->check().empty());
  Inequation* second = p->constraints.back();
  Expression* own = second->lhs;
  second->lhs = p->constraints.front()->lhs;
  std::string thrown;
  try {
    p->check();
  } catch (const char* message) {
    thrown = message;
  }
  EXPECT_EQ(thrown, "Polyhedron::check: interference found");
  second->lhs = own;
  delete p;
}

TEST_F(Unions, SelfTestOverAUnion) {
  Polyhedron* bounded = poly({*i >= 0, *i <= 3, *j >= 0, *j <= 3});
  const std::string stars(46, '*');
  ChildRun off = run_in_child([&] { check(Union{bounded}, "m"); });
  EXPECT_EQ(off.out, "");
  ChildRun on = run_in_child([&] {
    Options::option["check"] = 1;
    check(Union{bounded}, "m");
    check(Union{bounded, bounded}, "");
  });
  EXPECT_EQ(on.status, 0);
  EXPECT_EQ(on.out, "\n" + stars + "\n** CHECK m\n\n0\n\n** PASSED\n" + stars + "\n" + "0\n1\n\n** PASSED\n" + stars +
                        "\n");
  delete bounded;
}

TEST_F(Unions, SubstituteDomainMovesPointersOnly) {
  Polyhedron a, b, c, d;
  std::map<Polyhedron*, Polyhedron*> m{{&a, &a}, {&c, &a}, {&d, &c}};
  substitute_domain(m, &a, &d);
  EXPECT_EQ(m, (std::map<Polyhedron*, Polyhedron*>{{&c, &d}, {&d, &d}}));
  substitute_domain(m, &d, &d);
  EXPECT_EQ(m, (std::map<Polyhedron*, Polyhedron*>{{&c, &d}, {&d, &d}}));
  substitute_domain(m, &b, &a);
  EXPECT_EQ(m.size(), 2u);
}

TEST_F(Unions, BuildersOwnWhatTheyReturn) {
  std::set<Expression*> s = *i & *j & *n;
  EXPECT_EQ(s.size(), 3u);
  EXPECT_EQ(s.count(i), 0u);
  std::set<Expression*> t;
  EXPECT_EQ(&(t & *i), &t);
  EXPECT_EQ(t.size(), 1u);
  for (Expression* e : s) delete e;
  for (Expression* e : t) delete e;
  Polyhedron* p = poly({*i >= 0, *i <= 5});
  Polyhedron* q = poly({*j >= 1});
  Polyhedron* r = *p + *q;
  EXPECT_EQ(box(r), "/\n| i >= 0\n| i <= 5\n| j >= 1\n\\\n");
  EXPECT_EQ(p->size(), 2);
  EXPECT_EQ(q->size(), 1);
  Union copies = clone(Union{p, q});
  EXPECT_EQ(box(copies[0]), box(p));
  EXPECT_NE(copies[0], p);
  del(copies);
  del(Union{p, q, r});
}

TEST_F(Unions, DomainsStop) {
  Polyhedron* p = poly({*i >= 0});
  Domain d(Union{p});
  Inequation* c = *i >= 0;
  EXPECT_STOP_ON_STDERR(d.negate(), "Polyhedron::negate: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::is_empty(Union{p, &d}), "Polyhedron::is_empty: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::is_universe(Union{&d}), "Polyhedron::is_universe: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(Polyhedron::implies(Union{&d}, c), "Polyhedron::implies: expect single polyhedra");
  EXPECT_STOP_ON_STDERR((void)(*p == d), "Polyhedron::operator==: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(delete (d + *p), "Polyhedron::operator+: expect single polyhedra");
  EXPECT_STOP_ON_STDERR(
      {
        Options::option["check"] = 1;
        check(Union{p, &d}, "");
      },
      "Polyhedron::check: expect single polyhedra");
  delete c;
  delete p;
}
