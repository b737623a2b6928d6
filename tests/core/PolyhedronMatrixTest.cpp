// Polyhedron construction, the matrix cache, compaction and widening.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "Domain.h"
#include "Expression.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Rank.h"

typedef std::vector<std::vector<int>> Rows;

namespace {

class PolyhedronMatrix : public ::testing::Test {
 protected:
  FreshRegistry registry{{"i", "j"}, {"N"}};
  Expression i{std::string("i")}, j{std::string("j")}, N{std::string("N")};
};

TEST_F(PolyhedronMatrix, UniverseHasNoRowsInAnyForm) {
  Polyhedron p;
  EXPECT_EQ(p.size(), 0);
  EXPECT_TRUE(p.to_matrix().empty());
  EXPECT_TRUE(p.to_matrix(std::vector<int>{0}, std::vector<int>{0}).empty());
  Polyhedron* c = p.clone();
  EXPECT_EQ(c->size(), 0);
  delete c;
}

TEST_F(PolyhedronMatrix, RowsFromConstraints) {
  Polyhedron* p = poly({i == 0, i < N});
  // An equality gives lhs - rhs then rhs - lhs; a strict bound loses 1.
  EXPECT_EQ(p->to_matrix(), (Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 0, 0}, {1, -1, 0, 1, -1}}));
  delete p;
}

TEST_F(PolyhedronMatrix, SizeCountsConstraintsNotRows) {
  Polyhedron* p = poly({new Inequation(EQ, &i, &N)});
  EXPECT_EQ(p->size(), 1);
  EXPECT_EQ(p->to_matrix().size(), 2u);
  delete p;
}

TEST_F(PolyhedronMatrix, WideningByVectorsOfRanks) {
  Polyhedron p(Rows{{1, 1, -1, 0}}, std::vector<int>{1}, std::vector<int>{0});
  EXPECT_EQ(p.to_matrix(), (Rows{{1, 0, 1, -1, 0}}));
  EXPECT_EQ(text_of([&](std::ostream& os) { p.print(os); }), "/\n| j+(-1*N) >= 0\n\\\n");
}

TEST_F(PolyhedronMatrix, WideningEdgeForms) {
  // Empty choices: rows on the constant alone.
  Polyhedron constant(Rows{{1, 3}}, std::vector<int>{}, std::vector<int>{});
  EXPECT_EQ(constant.to_matrix(), (Rows{{1, 0, 0, 0, 3}}));
  // A rank listed twice takes the later column.
  Polyhedron twice(Rows{{1, 2, 5, 0}}, std::vector<int>{0, 0}, std::vector<int>{});
  EXPECT_EQ(twice.to_matrix(), (Rows{{1, 5, 0, 0, 0}}));
  // Constructor 7 copies every parameter; sets give ascending rank order.
  Polyhedron all(Rows{{0, 1, 2, 3, 4}}, std::set<int>{1, 0});
  EXPECT_EQ(all.to_matrix(), (Rows{{0, 1, 2, 3, 4}}));
}

TEST_F(PolyhedronMatrix, WidthAndRankStops) {
  ChildRun r = run_in_child([] { Polyhedron p(Rows{{1, 2}}, std::set<int>{0}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Polyhedron::Polyhedron(active_counters): expect 4 columns. Found: 2\n");
  r = run_in_child([] {
    Polyhedron p(Rows{{1, 1, 0}, {1, 1}}, std::set<int>{0}, std::set<int>{});
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Polyhedron::Polyhedron(active_counters,active_parameters): expect 3 columns. "
            "Found: 2\n");
  r = run_in_child([] {
    Polyhedron p(Rows{{1, 1, 0, 0, 0, 0}}, std::vector<int>{0, 1, 0}, std::vector<int>{});
  });
  EXPECT_EQ(r.err,
            "Polyhedron::Polyhedron(active_counters,active_parameters): expect 5 columns. "
            "Found: 6\n");
  // A row one entry short would read its first coefficient as the flag.
  r = run_in_child([] { Polyhedron p(Rows{{1, 0, 0, 0}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Polyhedron::Polyhedron(matrix): expect 5 columns. Found: 4\n");
  r = run_in_child([] { Polyhedron p(Rows{{1, 0, 0}}, std::vector<int>{2}, std::vector<int>{}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Polyhedron::Polyhedron(active_counters,active_parameters): counter rank out of "
            "range: 2\n");
  r = run_in_child([] {
    Polyhedron p;
    p.to_matrix(std::vector<int>{0}, std::vector<int>{-1});
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Polyhedron::to_matrix: parameter rank out of range: -1\n");
}

TEST_F(PolyhedronMatrix, FlagZeroRowsSurviveCopyButNotClone) {
  Polyhedron p(Rows{{0, 1, 0, 0, -2}});
  EXPECT_EQ(p.to_matrix(), (Rows{{0, 1, 0, 0, -2}}));
  Polyhedron copy(&p);
  EXPECT_EQ(copy.to_matrix(), (Rows{{0, 1, 0, 0, -2}}));
  Polyhedron* c = p.clone();
  EXPECT_EQ(c->has_matrix, 0);
  EXPECT_EQ(c->to_matrix(), (Rows{{1, 1, 0, 0, -2}, {1, -1, 0, 0, 2}}));
  delete c;
}

TEST_F(PolyhedronMatrix, NewCounterMakesEveryCacheStale) {
  Polyhedron p(Rows{{0, 1, 0, 0, -2}});
  create_counter_rank("k");
  // Rebuilt from the constraint: one column wider, the equality as two rows.
  EXPECT_EQ(p.to_matrix(), (Rows{{1, 1, 0, 0, 0, -2}, {1, -1, 0, 0, 0, 2}}));
  EXPECT_EQ(p.nb_counters, 3);
}

TEST_F(PolyhedronMatrix, AddConstraintsCacheRule) {
  Polyhedron* p = poly({i >= 0});
  Polyhedron none;
  p->add_constraints(&none);
  EXPECT_EQ(p->has_matrix, 1);
  EXPECT_EQ(p->matrix, (Rows{{1, 1, 0, 0, 0}}));
  Polyhedron* q = poly({j >= 0});
  p->add_constraints(q);
  EXPECT_EQ(p->has_matrix, 0);
  EXPECT_EQ(q->has_matrix, 1);
  EXPECT_EQ(p->size(), 2);
  // Adding a polyhedron to itself doubles its list and terminates.
  p->add_constraints(p);
  EXPECT_EQ(p->size(), 4);
  delete p;
  delete q;
}

TEST_F(PolyhedronMatrix, DivisionFlagAndCopies) {
  Polyhedron* p = poly({i >= 0});
  Expression two(2);
  Expression half(DIV, &N, &two);
  Inequation* c = (i <= half);
  p->add_constraint(c);
  delete c;
  EXPECT_EQ(p->has_divs, 1);
  Polyhedron copy(p);
  EXPECT_EQ(copy.has_divs, 1);
  EXPECT_EQ(copy.has_matrix, 0);
  // Floor, ceil and modulo are no division nodes.
  Expression f(FLOOR, &N, &two);
  Inequation* g = (i <= f);
  Polyhedron floor_bound(g);
  delete g;
  EXPECT_EQ(floor_bound.has_divs, 0);
  delete p;
}

TEST_F(PolyhedronMatrix, IntersectKeepsOrderAndArguments) {
  Polyhedron* p = poly({i >= 0});
  Polyhedron* q = poly({i < N, j >= 0});
  Polyhedron* r = Polyhedron::intersect(p, q);
  EXPECT_EQ(text_of([&](std::ostream& os) { r->print(os); }),
            "/\n| i >= 0\n| i < N\n| j >= 0\n\\\n");
  EXPECT_EQ(p->size(), 1);
  EXPECT_EQ(q->size(), 2);
  EXPECT_EQ(r->to_matrix(),
            (Rows{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}}));
  delete r;
  Inequation* a = (i >= 0);
  Inequation* b = (j >= 0);
  Polyhedron* both = (*a && *b);
  EXPECT_EQ(both->size(), 2);
  Polyhedron* more = (*both && *a);
  EXPECT_EQ(more->size(), 3);
  delete a;
  delete b;
  delete both;
  delete more;
  delete p;
  delete q;
}

TEST_F(PolyhedronMatrix, UniverseAndEmptyHoldOneConstraint) {
  Polyhedron* u = universe();
  Polyhedron* e = empty();
  EXPECT_EQ(u->to_matrix(), (Rows{{1, 0, 0, 0, 0}}));
  EXPECT_EQ(e->to_matrix(), (Rows{{1, 0, 0, 0, -1}}));
  EXPECT_EQ(text_of([&](std::ostream& os) { e->print(os); }), "/\n| 0 > 0\n\\\n");
  delete u;
  delete e;
}

TEST_F(PolyhedronMatrix, Compaction) {
  Polyhedron p(Rows{{1, 2, 3, 4, 5}, {0, 0, 0, 7, 1}});
  EXPECT_EQ(p.to_matrix(std::set<int>{1}), (Rows{{1, 3, 4, 5}, {0, 0, 7, 1}}));
  EXPECT_EQ(p.to_matrix(std::vector<int>{1, 0, 1}), (Rows{{1, 3, 2, 3, 4, 5}, {0, 0, 0, 0, 7, 1}}));
  EXPECT_EQ(p.to_matrix(std::vector<int>{}), (Rows{{1, 4, 5}, {0, 7, 1}}));
  EXPECT_EQ(p.to_matrix(std::vector<int>{}, std::vector<int>{}), (Rows{{1, 5}, {0, 1}}));
  EXPECT_EQ(p.to_matrix_linear(std::vector<int>{1, 0}), (Rows{{3, 2}, {0, 0}}));
  // Expressions are ordered by rank, not by pointer.
  Expression* b = var(1);
  Expression* a = var(0);
  EXPECT_EQ(p.to_matrix(std::set<Expression*>{a, b}), (Rows{{1, 2, 3, 4, 5}, {0, 0, 0, 7, 1}}));
  delete a;
  delete b;
}

TEST_F(PolyhedronMatrix, ContextRows) {
  EXPECT_EQ(is_context({1, 0, 0, 0, 5}), 0);
  EXPECT_EQ(is_context({1, 0, 0, 2, 0}), 1);
  EXPECT_EQ(is_context({1, 1, 0, 2, 0}), 0);
  EXPECT_EQ(is_null({1, 0, 0, 0, 0}), 1);
  EXPECT_EQ(is_null({1, 0, 0, 0, 1}), 0);
  Polyhedron p(Rows{{1, 1, 0, 0, 0}, {0, 0, 0, 1, -1}, {1, 0, 0, 0, 1}});
  auto split = p.to_matrix_context();
  EXPECT_EQ(split.first, (Rows{{0, 1, -1}}));
  EXPECT_EQ(split.second, (Rows{{1, 1, 0, 0, 0}, {1, 0, 0, 0, 1}}));
  EXPECT_EQ(p.to_matrix_without_1(),
            (Rows{{1, 0, 0, 0}, {0, 0, 1, -1}, {0, 0, -1, 1}, {0, 0, 0, 1}}));
}

// Compacting a matrix and widening it back gives the same rows, for sets
// and for permuted vectors of ranks that cover every non-zero column.
TEST_F(PolyhedronMatrix, CompactionAndWideningRoundTrip) {
  create_counter_rank("k");
  create_parameter_rank("M");
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coefficient(-3, 3);
  for (int trial = 0; trial < 200; trial++) {
    Rows rows(1 + trial % 4, std::vector<int>(7, 0));
    std::set<int> C, P;
    for (std::vector<int>& row : rows) {
      row[0] = trial % 3 == 0 ? 0 : 1;
      for (int col = 1; col < 7; col++) {
        if (random() % 2) continue;
        row[col] = coefficient(random);
        if (col <= 3 && row[col]) C.insert(col - 1);
        if (col > 3 && col < 6 && row[col]) P.insert(col - 4);
      }
    }
    if (random() % 2) C.insert(random() % 3);
    Polyhedron p(rows);
    Polyhedron by_sets(p.to_matrix(C, P), C, P);
    EXPECT_EQ(by_sets.to_matrix(), p.to_matrix());
    std::vector<int> vc(C.begin(), C.end()), vp(P.begin(), P.end());
    std::shuffle(vc.begin(), vc.end(), random);
    std::shuffle(vp.begin(), vp.end(), random);
    Polyhedron by_vectors(p.to_matrix(vc, vp), vc, vp);
    EXPECT_EQ(by_vectors.to_matrix(), p.to_matrix());
  }
}

TEST_F(PolyhedronMatrix, NonAffineConstraintStopsMatrixBuilding) {
  ChildRun r = run_in_child([this] {
    Expression one(1), two(2);
    Expression sum(PLUS, &N, &one);
    Expression f(FLOOR, &sum, &two);
    Inequation* c = (i <= f);
    Polyhedron p(c);
    Polyhedron q;
    Polyhedron::intersect(&q, &p);
    Polyhedron::intersect(&p, &q);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Polyhedron::to_matrix: non-affine constraint: i <= floor(N+1,2)\n");
}

TEST_F(PolyhedronMatrix, ReleaseFunctionsSkipNullAndFreeDomains) {
  Polyhedron* piece = poly({i >= 0});
  Polyhedron* d = new Domain(std::vector<Polyhedron*>{piece, piece});
  // Deleting a Domain through Polyhedron* frees its members (checked by the
  // sanitizer build).
  std::vector<Polyhedron*> v{d, nullptr, piece->clone()};
  del(v);
  std::map<Polyhedron*, Expression*> m{{piece, new Expression(3)}};
  del(m);
  std::vector<std::vector<Polyhedron*>> vv{{new Polyhedron()}, {nullptr, new Polyhedron()}};
  del(vv);
  std::map<int, Polyhedron*> mi{{0, new Polyhedron()}, {1, nullptr}};
  del(mi);
  std::list<Polyhedron*> l{new Polyhedron(), nullptr};
  del(l);
  EXPECT_EQ(l.size(), 2u);
}

}  // namespace
