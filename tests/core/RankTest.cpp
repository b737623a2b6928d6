#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "GeneratedName.h"
#include "Rank.h"

namespace {

using RankTest = CoreTest;

std::string captured_counters() {
  testing::internal::CaptureStdout();
  print_counters();
  return testing::internal::GetCapturedStdout();
}

TEST_F(RankTest, PrintsCountersAndParametersInNameOrder) {
  create_counter_rank("j");
  create_counter_rank("i");
  create_extra_counter_rank("Z");
  create_parameter_rank("N");
  create_parameter_rank("M");
  EXPECT_EQ(captured_counters(),
            "#counters: 3 #true_counters: 2\ncounters = {\n Z -> 2\n i -> 1\n j -> 0\n}\n");
  testing::internal::CaptureStdout();
  print_parameters();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "parameters = {\n M -> 1\n N -> 0\n}\n");
}

TEST_F(RankTest, TrueRegistrationIsNotIdempotentOthersAre) {
  create_counter_rank("i");
  create_counter_rank("i");
  EXPECT_EQ(get_nb_counters(), 2);
  EXPECT_EQ(get_nb_true_counters(), 2);
  EXPECT_EQ(get_counter_rank("i"), 1);
  EXPECT_EQ(get_counter_string(0), "i");
  create_extra_counter_rank("x");
  declare_variable("x");
  declare_extra_counter("x");
  create_extra_counter_rank("i");
  EXPECT_EQ(get_nb_counters(), 3);
  create_parameter_rank("N");
  declare_parameter("N");
  EXPECT_EQ(get_nb_parameters(), 1);
  EXPECT_EQ(is_a_counter("x"), 1);
  EXPECT_EQ(exists_counter("N"), 0);
}

TEST_F(RankTest, DeclareCounterRegistersANewNameAsTrueCounter) {
  create_extra_counter_rank("x");
  declare_counter("t");
  EXPECT_EQ(get_counter_rank("t"), 1);
  EXPECT_EQ(get_nb_true_counters(), 1);
  EXPECT_EQ(get_counter_string(1), "t");
  EXPECT_EQ(get_counter_string(0), "x");
  declare_counter("t");
  declare_counter("x");
  EXPECT_EQ(get_nb_counters(), 2);
  EXPECT_EQ(get_nb_true_counters(), 1);
}

TEST_F(RankTest, TrueCounterAfterExtraCounterKeepsBothNames) {
  create_extra_counter_rank("x_0");
  create_counter_rank("i");
  EXPECT_EQ(get_counter_string(0), "x_0");
  EXPECT_EQ(get_counter_string(1), "i");
  EXPECT_EQ(counter_string.count(0), 0u);
  Expression* x = var(0);
  EXPECT_EQ(text(x), "x_0");
  delete x;
}

TEST_F(RankTest, CounterNamesFollowARandomRegistrationModel) {
  std::mt19937 random(7);
  std::vector<std::string> model;  // name given to each rank
  const char* names[] = {"i", "j", "k", "x_0", "x_1", "t"};
  for (int step = 0; step < 200; step++) {
    std::string name = names[random() % 6];
    if (random() % 2) {
      create_counter_rank(name);
      model.push_back(name);
    } else if (!is_a_counter(name)) {
      create_extra_counter_rank(name);
      model.push_back(name);
    } else {
      create_extra_counter_rank(name);
    }
  }
  ASSERT_EQ(get_nb_counters(), static_cast<int>(model.size()));
  for (size_t rank = 0; rank < model.size(); rank++)
    EXPECT_EQ(get_counter_string(rank), model[rank]) << "rank " << rank;
}

TEST_F(RankTest, LookupsStopOnStandardOutput) {
  create_counter_rank("i");
  create_parameter_rank("N");
  EXPECT_STOP_ON_STDOUT(get_counter_rank("k"), "get_counter_rank: k not found.");
  EXPECT_STOP_ON_STDOUT(get_counter_rank("k", 2), "get_counter_rank: k_2 not found.");
  EXPECT_STOP_ON_STDOUT(get_parameter_rank("M"), "get_parameter_rank: M not found.");
  EXPECT_STOP_ON_STDOUT(get_counter_string(1), "Rank::get_counter_string: rank not found: 1");
  EXPECT_STOP_ON_STDOUT(get_parameter_string(5), "Rank::get_parameter_string: rank not found: 5");
}

TEST_F(RankTest, CreateCounterRegistersOnceAndReturnsFreshLeaves) {
  auto first = create_counter("x", 0);
  auto second = create_counter("x", 0);
  EXPECT_EQ(first.first, second.first);
  EXPECT_NE(first.second, second.second);
  EXPECT_EQ(get_nb_counters(), 1);
  EXPECT_EQ(text(first.second), "x_0");
  auto bare = create_counter("y", -1);
  EXPECT_EQ(get_counter_string(bare.first), "y");
  create_counter_rank("tile_counter_0");
  auto tile = create_counter("tile_counter", 0);
  EXPECT_EQ(tile.first, get_counter_rank("tile_counter_0"));
  auto p = create_parameter("P", 3);
  EXPECT_TRUE(p.second->is_a_parameter());
  EXPECT_EQ(get_parameter_string(p.first), "P_3");
  for (auto made : {first, second, bare, tile, p}) delete made.second;
}

TEST_F(RankTest, StatefulNameMakers) {
  EXPECT_EQ(get_new_counter("c"), "c_0");
  EXPECT_EQ(get_new_counter("c"), "c_1");
  EXPECT_EQ(get_new_counter("d"), "d_0");
  EXPECT_EQ(get_new_parameter("c"), "c_0");
  EXPECT_EQ(get_new_counter_parameter(3), "counter_3_number_1");
  EXPECT_EQ(get_new_counter_parameter(3), "counter_3_number_2");
  reset_new_counter_parameters();
  EXPECT_EQ(get_new_counter_parameter(3), "counter_3_number_1");
  // The maker ignores registered names: an existing counter is reused.
  create_extra_counter_rank("e_0");
  auto made = create_counter("e");
  EXPECT_EQ(made.first, 0);
  EXPECT_EQ(get_nb_counters(), 1);
  delete made.second;
  EXPECT_EQ(get_new_counter("a b"), "a");
}

TEST_F(RankTest, StatelessNameMakers) {
  EXPECT_EQ(get_counter_parameter(-2), "c_-2");
  EXPECT_EQ(get_counter_parameter2(1), "ada_counter_1");
  EXPECT_EQ(get_counter_contraction(1), "cc_1");
  EXPECT_EQ(get_new_tile_counter(0), "tile_0");
  EXPECT_EQ(get_new_tile_parameter(0), "tile_parameter_0");
  EXPECT_EQ(get_counter_cloog(4), "i4");
  EXPECT_EQ(get_array_dimension_parameter(1), "array_index_1");
  EXPECT_EQ(get_array_dimension_counter_i(1), "i_array_index_1");
  EXPECT_EQ(get_array_dimension_counter_j(1), "j_array_index_1");
  EXPECT_EQ(get_array_dimension_difference(1), "k_array_index_1");
  EXPECT_EQ(get_new_counter(2, 5), "new_counter_2_5");
  EXPECT_EQ(get_counter_for_parameter("N"), "N_counter");
  EXPECT_EQ(get_parameter_for_counter("i"), "i_parameter");
  EXPECT_EQ(std::string("x") + 12, "x12");
  EXPECT_EQ(std::string("x") + -3, "x-3");
  EXPECT_EQ(concat("a b", -1), "a b-1");
  create_counter_rank("i");
  create_counter_rank("j");
  EXPECT_EQ(get_counters_string(), (std::vector<std::string>{"i0", "i1"}));
}

TEST_F(RankTest, NewCounterReusesTheSmallestFreeSuffix) {
  auto a = new_counter("t");
  auto b = new_counter("t");
  auto c = new_counter("t");
  EXPECT_EQ(text(c.second), "t_2");
  del_counter("t", 1);
  auto again = new_counter("t");
  EXPECT_EQ(text(again.second), "t_1");
  EXPECT_EQ(again.first, b.first);
  auto next = new_counter("t");
  EXPECT_EQ(text(next.second), "t_3");
  for (auto made : {a, b, c, again, next}) delete made.second;
  EXPECT_STOP_ON_STDERR(del_counter("t", 7), "Rank::del_counter: rank not found");
}

TEST_F(RankTest, BatchCreationAndParametersToCounters) {
  create_counter_rank("i");
  create_counter_rank("j");
  std::map<int, int> copies = create_counters({0, 1});
  EXPECT_EQ(get_counter_string(copies[0]), "i_0");
  EXPECT_EQ(get_counter_string(copies[1]), "j_0");
  std::map<int, int> suffixed = create_counters({0}, 4);
  EXPECT_EQ(get_counter_string(suffixed[0]), "i_4");
  create_parameter_rank("N");
  create_parameter_rank("M");
  std::map<int, int> counters = turn_parameters_to_counters();
  EXPECT_EQ(get_counter_string(counters[0]), "N_counter");
  EXPECT_EQ(get_counter_string(counters[1]), "M_counter");
  EXPECT_EQ(counters[1] + 1, counters[0]);  // M is registered first: name order
  EXPECT_EQ(turn_parameters_to_counters(), counters);
}

TEST_F(RankTest, RankMaps) {
  create_counter_rank("i");
  create_counter_rank("j");
  EXPECT_EQ(invert({{1, 5}, {2, 5}}), (std::map<int, int>{{5, 2}}));
  std::map<int, Expression*> leaves = map_expressions({{7, 1}});
  EXPECT_EQ(text(leaves[7]), "j");
  EXPECT_EQ(get_domain(leaves), std::vector<int>{7});
  std::vector<Expression*> range = get_range(leaves);
  EXPECT_NE(range[0], leaves[7]);
  std::map<int, Expression*> composed = compose({{3, 7}}, leaves);
  EXPECT_EQ(composed[3], leaves[7]);
  std::map<int, Expression*> mapped = map_expression({4}, range);
  EXPECT_EQ(text(mapped[4]), "j");
  EXPECT_EQ(max({3, 9, 1}), 9);
  del(leaves);
  del(range);
  del(mapped);
  EXPECT_STOP_ON_STDERR(compose({{3, 8}}, {}), "Rank::compose: target(m1) != source(m2)");
  EXPECT_STOP_ON_STDERR(max({}), "Rank::max: empty set");
  EXPECT_STOP_ON_STDERR(map_expression({1, 2}, {}), "Rank::map_expression: mismatch dimensions");
}

TEST_F(RankTest, VariableListsAndMapInserters) {
  create_counter_rank("i");
  create_counter_rank("j");
  create_parameter_rank("N");
  std::ostringstream out;
  print_variable_list(out, std::set<int>{1, 0}, ", ", 1);
  out << "|";
  print_variable_list(out, std::vector<int>{1, 0}, ",", 1);
  out << "|";
  print_variable_list(out, std::set<int>{0}, ",", 0);
  out << "|";
  print_variable_list(out, std::set<int>{}, ",", 0);
  out << "|" << counter_rank << "|" << counter_string;
  EXPECT_EQ(out.str(), "i, j|j,i|N||i->0 j->1 |0->i 1->j ");
}

// Every family of names the tiling pass makes up, for small numbers (the
// hidden constants among them, as small as the counters' numbers) and for
// input names that look like the families' own parts: no name comes from
// two families, and an input may take none of them, while it may take the
// look-alike names themselves; only a local's own name reads as one. (A
// loop counter is never a size parameter: the model refuses a counter used
// outside its loops.)
TEST_F(RankTest, GeneratedNameFamiliesAreDisjointAndReserved) {
  const std::vector<std::string> counters = {"i", "time", "_0", "outer", "tile_counter", "S0", "c0"};
  const std::vector<std::string> sizes = {"N",     "time_", "time_x",         "_const",
                                          "inner", "const_2", "lattice_offset", "counter_0"};
  std::map<std::string, std::string> family_of;
  auto add = [&](const std::string& family, const std::string& name) {
    auto made = family_of.emplace(name, family);
    EXPECT_TRUE(made.second || made.first->second == family)
        << name << " from " << family << " and " << made.first->second;
    EXPECT_NE(reserved_name_reason(name), "") << name << " from " << family;
  };
  for (int k = 0; k < 12; k++) {
    add("tile counter", tile_counter_name(k));
    add("time counter", time_counter_name(true, k));
    add("time counter", time_counter_name(false, k));
    add("lattice counter", lattice_counter_name(k));
    add("lattice offset", lattice_offset_name(k));
    add("split of a hidden constant", split_name(true, hidden_constant_name(k)));
    add("split of a hidden constant", split_name(false, hidden_constant_name(k)));
  }
  for (const std::string& name : counters) add("inner counter", inner_counter_name(name));
  for (const char* word : {"rat", "Infty", "NaN", "floord"}) add("alias of an isl keyword", isl_name(word));
  for (const std::string& name : sizes) {
    add("split of a size", split_name(true, name));
    add("split of a size", split_name(false, name));
  }
  for (const std::vector<std::string>& names : {counters, sizes})
    for (const std::string& name : names) add("own name of a local", own_local_name(1, name));
  for (const auto& made : family_of)
    EXPECT_EQ(is_own_local_name(made.first), made.second == "own name of a local") << made.first;
  for (const std::vector<std::string>& names : {counters, sizes})
    for (const std::string& name : names) {
      EXPECT_EQ(reserved_name_reason(name), "") << name;
      EXPECT_FALSE(is_hidden_constant(name)) << name;
      EXPECT_FALSE(family_of.count(name)) << name;
    }
  EXPECT_EQ(split_name(true, hidden_constant_name(2)), "outer_2_const");
  EXPECT_EQ(lattice_counter_name(2), "outer_2");
}

}  // namespace
