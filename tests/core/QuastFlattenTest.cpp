#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"

namespace {

typedef std::map<Polyhedron*, Operation*> OperationMap;
typedef std::map<Polyhedron*, IndexFunction*> PointMap;

using QuastFlattenTest = MNTest;

// An operation in the text of value_at.
std::string operation_value(Operation* o, const Values& p) {
  if (o->is_bottom) return "_|_";
  std::ostringstream text;
  text << "S" << o->stmt << "r" << o->tag << "(";
  for (Expression* e : o->point->index_mapping) text << floor_value(e, p) << ",";
  text << ")";
  return text.str();
}

std::string point_value(IndexFunction* f, const Values& p) {
  std::ostringstream text;
  text << "(";
  for (Expression* e : f->index_mapping) text << floor_value(e, p) << ",";
  text << ")";
  return text.str();
}

// The values of the pieces whose key holds at p.
template <class Value, class Text>
std::vector<std::string> covering(const std::map<Polyhedron*, Value*>& m, const Values& p, Text text) {
  std::vector<std::string> found;
  for (auto& piece : m)
    if (contains_at(piece.first, p)) found.push_back(text(piece.second, p));
  return found;
}

int count_covering(const std::vector<Polyhedron*>& v, const Values& p) {
  int n = 0;
  for (Polyhedron* q : v) n += contains_at(q, p);
  return n;
}

// Below plain tests the pieces partition the box: one piece per point with
// a leaf, carrying that leaf, and none at a bottom; the domain walks
// partition it too.
TEST_F(QuastFlattenTest, PiecesPartitionTheBox) {
  RandomQuasts random(37);
  for (int round = 0; round < 25; round++) {
    Quast* q = random.tree(3);
    OperationMap pieces = q->flatten();
    OperationMap with_bottoms = q->flatten_keep_bottoms();
    std::vector<Polyhedron*> leaves = q->get_domains();
    std::vector<Polyhedron*> bottoms = q->get_bottom_domains();
    for (const Values& p : parameter_box()) {
      std::string value = value_at(q, p);
      std::vector<std::string> found = covering(pieces, p, operation_value);
      EXPECT_EQ(found, value == "_|_" ? std::vector<std::string>() : std::vector<std::string>{value}) << round;
      EXPECT_EQ(covering(with_bottoms, p, operation_value), std::vector<std::string>{value}) << round;
      EXPECT_EQ(count_covering(leaves, p), value != "_|_") << round;
      EXPECT_EQ(count_covering(bottoms, p), value == "_|_") << round;
    }
    del(pieces);
    del(with_bottoms);
    del(leaves);
    del(bottoms);
    delete q;
  }
}

TEST_F(QuastFlattenTest, PointMapsTakeUntaggedLeaves) {
  RandomQuasts random(41);
  for (int round = 0; round < 25; round++) {
    Quast* q = random.tree(3, false, false);
    PointMap pieces = q->flatten_point();
    PointMap simplified = Quast::simplify_flattened_point(pieces);
    for (const Values& p : parameter_box()) {
      std::string value = value_at(q, p);
      std::vector<std::string> expected;
      if (value != "_|_") expected.push_back(value);
      EXPECT_EQ(covering(pieces, p, point_value), expected) << round;
      EXPECT_EQ(covering(simplified, p, point_value), expected) << round;
    }
    for (auto& piece : simplified) EXPECT_EQ(piece.first->is_empty(), 0);
    del(pieces);
    del(simplified);
    delete q;
  }
}

// The context form keeps the pieces that meet the context, bottoms
// included, each with its own key.
TEST_F(QuastFlattenTest, ContextKeepsWhatMeetsIt) {
  RandomQuasts random(43);
  Inequation* low = row_constraint(LESS_EQ, {0, 0, 0, 1, -1});  // N <= 1
  Polyhedron context(low);
  for (int round = 0; round < 20; round++) {
    Quast* q = random.tree(3);
    OperationMap pieces = q->flatten(&context);
    for (const Values& p : parameter_box()) {
      if (!contains_at(&context, p)) continue;
      EXPECT_EQ(covering(pieces, p, operation_value), std::vector<std::string>{value_at(q, p)}) << round;
    }
    for (auto& piece : pieces) {
      Polyhedron* meeting = Polyhedron::intersect(piece.first, &context);
      EXPECT_EQ(meeting->is_empty(), 0) << round;
      delete meeting;
    }
    del(pieces);
    delete q;
  }
  // A piece's key is its own, not cut by the context.
  Quast* a = constant_leaf(0, 1, 2);
  Quast q(c, a, &bottom);
  OperationMap pieces = q.flatten(&context);
  ASSERT_EQ(pieces.size(), 2u);
  for (auto& piece : pieces) EXPECT_EQ(piece.first->constraints.size(), 1u);
  del(pieces);
  delete a;
  delete low;
}

TEST_F(QuastFlattenTest, EdgeCases) {
  EXPECT_TRUE(bottom.flatten().empty());
  OperationMap pieces = bottom.flatten_keep_bottoms();
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces.begin()->first->constraints.empty());
  EXPECT_EQ(pieces.begin()->second->is_bottom, 1);
  del(pieces);
  Polyhedron universe;
  pieces = bottom.flatten(&universe);
  EXPECT_EQ(pieces.size(), 1u);
  del(pieces);
  EXPECT_TRUE(bottom.flatten_point().empty());
  EXPECT_EQ(bottom.size(), 1);
  // One tagged leaf: one piece without constraint, tagged by its read rank.
  Quast* a = constant_leaf(1, 1, 2);
  a->read_rank = 4;
  pieces = a->flatten();
  ASSERT_EQ(pieces.size(), 1u);
  Operation* o = pieces.begin()->second;
  EXPECT_TRUE(pieces.begin()->first->constraints.empty());
  EXPECT_EQ(o->stmt, 1);
  EXPECT_EQ(o->surrounding_counters, std::vector<int>{0});
  EXPECT_EQ(o->tag, 4);
  EXPECT_TRUE(*o->point == *a->point);
  del(pieces);
  // A branch that never holds (M < 0) leaves no piece, and clean makes it
  // a bottom.
  Inequation* never = row_constraint(LESS, {0, 0, 1, 0, 0});
  Quast* b = constant_leaf(2, 3, 4);
  Quast q(never, b, a);
  pieces = q.flatten();
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces.begin()->second->stmt, 1);
  del(pieces);
  Quast* cleaned = q.clean();
  EXPECT_EQ(cleaned->then_quast->is_empty, 1);
  EXPECT_TRUE(*cleaned->else_quast == *a);
  EXPECT_EQ(q.size(), 3);
  delete cleaned;
  std::vector<OperationMap> maps = Quast::flatten(std::vector<Quast*>{&q, &bottom});
  ASSERT_EQ(maps.size(), 2u);
  EXPECT_EQ(maps[0].size(), 1u);
  EXPECT_TRUE(maps[1].empty());
  del(maps);
  delete never;
  delete a;
  delete b;
}

TEST_F(QuastFlattenTest, Stops) {
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Quast untagged(&point);
  Quast q(c, &untagged, &bottom);
  EXPECT_STOP_ON_STDOUT(q.flatten(), "Quast::_flatten: untagged Quast");
  Quast nothing;
  nothing.is_empty = 0;
  EXPECT_STOP_ON_STDOUT(nothing._flatten(), "Quast::_flatten: incorrect Quast");
  EXPECT_STOP_ON_STDOUT(nothing._flatten_point(), "Quast::_flatten: incorrect Quast");
  Polyhedron member(c);
  Quast extended(std::vector<Polyhedron*>{&member}, &untagged, &bottom);
  EXPECT_STOP_ON_STDOUT(extended.get_domains(), "Quast::get_domains: extended condition unhandled");
  EXPECT_STOP_ON_STDOUT(extended.get_bottom_domains(), "Quast::get_domains: extended condition unhandled");
}

// Below extended tests the pieces may overlap, but every piece that holds a
// point carries the value there, and every point with a leaf has a piece.
TEST_F(QuastFlattenTest, PiecesBelowExtendedTestsCarryTheirValue) {
  RandomQuasts random(59);
  for (int round = 0; round < 20; round++) {
    bool tagged = round % 2 == 0;
    Quast* q = random.tree(3, true, tagged);
    OperationMap pieces = tagged ? q->flatten_keep_bottoms() : OperationMap();
    PointMap points = q->flatten_point();
    for (const Values& p : parameter_box()) {
      std::string value = value_at(q, p);
      std::vector<std::string> found = tagged ? covering(pieces, p, operation_value) : covering(points, p, point_value);
      EXPECT_EQ(found.empty(), !tagged && value == "_|_") << round;
      for (const std::string& v : found) EXPECT_EQ(v, value) << round;
      EXPECT_EQ(covering(points, p, point_value).empty(), value == "_|_") << round;
    }
    del(pieces);
    del(points);
    delete q;
  }
}

// The empty union never holds: its complement is everything.
TEST_F(QuastFlattenTest, EmptyUnionFlattensToItsElseSide) {
  Quast* a = constant_leaf(0, 1, 2);
  Quast* b = constant_leaf(1, 3, 4);
  Quast never(std::list<Polyhedron*>{}, a, b);
  OperationMap pieces = never.flatten();
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces.begin()->first->constraints.empty());
  EXPECT_EQ(pieces.begin()->second->stmt, 1);
  del(pieces);
  delete a;
  delete b;
}

// Two overlapping members over one leaf: two overlapping pieces with equal
// values, each its own object, so that the release frees each once.
TEST_F(QuastFlattenTest, OverlappingMembersOwnTheirValues) {
  Quast* a = constant_leaf(0, 1, 2);
  Polyhedron p1(c);
  Polyhedron p2(d);
  Quast q(std::vector<Polyhedron*>{&p1, &p2}, a, &bottom);
  PointMap points = q.flatten_point();
  OperationMap pieces = q.flatten();
  ASSERT_EQ(points.size(), 2u);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_NE(points.begin()->second, std::next(points.begin())->second);
  for (auto& piece : points) EXPECT_TRUE(*piece.second == *a->point);
  for (auto& piece : pieces) EXPECT_EQ(piece.second->stmt, 0);
  EXPECT_EQ(covering(points, {{0, 2}, {1, 1}}, point_value).size(), 2u);
  PointMap cut = Quast::restrict_point(points, std::vector<Polyhedron*>{&p1, &p2});
  EXPECT_EQ(cut.size(), 4u);
  del(cut);
  del(points);
  del(pieces);
  delete a;
}

// The restriction of a point map clones keys and values: the input is
// unchanged, and releasing both frees nothing twice.
TEST_F(QuastFlattenTest, RestrictionLeavesItsInput) {
  IndexFunction point(std::vector<int>(), std::vector<int>{1, 2});
  Polyhedron* key = new Polyhedron();
  PointMap m{{key, point.clone()}};
  PointMap cut = Quast::restrict_point(m, c);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_TRUE(key->constraints.empty());
  EXPECT_NE(cut.begin()->first, key);
  EXPECT_NE(cut.begin()->second, m.begin()->second);
  EXPECT_EQ(cut.begin()->first->constraints.size(), 1u);
  Polyhedron p(c);
  PointMap both = Quast::union_flatten_point(Quast::restrict_point(m, &p), cut);
  EXPECT_EQ(both.size(), 2u);
  del(m);
  del(both);
}

// An unbounded optimum keeps its piece: the key says where a solution
// exists. The point form refuses it.
TEST_F(QuastFlattenTest, UnboundedLeavesKeepTheirPiece) {
  Inequation* below = row_constraint(GREATER_EQ, {1, -1, 0, 0, 0});  // j <= i
  Polyhedron p(below);
  Quast* q = p.min_lex({0, 1}, 0);
  ASSERT_EQ(q->is_unbounded, 1);
  OperationMap pieces = q->flatten();
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces.begin()->first->constraints.empty());
  del(pieces);
  EXPECT_STOP_ON_STDOUT(q->flatten_point(), "Quast::_flatten_point: unbounded leaf");
  delete q;
  delete below;
}

// The flattened tagged minimum gives, at each N, the lexicographic minimum
// of the enumeration.
TEST_F(IJNTest, FlattenedMinimumAgainstEnumeration) {
  std::mt19937 g(47);
  for (int round = 0; round < 25; round++) {
    Rows rows = random_polyhedron(g, 3, 4);
    std::set<Point> all = points(rows, 3, 4);
    Polyhedron p(rows);
    Quast* q = p.min_lex({0, 1}, 0);
    OperationMap pieces = q->flatten();
    for (int n = 0; n <= 4; n++) {
      std::set<Point> at;
      for (const Point& x : all)
        if (x[2] == n) at.insert({x[0], x[1]});
      std::vector<Point> found;
      for (auto& piece : pieces)
        if (contains_at(piece.first, {{0, n}}))
          found.push_back({floor_value(piece.second->point->index_mapping[0], {{0, n}}),
                           floor_value(piece.second->point->index_mapping[1], {{0, n}})});
      if (at.empty()) {
        EXPECT_TRUE(found.empty()) << round << " N=" << n;
      } else {
        EXPECT_EQ(found, std::vector<Point>{*at.begin()}) << round << " N=" << n;
      }
    }
    del(pieces);
    delete q;
  }
}

}  // namespace
