#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "Quast.h"
#include "Schedule.h"

namespace {

// True counters i, j (ranks 0, 1), extra counters a, b, c (2, 3, 4) that
// instances are taken at, parameter N: full rows [i j a b c | N | 1].
class OperationTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    register_names({"i", "j"}, {"N"});
    for (const char* name : {"a", "b", "c"}) create_extra_counter_rank(name);
  }

  // A dense point of constants.
  static IndexFunction* constants(std::vector<int> values) { return new IndexFunction(std::vector<int>(), values); }

  // A dense point: entry k is counter entries[k] (by rank), or 0 for -1.
  static IndexFunction* leaves(std::vector<int> ranks) {
    IndexFunction* f = new IndexFunction();
    for (int r : ranks) {
      Expression* e = r < 0 ? new Expression(0) : Expression::from_counter_rank(r);
      f->push_back(e);
      delete e;
    }
    return f;
  }

  static Operation* operation(int stmt, std::vector<int> counters, IndexFunction* point) {
    Operation* op = new Operation(stmt, counters, point);
    delete point;
    return op;
  }

  static std::string text(Operation& op) {
    std::ostringstream out;
    out << op;
    return out.str();
  }

  static Schedule* schedule(std::vector<int> counters, std::vector<std::vector<int>> rows) {
    IndexFunction f(counters, rows);
    return new Schedule(&f);
  }

  // 1 when some piece holds at the point (values of all counters, then N).
  static bool in_union(const std::vector<Polyhedron*>& pieces, const Point& x) {
    for (Polyhedron* p : pieces)
      if (satisfies(p->to_matrix(), x)) return true;
    return false;
  }
};

TEST_F(OperationTest, TextForms) {
  Operation* op = operation(3, {0}, constants({5, 0}));
  EXPECT_EQ(text(*op), "S3,[5][0]");
  Operation tagged(3, {0}, op->point, 7);
  EXPECT_EQ(text(tagged), "S3,[5][0]tag: 7\n");
  Operation bottom;
  EXPECT_EQ(text(bottom), "_|_");

  // print(): the frame on standard output, the point's dump on standard error.
  testing::internal::CaptureStderr();
  op->point->print();
  std::string dump = testing::internal::GetCapturedStderr();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  op->print();
  bottom.print();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), dump);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "< S3,>_|_");

  // A full operation: its write, its reads and its domain.
  Expression i("i");
  Expression one(1);
  Expression i_plus_1(PLUS, &i, &one);
  op->is_full_operation = 1;
  op->lhs_id = "x";
  op->lhs_index = new IndexFunction(std::vector<int>{0}, std::vector<Expression*>{&i});
  op->rhs_index.push_back({"y", new IndexFunction(std::vector<int>{0}, std::vector<Expression*>{&i_plus_1})});
  op->rhs_index.push_back({"z", new IndexFunction()});
  Expression zero(0);
  op->iteration_domain = poly({i >= zero});
  op->has_tag = 1;
  op->tag = 2;
  EXPECT_EQ(text(*op), "S3,[5][0]: \nx[i] = y[i+1] z \n" + box(op->iteration_domain) + "\ntag: 2\n");
  delete op;
}

TEST_F(OperationTest, CopiesAndSubstitutions) {
  Operation bottom;
  Operation* copy = bottom.clone();
  EXPECT_EQ(copy->is_bottom, 1);
  delete copy;

  IndexFunction* point = leaves({0, 1});
  Operation* op = new Operation(1, {0, 1}, point, 4);
  delete point;
  Expression b("b");
  op->mapping[0] = &b;  // the caller's: neither copy frees it
  op->is_parametrized = 1;
  op->is_full_operation = 1;
  op->lhs_id = "x";
  op->lhs_index = leaves({0});
  op->rhs_index.push_back({"y", leaves({1})});
  op->iteration_domain = new Polyhedron();

  Operation* twin = op->clone();
  EXPECT_EQ(text(*twin), text(*op));
  EXPECT_EQ(twin->mapping.at(0), &b);
  EXPECT_EQ(twin->is_parametrized, 1);
  EXPECT_NE(twin->lhs_index, op->lhs_index);
  EXPECT_NE(twin->rhs_index.front().second, op->rhs_index.front().second);
  EXPECT_NE(twin->iteration_domain, op->iteration_domain);
  delete twin;

  // i -> b: same statement, counters and tag; no accesses, no mapping.
  Operation* moved = op->substitute_counters({{0, &b}});
  EXPECT_EQ(text(*moved), "S1,[b][j]tag: 4\n");
  EXPECT_EQ(moved->is_full_operation, 0);
  EXPECT_TRUE(moved->mapping.empty());
  EXPECT_EQ(moved->is_parametrized, 0);
  Operation* as_parameters = moved->counters_to_parameters({{3, 0}});
  EXPECT_EQ(text(*as_parameters), "S1,[N][j]tag: 4\n");
  Operation* back = as_parameters->parameters_to_counters({{0, 2}});
  EXPECT_EQ(text(*back), "S1,[a][j]tag: 4\n");
  IndexFunction* own = back->filtered_point();
  EXPECT_EQ(own->surrounding_counters, (std::vector<int>{0, 1}));
  EXPECT_EQ(own->size(), 2);
  op->check();
  del(std::vector<IndexFunction*>{own});
  for (Operation* o : {op, moved, as_parameters, back}) delete o;
}

TEST_F(OperationTest, TextualOrderPieces) {
  // No common counter: the statement order alone.
  Operation* first = operation(0, {0}, leaves({2, -1}));
  Operation* second = operation(1, {1}, leaves({-1, 3}));
  std::list<Polyhedron*> pieces = *first < *second;
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_TRUE(pieces.front()->constraints.empty());
  del(pieces);
  pieces = *second < *first;
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces.front()->constraints.front()->is_false(), 1);
  del(pieces);

  // Two common counters, the later statement first: three pieces, the
  // equalities written once each, the last piece false.
  Operation* outer = operation(2, {0, 1}, leaves({2, 3}));
  Operation* inner = operation(1, {0, 1}, leaves({4, 2}));
  pieces = *outer < *inner;
  ASSERT_EQ(pieces.size(), 3u);
  std::vector<Polyhedron*> v(pieces.begin(), pieces.end());
  ASSERT_EQ(v[0]->size(), 1);
  Inequation* a_before_c = v[0]->constraints.front();
  EXPECT_EQ(a_before_c->pred, LESS);
  EXPECT_TRUE(a_before_c->lhs->is__counter(2) && a_before_c->rhs->is__counter(4));
  ASSERT_EQ(v[1]->size(), 2);
  EXPECT_EQ(v[1]->constraints.front()->pred, LESS);
  EXPECT_EQ(v[1]->constraints.back()->pred, EQ);
  EXPECT_EQ(v[2]->constraints.front()->is_false(), 1);
  del(pieces);
  for (Operation* o : {first, second, outer, inner}) delete o;
}

TEST_F(OperationTest, BeforeAgreesWithEnumeration) {
  // S0 over i dated (i, 1, i); S1 over i, j dated (i + j, 1, j). S0 at i = a
  // runs before S1 at (b, c) exactly when (a, 1, a) < (b + c, 1, c).
  std::vector<Schedule*> theta{schedule({0}, {{1, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 0, 0}}),
                               schedule({0, 1}, {{1, 1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 1}, {0, 1, 0, 0, 0, 0, 0}})};
  Operation* o1 = operation(0, {0}, leaves({2, -1}));
  Operation* o2 = operation(1, {0, 1}, leaves({3, 4}));
  std::vector<Polyhedron*> simplified = Operation::before(theta, o1, o2);
  std::vector<Polyhedron*> plain = Operation::before_no_simplification(theta, o1, o2);
  EXPECT_EQ(plain.size(), 3u);
  for (int a = -3; a <= 3; a++)
    for (int b = -3; b <= 3; b++)
      for (int c = -3; c <= 3; c++) {
        bool expected = a < b + c || (a == b + c && a < c);
        Point x{0, 0, a, b, c, 0};
        EXPECT_EQ(in_union(simplified, x), expected) << a << " " << b << " " << c;
        EXPECT_EQ(in_union(plain, x), expected) << a << " " << b << " " << c;
      }
  del(simplified);
  del(plain);
  delete o1;
  delete o2;
  del(theta);
}

TEST_F(OperationTest, DateOfAnOperation) {
  Schedule* s = schedule({0}, {{0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 1}});
  Operation* op = operation(0, {0}, constants({5, 0}));
  IndexFunction* date = s->apply(op);
  EXPECT_EQ(date->to_matrix(), (std::vector<std::vector<int>>{
                                   {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 5}, {0, 0, 0, 0, 0, 0, 1}}));
  delete date;
  delete op;
  delete s;
}

TEST_F(OperationTest, BottomShortPointsAndMissingSchedulesStop) {
  Operation bottom;
  Operation* op = operation(2, {0, 4}, leaves({2, 3}));  // no entry for c (rank 4)
  std::vector<Schedule*> theta{schedule({0}, {{1, 0, 0, 0, 0, 0, 0}})};
  EXPECT_STOP_ON_STDERR(bottom.substitute_counters({}), "Operation::substitute_counters: bottom operation");
  EXPECT_STOP_ON_STDERR(bottom.parameters_to_counters({}), "Operation::parameters_to_counters: bottom operation");
  EXPECT_STOP_ON_STDERR(bottom.counters_to_parameters({}), "Operation::counters_to_parameters: bottom operation");
  EXPECT_STOP_ON_STDERR(bottom.filtered_point(), "Operation::filtered_point: bottom operation");
  EXPECT_STOP_ON_STDERR(bottom < *op, "Operation::<: bottom operation");
  EXPECT_STOP_ON_STDERR(Operation::before(theta, &bottom, op), "Operation::before: bottom operation");
  EXPECT_STOP_ON_STDERR(theta[0]->apply(&bottom), "Schedule::apply: bottom operation");

  EXPECT_STOP_ON_STDERR(op->filtered_point(), "Operation::filtered_point: point has no entry for counter 4");
  EXPECT_STOP_ON_STDERR(*op < *op, "Operation::<: point has no entry for counter 4");
  EXPECT_STOP_ON_STDERR(theta[0]->apply(op), "Schedule::apply: point has no entry for counter 4");

  Operation* zero = operation(0, {0}, leaves({2}));
  EXPECT_STOP_ON_STDERR(Operation::before(theta, zero, op), "Operation::before: no schedule for statement 2");
  EXPECT_STOP_ON_STDERR(Operation::before_no_simplification(theta, op, zero),
                        "Operation::before_no_simplification: no schedule for statement 2");
  delete zero;
  delete op;
  del(theta);
}

TEST_F(OperationTest, FlattenedMapsAreReleased) {
  std::map<Polyhedron*, Operation*> m{{new Polyhedron(), operation(0, {0}, leaves({2}))},
                                      {new Polyhedron(), new Operation()}};
  del(m);
  std::vector<std::map<Polyhedron*, Operation*>> v{{{new Polyhedron(), operation(1, {1}, leaves({-1, 3}))}}, {}};
  del(v);
}

}  // namespace
