#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Matrix.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "QuastTestSupport.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// Counters i, j (0, 1); parameter N (0).
class IndexFunctionAlgebraTest : public IJNTest {
 protected:
  // The function of full rows [i | j | N | 1] over counters (i, j).
  static IndexFunction* affine(const Rows& rows) { return new IndexFunction(std::vector<int>{0, 1}, rows); }
  static std::string code(IndexFunction* f) {
    std::ostringstream out;
    f->print_code(out);
    return out.str();
  }
};

// 1 when (i, j) satisfies some polyhedron of the list (parameter N = 0).
bool in_union(const std::list<Polyhedron*>& pieces, int i, int j) {
  for (Polyhedron* p : pieces)
    if (satisfies(p->to_matrix(), {i, j, 0})) return true;
  return false;
}

// f is before g at (i, j): the first differing entry of f is smaller.
bool before(IndexFunction* f, IndexFunction* g, int i, int j) {
  for (int k = 0; k < std::min(f->size(), g->size()); k++) {
    int a = floor_value(f->index_mapping[k], {{0, 0}}, {{0, i}, {1, j}});
    int b = floor_value(g->index_mapping[k], {{0, 0}}, {{0, i}, {1, j}});
    if (a != b) return a < b;
  }
  return false;
}

TEST_F(IndexFunctionAlgebraTest, OrderPiecesCoverExactlyTheEarlierPoints) {
  std::mt19937 g(3);
  std::uniform_int_distribution<int> coefficient(-2, 2);
  for (int round = 0; round < 15; round++) {
    Rows fr(2, std::vector<int>(4, 0)), gr(2, std::vector<int>(4, 0));
    for (int k = 0; k < 2; k++)
      for (int c : {0, 1, 3}) {
        fr[k][c] = coefficient(g);
        gr[k][c] = coefficient(g);
      }
    IndexFunction* f = affine(fr);
    IndexFunction* h = affine(gr);
    std::list<Polyhedron*> pieces = *f < *h;
    std::list<Polyhedron*> raw = f->before_no_simplification(h);
    for (int i = -3; i <= 3; i++)
      for (int j = -3; j <= 3; j++) {
        EXPECT_EQ(in_union(pieces, i, j), before(f, h, i, j)) << "round " << round;
        EXPECT_EQ(in_union(raw, i, j), before(f, h, i, j)) << "round " << round;
      }
    del(pieces);
    del(raw);
    delete f;
    delete h;
  }
}

TEST_F(IndexFunctionAlgebraTest, OrderEdgeCases) {
  IndexFunction* i = affine({{1, 0, 0, 0}});
  IndexFunction* i1 = affine({{1, 0, 0, 1}});
  std::list<Polyhedron*> always = *i < *i1;
  ASSERT_EQ(always.size(), 1u);
  EXPECT_EQ(always.front()->is_universe(), 1);
  EXPECT_EQ(always.front()->size(), 1);
  del(always);
  IndexFunction* ij = affine({{1, 0, 0, 0}, {0, 1, 0, 0}});
  EXPECT_TRUE((*ij < *ij).empty());
  std::list<Polyhedron*> both = ij->before_no_simplification(ij);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both.back()->size(), 3);  // j < j, then i <= i and i >= i
  EXPECT_EQ(both.back()->constraints.front()->pred, LESS);
  del(both);
  IndexFunction* zero_i = affine({{0, 0, 0, 0}, {1, 0, 0, 0}});
  IndexFunction* one_j = affine({{0, 0, 0, 1}, {0, 1, 0, 0}});
  std::list<Polyhedron*> first = *zero_i < *one_j;
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first.front()->is_universe(), 1);
  del(first);
  std::vector<Polyhedron*> common = ij->before_no_simplification_vec(i);
  EXPECT_EQ(common.size(), 1u);
  del(common);
  del(std::vector<IndexFunction*>{i, i1, ij, zero_i, one_j});
}

TEST_F(IndexFunctionAlgebraTest, EqualityAndSign) {
  IndexFunction* f = affine({{1, 0, 0, 1}, {0, 1, 0, 0}});
  IndexFunction* g = affine({{0, 1, 0, 0}, {1, 0, 0, 0}});
  Polyhedron* eq = IndexFunction::equal(f, g);
  EXPECT_EQ(eq->size(), 2);
  EXPECT_EQ(eq->constraints.front()->pred, EQ);
  Polyhedron* only_second = IndexFunction::equal(f, g, {1});
  EXPECT_EQ(only_second->size(), 1);
  Polyhedron& by_ref = equal(*f, *g);
  EXPECT_EQ(by_ref.size(), 2);
  Expression i1(std::vector<int>{1, 0, 0, 1});
  Polyhedron* mapped = IndexFunction::equal(std::map<int, Expression*>{{1, &i1}});
  EXPECT_TRUE(mapped->constraints.front()->lhs->is__counter(1));
  Polyhedron* sign = f->positive();
  EXPECT_EQ(sign->constraints.back()->pred, GREATER_EQ);
  EXPECT_EQ(*f == *f, 1);
  EXPECT_EQ(*f == *g, 0);
  IndexFunction* one = affine({{1, 0, 0, 1}});
  EXPECT_EXIT(
      {
        check_stdout_only();
        IndexFunction::equal(f, one);
      },
      testing::ExitedWithCode(1),
      "^IndexFunction::equal: index dimensions not equal\n\\[1\\+i\\]\\[j\\] vs \\[1\\+i\\]\n$");
  EXPECT_STOP_ON_STDOUT(IndexFunction::equal(f, one, {0}), "IndexFunction::equal: index dimensions not equal");
  EXPECT_STOP_ON_STDOUT(equal(*f, *one), "IndexFunction::equal: index dimensions not equal");
  for (Polyhedron* p : {eq, only_second, &by_ref, mapped, sign}) delete p;
  del(std::vector<IndexFunction*>{f, g, one});
}

TEST_F(IndexFunctionAlgebraTest, CompositionAndPowers) {
  IndexFunction* shift = new IndexFunction(std::vector<int>{0}, Rows{{1, 0, 0, 1}});
  IndexFunction* once = shift->power(1);
  EXPECT_EQ(*once == *shift, 1);
  IndexFunction* twice = shift->power(2);
  EXPECT_EQ(twice->to_matrix(), (Rows{{1, 0, 0, 2}}));
  IndexFunction* applied = twice->apply_dense(shift);
  EXPECT_EQ(applied->to_matrix(), (Rows{{1, 0, 0, 3}}));
  EXPECT_STOP_ON_STDERR(shift->power(0), "IndexFunction::power(k): expect k>=1, found 0");
  IndexFunction* f = affine({{1, 0, 0, 0}});
  EXPECT_STOP_ON_STDERR(f->power(2),
                        "IndexFunction::to_mapping_dense: input/output dims mismatch: (input:2 output:1)");
  // Moving along (0, 1) leaves i unchanged; along (1, 0) it does not.
  IndexFunction* along_j = new IndexFunction(std::vector<int>{0, 1}, std::vector<int>{0, 1});
  IndexFunction* along_i = new IndexFunction(std::vector<int>{0, 1}, std::vector<int>{1, 0});
  EXPECT_EQ(f->is_reuse_vector(along_j), 1);
  EXPECT_EQ(f->is_reuse_vector(along_i), 0);
  del(std::vector<IndexFunction*>{shift, once, twice, applied, f, along_j, along_i});
}

TEST_F(IndexFunctionAlgebraTest, SelectionAndGeometry) {
  IndexFunction* abc = new IndexFunction(std::vector<int>{0}, std::vector<int>{1, 2, 3});
  IndexFunction* last = abc->keep_last(1);
  EXPECT_EQ(code(last), "3");
  EXPECT_EQ(last->surrounding_counters, (std::vector<int>{0}));
  IndexFunction* none = abc->keep_first(0);
  EXPECT_EQ(none->size(), 0);
  IndexFunction* picked = abc->keep({2, 0, 2});
  EXPECT_EQ(code(picked), "3,1,3");
  EXPECT_TRUE(picked->surrounding_counters.empty());
  EXPECT_STOP_ON_STDERR(abc->keep_first(4), "IndexFunction::keep_first: bigger than the dimension");
  EXPECT_STOP_ON_STDERR(abc->keep_last(-1), "IndexFunction::keep_last: bigger than the dimension");
  EXPECT_STOP_ON_STDERR(abc->keep({3}), "IndexFunction::keep: out of bounds");
  IndexFunction two_three(std::vector<int>(), std::vector<int>{2, 3});
  std::vector<IndexFunction*> g = two_three.orth();
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(code(g[0]), "3,-1*2");
  del(g);
  EXPECT_TRUE(IndexFunction(std::vector<int>(), std::vector<int>{4}).orth().empty());
  EXPECT_STOP_ON_STDERR(IndexFunction().orth(), "IndexFunction::orth: null vector");
  IndexFunction* f = affine({{1, 0, 0, 2}, {0, 1, 0, 0}});
  IndexFunction* h = affine({{1, 0, 0, 0}, {0, 1, 0, -1}});
  std::pair<int, std::vector<int>> t = f->is_translation(h);
  EXPECT_EQ(t.first, 1);
  EXPECT_EQ(t.second, (std::vector<int>{2, 1}));
  IndexFunction* k = affine({{1, 0, 0, 5}, {1, 1, 0, 0}});
  t = f->is_translation(k);
  EXPECT_EQ(t.first, 0);
  EXPECT_EQ(t.second, (std::vector<int>{-3}));
  IndexFunction* difference = f->sub(h);
  EXPECT_EQ(difference->to_matrix(), (Rows{{0, 0, 0, 2}, {0, 0, 0, 1}}));
  Expression* product = f->dot(h);
  EXPECT_EQ(floor_value(product, {{0, 0}}, {{0, 2}, {1, 3}}), 4 * 2 + 3 * 2);
  delete product;
  EXPECT_STOP_ON_STDERR(f->sub(abc), "IndexFunction::sub: incompatible dimensions");
  EXPECT_STOP_ON_STDERR(f->dot(abc), "IndexFunction::dot: dimensions mismatch");
  EXPECT_STOP_ON_STDERR(f->is_translation(abc), "IndexFunction::is_translation: dimension mismatch");
  del(std::vector<IndexFunction*>{abc, last, none, picked, f, h, k, difference});
}

TEST_F(IndexFunctionAlgebraTest, Inverses) {
  IndexFunction* f = affine({{1, 0, 1, 0}, {0, 1, 0, 1}});  // (i + N, j + 1)
  EXPECT_EQ(f->invert({0, 1}, {0}), (Rows{{1, 0, -1, 0}, {0, 1, 0, -1}}));
  IndexFunction* scaled = affine({{2, 0, 0, 0}, {0, 1, 0, 0}});
  EXPECT_STOP_ON_STDERR(scaled->invert({0, 1}, {}), "IndexFunction::invert: no integer inverse");
  IndexFunction* ij = affine({{1, 0, 0, 0}, {0, 1, 0, 0}});
  Polyhedron free_domain;
  EXPECT_EQ(ij->left_invert({0, 1}, {}, &free_domain), (Rows{{1, 0, 0}, {0, 1, 0}}));
  del(std::vector<IndexFunction*>{f, scaled, ij});
}

// left_invert composed with f gives x back on every point of random
// domains, for random unimodular f.
TEST_F(IndexFunctionAlgebraTest, LeftInverseUndoesUnimodularMaps) {
  std::mt19937 g(8);
  std::uniform_int_distribution<int> small(-2, 2);
  for (int round = 0; round < 10; round++) {
    int a = small(g), b = small(g);
    // [[1, a], [b, 1 + a b]] has determinant 1.
    Rows rows{{1, a, small(g), small(g)}, {b, 1 + a * b, small(g), small(g)}};
    IndexFunction* f = affine(rows);
    Rows domain_rows = random_polyhedron(g, 3, 3);
    Polyhedron domain(domain_rows);
    Rows l = f->left_invert({0, 1}, {0}, &domain);
    ASSERT_EQ(l.size(), 2u);
    for (const Point& x : points(domain_rows, 3, 3)) {
      int y0 = rows[0][0] * x[0] + rows[0][1] * x[1] + rows[0][2] * x[2] + rows[0][3];
      int y1 = rows[1][0] * x[0] + rows[1][1] * x[1] + rows[1][2] * x[2] + rows[1][3];
      for (int k = 0; k < 2; k++)
        EXPECT_EQ(l[k][0] * y0 + l[k][1] * y1 + l[k][2] * x[2] + l[k][3], x[k]) << "round " << round;
    }
    delete f;
  }
}

TEST_F(IndexFunctionAlgebraTest, SharedNodesAreInterference) {
  IndexFunction* f = affine({{1, 0, 0, 0}, {0, 1, 0, 1}});
  EXPECT_FALSE(f->check().empty());
  f->index_mapping.push_back(f->index_mapping[0]);
  try {
    f->check();
    ADD_FAILURE() << "no interference found";
  } catch (const char* message) {
    EXPECT_STREQ(message, "IndexFunction::check: interference found");
  }
  f->index_mapping.pop_back();
  delete f;
}

}  // namespace
