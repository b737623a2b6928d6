// The converters between model objects and the tiling library's records,
// the cross product of the library's lists and the reading of its pieces.

#include <cstdlib>
#include <list>
#include <sstream>

#include "CommandTest.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ValueOutOfRange.h"
#include "ZIL.h"
#include "ZILTestSupport.h"
#include "ZILWrapper.h"

namespace {

using ZILConvertTest = CommandTest;
using ZILWrapper::active_counters;
using ZILWrapper::active_parameters;

long long** matrix_of(const Rows& rows) { return ZILWrapper::to_int64(rows); }

// A record over (i, j) without parameters with the given modulo rows.
polyhedronZIL* with_modulo_rows(const Rows& constraints, const Rows& modulo) {
  polyhedronZIL* r = buildPolyhedron(matrix_of(constraints), static_cast<int>(constraints.size()), 2, 0);
  std::free(r->modConstr);
  r->modConstr = matrix_of(modulo);
  r->nConstrMod = static_cast<int>(modulo.size());
  return r;
}

std::string constraint_texts(Polyhedron* p) {
  std::ostringstream out;
  for (Inequation* c : p->constraints) out << *c << ";";
  return out.str();
}

class ZILConvertWithIJ : public ZILConvertTest {
 protected:
  void SetUp() override {
    ZILConvertTest::SetUp();
    declare_counter("i");
    declare_counter("j");
    active_counters = {get_counter_rank("i"), get_counter_rank("j")};
    active_parameters = {};
  }
  // The polyhedron a <= i <= b over (i, j).
  Polyhedron* interval(int a, int b) { return rows_over({{1, 1, 0, -a}, {1, -1, 0, b}}, {"i", "j"}, {}); }
};

TEST_F(ZILConvertWithIJ, ModuloRowsAboveOneBecomeModuloConstraints) {
  polyhedronZIL* r = with_modulo_rows({{1, 1, 0, 0}}, {{3, 1, 0, -1}, {1, 1, 0, -1}});
  Polyhedron* p = ZILWrapper::to_polyhedron(r);
  ASSERT_EQ(p->size(), 2);
  Inequation* modulo = p->constraints.back();
  EXPECT_EQ(modulo->pred, EQ);
  EXPECT_TRUE(modulo->lhs->is_op(MOD));
  std::map<int, int> at = {{get_counter_rank("i"), 4}};
  EXPECT_EQ(modulo->lhs->evaluate_int(at, {}), 0);
  at[get_counter_rank("i")] = 5;
  EXPECT_NE(modulo->lhs->evaluate_int(at, {}), 0);
  EXPECT_EQ(r->nConstrMod, 2) << "the record is left as it is";
  freePolyhedron(r);
  delete p;
}

TEST_F(ZILConvertWithIJ, DivisorsOtherThanOneBecomeDivisions) {
  affFuncZIL* f = ZILWrapper::to_affFuncZIL(Rows{{1, 1, 0}, {0, 1, 3}});
  f->divs[0] = 2;
  IndexFunction* g = ZILWrapper::to_index_function(f);
  ASSERT_EQ(g->size(), 2);
  EXPECT_TRUE(g->index_mapping[0]->is_op(DIV));
  EXPECT_FALSE(g->index_mapping[1]->has_div());
  std::map<int, int> at = {{get_counter_rank("i"), 5}, {get_counter_rank("j"), 2}};
  EXPECT_EQ(g->index_mapping[0]->evaluate_int(at, {}), 3);
  EXPECT_EQ(g->index_mapping[1]->evaluate_int(at, {}), 5);
  EXPECT_EQ(ZILWrapper::to_vec_vec(f).second, (std::vector<int>{2, 1}));
  freeAffineFunction(f);
  delete g;
}

TEST_F(ZILConvertWithIJ, FunctionsGoThereAndBack) {
  declare_parameter("N");
  active_parameters = {get_parameter_rank("N")};
  Expression i("i"), j("j"), n("N"), two(2), three(3);
  Expression twice(TIMES, &two, &j), sum(PLUS, &i, &twice), shifted(PLUS, &sum, &three);
  IndexFunction f(std::vector<Expression*>{&shifted, &n});
  affFuncZIL* r = ZILWrapper::to_affFuncZIL(&f);
  EXPECT_EQ(ZILWrapper::to_vec_vec(r).first, (Rows{{1, 2, 0, 3}, {0, 0, 1, 0}}));
  IndexFunction* back = ZILWrapper::to_index_function(r);
  std::map<int, int> at = {{get_counter_rank("i"), 4}, {get_counter_rank("j"), -1}};
  EXPECT_EQ(back->index_mapping[0]->evaluate_int(at, {{get_parameter_rank("N"), 9}}), 5);
  EXPECT_EQ(back->index_mapping[1]->evaluate_int(at, {{get_parameter_rank("N"), 9}}), 9);
  freeAffineFunction(r);
  delete back;
}

TEST_F(ZILConvertWithIJ, EqualitiesGoOutAsTwoInequalities) {
  Expression i("i"), j("j"), zero(0);
  Inequation same(EQ, &i, &j), nonnegative(GREATER_EQ, &i, &zero);
  Polyhedron p;
  p.add_constraint(&same);
  p.add_constraint(&nonnegative);
  polyhedronZIL* r = ZILWrapper::to_polyhedronZIL(&p);
  EXPECT_EQ(r->nInd, 2);
  EXPECT_EQ(r->nParam, 0);
  std::set<std::vector<int>> rows;
  for (const auto& row : ZILWrapper::to_vec_vec(r->polyScalar, r->nConstr, 4)) rows.insert(row);
  EXPECT_EQ(rows, (std::set<std::vector<int>>{{1, 1, -1, 0}, {1, -1, 1, 0}, {1, 1, 0, 0}}));
  EXPECT_EQ(r->nConstr, 3);
  freePolyhedron(r);

  // Rows read back from the library may be equalities; they leave as
  // inequalities again.
  Polyhedron* back = rows_over({{0, 1, -1, 0}}, {"i", "j"}, {});
  r = ZILWrapper::to_polyhedronZIL(back);
  EXPECT_EQ(ZILWrapper::to_vec_vec(r->polyScalar, r->nConstr, 4), (Rows{{1, 1, -1, 0}, {1, -1, 1, 0}}));
  freePolyhedron(r);
  delete back;
}

TEST_F(ZILConvertWithIJ, CrossProductKeepsTheNonEmptyIntersectionsInOrder) {
  Polyhedron* a = interval(0, 5);
  Polyhedron* b = interval(10, 20);
  Polyhedron* c = interval(-100, 3);
  Polyhedron* d = interval(15, 100);
  std::vector<Polyhedron*> r = ZILWrapper::cross_product({{a, b}, {c, d}}, 0);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(constraint_texts(r[0]), constraint_texts(a) + constraint_texts(c));
  EXPECT_EQ(constraint_texts(r[1]), constraint_texts(b) + constraint_texts(d));
  EXPECT_EQ(a->size(), 2) << "inputs unchanged";
  del(r);

  r = ZILWrapper::cross_product({{a}}, 0);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_NE(r[0], a);
  EXPECT_EQ(constraint_texts(r[0]), constraint_texts(a));
  del(r);
  EXPECT_TRUE(ZILWrapper::cross_product({{a}, {}}, 0).empty());
  for (Polyhedron* p : {a, b, c, d}) delete p;
}

// A piece whose block index is negative everywhere holds iterations (a
// loop starting below 0, a hyperplane i - j); only a piece without any
// integer point may go.
TEST_F(ZILConvertWithIJ, CrossProductKeepsPiecesWithNegativeCounters) {
  Polyhedron* below = interval(-1000, -1);
  Polyhedron* from_minus_5 = interval(-5, 1000);
  Polyhedron* from_0 = interval(0, 1000);
  std::vector<Polyhedron*> r = ZILWrapper::cross_product({{below}, {from_minus_5, from_0}}, 0);
  EXPECT_EQ(r.size(), 1u);
  del(r);
  for (Polyhedron* p : {below, from_minus_5, from_0}) delete p;
}

// Lists of pieces over (i, j), i standing for a lattice counter of
// denominator 2 (its offset in the modulo row), j == 0 in every piece: the
// groups of each offset are crossed apart, over the quotient of i by 2 and
// its offset. The points must be those of a brute-force reading of the
// lists: every list holds some piece of the point's offset.
TEST_F(ZILConvertWithIJ, OffsetGroupsAreJoinedAndCrossedOffsetByOffset) {
  auto piece = [](const std::vector<int>& row, int offset) {
    return with_modulo_rows({{row[0], row[1], row[2], row[3]}, {0, 0, 1, 0}}, {{2, 1, 0, -offset}});
  };
  // i >= 0 even or i >= 3 odd, and i <= 6 even or i <= 9 odd.
  struct Case {
    std::list<std::list<polyhedronZIL*>> lists;
    std::set<int> values;
  };
  std::vector<Case> cases;
  cases.push_back({{{piece({1, 1, 0, 0}, 0), piece({1, 1, 0, -3}, 1)},
                    {piece({1, -1, 0, 6}, 0), piece({1, -1, 0, 9}, 1)}},
                   {0, 2, 4, 6, 3, 5, 7, 9}});
  // The odd offset is missing from the second list: no odd point.
  cases.push_back({{{piece({1, 1, 0, 0}, 0), piece({1, 1, 0, -3}, 1)}, {piece({1, -1, 0, 4}, 0)}}, {0, 2, 4}});
  int offset = ZILWrapper::lattice_offset_counters({{1}, {2}})[0];
  for (Case& c : cases) {
    active_counters = {get_counter_rank("i"), get_counter_rank("j")};
    std::vector<Polyhedron*> pieces = ZILWrapper::to_tiled_domain_with_offsets(c.lists, {2}, {offset});
    EXPECT_TRUE(c.lists.empty());
    std::set<Point> points = union_points(pieces, {get_counter_rank("i"), get_counter_rank("j"), offset}, {},
                                          {-10, -2, -2}, {10, 2, 3});
    std::set<Point> expected;
    for (int v : c.values) expected.insert({v / 2, 0, v % 2});
    EXPECT_EQ(points, expected) << "case " << &c - &cases[0];
    del(pieces);
  }
}

// The lists over i alone are crossed and coalesced first, then crossed
// with the list over i and j: the combinations settled are those of the
// two resulting lists, and the points are those of every list.
TEST_F(ZILConvertWithIJ, ListsOverTheSameCountersAreCrossedTogetherFirst) {
  auto piece = [](const Rows& rows) {
    return buildPolyhedron(matrix_of(rows), static_cast<int>(rows.size()), 2, 0);
  };
  // 0 <= i <= 3 or 6 <= i <= 9; i <= 7 or 9 <= i <= 12; j == i or j == i + 1.
  std::list<std::list<polyhedronZIL*>> lists = {
      {piece({{1, 1, 0, 0}, {1, -1, 0, 3}}), piece({{1, 1, 0, -6}, {1, -1, 0, 9}})},
      {piece({{0, -1, 1, 0}}), piece({{0, -1, 1, -1}})},
      {piece({{1, -1, 0, 7}}), piece({{1, 1, 0, -9}, {1, -1, 0, 12}})}};
  std::vector<std::vector<Polyhedron*>> read;
  for (const std::list<polyhedronZIL*>& list : lists) {
    read.emplace_back();
    for (polyhedronZIL* record : list) read.back().push_back(ZILWrapper::to_polyhedron(record));
  }
  std::vector<int> ij = {get_counter_rank("i"), get_counter_rank("j")};
  std::set<Point> expected = union_points(read[0], ij, {}, {-2, -2}, {14, 14});
  for (size_t k = 1; k < read.size(); k++) {
    std::set<Point> points = union_points(read[k], ij, {}, {-2, -2}, {14, 14}), both;
    for (const Point& x : points)
      if (expected.count(x)) both.insert(x);
    expected = both;
  }
  del(read);
  testing::internal::CaptureStdout();
  std::vector<Polyhedron*> pieces = ZILWrapper::to_tiled_domain(lists, true);
  // {0..3} or {6, 7} or {9} over i, times the list over j.
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "  Cross product... 6/6, 6 kept\n  Coalescing...\n");
  EXPECT_TRUE(lists.empty());
  EXPECT_EQ(union_points(pieces, ij, {}, {-2, -2}, {14, 14}), expected);
  del(pieces);
}

// Past any bound of its budget (kept pieces, tests, coalesced pairs), the
// crossing gives one polyhedron instead: the intersection of the lists'
// simple hulls (0 <= i <= 9, i <= j <= i + 1, i <= 12), which holds every
// point of the pieces and also the points 4 <= i <= 5 that the first list
// leaves out. No factors come back.
TEST_F(ZILConvertWithIJ, PastItsBudgetTheTiledDomainIsTheIntersectionOfTheListsHulls) {
  auto piece = [](const Rows& rows) {
    return buildPolyhedron(matrix_of(rows), static_cast<int>(rows.size()), 2, 0);
  };
  std::vector<int> ij = {get_counter_rank("i"), get_counter_rank("j")};
  std::set<Point> hull;
  for (int i = 0; i <= 9; i++)
    for (int j = i; j <= i + 1; j++) hull.insert({i, j});
  for (ZILWrapper::CrossingBudget budget : {ZILWrapper::CrossingBudget{1, 100, 100, 100},
                                            ZILWrapper::CrossingBudget{100, 2, 100, 100},
                                            ZILWrapper::CrossingBudget{100, 100, 3, 100},
                                            ZILWrapper::CrossingBudget{100, 100, 100, 2}}) {
    std::list<std::list<polyhedronZIL*>> lists = {
        {piece({{1, 1, 0, 0}, {1, -1, 0, 3}}), piece({{1, 1, 0, -6}, {1, -1, 0, 9}})},
        {piece({{0, -1, 1, 0}}), piece({{0, -1, 1, -1}})},
        {piece({{1, -1, 0, 7}}), piece({{1, 1, 0, -9}, {1, -1, 0, 12}})}};
    std::vector<std::vector<Polyhedron*>> factors;
    std::vector<Polyhedron*> pieces = ZILWrapper::to_tiled_domain(lists, false, nullptr, &budget, &factors);
    EXPECT_TRUE(budget.exceeded);
    EXPECT_TRUE(lists.empty());
    EXPECT_TRUE(factors.empty());
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(union_points(pieces, ij, {}, {-2, -2}, {14, 14}), hull);
    del(pieces);
  }
}

// The two pieces of the last list, j == 0 and j == 1, merge only once
// crossed with 5 <= i <= 9: coalesced apart they stay two, and the small
// union is coalesced once more as a whole.
TEST_F(ZILConvertWithIJ, PiecesOfTheLastListMergeInASmallUnion) {
  auto piece = [](const Rows& rows) {
    return buildPolyhedron(matrix_of(rows), static_cast<int>(rows.size()), 2, 0);
  };
  std::list<std::list<polyhedronZIL*>> lists = {
      {piece({{0, 0, 1, 0}, {1, 1, 0, 0}}), piece({{0, 0, 1, -1}, {1, 1, 0, -5}})},
      {piece({{1, 1, 0, -5}, {1, -1, 0, 9}})}};
  std::vector<Polyhedron*> pieces = ZILWrapper::to_tiled_domain(lists, false);
  ASSERT_EQ(pieces.size(), 1u);
  std::vector<int> ij = {get_counter_rank("i"), get_counter_rank("j")};
  std::set<Point> expected;
  for (int i = 5; i <= 9; i++)
    for (int j = 0; j <= 1; j++) expected.insert({i, j});
  EXPECT_EQ(union_points(pieces, ij, {}, {-2, -2}, {14, 4}), expected);
  del(pieces);
}

// Buckets of more pieces than a run are coalesced run by run, then as a
// whole: 12 intervals 3a <= i <= 3a + 1 crossed with 12 such intervals over
// j, then with j <= i or j > i, keep every point and every piece (no two of
// them touch; the boxes on the diagonal are split in two).
TEST_F(ZILConvertWithIJ, LargeBucketsKeepTheirPoints) {
  auto piece = [](const Rows& rows) {
    return buildPolyhedron(matrix_of(rows), static_cast<int>(rows.size()), 2, 0);
  };
  std::list<std::list<polyhedronZIL*>> lists(3);
  for (int a = 0; a < 12; a++) {
    lists.front().push_back(piece({{1, 1, 0, -3 * a}, {1, -1, 0, 3 * a + 1}}));
    (*std::next(lists.begin())).push_back(piece({{1, 0, 1, -3 * a}, {1, 0, -1, 3 * a + 1}}));
  }
  lists.back() = {piece({{1, 1, -1, 0}}), piece({{1, -1, 1, -1}})};
  std::vector<Polyhedron*> pieces = ZILWrapper::to_tiled_domain(lists, false);
  EXPECT_EQ(pieces.size(), 156u);
  std::set<Point> expected;
  for (int i = 0; i < 36; i++)
    for (int j = 0; j < 36; j++)
      if (i % 3 != 2 && j % 3 != 2) expected.insert({i, j});
  std::vector<int> ij = {get_counter_rank("i"), get_counter_rank("j")};
  EXPECT_EQ(union_points(pieces, ij, {}, {-2, -2}, {40, 40}), expected);
  del(pieces);
}

// Within the context 0 <= i <= 12, the piece 15 <= i is dropped with all
// its combinations at once; the kept pieces carry no constraint of the
// context, and the progress line counts every combination settled.
TEST_F(ZILConvertWithIJ, CrossProductWithinAContextCountsWhatItSettles) {
  Polyhedron* a = interval(0, 5);
  Polyhedron* b = interval(15, 100);
  Polyhedron* c = interval(-100, 3);
  Polyhedron* d = interval(4, 100);
  Polyhedron* e = interval(-1000, 1000);
  Polyhedron* context = interval(0, 12);
  ZILWrapper::CrossProductOptions options;
  options.context = context;
  options.progress = true;
  testing::internal::CaptureStdout();
  std::vector<Polyhedron*> r = ZILWrapper::cross_product({{a, b}, {c, d}, {e}}, 0, options);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "  Cross product... 4/4, 2 kept\n");
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(constraint_texts(r[0]), constraint_texts(a) + constraint_texts(c) + constraint_texts(e));
  EXPECT_EQ(constraint_texts(r[1]), constraint_texts(a) + constraint_texts(d) + constraint_texts(e));
  del(r);

  // Without the context, b meets d.
  r = ZILWrapper::cross_product({{a, b}, {c, d}, {e}}, 0);
  EXPECT_EQ(r.size(), 3u);
  del(r);
  for (Polyhedron* p : {a, b, c, d, e, context}) delete p;
}

// Past its bound of kept pieces, or of emptiness tests of intersections,
// the cross product gives nothing and says so in its budget. Without a
// context, the two pieces of the first list are not tested: the four
// intersections with the second list are.
TEST_F(ZILConvertWithIJ, CrossProductStopsPastItsBudget) {
  Polyhedron* a = interval(0, 5);
  Polyhedron* b = interval(4, 9);
  Polyhedron* c = interval(-100, 4);
  Polyhedron* d = interval(4, 100);
  ZILWrapper::CrossingBudget budget{1, 4, 0, 0};
  ZILWrapper::CrossProductOptions options;
  options.budget = &budget;
  EXPECT_TRUE(ZILWrapper::cross_product({{a, b}, {c, d}}, 0, options).empty());
  EXPECT_TRUE(budget.exceeded) << "past one kept piece";

  budget = ZILWrapper::CrossingBudget{4, 4, 0, 0};
  std::vector<Polyhedron*> r = ZILWrapper::cross_product({{a, b}, {c, d}}, 0, options);
  EXPECT_EQ(r.size(), 4u) << "as many pieces and tests as the budget takes";
  EXPECT_FALSE(budget.exceeded);
  EXPECT_EQ(budget.tests, 4);
  del(r);

  budget = ZILWrapper::CrossingBudget{4, 3, 0, 0};
  EXPECT_TRUE(ZILWrapper::cross_product({{a, b}, {c, d}}, 0, options).empty());
  EXPECT_TRUE(budget.exceeded) << "past three tests";
  for (Polyhedron* p : {a, b, c, d}) delete p;
}

TEST_F(ZILConvertWithIJ, AnEmptyListOfListsStops) {
  EXPECT_STOP_ON_STDERR(ZILWrapper::cross_product({}, 0), "ZILWrapper::cross_product: no constraint list");
}

TEST_F(ZILConvertWithIJ, APieceWithoutRowIsTheUniverseWhateverItsCounts) {
  polyhedronZIL* r = buildPolyhedron(matrix_of({}), 0, 7, 3);
  Polyhedron* p = ZILWrapper::to_polyhedron(r);
  EXPECT_EQ(p->size(), 0);
  freePolyhedron(r);
  delete p;

  r = with_modulo_rows({}, {{1, 1, 0, 0}, {1, 0, 1, 0}});
  r->nInd = 4;
  p = ZILWrapper::to_polyhedron(r);
  EXPECT_EQ(p->size(), 0);
  freePolyhedron(r);
  delete p;
}

// The value is thrown, so that the refusal can name the statement's line.
std::string refused_value(polyhedronZIL* r) {
  try {
    delete ZILWrapper::to_polyhedron(r);
  } catch (const ValueOutOfRange& e) {
    return e.value;
  }
  return "none";
}

TEST_F(ZILConvertWithIJ, ValuesOutOfTheIntRangeAreThrown) {
  polyhedronZIL* r = buildPolyhedron(matrix_of({{1, 1, 0, 0}}), 1, 2, 0);
  r->polyScalar[0][3] = 1LL << 40;
  EXPECT_EQ(refused_value(r), "1099511627776");
  r->polyScalar[0][3] = -(1LL << 31) - 1;
  EXPECT_EQ(refused_value(r), "-2147483649");
  r->polyScalar[0][3] = -(1LL << 31);
  Polyhedron* p = ZILWrapper::to_polyhedron(r);
  EXPECT_EQ(p->size(), 1);
  freePolyhedron(r);
  delete p;
}

TEST_F(ZILConvertWithIJ, MatricesWithoutRowsAndVectors) {
  long long** none = ZILWrapper::to_int64(Rows{});
  polyhedronZIL* r = buildPolyhedron(none, 0, 2, 0);
  EXPECT_EQ(r->nConstr, 0);
  freePolyhedron(r);
  long long* v = ZILWrapper::to_int64(std::vector<int>{3, -4});
  EXPECT_EQ(ZILWrapper::to_vec(v, 2), (std::vector<int>{3, -4}));
  std::free(v);
  EXPECT_EQ(ZILWrapper::to_vec_int({5, 1, 3}), (std::vector<int>{1, 3, 5}));
  EXPECT_EQ(ZILWrapper::to_set_int({5, 1, 5}), (std::set<int>{1, 5}));
}

}  // namespace
