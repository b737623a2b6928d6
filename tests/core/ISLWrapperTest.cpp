#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>

#include "ISLWrapper.h"
#include "PointSets.h"
#include "PolyhedronTestSupport.h"

namespace {

typedef std::vector<Rows> Union;

Union random_union(std::mt19937& g, int dim) {
  std::uniform_int_distribution<int> count(0, 3);
  Union u;
  for (int n = count(g); n > 0; --n) u.push_back(random_polyhedron(g, dim, 3));
  return u;
}

}  // namespace

TEST(ISLAdapter, CoalesceMergesOverlappingIntervals) {
  EXPECT_EQ(ISLWrapper::coalesce({{{1, 1, 0}, {1, -1, 5}}, {{1, 1, -3}, {1, -1, 9}}}, 1, 0),
            (Union{{{1, 1, 0}, {1, -1, 9}}}));
  EXPECT_TRUE(ISLWrapper::coalesce({}, 2, 1).empty());
  EXPECT_TRUE(ISLWrapper::coalesce({{{1, 0, -1}}}, 1, 0).empty());
  // An equality reaches isl as one and comes back with flag 0.
  Union r = ISLWrapper::coalesce({{{0, 1, -1, 0}, {1, 1, 0, 0}, {1, -1, 0, 4}}}, 2, 0);
  ASSERT_EQ(r.size(), 1u);
  bool has_equality = false;
  for (const auto& row : r[0]) has_equality |= row[0] == 0;
  EXPECT_TRUE(has_equality);
}

TEST(ISLAdapter, UnionOperationsAgainstEnumeration) {
  std::mt19937 g(17);
  for (int t = 0; t < 40; ++t) {
    int c = 1 + t % 2, p = (t / 2) % 2, dim = c + p;
    Union a = random_union(g, dim), b = random_union(g, dim);
    std::set<Point> sa = points(a, dim, 4), sb = points(b, dim, 4);
    EXPECT_EQ(points(ISLWrapper::coalesce(a, c, p), dim, 4), sa);

    std::set<Point> difference;
    for (const auto& x : sa)
      if (!sb.count(x)) difference.insert(x);
    EXPECT_EQ(points(ISLWrapper::subtract(a, b, c, p), dim, 4), difference);

    // gist(a, b) and b meet exactly where a and b meet.
    std::set<Point> meet, gist_meet;
    for (const auto& x : sa)
      if (sb.count(x)) meet.insert(x);
    for (const auto& x : points(ISLWrapper::gist(a, b, c, p), dim, 4))
      if (sb.count(x)) gist_meet.insert(x);
    EXPECT_EQ(gist_meet, meet);
  }
}

// A box bounds each kept dimension by the parameters, within the cell; a
// constraint of the domain on the parameters alone bounds no dimension and
// is left out, while an empty domain's box stays empty.
TEST(ISLAdapter, BoxWithinBoundsEachDimensionByTheParameters) {
  std::optional<std::string> box = ISLWrapper::box_within(
      "[N, M] -> { S[i, j] : 0 <= i <= j <= N and M >= 3 }", "[N, M] -> { S[i, j] : j <= 5 }", {0, 1}, 100000);
  ASSERT_TRUE(box);
  EXPECT_EQ(*box, "[N, M] -> { S[i, j] : 0 <= i <= N and 0 <= j <= 5 and j <= N }");
  box = ISLWrapper::box_within("[N] -> { S[i] : 0 <= i <= N and 1 = 0 }", "[N] -> { S[i] }", {0}, 100000);
  ASSERT_TRUE(box);
  EXPECT_TRUE(ISLWrapper::may_have_points(*box) == false) << *box;
}

TEST(ISLAdapter, WidthIsCheckedBeforeIsl) {
  ChildRun r = run_in_child([] { ISLWrapper::coalesce({{{1, 1, 0, 0}}}, 1, 0); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ISLWrapper::from_vec_vec: lines are not consistent\n");
}

TEST(ISLAdapter, RightInverseTracesAndStops) {
  ChildRun r = run_in_child([] {
    if (ISLWrapper::right_inverse({{2, 1}, {1, 1}}) != Rows{{1, -1}, {-1, 2}}) std::exit(3);
  });
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "[[2,1]\n [1,1]]\n[[1,-1]\n [-1,2]]\nright-inverse(2 2\n2  1  \n1  1  \n) = \n"
            "2 2\n1  -1  \n-1  2  \n\n");
  r = run_in_child([] { ISLWrapper::right_inverse({}); });
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  r = run_in_child([] { ISLWrapper::right_inverse({{}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "ISLWrapper: dim 0 input space\n");
  r = run_in_child([] { ISLWrapper::right_inverse({{1, 1}, {1, 1}}); });
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ISLWrapper::right_inverse: no right inverse\n"), std::string::npos);
}

TEST(ISLAdapter, IsccHandOffReportsIsccsStatus) {
  char dir[] = "/tmp/tarvex_iscc_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string bin = std::string(dir) + "/bin";
  ASSERT_EQ(std::system(("mkdir " + bin).c_str()), 0);
  auto run = [&](const std::string& path) {
    return run_in_child([&] {
      if (chdir(dir) != 0) std::exit(4);
      setenv("PATH", path.c_str(), 1);
      std::stringstream script;
      script << "D := { [i] : 0 <= i <= 3 };\n";
      ISLWrapper::set_from_iscc(script);
    });
  };
  ChildRun r = run(bin);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ISLWrapper::set_from_iscc: iscc failed\n"), std::string::npos);
  {
    std::ofstream fake(bin + "/iscc");
    fake << "#!/bin/sh\ncat\n";
  }
  ASSERT_EQ(std::system(("chmod +x " + bin + "/iscc").c_str()), 0);
  r = run(bin + ":/usr/bin:/bin");
  EXPECT_EQ(r.status, 0);
  std::ifstream output(std::string(dir) + "/output.iscc");
  std::string line;
  std::getline(output, line);
  EXPECT_EQ(line, "D := { [i] : 0 <= i <= 3 };");
  std::system(("rm -rf " + std::string(dir)).c_str());
}
