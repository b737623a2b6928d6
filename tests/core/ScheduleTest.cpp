#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Schedule.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

// Counters i, j (0, 1); parameter N (0).
class ScheduleTest : public IJNTest {
 protected:
  // The date (0, i, 0, j, last) over counters (i, j).
  static Schedule* date(int last) {
    IndexFunction f(std::vector<int>{0, 1},
                    Rows{{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, last}});
    return new Schedule(&f);
  }
};

TEST_F(ScheduleTest, IsccMapText) {
  std::vector<Schedule*> theta{date(1), date(2)};
  std::ostringstream out;
  print_iscc(out, theta);
  EXPECT_EQ(out.str(), "[] -> {S0[i,j] -> [0,i,0,j,1]; S1[i,j] -> [0,i,0,j,2] }");
  IndexFunction none;
  Schedule empty_date(&none);
  std::ostringstream empty_out;
  print_iscc(empty_out, {&empty_date});
  EXPECT_EQ(empty_out.str(), "[] -> {S0[] -> [] }");
  del(theta);
}

TEST_F(ScheduleTest, CountersReplaceTheFunctionsOwn) {
  IndexFunction f(std::vector<int>{1}, Rows{{1, 0, 0, 0}});
  Schedule s(&f, {0, 1});
  EXPECT_EQ(s.schedule->surrounding_counters, (std::vector<int>{0, 1}));
  EXPECT_EQ(s.to_matrix(), f.to_matrix());
  EXPECT_EQ(f.surrounding_counters, (std::vector<int>{1}));
  EXPECT_NE(s.schedule, &f);
}

TEST_F(ScheduleTest, CopiesRestrictionAndCuts) {
  std::vector<Schedule*> theta{date(1), date(2), date(3)};
  std::vector<Schedule*> picked = Schedule::restrict_to_statements(theta, {2, 0});
  ASSERT_EQ(picked.size(), 2u);
  EXPECT_EQ(*picked[0]->schedule == *theta[2]->schedule, 1);
  EXPECT_EQ(*picked[1]->schedule == *theta[0]->schedule, 1);
  EXPECT_NE(picked[0], theta[2]);
  Schedule* first = theta[0]->keep_first(2);
  EXPECT_EQ(first->dimension(), 2);
  Schedule* last = theta[0]->keep_last(1);
  EXPECT_EQ(last->to_matrix(), (Rows{{0, 0, 0, 1}}));
  IndexFunction* renamed = theta[0]->counters_to_counters({{0, 1}});
  EXPECT_EQ(renamed->to_matrix()[1], (std::vector<int>{0, 1, 0, 0}));
  delete renamed;
  del(std::vector<Schedule*>{first, last});
  del(Schedule::clone(picked));
  del(picked);
  del(theta);
}

TEST_F(ScheduleTest, DatesOfDensePoints) {
  Schedule* s = date(1);
  IndexFunction point(std::vector<int>(), std::vector<int>{5, 7});
  IndexFunction* d = s->apply(&point);
  EXPECT_EQ(d->to_matrix(), (Rows{{0, 0, 0, 0}, {0, 0, 0, 5}, {0, 0, 0, 0}, {0, 0, 0, 7}, {0, 0, 0, 1}}));
  delete d;
  // A point built before a later registration: the later counter stays.
  create_counter_rank("k");
  IndexFunction short_point(std::vector<int>(), std::vector<int>{5, 7});
  IndexFunction over_k(std::vector<int>{2}, Rows{{0, 0, 1, 0, 0}});
  Schedule sk(&over_k);
  d = sk.apply(&short_point);
  EXPECT_TRUE(d->index_mapping[0]->is__counter(2));
  delete d;
  delete s;
}

TEST_F(ScheduleTest, CommonNest) {
  EXPECT_EQ(common_nest({1, 2, 3}, {1, 2, 4}), 1);
  EXPECT_EQ(common_nest({1}, {2}), -1);
  EXPECT_EQ(common_nest({}, {1}), -1);
  EXPECT_EQ(common_nest({4, 5}, {4, 5, 6}), 1);
}

TEST_F(ScheduleTest, TextForms) {
  std::vector<Schedule*> theta{date(1)};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  std::ostream& back = std::cerr << theta;
  EXPECT_EQ(&back, &std::cerr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "SCHEDULES\n\nStatement #0: [0][i][0][j][1]\n");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  Schedule::print_vec(theta);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "STATEMENT #0\nschedule = \n\n");
  EXPECT_EQ(err.substr(0, 16), "function i0 i1  ");
  testing::internal::CaptureStdout();
  Schedule::print_vec_matrix(theta);
  std::string matrix = testing::internal::GetCapturedStdout();
  EXPECT_EQ(matrix.substr(0, 13), "STATEMENT #0\n");
  EXPECT_NE(matrix.find("0  0  0  1  \n"), std::string::npos);
  del(theta);
}

}  // namespace
