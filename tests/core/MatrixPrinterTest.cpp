#include <gtest/gtest.h>

#include <sstream>

#include "MatrixPrinter.h"
#include "PolyhedronTestSupport.h"

TEST(MatrixPrinter, StreamFormatsOfVectorsAndMatrices) {
  std::ostringstream s;
  s << std::vector<std::vector<int>>{{1, 2}, {3, 4}};
  EXPECT_EQ(s.str(), "2 2\n1  2  \n3  4  \n");
  s.str("");
  s << std::vector<std::vector<int>>{};
  EXPECT_EQ(s.str(), "0 0\n");
  s.str("");
  s << std::vector<int>{5, 6};
  EXPECT_EQ(s.str(), "2\n5\n6\n");
}

TEST(MatrixPrinter, PrintsOnStandardOutput) {
  auto r = run_in_child([] { MatrixPrinter::print_vec({1, -2}); });
  EXPECT_EQ(r.out, "1  -2  \n");
  r = run_in_child([] { MatrixPrinter::print_vec_vec({{1}, {2, 3}}); });
  EXPECT_EQ(r.out, "1  \n2  3  \n");
  r = run_in_child([] { MatrixPrinter::print_list_vec({{4}, {}}); });
  EXPECT_EQ(r.out, "4  \n\n");
  r = run_in_child([] { MatrixPrinter::print_vec_vec_vec({{{1}}, {{2, 3}}}); });
  EXPECT_EQ(r.out, "--\n1  \n\n2  3  \n\n--\n");
}
