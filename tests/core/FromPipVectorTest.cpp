#include "CoreTest.h"
#include "Expression.h"
#include "Polyhedron.h"
#include "pip.h"

namespace {

// Parameters P0, P1, P2 and a counter i; column 0 stands for P2.
class FromPipVectorTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    create_counter_rank("i");
    for (const char* name : {"P0", "P1", "P2"}) create_parameter_rank(name);
    actual_parameter[0] = 2;
  }
  Expression* read(std::vector<long long> entries, std::map<int, Expression*> newparm = {},
                   std::vector<long long> denominators = {}) {
    if (denominators.empty()) denominators.assign(entries.size(), 1);
    PipVector v{static_cast<int>(entries.size()), entries.data(), denominators.data()};
    return Expression::from_PipVector(&v, newparm);
  }
};

TEST_F(FromPipVectorTest, ParameterColumnsGoThroughTheCompactionMap) {
  Expression* e = read({3, -1});
  EXPECT_EQ(text(e), "-1+(3*P2)");
  Expression* leaf = read({1, 0});
  EXPECT_TRUE(leaf->is__parameter(2));
  EXPECT_EQ(leaf->evaluate_int({}, {{2, 5}}), 5);
  del(std::vector<Expression*>{e, leaf});
}

TEST_F(FromPipVectorTest, NewParametersAreClonedInColumnOrder) {
  Expression two(2);
  Expression quotient(FLOOR, &two, &two);
  Expression* alone = read({0, 1, 0}, {{1, &quotient}});
  EXPECT_TRUE(*alone == quotient);
  EXPECT_NE(alone, &quotient);
  Expression* i = var("i");
  Expression* mixed = read({1, 2, -1, 4}, {{2, i}, {1, &quotient}});
  EXPECT_EQ(text(mixed), "((4+P2)+(2*(floor(2,2))))+(-1*i)");
  del(std::vector<Expression*>{alone, i, mixed});
}

TEST_F(FromPipVectorTest, DenominatorsAreNotRead) {
  Expression* marker = read({0, 0}, {}, {0, 0});
  EXPECT_TRUE(marker->is_value(0));
  delete marker;
}

TEST_F(FromPipVectorTest, SizeAndRangeStops) {
  EXPECT_STOP_ON_STDOUT(read({1, 2, 3}), "Expression::from_PipVector(): bad vector size");
  EXPECT_STOP_ON_STDOUT(read({1, 2, 3}, {{5, nullptr}}),
                        "Expression::from_PipVector(): bad vector size");
  EXPECT_STOP_ON_STDOUT(read({1LL << 40, 0}), "Expression::from_PipVector(): value out of range");
}

}  // namespace
