// General parametric tiling by a tile shape and a lattice: names, the
// substitution, the dumps, the stops, and the bijection between tiled and
// original iterations.

#include <algorithm>
#include <sstream>

#include "CommandTest.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ZILTestSupport.h"
#include "ZILWrapper.h"

namespace {

typedef std::pair<std::pair<ZILWrapper::general_tiling_t, std::map<int, Expression*>>, std::vector<Polyhedron*>>
    Result;
typedef std::vector<std::vector<int>> Lattice;

class ZILGeneralTest : public CommandTest {
 protected:
  // 0 <= i < N, 0 <= j < N.
  Polyhedron* square() {
    return rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {"i", "j"}, {"N"});
  }
  // 0 <= i < b, 0 <= j < b.
  Polyhedron* box() {
    return rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {"i", "j"},
                     {"block_size"});
  }
  Result tile(Polyhedron* domain, Polyhedron* shape, const Lattice& lattice, std::string* trace = nullptr,
              std::vector<std::vector<Polyhedron*>>* factors = nullptr) {
    Result r;
    std::string out = stdout_of([&] { r = ZILWrapper::get_general_tiled_domain(domain, shape, lattice, factors); });
    if (trace) *trace = out;
    return r;
  }
  void release(Result& r) {
    del(r.first.second);
    del(r.second);
  }
  int value(Expression* e, const std::map<std::string, int>& counters, int b) {
    Values c;
    for (const auto& v : counters) c[get_counter_rank(v.first)] = v.second;
    return e->evaluate_int(c, {{get_parameter_rank("block_size"), b}});
  }
};

TEST_F(ZILGeneralTest, NamesAndSubstitutionOfTheIdentityAndSkewedLattices) {
  Polyhedron* domain = square();
  Polyhedron* shape = box();
  Result r = tile(domain, shape, {{1, 0}, {0, 1}, {1, 1}});
  const ZILWrapper::general_tiling_t& names = r.first.first;
  int i = get_counter_rank("i"), j = get_counter_rank("j"), n = get_parameter_rank("N");
  EXPECT_EQ(names.first.first, (std::vector<int>{get_counter_rank("outer_0"), get_counter_rank("outer_1")}));
  EXPECT_EQ(names.first.second, (std::map<int, int>{{i, get_counter_rank("inner_i")}, {j, get_counter_rank("inner_j")}}));
  EXPECT_EQ(names.second.at(n), std::make_pair(get_parameter_rank("outer_N"), get_parameter_rank("inner_N")));
  EXPECT_LT(get_counter_rank("outer_1"), get_counter_rank("inner_i"));
  std::map<std::string, int> at = {{"outer_0", 2}, {"outer_1", 3}, {"inner_i", 1}, {"inner_j", 4}};
  EXPECT_EQ(value(r.first.second.at(i), at, 5), 11);
  EXPECT_EQ(value(r.first.second.at(j), at, 5), 19);
  int counters = get_nb_counters();
  Result skewed = tile(domain, shape, {{1, 1}, {0, 1}, {1, 1}});
  EXPECT_EQ(get_nb_counters(), counters) << "a second statement reuses the names";
  EXPECT_EQ(value(skewed.first.second.at(i), at, 5), 26);
  EXPECT_EQ(value(skewed.first.second.at(j), at, 5), 19);
  release(r);
  release(skewed);
  delete shape;
  delete domain;
}

TEST_F(ZILGeneralTest, DumpsOfTheLibrarysInputs) {
  Polyhedron* domain = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"N"});
  Polyhedron* shape = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"block_size"});
  std::string trace;
  Result r = tile(domain, shape, {{1}, {1}}, &trace);
  std::string dumps =
      "\t\t( 1 1 0 0 )\n\t\t( 1 -1 1 -1 )\n\n"
      "\t\t( 1 1 0 0 )\n\t\t( 1 -1 1 -1 )\n\n"
      "[ 1 ]\n[ 1 ]\n\n";
  EXPECT_EQ(trace.substr(0, dumps.size()), dumps);
  std::istringstream rest(trace.substr(dumps.size()));
  std::string line;
  int lines = 0;
  while (std::getline(rest, line))
    if (!line.empty()) {
      EXPECT_EQ(line.rfind("min1 = ", 0), 0u) << line;
      lines++;
    }
  EXPECT_EQ(lines, 2) << "one line per constraint";
  release(r);
  delete shape;
  delete domain;
}

TEST_F(ZILGeneralTest, StopsInOrderBeforeAnyOutput) {
  const std::string who = "ZILWrapper::get_general_tiled_domain: ";
  Polyhedron* domain = square();
  Polyhedron* shape = box();
  Polyhedron* two = rows_over({{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 1, -1}},
                              {"i", "j"}, {"block_size", "N"});
  EXPECT_STOP_ON_STDERR(tile(domain, two, {}), who + "null lattice");
  EXPECT_STOP_ON_STDERR(tile(domain, two, {{1, 0}, {0, 1}}), who + "shape must uses block_size parameter. Any other parameter is forbidden.");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 0}, {0, 1}}), who + "the lattice must have 3 rows of 2 values");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 0}, {0}, {1, 1}}), who + "the lattice must have 3 rows of 2 values");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 0}, {0, 1}, {0, 1}}), who + "the lattice denominators must be positive");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 0}, {0, 1}, {1, -2}}), who + "the lattice denominators must be positive");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 2}, {2, 4}, {1, 1}}), who + "the lattice must be invertible");
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{0, 0}, {0, 1}, {1, 1}}), who + "the lattice must be invertible");
  Polyhedron* outside = rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}},
                                  {"i", "k"}, {"block_size"});
  EXPECT_STOP_ON_STDERR(tile(domain, outside, {{1, 0}, {0, 1}, {1, 1}}),
                        who + "the tile shape uses a counter outside the statement's loops");
  Polyhedron* open = rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}}, {"i", "j"}, {"block_size"});
  EXPECT_STOP_ON_STDERR(tile(domain, open, {{1, 0}, {0, 1}, {1, 1}}), who + "the tile shape must bound every counter");
  // 0 <= i - j < b: unbounded along i = j.
  Polyhedron* strip = rows_over({{1, 1, -1, 0, 0}, {1, -1, 1, 1, -1}}, {"i", "j"}, {"block_size"});
  EXPECT_STOP_ON_STDERR(tile(domain, strip, {{1, 0}, {0, 1}, {1, 1}}), who + "the tile shape must bound every counter");
  for (Polyhedron* p : {domain, shape, two, outside, open, strip}) delete p;
}

TEST_F(ZILGeneralTest, StopsWhenTheShapeDoesNotTileTheSpaceWithTheLattice) {
  const std::string who = "ZILWrapper::get_general_tiled_domain: the tile shape does not tile the space with the "
                          "lattice (block size ";
  Polyhedron* domain = square();
  Polyhedron* shape = box();
  // 0 <= i < 2b, 0 <= j < b.
  Polyhedron* brick = rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 2, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}},
                                {"i", "j"}, {"block_size"});
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{2, 0}, {0, 1}, {1, 1}}), who + "1)");
  EXPECT_STOP_ON_STDERR(tile(domain, brick, {{1, 0}, {0, 1}, {1, 1}}), who + "1)");
  Result fits = tile(domain, brick, {{2, 0}, {1, 1}, {1, 1}});
  release(fits);
  // 0 <= i < b and i <= 1: a tiling for b = 1 and 2 only.
  Polyhedron* capped = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}, {1, -1, 0, 1}}, {"i"}, {"block_size"});
  Polyhedron* segment = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"N"});
  EXPECT_STOP_ON_STDERR(tile(segment, capped, {{1}, {1}}), who + "3)");
  // i <= 40 only cuts tiles from b = 42 on: found at the powers of two.
  Polyhedron* long_capped = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}, {1, -1, 0, 40}}, {"i"}, {"block_size"});
  EXPECT_STOP_ON_STDERR(tile(segment, long_capped, {{1}, {1}}), who + "64)");
  // "-min-block-size" bounds the rectangular tilings only: a general tiling
  // holds for every block size, and is checked from 1 on.
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 4;
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{2, 0}, {0, 1}, {1, 1}}), who + "1)");
  Options::min_block_size = 2147483647;
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{2, 0}, {0, 1}, {1, 1}}), who + "1)");
  Options::min_block_size = 0;
  EXPECT_STOP_ON_STDERR(tile(domain, brick, {{1, 0}, {0, 1}, {1, 1}}), who + "1)");
  for (Polyhedron* p : {domain, shape, brick, capped, long_capped, segment}) delete p;
}

// Neither "-aligned-parameters" nor "-min-block-size" changes the tiling.
TEST_F(ZILGeneralTest, CommandLineOptionsLeaveTheTilingAsItIs) {
  Options::option["aligned-parameters"] = 1;
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 8;
  Polyhedron* domain = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"N"});
  Polyhedron* shape = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"block_size"});
  Result r = tile(domain, shape, {{1}, {1}});
  Values values = split_values({{"N", 3}}, 2);
  std::vector<int> tiled = {get_counter_rank("outer_0"), get_counter_rank("inner_i")};
  EXPECT_FALSE(union_points(r.second, tiled, values, {-3, -1}, {3, 3}).empty()) << "inner_N 1, block_size 2";
  Options::min_block_size = 0;
  release(r);
  delete shape;
  delete domain;
}

TEST_F(ZILGeneralTest, AShapeParameterOfAnotherNamePasses) {
  Polyhedron* domain = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"N"});
  Polyhedron* shape = rows_over({{1, 1, 0, 0}, {1, -1, 1, -1}}, {"i"}, {"S"});
  Result r = tile(domain, shape, {{1}, {1}});
  EXPECT_FALSE(r.second.empty());
  release(r);
  delete shape;
  delete domain;
}

struct GeneralCase {
  Rows shape;  // over (i, j) and block_size
  Lattice lattice;
};

// Every tiled point is one original iteration, every iteration is reached
// once, and the factors of the domain hold its points in their
// intersection.
TEST_F(ZILGeneralTest, TiledPointsAreTheIterationsEachOnce) {
  Rows parallelogram = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, -1, 1, 0, 0}, {1, 1, -1, 1, -1}};
  std::vector<GeneralCase> cases = {
      {{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {{1, 0}, {0, 1}, {1, 1}}},
      {{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {{1, 1}, {0, 1}, {1, 1}}},
      {parallelogram, {{1, 0}, {1, 1}, {1, 1}}},
  };
  for (const GeneralCase& c : cases) {
    clear_registries();
    // 0 <= i < N, -2 <= j < M.
    Polyhedron* domain =
        rows_over({{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 2}, {1, 0, -1, 0, 1, -1}}, {"i", "j"},
                  {"N", "M"});
    Polyhedron* shape = rows_over(c.shape, {"i", "j"}, {"block_size"});
    std::vector<std::vector<Polyhedron*>> factors;
    Result r = tile(domain, shape, c.lattice, nullptr, &factors);
    std::vector<int> tiled = {get_counter_rank("outer_0"), get_counter_rank("outer_1"), get_counter_rank("inner_i"),
                              get_counter_rank("inner_j")};
    std::vector<int> original = {get_counter_rank("i"), get_counter_rank("j")};
    for (int n : {0, 1, 3, 6})
      for (int m : {0, 4})
        for (int b = 1; b <= 4; b++) {
          Values values = split_values({{"N", n}, {"M", m}}, b);
          int outer = (n + m + 2) / b + 3, inner = 2 * b + 1;
          Point low = {-outer, -outer, -1, -1}, high = {outer, outer, inner, inner};
          std::set<Point> points = union_points(r.second, tiled, values, low, high);
          std::set<Point> iterations = union_points({domain}, original, values, {-5, -5}, {n + 5, m + 5});
          EXPECT_EQ(bijection_failure(points, tiled, values, r.first.second, original, iterations), "")
              << "case " << &c - &cases[0] << " N=" << n << " M=" << m << " b=" << b;
          EXPECT_EQ(common_points(factors, tiled, values, low, high), points)
              << "case " << &c - &cases[0] << " N=" << n << " M=" << m << " b=" << b;
        }
    EXPECT_FALSE(factors.empty());
    del(factors);
    release(r);
    delete shape;
    delete domain;
  }
}


struct LatticeCase {
  Rows shape;  // over (i, j) and block_size
  Lattice lattice;
  int multiple;                  // the block sizes allowed
  std::vector<int> denominators; // in lowest terms, 1 for no offset counter
};

// With denominators, every lattice coordinate is split into its quotient
// outer_c and its offset lattice_offset_c: the pieces of the offsets are
// crossed apart and must still give every iteration exactly once, for
// every block size the tiled code accepts.
TEST_F(ZILGeneralTest, LatticesWithDenominatorsGiveTheIterationsEachOnce) {
  std::vector<LatticeCase> cases = {
      // Diamonds 0 <= i + j < b, 0 <= i - j < b on (1, 1)/2, (1, -1)/2.
      {{{1, 1, 1, 0, 0}, {1, -1, -1, 1, -1}, {1, 1, -1, 0, 0}, {1, -1, 1, 1, -1}}, {{1, 1}, {1, -1}, {2, 2}}, 2, {2, 2}},
      // 0 <= i + j < b, 0 <= i - 2j < b on (2, 1)/3, (1, -1)/3.
      {{{1, 1, 1, 0, 0}, {1, -1, -1, 1, -1}, {1, 1, -2, 0, 0}, {1, -1, 2, 1, -1}}, {{2, 1}, {1, -1}, {3, 3}}, 3, {3, 3}},
      // 0 <= 2i < b, 0 <= 3j - 3i < b on (1, 1)/2, (0, 1)/3.
      {{{1, 2, 0, 0, 0}, {1, -2, 0, 1, -1}, {1, -3, 3, 0, 0}, {1, 3, -3, 1, -1}}, {{1, 0}, {1, 1}, {2, 3}}, 6, {2, 3}},
      // 0 <= 3i + j < b, 0 <= j < b on (1, 0)/3, (-1, 3)/3: the origin
      // lattice of these parallelograms, whose second column has the
      // entries -1/3 and 1.
      {{{1, 3, 1, 0, 0}, {1, -3, -1, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {{1, -1}, {0, 3}, {3, 3}}, 3, {3, 3}},
      // Boxes on (2, 0)/2, (0, 1)/2: the first column is integer in lowest
      // terms, the second half a block.
      {{{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 2, 0, 0}, {1, 0, -2, 1, -1}}, {{2, 0}, {0, 1}, {2, 2}}, 2, {1, 2}},
  };
  for (const LatticeCase& c : cases) {
    clear_registries();
    // 0 <= i < N, -2 <= j < M.
    Polyhedron* domain =
        rows_over({{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 2}, {1, 0, -1, 0, 1, -1}}, {"i", "j"},
                  {"N", "M"});
    Polyhedron* shape = rows_over(c.shape, {"i", "j"}, {"block_size"});
    Result r = tile(domain, shape, c.lattice);
    std::vector<int> tiled = {get_counter_rank("outer_0"), get_counter_rank("outer_1"), get_counter_rank("inner_i"),
                              get_counter_rank("inner_j")};
    for (size_t k = 0; k < 2; k++)
      if (c.denominators[k] > 1) tiled.push_back(get_counter_rank("lattice_offset_" + std::to_string(k)));
    std::vector<int> original = {get_counter_rank("i"), get_counter_rank("j")};
    for (auto [n, m] : std::vector<std::pair<int, int>>{{0, 0}, {1, 3}, {4, 3}})
      for (int b = c.multiple; b <= std::min(2 * c.multiple, 6); b += c.multiple) {
        Values values = split_values({{"N", n}, {"M", m}}, b);
        int outer = 2 * (n + m + 2) / b + 3, inner = b + 1;
        Point low = {-outer, -outer, -inner, -inner}, high = {outer, outer, inner, inner};
        for (size_t k = 0; k < 2; k++)
          if (c.denominators[k] > 1) {
            low.push_back(0);
            high.push_back(c.denominators[k] - 1);
          }
        std::set<Point> points = union_points(r.second, tiled, values, low, high);
        std::set<Point> iterations = union_points({domain}, original, values, {-5, -5}, {n + 5, m + 5});
        EXPECT_EQ(bijection_failure(points, tiled, values, r.first.second, original, iterations), "")
            << "case " << &c - &cases[0] << " N=" << n << " M=" << m << " b=" << b;
      }
    release(r);
    delete shape;
    delete domain;
  }
}

TEST_F(ZILGeneralTest, TheLatticeInLowestTermsAndItsBlockMultiple) {
  EXPECT_EQ(ZILWrapper::reduced_lattice({{2, 3}, {4, 0}, {2, 6}}), (Rows{{1, 1}, {2, 0}, {1, 2}}));
  EXPECT_EQ(ZILWrapper::lattice_block_multiple({{1, 0}, {1, 1}, {2, 3}}), 6);
  EXPECT_EQ(ZILWrapper::lattice_block_multiple({{2, 0}, {0, 2}, {2, 2}}), 1) << "integer generators";
  EXPECT_EQ(ZILWrapper::lattice_block_multiple({{1, 0}, {0, 1}, {4, 6}}), 12);
  EXPECT_EQ(ZILWrapper::lattice_offset_count({{1, 0}, {0, 1}, {4, 6}}), 24);
  EXPECT_EQ(ZILWrapper::common_denominator_basis({{1, 0}, {1, 1}, {2, 3}}),
            (std::vector<std::vector<long long>>{{3, 0}, {3, 2}}));
}

TEST_F(ZILGeneralTest, StopsOnLatticesWithDenominatorsThatCannotBeServed) {
  const std::string who = "ZILWrapper::get_general_tiled_domain: ";
  Polyhedron* domain = square();
  Polyhedron* shape = box();
  EXPECT_STOP_ON_STDERR(tile(domain, shape, {{1, 0}, {0, 1}, {65536, 65537}}),
                        who + "the lattice denominators ask for a block size multiple of more than 2147483647");
  // The minimum block size of the rectangular tilings leaves no even block
  // size within int, which does not concern a general tiling.
  // 0 <= 2i < b, 0 <= j < b on (1, 0)/2, (0, 1).
  Polyhedron* half = rows_over({{1, 2, 0, 0, 0}, {1, -2, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {"i", "j"},
                               {"block_size"});
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 2147483647;
  Result r = tile(domain, half, {{1, 0}, {0, 1}, {2, 1}});
  EXPECT_FALSE(r.second.empty());
  release(r);
  Options::min_block_size = 0;
  for (Polyhedron* p : {domain, shape, half}) delete p;
}

}  // namespace
