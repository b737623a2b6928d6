#include <random>

#include "CoreTest.h"
#include "Expression.h"

namespace {

// Counters i, j and parameter N: rows are [i, j, N, constant].
using ExpressionRowsTest = IJNTest;

TEST_F(ExpressionRowsTest, FullRowShapes) {
  Expression with_flag(std::vector<int>{1, 1, 0, 2, -3});
  EXPECT_EQ(text(with_flag), "(-3+i)+(2*N)");
  EXPECT_EQ(with_flag.vec, (std::vector<int>{1, 0, 2, -3}));
  EXPECT_TRUE(with_flag.has_up_to_date_vector());
  Expression without_flag(std::vector<int>{1, 0, 2, -3});
  EXPECT_TRUE(with_flag == without_flag);
  EXPECT_EQ(text(Expression(std::vector<int>{0, -1, 0, 0})), "-1*j");
  EXPECT_EQ(text(Expression(std::vector<int>{0, 0, 0, 0})), "0");
  EXPECT_EQ(text(Expression(std::vector<int>{1, 0, 1, 5})), "(5+i)+N");
}

TEST_F(ExpressionRowsTest, FullRowOfWrongSizeStops) {
  EXPECT_STOP_ON_STDOUT(Expression(std::vector<int>{1, 2, 3}),
                        "Expression(polylib_vector): bad vector size4\n3");
}

TEST_F(ExpressionRowsTest, RandomRowsEvaluateToTheirDotProduct) {
  std::mt19937 random(11);
  auto draw = [&random]() { return static_cast<int>(random() % 7) - 3; };
  for (int trial = 0; trial < 200; trial++) {
    std::vector<int> row{draw(), draw(), draw(), draw()};
    bool flagged = trial % 2;
    std::vector<int> input(row);
    if (flagged) input.insert(input.begin(), 1);
    Expression e(input);
    e.has_vector = 0;
    EXPECT_EQ(e.to_vector(), row);
    for (int point = 0; point < 5; point++) {
      int x = draw(), y = draw(), p = draw();
      EXPECT_EQ(e.evaluate_int({{0, x}, {1, y}}, {{0, p}}),
                row[0] * x + row[1] * y + row[2] * p + row[3])
          << text(e);
    }
  }
}

TEST_F(ExpressionRowsTest, ChosenRanks) {
  Expression from_sets(std::vector<int>{2, 3, 4, 5}, std::set<int>{1, 0}, std::set<int>{0});
  EXPECT_EQ(from_sets.to_vector(), (std::vector<int>{2, 3, 4, 5}));
  Expression from_lists(std::vector<int>{2, 3, 4, 5}, std::vector<int>{1, 0},
                        std::vector<int>{0});
  EXPECT_EQ(from_lists.to_vector(), (std::vector<int>{3, 2, 4, 5}));
  Expression repeated(std::vector<int>{2, 3, 7}, std::vector<int>{1, 1}, std::vector<int>{});
  EXPECT_EQ(repeated.to_vector(), (std::vector<int>{0, 3, 0, 7}));
  Expression constant(std::vector<int>{9}, std::set<int>{}, std::set<int>{});
  EXPECT_TRUE(constant.is_value(9));
}

TEST_F(ExpressionRowsTest, ChosenRanksAreChecked) {
  EXPECT_STOP_ON_STDOUT(
      Expression(std::vector<int>{1, 2}, std::vector<int>{0, 1}, std::vector<int>{}),
      "Expression(vector, ranks): bad vector size3\n2");
  EXPECT_STOP_ON_STDOUT(
      Expression(std::vector<int>{1, 2}, std::vector<int>{2}, std::vector<int>{}),
      "Expression(vector, ranks): rank out of range: 2");
  EXPECT_STOP_ON_STDOUT(Expression(std::vector<int>{1, 2}, std::set<int>{}, std::set<int>{-1}),
                        "Expression(vector, ranks): rank out of range: -1");
}

TEST_F(ExpressionRowsTest, ParameterColumnStaysAParameterWhenACounterSharesItsName) {
  create_parameter_rank("n");
  delete var("n");
  Expression e(std::vector<int>{0, 0, 0, 0, 1, 0});
  EXPECT_TRUE(e.is_a_parameter());
  EXPECT_TRUE(e.is__parameter(1));
  EXPECT_EQ(text(e), "n");
}

}  // namespace
