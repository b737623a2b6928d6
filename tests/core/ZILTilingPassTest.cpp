// The parametric branches of the tiling pass: statements rewritten in the
// tiled counters, schedules, declarations, kernel-entry lines and the
// constraints of the split parameters.

#include <algorithm>
#include <sstream>

#include "CommandTest.h"
#include "Domain.h"
#include "IndexFunction.h"
#include "Options.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"

namespace {

using ZILTilingPassTest = CommandTest;

std::string nest(const std::string& directives, const std::string& inner_bound = "M") {
  return "int N;\nint M;\nint a[64][64];\nvoid k() {\n  int i, j;\n#pragma begin_scop\n"
         "  for (i = 0; i < N; i++)\n    for (j = 0; j < " +
         inner_bound + "; j++) {\n" + directives + "\n      a[i][j] = a[i][j] + i;\n    }\n#pragma end_scop\n}\n";
}

struct PassRun {
  Program* input = nullptr;
  Tiling* tiling = nullptr;
  std::pair<Program*, std::vector<Schedule*>> result;
  std::string trace;

  explicit PassRun(const std::string& c_text) {
    input = model_of(c_text);
    stdout_of([&] { tiling = extract_extended_tiling(input); });
    trace = stdout_of([&] { result = tiling->apply(input); });
  }
  ~PassRun() {
    delete result.first;
    del(result.second);
    delete tiling;
    delete input;
  }
  std::vector<std::string> counter_names(int i) const {
    std::vector<std::string> names;
    for (int c : result.first->statement[i]->surrounding_counters) names.push_back(get_counter_string(c));
    return names;
  }
  std::string schedule(int i) const {
    std::ostringstream out;
    out << *result.second[i]->schedule;
    return out.str();
  }
  // Every member of the tiled domain of statement i as text.
  std::vector<std::string> members(int i) const {
    std::vector<std::string> texts;
    Domain* d = dynamic_cast<Domain*>(result.first->statement[i]->iteration_domain);
    EXPECT_NE(d, nullptr);
    if (!d) return texts;
    for (Polyhedron* p : d->domain) {
      std::ostringstream out;
      out << *p;
      texts.push_back(out.str());
    }
    return texts;
  }
  bool declares(const std::string& declaration) const {
    for (const std::string& d : result.first->variable_declaration)
      if (d == declaration) return true;
    return false;
  }
};

const char* const rectangular =
    "#pragma tile_group[0]\n#pragma tile_ratio[1][2]\n#pragma tile_hyperplans[i][j]\n"
    "#pragma schedule[__T][__T][i][j]";

TEST_F(ZILTilingPassTest, RectangularStatementScheduleAndDeclarations) {
  PassRun run(nest(rectangular));
  EXPECT_EQ(run.counter_names(0),
            (std::vector<std::string>{"outer_time_0", "inner_time_0", "outer_time_1", "inner_time_1"}));
  EXPECT_EQ(run.schedule(0), "[outer_time_0][outer_time_1][inner_time_0][inner_time_1]");
  EXPECT_TRUE(run.declares("long long inner_N = block_size > 0 ? N % block_size : 0;"));
  EXPECT_TRUE(run.declares("long long outer_M = block_size > 0 ? M / block_size : 0;"));
  EXPECT_FALSE(run.declares("int block_size;"));
  // The checks of the values the tiling assumed come ahead of the split.
  std::vector<std::string> entry = run.result.first->kernel_entry;
  ASSERT_EQ(entry.size(), 7u);
  EXPECT_EQ(entry[0].substr(0, 22), "  if (block_size < 1) ");
  EXPECT_EQ(entry[1].substr(0, 13), "  if (M < 0) ");
  EXPECT_NE(entry[2].find("\"tiled_kernel: N = \" << (long long)(N) << \" breaks the assumption N >= 0; "
                          "nothing done\" << std::endl; return; }"),
            std::string::npos)
      << entry[2];
  EXPECT_EQ(std::vector<std::string>(entry.begin() + 3, entry.end()),
            (std::vector<std::string>{"  inner_M = M % block_size;", "  inner_N = N % block_size;",
                                      "  outer_M = M / block_size;", "  outer_N = N / block_size;"}));
  std::ostringstream statement;
  statement << *run.result.first->statement[0];
  EXPECT_NE(statement.str().find("((2*block_size)*outer_time_1)+inner_time_1"), std::string::npos)
      << statement.str();
  std::vector<std::string> members = run.members(0);
  ASSERT_FALSE(members.empty());
  for (const std::string& m : members) {
    std::string added = "| inner_N >= 0\n| inner_N < block_size\n| inner_M >= 0\n| inner_M < block_size\n\\\n";
    EXPECT_EQ(m.substr(m.size() - std::min(m.size(), added.size())), added);
  }
}

TEST_F(ZILTilingPassTest, PositiveParametersAddOuterConstraints) {
  Options::option["positive-parameters"] = 1;
  PassRun run(nest(rectangular));
  for (const std::string& m : run.members(0))
    EXPECT_NE(m.find("| inner_N >= 0\n| inner_N < block_size\n| outer_N >= 0\n"), std::string::npos) << m;
}

// A hyperplane over a parameter the domain does not use still splits it.
TEST_F(ZILTilingPassTest, HyperplaneParametersAreSplitToo) {
  PassRun run(nest("#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n#pragma tile_hyperplans[i + M][j]\n"
               "#pragma schedule[__T][__T][i][j]",
               "N"));
  EXPECT_TRUE(run.declares("long long outer_M = block_size > 0 ? M / block_size : 0;"));
  for (const std::string& m : run.members(0)) EXPECT_NE(m.find("| inner_M < block_size"), std::string::npos) << m;
}

TEST_F(ZILTilingPassTest, KernelEntryLinesOnlyWithParametricTiling) {
  PassRun run(nest("#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][j]\n"
               "#pragma schedule[__T][__T][i][j]"));
  EXPECT_TRUE(run.result.first->kernel_entry.empty());
}

TEST_F(ZILTilingPassTest, GeneralStatementScheduleTraceAndDeclarations) {
  PassRun run(nest("#pragma tile_group[0]\n#pragma tile_lattice[1][1][0][1]\n"
               "#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]\n#pragma schedule[__T][__T][j][i]"));
  EXPECT_EQ(run.counter_names(0), (std::vector<std::string>{"outer_0", "outer_1", "inner_i", "inner_j"}));
  EXPECT_EQ(run.schedule(0), "[outer_0][outer_1][inner_j][inner_i]");
  std::ostringstream statement;
  statement << *run.result.first->statement[0];
  EXPECT_NE(run.trace.find("Schedule for stmt #0 ( a[(block_size*(outer_0+outer_1))+inner_i]"), std::string::npos)
      << run.trace;
  EXPECT_NE(run.trace.find(" ): \n[outer_0][outer_1][inner_j][inner_i]\n\n"), std::string::npos)
      << run.trace;
  EXPECT_NE(statement.str().find("(block_size*(outer_0+outer_1))+inner_i"), std::string::npos) << statement.str();
  EXPECT_TRUE(run.declares("long long outer_N = block_size > 0 ? N / block_size : 0;"));
  EXPECT_TRUE(run.declares("long long inner_M = block_size > 0 ? M % block_size : 0;"));
  // block_size, M and N checked, then the four split parameters.
  EXPECT_EQ(run.result.first->kernel_entry.size(), 7u);
}

// "-min-block-size" bounds block_size where a rectangular tiling needs it:
// general tilings alone hold for every block size.
TEST_F(ZILTilingPassTest, TheMinimumBlockSizeConcernsRectangularTilingsOnly) {
  const std::string diamonds =
      "#pragma tile_group[1]\n#pragma tile_lattice[1][1][1][-1][2][2]\n"
      "#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]\n";
  std::string general = nest(diamonds + "#pragma schedule[__T][__T][i][j]");
  std::string both = general;
  both.insert(both.find("  for"), "  for (i = 0; i < N; i++)\n    for (j = 0; j < M; j++) {\n" +
                                      std::string(rectangular) + "\n      a[j][i] = 0;\n    }\n");
  both.replace(both.find("[__T][__T][i][j]"), 16, "[0][__T][__T][i][j]");
  both.replace(both.rfind("[__T][__T][i][j]"), 16, "[1][__T][__T][i][j]");
  Options::option["min-block-size"] = 1;
  Options::min_block_size = 8;
  EXPECT_EQ(PassRun(general).result.first->kernel_entry[0].substr(0, 22), "  if (block_size < 1) ");
  std::vector<std::string> entry = PassRun(both).result.first->kernel_entry;
  EXPECT_EQ(entry[0].substr(0, 22), "  if (block_size < 8) ");
  EXPECT_EQ(entry[1].substr(0, 27), "  if (block_size % 2 != 0) ");
  Options::min_block_size = 2147483647;
  EXPECT_EQ(PassRun(general).result.first->kernel_entry[0].substr(0, 22), "  if (block_size < 1) ");
  EXPECT_STOP_ON_STDERR(PassRun run(both), "Tiling::apply: the lattice denominators leave no block size from the "
                                           "minimum block size on within int (they ask for a multiple of 2)");
  Options::min_block_size = 0;
}

TEST_F(ZILTilingPassTest, RefusedDirectives) {
  std::string stmt = "Tiling::apply: statement #0: ";
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_ratio[1]\n#pragma tile_hyperplans[i]\n"
                                 "#pragma schedule[__T][__T][i][j]")),
                        stmt + "more tiled schedule dimensions than hyperplanes");
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_lattice[1][0][0][1]\n"
                                 "#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]\n"
                                 "#pragma schedule[__T][__T][__T][i][j]")),
                        stmt + "more tiled schedule dimensions than lattice counters");
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_ratio[0][1]\n#pragma tile_hyperplans[i][j]\n"
                                 "#pragma schedule[__T][__T][i][j]")),
                        "Preprocessor::extract_tiling: statement #0: tile ratio must be at least 1");
}

// Inner counters order the points as the loop counters do only below the
// tiles these depend on: i with hyperplanes (i + j, j) depends on both tiles,
// i on the lattice (1 1), (0 1) too, while [__T][i][__T][j] on the identity
// lattice is fine.
TEST_F(ZILTilingPassTest, LoopCounterAheadOfItsTile) {
  std::string ahead = "Tiling::apply: statement #0: schedule dimension 1 uses a loop counter ahead of a tiled "
                      "dimension it depends on";
  std::string shape = "#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]\n";
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n"
                                     "#pragma tile_hyperplans[i + j][j]\n#pragma schedule[__T][i][__T][j]")),
                        ahead);
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n"
                                     "#pragma tile_hyperplans[i][j]\n#pragma schedule[__T][j][i]")),
                        ahead);
  EXPECT_STOP_ON_STDERR(PassRun(nest("#pragma tile_group[0]\n#pragma tile_lattice[1][1][0][1]\n" + shape +
                                     "#pragma schedule[__T][i][__T][j]")),
                        ahead);
  PassRun fine(nest("#pragma tile_group[0]\n#pragma tile_lattice[1][0][0][1]\n" + shape +
                    "#pragma schedule[__T][i][__T][j]"));
  EXPECT_EQ(fine.schedule(0), "[outer_0][inner_i][outer_1][inner_j]");
}

}  // namespace
