// Rectangular parametric tiling in the space of the tiling hyperplanes:
// names and ranks, the two substitution maps, the library options, the
// stops, and the bijection between tiled and original iterations.

#include <sstream>

#include "CommandTest.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ZILTestSupport.h"
#include "ZILWrapper.h"

namespace {

typedef std::pair<std::vector<Polyhedron*>, std::pair<std::map<int, Expression*>, std::map<int, Expression*>>>
    Result;

class ZILRectangularTest : public CommandTest {
 protected:
  // 0 <= i < N, 0 <= j < N.
  Polyhedron* square() {
    return rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}}, {"i", "j"}, {"N"});
  }
  IndexFunction* hyperplanes(const std::vector<std::string>& texts) {
    IndexFunction* f = new IndexFunction();
    for (const std::string& t : texts) {
      Expression* e = parse(t);
      f->push_back(e);
      delete e;
    }
    return f;
  }
  // Sums of optionally scaled names, e.g. "i - j" or "i + M".
  Expression* parse(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    Expression* sum = new Expression(0);
    int sign = 1;
    while (in >> word) {
      if (word == "+") sign = 1;
      else if (word == "-") sign = -1;
      else {
        Expression term(word);
        Expression factor(sign);
        Expression scaled(TIMES, &factor, &term);
        Expression* next = new Expression(PLUS, sum, &scaled);
        delete sum;
        sum = next;
      }
    }
    return sum;
  }
  Result tile(Polyhedron* domain, IndexFunction* h, std::vector<int> ratios, std::string* trace = nullptr,
              std::vector<std::vector<Polyhedron*>>* factors = nullptr) {
    Result r;
    std::string out = stdout_of([&] {
      r = ZILWrapper::get_parallelepipedic_tiled_domain_time_domain(domain, h, ratios, nullptr, nullptr, factors);
    });
    if (trace) *trace = out;
    return r;
  }
  void release(Result& r) {
    del(r.first);
    del(r.second.first);
    del(r.second.second);
  }
  int value(Expression* e, const std::map<std::string, int>& counters, const std::map<std::string, int>& parameters) {
    Values c, p;
    for (const auto& v : counters) c[get_counter_rank(v.first)] = v.second;
    for (const auto& v : parameters) p[get_parameter_rank(v.first)] = v.second;
    return e->evaluate_int(c, p);
  }
};

TEST_F(ZILRectangularTest, NamesRanksMapsAndProgressLines) {
  Polyhedron* domain = square();
  IndexFunction* h = hyperplanes({"i", "j"});
  std::string trace;
  Result r = tile(domain, h, {1, 2}, &trace);
  EXPECT_EQ(trace, "  ZIL...\n  Cross product... 6/6, 6 kept\n  Coalescing...\n  H^-1...\n");
  EXPECT_LT(get_counter_rank("t___1"), get_counter_rank("outer_time_0"));
  EXPECT_LT(get_counter_rank("outer_time_0"), get_counter_rank("outer_time_1"));
  EXPECT_LT(get_counter_rank("outer_time_1"), get_counter_rank("inner_time_0"));
  EXPECT_LT(get_counter_rank("inner_time_0"), get_counter_rank("inner_time_1"));
  EXPECT_LT(get_parameter_rank("block_size"), get_parameter_rank("outer_N"));
  EXPECT_LT(get_parameter_rank("outer_N"), get_parameter_rank("inner_N"));

  int i = get_counter_rank("i"), j = get_counter_rank("j");
  std::map<std::string, int> at = {{"outer_time_0", 2}, {"inner_time_0", 1}, {"outer_time_1", 3}, {"inner_time_1", 4}};
  EXPECT_EQ(value(r.second.first.at(i), at, {{"block_size", 5}, {"N", 40}}), 11);
  EXPECT_EQ(value(r.second.first.at(j), at, {{"block_size", 5}, {"N", 40}}), 34);
  EXPECT_EQ(value(r.second.second.at(i), at, {{"inner_N", 3}}), 1);
  EXPECT_EQ(value(r.second.second.at(j), at, {{"inner_N", 3}}), 4);
  std::set<int> parameters = Polyhedron::get_parameters(r.first);
  EXPECT_FALSE(parameters.count(get_parameter_rank("N"))) << "pieces are over the split parameters";

  // A second statement with as many hyperplanes reuses every name.
  int counters = get_nb_counters() - 2, nb_parameters = get_nb_parameters();
  Result again = tile(domain, h, {2, 1});
  EXPECT_EQ(get_nb_counters() - 2, counters) << "only the image counters may be new";
  EXPECT_EQ(get_nb_parameters(), nb_parameters);
  release(r);
  release(again);
  delete h;
  delete domain;
}

// (0 <= i <= 1: a constant too small to be worth a hidden parameter.)
TEST_F(ZILRectangularTest, ADomainWithoutParameterSplitsNone) {
  Polyhedron* domain = rows_over({{1, 1, 0}, {1, -1, 1}}, {"i"}, {});
  IndexFunction* h = hyperplanes({"i"});
  Result r = tile(domain, h, {1});
  EXPECT_EQ(Polyhedron::get_parameters(r.first), std::set<int>{get_parameter_rank("block_size")});
  EXPECT_EQ(get_nb_parameters(), 1);
  release(r);
  delete h;
  delete domain;
}

// Whether some piece holds a point where `name` equals v.
bool admits(const std::vector<Polyhedron*>& pieces, const std::string& name, int v) {
  for (Polyhedron* p : pieces) {
    Polyhedron q(p);
    Expression leaf(name), value(v);
    Inequation c(EQ, &leaf, &value);
    q.add_constraint(&c);
    if (!q.is_empty()) return true;
  }
  return false;
}

TEST_F(ZILRectangularTest, ProgressLinesAlsoForAnEmptyResult) {
  Polyhedron* domain = rows_over({{1, 1, -5}, {1, -1, 3}}, {"i"}, {});
  IndexFunction* h = hyperplanes({"i"});
  std::string trace;
  Result r = tile(domain, h, {1}, &trace);
  EXPECT_EQ(trace, "  ZIL...\n  Cross product... 1/1, 0 kept\n  Coalescing...\n  H^-1...\n");
  EXPECT_TRUE(r.first.empty());
  release(r);
  delete h;
  delete domain;
}

TEST_F(ZILRectangularTest, OptionsReachTheLibrary) {
  Polyhedron* domain = square();
  IndexFunction* h = hyperplanes({"i", "j"});
  Result plain = tile(domain, h, {1, 1});
  EXPECT_TRUE(admits(plain.first, "inner_N", 1));
  EXPECT_TRUE(admits(plain.first, "block_size", 1));
  Options::option["aligned-parameters"] = 1;
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 8;
  Result options = tile(domain, h, {1, 1});
  EXPECT_FALSE(admits(options.first, "inner_N", 1));
  EXPECT_FALSE(admits(options.first, "block_size", 7));
  EXPECT_TRUE(admits(options.first, "block_size", 8));
  Options::min_block_size = 0;
  release(plain);
  release(options);
  delete h;
  delete domain;
}

// The pieces are crossed and coalesced within the split of N: none holds a
// point with inner_N at or beyond block_size.
TEST_F(ZILRectangularTest, PiecesLieWithinTheSplitOfTheSizes) {
  Polyhedron* domain = square();
  IndexFunction* h = hyperplanes({"i", "j"});
  Result r = tile(domain, h, {2, 3});
  ASSERT_FALSE(r.first.empty());
  Expression inner("inner_N"), block_size("block_size");
  Inequation beyond(GREATER_EQ, &inner, &block_size);
  for (Polyhedron* piece : r.first) {
    Polyhedron outside(piece);
    outside.add_constraint(&beyond);
    EXPECT_TRUE(outside.is_empty());
  }
  release(r);
  delete h;
  delete domain;
}

TEST_F(ZILRectangularTest, OrderlyStopsBeforeTheLibrary) {
  const std::string who = "ZILWrapper::get_parallelepipedic_tiled_domain_time_domain: ";
  Polyhedron* domain = square();
  IndexFunction* h = hyperplanes({"i", "j"});
  EXPECT_STOP_ON_STDERR(tile(domain, h, {1}), who + "one tile ratio per hyperplane expected");
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 0;
  EXPECT_STOP_ON_STDERR(tile(domain, h, {1, 1}), who + "minimum block size must be at least 1");
  Options::option.clear();
  declare_counter("k");
  IndexFunction* outside = hyperplanes({"i", "k"});
  EXPECT_STOP_ON_STDERR(tile(domain, outside, {1, 1}),
                        who + "a tiling hyperplane uses a counter outside the statement's loops");
  delete outside;
  delete h;
  delete domain;
}

struct RectangularCase {
  Rows domain;  // over (i, j) and (N, M)
  std::vector<std::string> hyperplanes;
  std::vector<int> ratios;
};

// Every tiled point, with the split parameters of N and M and the
// constraints the pass adds, is one original iteration, and every
// iteration is reached once. The factors of the domain hold its points in
// their intersection.
TEST_F(ZILRectangularTest, TiledPointsAreTheIterationsEachOnce) {
  std::vector<RectangularCase> cases = {
      {{{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 1, 0, -1}}, {"i", "j"}, {1, 2}},
      {{{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 1, -1, 0, 0, 0}}, {"i + j", "j"}, {1, 1}},
      {{{1, 1, 0, 0, 0, 0}, {1, -1, 0, 1, 0, -1}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 1, -1}}, {"i - j", "j"}, {2, 1}},
      {{{1, 1, 0, 0, 0, 3}, {1, -1, 0, 1, 0, -2}, {1, 0, 1, 0, 0, 0}, {1, 0, -1, 0, 0, 1}}, {"i + M", "j"}, {2, 1}},
  };
  for (const RectangularCase& c : cases) {
    clear_registries();
    Polyhedron* domain = rows_over(c.domain, {"i", "j"}, {"N", "M"});
    IndexFunction* h = hyperplanes(c.hyperplanes);
    std::vector<std::vector<Polyhedron*>> factors;
    Result r = tile(domain, h, c.ratios, nullptr, &factors);
    if (c.hyperplanes[0] == "i + M") {  // tiles of the time i + M, not of i
      EXPECT_TRUE(Polyhedron::get_parameters(r.first).count(get_parameter_rank("inner_M")));
    }
    std::vector<int> tiled = {get_counter_rank("outer_time_0"), get_counter_rank("outer_time_1"),
                              get_counter_rank("inner_time_0"), get_counter_rank("inner_time_1")};
    std::vector<int> original = {get_counter_rank("i"), get_counter_rank("j")};
    for (int n : {0, 1, 2, 3, 5, 7})
      for (int m : {0, 2})
        for (int b = 1; b <= 4; b++) {
          declare_parameter("M");
          Values values = split_values({{"N", n}, {"M", m}}, b);
          int outer = 2 * (n + m) / b + 3, inner = 2 * b + 1;
          Point low = {-outer, -outer, -1, -1}, high = {outer, outer, inner, inner};
          std::set<Point> points = union_points(r.first, tiled, values, low, high);
          std::set<Point> iterations = union_points({domain}, original, values, {-5, -5}, {n + 5, n + 5});
          EXPECT_EQ(bijection_failure(points, tiled, values, r.second.first, original, iterations), "")
              << c.hyperplanes[0] << " N=" << n << " M=" << m << " b=" << b;
          EXPECT_EQ(common_points(factors, tiled, values, low, high), points)
              << c.hyperplanes[0] << " N=" << n << " M=" << m << " b=" << b;
        }
    EXPECT_GT(factors.size(), 1u) << c.hyperplanes[0];
    del(factors);
    release(r);
    delete h;
    delete domain;
  }
}

}  // namespace

namespace {

// Large constants become hidden parameters, named by their values, split
// like N: the tiling stays exact, and its pieces no longer grow with the
// constants. (0 <= i <= 19 and 15 <= j <= N - 1.)
TEST_F(ZILRectangularTest, LargeConstantsTileAsHiddenParameters) {
  auto box = [&](int top, int low) {
    return rows_over({{1, 1, 0, 0, 0}, {1, -1, 0, 0, top}, {1, 0, 1, 0, -low}, {1, 0, -1, 1, -1}}, {"i", "j"},
                     {"N"});
  };
  Polyhedron* domain = box(19, 15);
  IndexFunction* h = hyperplanes({"i", "j"});
  std::vector<int> hidden;
  Result r;
  stdout_of([&] { r = ZILWrapper::get_parallelepipedic_tiled_domain_time_domain(domain, h, {1, 2}, &hidden); });
  EXPECT_EQ(hidden, (std::vector<int>{get_parameter_rank("19"), get_parameter_rank("15")}));
  std::set<int> used = Polyhedron::get_parameters(r.first);
  EXPECT_TRUE(used.count(get_parameter_rank("outer_19_const")) && used.count(get_parameter_rank("inner_15_const")));
  std::vector<int> tiled = {get_counter_rank("outer_time_0"), get_counter_rank("outer_time_1"),
                            get_counter_rank("inner_time_0"), get_counter_rank("inner_time_1")};
  std::vector<int> original = {get_counter_rank("i"), get_counter_rank("j")};
  for (int n : {0, 15, 16, 21})
    for (int b = 1; b <= 5; b++) {
      Values values = split_values({{"N", n}, {"19", 19}, {"15", 15}}, b);
      int outer = 40 / b + 2, inner = 2 * b + 1;
      std::set<Point> points =
          union_points(r.first, tiled, values, {-1, -1, -1, -1}, {outer, outer, inner, inner});
      std::set<Point> iterations = union_points({domain}, original, values, {-2, -2}, {n + 22, n + 22});
      EXPECT_EQ(bijection_failure(points, tiled, values, r.second.first, original, iterations), "")
          << " N=" << n << " b=" << b;
    }
  Polyhedron* larger = box(1999, 1500);
  std::vector<long long> counts = ZILWrapper::rectangular_piece_counts(domain, h, {1, 2});
  EXPECT_EQ(ZILWrapper::rectangular_piece_counts(larger, h, {1, 2}), counts);
  EXPECT_LT(ZILWrapper::estimated_pieces(counts), 100);
  release(r);
  delete larger;
  delete h;
  delete domain;
}

}  // namespace
