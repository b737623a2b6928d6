// Simplification, equalities, integer divisions, renamings and removals.

#include <gtest/gtest.h>

#include <functional>

#include "CoreTest.h"
#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Rank.h"

typedef std::vector<std::vector<int>> Rows;

namespace {

class PolyhedronRewriting : public ::testing::Test {
 protected:
  FreshRegistry registry{{"i", "j"}, {"N"}};
  Expression i{std::string("i")}, j{std::string("j")}, N{std::string("N")};
  Expression zero{0}, one{1}, two{2};
};

TEST_F(PolyhedronRewriting, SimplifyKeepsTheLastOfEqualConstraints) {
  Polyhedron* p = poly({i >= 0, j >= 0, i >= 0, new Inequation(LESS_EQ, &zero, &one)});
  Polyhedron* s = p->simplify();
  EXPECT_EQ(box(s), "/\n| j >= 0\n| i >= 0\n\\\n");
  EXPECT_EQ(p->size(), 4);
  delete s;
  delete p;
}

TEST_F(PolyhedronRewriting, SimplifyKeepsFloorConstraintsInsteadOfCrashing) {
  Expression f(FLOOR, &N, &two);
  Polyhedron* p = poly({i <= f, i >= 0});
  Polyhedron* s = nullptr;
  testing::internal::CaptureStdout();
  s = p->simplify();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(s->size(), 2);
  delete s;
  delete p;
}

TEST_F(PolyhedronRewriting, EqualitiesSplitAndRecovered) {
  Polyhedron* eq = poly({new Inequation(EQ, &i, &N)});
  Polyhedron* split = eq->normalize_no_eq();
  EXPECT_EQ(box(split), "/\n| i <= N\n| i >= N\n\\\n");
  Polyhedron* back = split->recover_eq();
  ASSERT_EQ(back->size(), 1);
  EXPECT_EQ(back->constraints.front()->pred, EQ);
  EXPECT_EQ(box(back), "/\n| (-1*i)+N = 0\n\\\n");
  Polyhedron* rewritten = eq->recover_eq();
  EXPECT_EQ(box(rewritten), "/\n| i+(-1*N) = 0\n\\\n");
  Polyhedron* twice = poly({i >= 0, i >= 0});
  Polyhedron* once = twice->recover_eq();
  EXPECT_EQ(box(once), "/\n| i >= 0\n\\\n");
  // Division constraints and equalities first, then the rows found, flag-0
  // rows ahead of flag-1 rows.
  Expression half(DIV, &i, &two);
  Polyhedron* mixed = poly({j >= 0, half >= 0, j <= 0, new Inequation(EQ, &i, &N)});
  Polyhedron* r = mixed->recover_eq();
  EXPECT_EQ(box(r), "/\n| i/2 >= 0\n| i+(-1*N) = 0\n| j = 0\n\\\n");
  Polyhedron* by_rows = split->simplify_matrix();
  EXPECT_EQ(by_rows->size(), 2);
  for (Polyhedron* x : {eq, split, back, rewritten, twice, once, mixed, r, by_rows}) delete x;
}

TEST_F(PolyhedronRewriting, Odometer) {
  EXPECT_EQ(Polyhedron::first_instance({2, 3}), (std::vector<int>{0, 0}));
  EXPECT_EQ(Polyhedron::next_instance({2, 3}, {0, 2}), (std::vector<int>{1, 0}));
  EXPECT_EQ(Polyhedron::next_instance({2, 3}, {1, 2}), (std::vector<int>{}));
  std::vector<int> sizes{2, 1, 3, 2};
  std::set<std::vector<int>> seen;
  int count = 0;
  for (std::vector<int> c = Polyhedron::first_instance(sizes); !c.empty();
       c = Polyhedron::next_instance(sizes, c)) {
    seen.insert(c);
    count++;
  }
  EXPECT_EQ(count, 12);
  EXPECT_EQ(seen.size(), 12u);
}

TEST_F(PolyhedronRewriting, EliminateDivsIntroducesQuotientAndRemainder) {
  FreshRegistry only_i({"i"}, {});
  Expression x(std::string("i")), two_(2);
  Expression half(DIV, &x, &two_);
  Polyhedron* p = poly({half >= 1});
  std::pair<std::set<int>, Polyhedron*> r = p->eliminate_divs();
  EXPECT_EQ(get_counter_rank("q__0"), 1);
  EXPECT_EQ(get_counter_rank("r__0"), 2);
  EXPECT_EQ(r.first, (std::set<int>{1, 2}));
  EXPECT_EQ(r.second->has_divs, 0);
  EXPECT_EQ(box(r.second), "/\n| q__0 >= 1\n| i = (2*q__0)+r__0\n| r__0 >= 0\n| r__0 < 2\n\\\n");
  EXPECT_EQ(row_set(r.second->to_matrix()),
            row_set({{1, 0, 1, 0, -1}, {1, 1, -2, -1, 0}, {1, -1, 2, 1, 0}, {1, 0, 0, 1, 0},
                     {1, 0, 0, -1, 1}}));
  EXPECT_EQ(box(p), "/\n| i/2 >= 1\n\\\n");
  // A second call restarts at 0 and shares the names.
  std::pair<std::set<int>, Polyhedron*> again = p->eliminate_divs();
  EXPECT_EQ(again.first, r.first);
  EXPECT_EQ(get_nb_counters(), 3);
  // Without division: an empty set and a copy.
  Polyhedron* plain = poly({x >= 0});
  std::pair<std::set<int>, Polyhedron*> none = plain->eliminate_divs();
  EXPECT_TRUE(none.first.empty());
  EXPECT_EQ(box(none.second), "/\n| i >= 0\n\\\n");
  // In place: the flag follows the rewrite.
  std::set<int> local = p->eliminate_divs_local();
  EXPECT_EQ(local, r.first);
  EXPECT_EQ(p->has_divs, 0);
  EXPECT_EQ(p->size(), 4);
  for (Polyhedron* x_ : {p, r.second, again.second, plain, none.second}) delete x_;
}

// 1 when some values of the counters above i, within small ranges, satisfy
// every row with i fixed: the brute-force projection onto i.
static bool has_witness(const Rows& rows, int i, int nb_extra) {
  std::vector<int> point(nb_extra + 1, -12);
  point[0] = i;
  std::function<bool(int)> search = [&](int k) -> bool {
    if (k > nb_extra) {
      for (const std::vector<int>& row : rows) {
        long value = row.back();
        for (int c = 0; c <= nb_extra; c++) value += (long)row[c + 1] * point[c];
        if (row[0] == 0 ? value != 0 : value < 0) return false;
      }
      return true;
    }
    for (point[k] = -12; point[k] <= 12; point[k]++)
      if (search(k + 1)) return true;
    return false;
  };
  return search(1);
}

TEST_F(PolyhedronRewriting, EliminatedDivisionsKeepTheIntegerPoints) {
  FreshRegistry only_i({"i"}, {});
  Expression x(std::string("i")), two_(2), three(3), minus_two(-2);
  Expression inner(DIV, &x, &two_);
  Expression nested(DIV, &inner, &three);
  Expression negative(DIV, &x, &minus_two);
  struct Case {
    Expression* e;
    int bound;
    std::function<int(int)> meaning;
  };
  std::vector<Case> cases{
      {&nested, 1, [](int v) { return floor_div(floor_div(v, 2), 3); }},
      {&nested, -1, [](int v) { return floor_div(floor_div(v, 2), 3); }},
      {&negative, 1, [](int v) { return floor_div(v, -2); }},
      {&negative, -2, [](int v) { return floor_div(v, -2); }},
  };
  for (const Case& c : cases) {
    Polyhedron* p = poly({*c.e >= c.bound});
    std::pair<std::set<int>, Polyhedron*> r = p->eliminate_divs();
    Rows rows = r.second->to_matrix();
    int extra = get_nb_counters() - 1;
    for (int v = -12; v <= 12; v++)
      EXPECT_EQ(has_witness(rows, v, extra), c.meaning(v) >= c.bound) << *c.e << " at i=" << v;
    delete p;
    delete r.second;
  }
}

TEST_F(PolyhedronRewriting, EliminateDivsStops) {
  ChildRun r = run_in_child([this] {
    Expression q(DIV, &i, &j);
    Polyhedron* p = poly({q >= 0});
    p->eliminate_divs();
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Polyhedron::eliminate_divs: not a division by a constant: i/j\n");
  r = run_in_child([this] {
    Expression q(DIV, &i, &zero);
    Polyhedron* p = poly({q >= 0});
    p->eliminate_divs_local();
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "Polyhedron::eliminate_divs: division by zero: i/0\n");
}

TEST_F(PolyhedronRewriting, OccurrenceAndDivisionLists) {
  Expression cancel(MINUS, &i, &i);
  Expression d1(DIV, &N, &two);
  Expression d2(DIV, &j, &two);
  Polyhedron* p = poly({cancel >= 0, i <= d1, d2 >= N});
  EXPECT_EQ(p->get_counters(), (std::set<int>{0, 1}));
  EXPECT_EQ(p->get_counters_vec(), (std::vector<int>{0, 1}));
  EXPECT_EQ(p->get_parameters(), (std::set<int>{0}));
  std::vector<Expression*> divs = p->get_divs();
  ASSERT_EQ(divs.size(), 2u);
  EXPECT_EQ(text_of([&](std::ostream& os) { os << *divs[0] << " " << *divs[1]; }), "N/2 j/2");
  Polyhedron none;
  EXPECT_TRUE(none.get_counters().empty());
  EXPECT_TRUE(none.get_divs().empty());
  delete p;
}

TEST_F(PolyhedronRewriting, RenamingsAndSubstitutions) {
  Polyhedron* p = poly({i >= j, i < N});
  Rows before = p->to_matrix();
  Polyhedron* swapped = p->counters_to_counters({{0, 1}, {1, 0}});
  EXPECT_EQ(swapped->has_matrix, 0);
  EXPECT_EQ(box(swapped), "/\n| j >= i\n| j < N\n\\\n");
  Polyhedron* back = swapped->counters_to_counters({{0, 1}, {1, 0}});
  EXPECT_EQ(back->to_matrix(), before);
  Polyhedron* copy = p->parameters_to_parameters({});
  EXPECT_EQ(box(copy), box(p));
  Expression shifted(PLUS, &j, &one);
  Polyhedron* sub = p->substitute_counters({{0, &shifted}});
  EXPECT_EQ(box(sub), "/\n| j+1 >= j\n| j+1 < N\n\\\n");
  Polyhedron* by_parameter = p->counters_to_parameters({{0, 0}});
  EXPECT_EQ(by_parameter->get_counters(), (std::set<int>{1}));
  Polyhedron* by_counter = p->parameters_to_counters({{0, 1}});
  EXPECT_EQ(box(by_counter), "/\n| i >= j\n| i < j\n\\\n");
  Polyhedron* sub_parameter = p->substitute_parameters({{0, &two}});
  EXPECT_EQ(box(sub_parameter), "/\n| i >= j\n| i < 2\n\\\n");
  std::vector<Polyhedron*> listed = Polyhedron::counters_to_counters({p, swapped}, {{0, 1}});
  EXPECT_EQ(box(listed[1]), "/\n| j >= j\n| j < N\n\\\n");
  del(listed);
  for (Polyhedron* x : {p, swapped, back, copy, sub, by_parameter, by_counter, sub_parameter})
    delete x;
}

TEST_F(PolyhedronRewriting, ListFormsRejectDomains) {
  ChildRun r = run_in_child([] {
    Domain d;
    Polyhedron::substitute_counters({&d}, {});
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Polyhedron::substitute_counters: expect single polyhedra\n");
  r = run_in_child([] {
    Domain d;
    Polyhedron::remove_constraints({&d}, std::set<int>{0});
  });
  EXPECT_EQ(r.err, "Polyhedron::remove_constraints: expect single polyhedra\n");
}

TEST_F(PolyhedronRewriting, FloorAndCeilEliminatedInPlace) {
  Expression four(4);
  Expression c(CEIL, &N, &four);
  Polyhedron* p = poly({i >= c});
  p->eliminate_floor_and_ceil();
  EXPECT_EQ(box(p), "/\n| 4*i >= N\n\\\n");
  EXPECT_EQ(p->has_matrix, 0);
  delete p;
}

TEST_F(PolyhedronRewriting, RemovalsRebuildFromRows) {
  Expression sum(PLUS, &i, &j);
  Polyhedron* p =
      poly({i >= 0, i <= N, sum >= 0, N >= 1, new Inequation(EQ, &i, &two)});
  Polyhedron* r = p->remove_constraints(std::set<int>{0});
  EXPECT_EQ(box(r), "/\n| i+j >= 0\n| -1+N >= 0\n\\\n");
  Polyhedron* all = p->remove_constraints(std::vector<int>{0, 1});
  // Two counters of the set in one row: not a single-counter bound.
  EXPECT_EQ(box(all), box(r));
  std::vector<Polyhedron*> listed = Polyhedron::remove_constraints({p}, std::vector<int>{0});
  EXPECT_EQ(box(listed[0]), box(r));
  del(listed);
  Polyhedron* q = poly({i >= 0});
  Polyhedron* nothing = q->remove_constraints(std::set<int>{0});
  EXPECT_EQ(nothing->size(), 0);
  Polyhedron* context = poly({i >= 0, N >= 1, new Inequation(GREATER_EQ, &one, &zero)});
  Polyhedron* without = context->remove_context();
  EXPECT_EQ(box(without), "/\n| i >= 0\n| 1 >= 0\n\\\n");
  for (Polyhedron* x : {p, r, all, q, nothing, context, without}) delete x;
}

}  // namespace
