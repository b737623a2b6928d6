#include <random>

#include "CoreTest.h"
#include "PointSets.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"
#include "Rank.h"

namespace {

// Rows over (i, j, N) widened with zero columns for the parameters that
// later integer projections registered ("c_0", "c_1").
Polyhedron* polyhedron(Rows rows) {
  int width = get_nb_counters() + get_nb_parameters() + 2;
  for (std::vector<int>& row : rows) row.insert(row.end() - 1, width - static_cast<int>(row.size()), 0);
  return new Polyhedron(rows);
}

// Counters i (0), j (1); parameter N (0). Rows [flag | i | j | N | 1].
class ProjectIntTest : public IJNTest {
 protected:
  void TearDown() override { EXPECT_EQ(Quast::shared_objects(), 0); }

  // Checks project_int({i}) of rows against enumeration for i in
  // -12 .. 5 and N in 0 .. 4.
  void expect_projection(const Rows& rows, const std::string& what) {
    Polyhedron* p = polyhedron(rows);
    std::vector<Polyhedron*> pieces = p->project_int({0});
    delete p;
    for (int n = 0; n <= 4; n++)
      for (int i = -12; i <= 5; i++) {
        bool expected = false;
        for (int j = -30; j <= 30 && !expected; j++) expected = satisfies(rows, {i, j, n});
        EXPECT_EQ(contains_at(pieces, {{0, n}}, {{0, i}}), expected) << what << " i=" << i << " N=" << n;
      }
    del(pieces);
  }
};

TEST_F(ProjectIntTest, RandomPolyhedraAgainstEnumeration) {
  std::mt19937 g(53);
  for (int round = 0; round < 25; round++) {
    Rows rows = random_polyhedron(g, 3, 6);
    if (round % 2 == 0) rows.push_back({1, -1, 0, 0, -2});  // i <= -2
    expect_projection(rows, "round " + std::to_string(round));
  }
}

// Holes: where the rational projection holds an i that no integer j goes
// with, at negative kept counters too.
TEST_F(ProjectIntTest, ThinPolyhedraAndNegativeCounters) {
  // 2j <= i <= 3j + 3: i >= -6 without -5.
  expect_projection({{1, 1, -2, 0, 0}, {1, -1, 3, 0, 3}}, "thin");
  // i <= j <= i + 5, j >= -3: i >= -8.
  expect_projection({{1, -1, 1, 0, 0}, {1, 1, -1, 0, 5}, {1, 0, 1, 0, 3}}, "shifted");
  // i = 2j: the even i.
  expect_projection({{0, 1, -2, 0, 0}}, "even");
  // 3j <= i <= 3j + 1, i <= N: two residues below N.
  expect_projection({{1, 1, -3, 0, 0}, {1, -1, 3, 0, 1}, {1, -1, 0, 1, 0}}, "residues");
}

TEST_F(ProjectIntTest, UnboundedAndNothingEliminated) {
  // j <= i <= N: j has no minimum, but every i <= N extends.
  expect_projection({{1, 1, -1, 0, 0}, {1, -1, 0, 1, 0}}, "unbounded");
  // Keeping both counters: the integer points themselves.
  Rows rows{{1, 1, -2, 0, 0}, {1, -1, 3, 0, 3}, {1, 0, 0, 1, -1}};
  Polyhedron* p = polyhedron(rows);
  std::vector<Polyhedron*> pieces = p->project_int({0, 1});
  delete p;
  for (int n = 0; n <= 4; n++)
    for (int i = -8; i <= 8; i++)
      for (int j = -8; j <= 8; j++)
        EXPECT_EQ(contains_at(pieces, {{0, n}}, {{0, i}, {1, j}}), satisfies(rows, {i, j, n}))
            << i << " " << j << " " << n;
  del(pieces);
}

}  // namespace
