#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"

namespace {

using TilingTest = CommandTest;

const char* const header =
    "int N;\nint M;\nint i;\nint j;\nint a[64][64];\nint b[64];\nvoid k() {\n#pragma begin_scop\n";
const char* const footer = "#pragma end_scop\n}\n";

std::string two_loops(const std::string& body) {
  return header + std::string("  for (i = 0; i < N; i++)\n    for (j = 0; j < M; j++) {\n") + body +
         "\n    }\n" + footer;
}

TEST_F(TilingTest, ConstantTilingTraceOfOneStatement) {
  Program* p = model_of(two_loops(
      "#pragma tile_group[0]\n#pragma tile_size[32][16]\n#pragma tile_hyperplans[i][j]\n"
      "#pragma schedule[__T][__T][i][j]\n a[i][j] = a[i][j] + b[j];"));
  Tiling* t = nullptr;
  EXPECT_EQ(stdout_of([&] { t = extract_extended_tiling(p); }), "stmt #0: constant tiling\n");
  ASSERT_EQ(p->statement.size(), 1u);
  std::pair<Program*, std::vector<Schedule*>> result;
  std::string trace = stdout_of([&] { result = t->apply(p); });
  EXPECT_EQ(trace,
            "Domain for stmt #0:\n/\n| i >= 32*tile_counter_0\n| i < 32*(tile_counter_0+1)\n"
            "| j >= 16*tile_counter_1\n| j < 16*(tile_counter_1+1)\n\\\n\n"
            "Schedule for stmt #0:\n[tile_counter_0][tile_counter_1][i][j]\n\n"
            "Tiling stmt #0: a[i][j]=a[i][j]+b[j]\n");
  EXPECT_EQ(result.first->statement[0]->surrounding_counters.size(), 4u);
  EXPECT_EQ(t->tile_group, std::vector<int>{0});
  delete result.first;
  del(result.second);
  delete t;
  delete p;
}

TEST_F(TilingTest, ConstantTiledStatementsShareTheTileCounters) {
  Program* p = model_of(two_loops(
      "#pragma tile_group[0]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i][j][0]\n"
      " b[i] = 1;\n#pragma tile_group[1]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][j]\n"
      "#pragma schedule[__T][__T][i][j]\n a[i][j] = 2;"));
  Tiling* t = nullptr;
  stdout_of([&] { t = extract_extended_tiling(p); });
  std::pair<Program*, std::vector<Schedule*>> result;
  stdout_of([&] { result = t->apply(p); });
  EXPECT_EQ(result.first->statement[0]->surrounding_counters, result.first->statement[1]->surrounding_counters);
  EXPECT_EQ(t->tile_counter.size(), 2u);
  EXPECT_EQ(t->tile[0]->size(), 2);
  EXPECT_EQ(t->tile_dimensions, (std::vector<std::vector<int>>{{0}, {0, 1}}));
  delete result.first;
  del(result.second);
  delete t;
  delete p;
}

TEST_F(TilingTest, LatticeRowsAndExtractionMessages) {
  std::string lattice4 = two_loops(
      "#pragma tile_group[0]\n#pragma tile_lattice[2][0][1][3]\n#pragma tile_shape[i][block_size - 1 - i]\n"
      "#pragma schedule[__T][i][j]\n a[i][j] = 0;");
  Program* p = model_of(lattice4);
  Tiling* t = nullptr;
  EXPECT_EQ(stdout_of([&] { t = extract_extended_tiling(p); }), "stmt #0: general ZIL\n");
  EXPECT_EQ(t->tile_lattice[0], (std::vector<std::vector<int>>{{2, 0}, {1, 3}, {1, 1}}));
  EXPECT_EQ(t->tile_shape[0]->size(), 2);
  delete t;
  delete p;

  clear_registries();
  statement_vec.clear();
  p = model_of(two_loops(
      "#pragma tile_group[0]\n#pragma tile_lattice[2][0][1][3][4][5]\n#pragma tile_shape[i]\n"
      "#pragma schedule[__T][i][j]\n a[i][j] = 0;"));
  stdout_of([&] { t = extract_extended_tiling(p); });
  EXPECT_EQ(t->tile_lattice[0], (std::vector<std::vector<int>>{{2, 0}, {1, 3}, {4, 5}}));
  delete t;
  delete p;

  // Negative coefficients are integers too (the front end reads -1 as (-1) * 1).
  clear_registries();
  statement_vec.clear();
  p = model_of(two_loops(
      "#pragma tile_group[0]\n#pragma tile_lattice[-1][0][1][-3]\n#pragma tile_shape[i]\n"
      "#pragma schedule[__T][i][j]\n a[i][j] = 0;"));
  stdout_of([&] { t = extract_extended_tiling(p); });
  EXPECT_EQ(t->tile_lattice[0], (std::vector<std::vector<int>>{{-1, 0}, {1, -3}, {1, 1}}));
  delete t;
  delete p;
}

TEST_F(TilingTest, ExtractionStopsOnMalformedBlocks) {
  const std::pair<const char*, const char*> cases[] = {
      {"#pragma tile_group[i]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": tile group must be an integer value"},
      {"#pragma tile_group[0]\n#pragma schedule[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": incorrect tiling definition"},
      {"#pragma tile_group[0]\n#pragma tile_size[N]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": tile size must be an integer value"},
      {"#pragma tile_group[0]\n#pragma tile_size[-4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": tile size must be at least 1"},
      {"#pragma tile_group[0]\n#pragma tile_size[-N]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": tile size must be an integer value"},
      {"#pragma tile_group[0]\n#pragma tile_ratio[-(1)]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": tile ratio must be at least 1"},
      {"#pragma tile_group[0]\n#pragma tile_ratio[1]\n#pragma schedule[i]\n#pragma schedule[__T][i]\n a[i][j] = 0;",
       ": pragma tile_hyperplans expected in 3rd position"},
      {"#pragma tile_group[0]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma tile_size[1]\n a[i][j] = 0;",
       ": pragma schedule expected in 4th position"},
  };
  for (const auto& c : cases) {
    clear_registries();
    statement_vec.clear();
    Program* p = model_of(two_loops(c.first));
    EXPECT_STOP_ON_STDERR(extract_extended_tiling(p),
                          std::string("Preprocessor::extract_tiling: statement #0") + c.second);
    delete p;
  }
}

// A directive name that is no loop counter must be a variable of the input
// (the carriers of the directives are none), the marker __T, or block_size
// in a tile shape.
TEST_F(TilingTest, DirectiveNamesDeclaredNowhereStopThePass) {
  const char* const rectangle = "#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n";
  const char* const general = "#pragma tile_group[0]\n#pragma tile_lattice[1][0][0][1]\n";
  const std::pair<std::string, std::string> cases[] = {
      {"#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][k]\n"
       "#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;",
       "#0: 'k'"},
      {std::string(rectangle) + "#pragma tile_hyperplans[i][j + Q]\n#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;",
       "#0: 'Q'"},
      {"#pragma schedule[i][jj]\n a[i][j] = 0;", "#0: 'jj'"},
      {"#pragma schedule[0][i][j]\n a[i][j] = 0;\n#pragma schedule[1][i][j + block_size]\n a[i][j] = 1;",
       "#1: 'block_size'"},
      {std::string(general) + "#pragma tile_shape[i][bs - 1 - i][j][bs - 1 - j]\n#pragma schedule[__T][__T][i][j]\n"
       "a[i][j] = 0;",
       "#0: 'bs'"},
      {"#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][tile_size]\n"
       "#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;",
       "#0: 'tile_size'"},
  };
  // The marker belongs to schedules only.
  const std::string marker_cases[] = {
      "#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i + __T][j]\n"
      "#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;",
      std::string(rectangle) + "#pragma tile_hyperplans[i][j - __T]\n#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;",
      std::string(general) + "#pragma tile_shape[i][__T - 1 - i][j][__T - 1 - j]\n#pragma schedule[__T][__T][i][j]\n"
      "a[i][j] = 0;",
  };
  for (const std::string& c : marker_cases) {
    clear_registries();
    statement_vec.clear();
    var_declaration.clear();
    var_declared_names.clear();
    Program* p = model_of(two_loops(c));
    Tiling* t = nullptr;
    stdout_of([&] { t = extract_extended_tiling(p); });
    EXPECT_STOP_ON_STDERR(t->apply(p), "Tiling::apply: statement #0: __T may only mark a schedule dimension");
    delete t;
    delete p;
  }
  for (const auto& c : cases) {
    clear_registries();
    statement_vec.clear();
    var_declaration.clear();
    var_declared_names.clear();
    Program* p = model_of(two_loops(c.first));
    Tiling* t = nullptr;
    stdout_of([&] { t = extract_extended_tiling(p); });
    EXPECT_STOP_ON_STDERR(t->apply(p), "Tiling::apply: statement " + c.second + " is not declared");
    delete t;
    delete p;
  }
}

TEST_F(TilingTest, DirectiveNamesDeclaredAnywhereInTheFilePass) {
  Program* p = model_of(two_loops(
      "#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][j + P]\n"
      "#pragma schedule[__T][__T][i][j + R]\n a[i][j] = 0;") +
                        "int Q, P;\nvoid other() {\n  int R;\n}\n");
  // One entry per declaration, whose names are kept in order.
  ASSERT_EQ(p->declared_names.size(), p->variable_declaration.size());
  std::vector<std::string> names;
  for (const std::vector<std::string>& entry : p->declared_names) names.insert(names.end(), entry.begin(), entry.end());
  ASSERT_GE(names.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()), (std::vector<std::string>{"Q", "P", "R"}));
  Tiling* t = nullptr;
  stdout_of([&] { t = extract_extended_tiling(p); });
  std::pair<Program*, std::vector<Schedule*>> result;
  stdout_of([&] { result = t->apply(p); });
  EXPECT_EQ(result.first->statement.size(), 1u);
  delete result.first;
  del(result.second);
  delete t;
  delete p;
}

// The names the tiled code makes up fall in families of their own: an input
// name in one of them (declared as a variable, a kernel parameter, a type or
// a function, or called in a statement) stops the model's building, whatever
// the tiling, with the file and line of the name; so does a write of the
// tile size block_size. Names that only look alike pass, as size parameters
// of a parametric tiling too.
TEST_F(TilingTest, InputNamesOfTheTiledCodeAreRefused) {
  const std::string prefixes = "the tiled code begins the names of its split sizes and of its lattice and inner "
                               "counters with outer_ or inner_";
  const std::string rectangular = "the tiled code names the counters of rectangular tilings outer_time_<d> and "
                                  "inner_time_<d>";
  const std::string tile_size = "the tiled code's tile size, set by its caller, which the static control part "
                                "may not write";
  const char* const tiled = "#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n#pragma tile_hyperplans[i][j]\n"
                            "#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;";
  const std::string untiled = two_loops("#pragma schedule[i][j]\n a[i][j] = tile_counter_0;");
  struct Case {
    std::string text, name, reason;
    int line;
  };
  const Case cases[] = {
      {"int tile_counter_1;\n" + two_loops("#pragma tile_group[0]\n#pragma tile_size[4][4]\n"
                                           "#pragma tile_hyperplans[i][j]\n#pragma schedule[__T][__T][i][j]\n"
                                           " a[i][j] = 0;"),
       "tile_counter_1", "the tiled code names its tile counters tile_counter_<k>", 1},
      {"int tile_counter_0;\n" + untiled, "tile_counter_0", "the tiled code names its tile counters tile_counter_<k>",
       1},
      {"int inner_time_1;\n" + two_loops(tiled), "inner_time_1", rectangular, 1},
      {"int inner_M;\n" + two_loops(tiled), "inner_M", prefixes, 1},
      {"int outer_1[4];\n" + two_loops("#pragma tile_group[0]\n#pragma tile_lattice[1][0][0][1]\n"
                                       "#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]\n"
                                       "#pragma schedule[__T][__T][i][j]\n a[i][j] = 0;"),
       "outer_1", prefixes, 1},
      {"int lattice_offset_0;\n" + two_loops(tiled), "lattice_offset_0",
       "the tiled code names the lattice offsets of general tilings lattice_offset_<k>", 1},
      {"int time_0;\n" + two_loops(tiled), "time_0",
       "its splits outer_time_0 and inner_time_0 would be named like the counters of rectangular tilings", 1},
      {"typedef int outer_t;\n" + two_loops(tiled), "outer_t", prefixes, 1},
      {"double inner_f(double x);\n" + two_loops(tiled), "inner_f", prefixes, 1},
      {"int N;\nint a[64][64];\nvoid k(int inner_n) {\n  int i, j;\n#pragma begin_scop\n"
       "  for (i = 0; i < N; i++)\n    for (j = 0; j < N; j++) {\n" + std::string(tiled) + "\n    }\n" + footer,
       "inner_n", prefixes, 3},
      {two_loops("#pragma schedule[i][j]\n a[i][j] = outer_f(i);"), "outer_f", prefixes, 12},
      {"int block_size;\n" + two_loops("#pragma schedule[i][j]\n block_size = i;"), "block_size", tile_size, 13},
      {"int block_size;\n" + std::string(header) + "  for (block_size = 0; block_size < N; block_size++) {\n"
       "#pragma schedule[block_size]\n b[block_size] = 0;\n  }\n" + footer,
       "block_size", tile_size, 10},
  };
  for (const Case& c : cases)
    EXPECT_EXIT(
        {
          check_stderr_only();
          model_of(c.text);
        },
        ::testing::ExitedWithCode(1),
        "/prog\\.c:" + std::to_string(c.line) + ": error: " + regex_escaped("'" + c.name + "' is reserved: " + c.reason) +
            "\n$")
        << c.name;

  Program* p = model_of("int time, time_, _0, outer, tile_counter, lattice_offset_x, Outer_N, S1, c0, t___0;\n" +
                        two_loops("#pragma tile_group[0]\n#pragma tile_ratio[1][1]\n"
                                  "#pragma tile_hyperplans[i + time + time_ + _0 + outer][j + tile_counter]\n"
                                  "#pragma schedule[__T][__T][i][j]\n a[i][j] = lattice_offset_x + Outer_N + S1 + "
                                  "c0 + t___0;"));
  Tiling* t = nullptr;
  stdout_of([&] { t = extract_extended_tiling(p); });
  std::pair<Program*, std::vector<Schedule*>> result;
  stdout_of([&] { result = t->apply(p); });
  EXPECT_EQ(result.first->statement.size(), 1u);
  delete result.first;
  del(result.second);
  delete t;
  delete p;
}

TEST_F(TilingTest, OutputDeclarationsKeepInputOrderOnce) {
  Program* p = model_of(std::string("int N;\nint block_size;\nint rem_n = N % block_size;\n") + header +
                        "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    b[i] = 0;\n  }\n" + footer +
                        "int N;\n");
  Tiling* t = nullptr;
  stdout_of([&] { t = extract_extended_tiling(p); });
  std::pair<Program*, std::vector<Schedule*>> result;
  stdout_of([&] { result = t->apply(p); });
  EXPECT_EQ(result.first->variable_declaration,
            (std::vector<std::string>{"int N;", "int rem_n = N % block_size;", "int M;", "int i;", "int j;",
                                      "int a[64][64];", "int b[64];"}));
  delete result.first;
  del(result.second);
  delete t;
  delete p;
}

class BackendTest : public TilingTest {
protected:
  void SetUp() override {
    TilingTest::SetUp();
    setenv("PATH", (std::string(ISCC_DIR) + ":" + std::getenv("PATH")).c_str(), 1);
    folder = scratch_with("");
  }
  void TearDown() override { std::system(("rm -rf " + folder).c_str()); }

  // Runs the stages after parsing on `c_text` and returns the script and
  // the output file.
  std::pair<std::string, std::string> generate(const std::string& c_text) {
    Program* p = model_of(c_text);
    std::string file = folder + "/prog.c";
    stdout_of([&] {
      Tiling* t = extract_extended_tiling(p);
      std::pair<Program*, std::vector<Schedule*>> result = t->apply(p);
      result.first->backend_iscc(result.second, file);
      delete result.first;
      del(result.second);
      delete t;
    });
    delete p;
    std::stringstream script, output;
    script << std::ifstream(folder + "/prog.iscc").rdbuf();
    output << std::ifstream(folder + "/prog.tiled.cc").rdbuf();
    return {script.str(), output.str()};
  }

  std::string folder;
};

TEST_F(BackendTest, ScriptAndPreludeOfTwoStatements) {
  std::pair<std::string, std::string> files = generate(
      std::string(header) +
      "  for (i = N / 2; i < N; i++) {\n#pragma schedule[i][0]\n    b[i] = b[i] + 1;\n"
      "    for (j = 0; j < M; j++) {\n#pragma schedule[i][1][j]\n      a[i][j] = b[j] * i;\n    }\n  }\n" +
      footer);
  EXPECT_EQ(files.first,
            "D0 := [N] -> { S0[i] : i >= floor((N)/2) and i < N};\n"
            "D1 := [N,M] -> { S1[i,j] : i >= floor((N)/2) and i < N and j >= 0 and j < M};\n"
            "D := D0+D1;\n"
            "theta := [N,M] -> { S0[i] -> [i,0,0]; S1[i,j] -> [i,1,j] };\n"
            "tiled_program := theta*D;\n"
            "codegen tiled_program;\n");
  std::string prelude =
      "#include <math.h>\n#include <iostream>\n#include <stdio.h>\n\n"
      "template <class T, class U> inline auto min(T x, U y) -> decltype(x < y ? +x : +y) "
      "{ return x < y ? +x : +y; }\n"
      "template <class T, class U> inline auto max(T x, U y) -> decltype(x < y ? +y : +x) "
      "{ return x < y ? +y : +x; }\n"
      "template <class T, class U> inline auto ceild(T n, U d) -> decltype(n / d) { return n / d + (n % d > 0); }\n"
      "template <class T, class U> inline auto floord(T n, U d) -> decltype(n / d) { return n / d - (n % d < 0); }\n\n"
      "int N;\nint M;\nint i;\nint j;\nint a[64][64];\nint b[64];\n\n"
      "#define S0(i) { b[(i)]=b[(i)]+1; }\n"
      "#define S1(i,j) { a[(i)][(j)]=b[(j)]*((int)((i))); }\n\n"
      "void tiled_kernel() {\n";
  EXPECT_EQ(files.second.substr(0, prelude.size()), prelude);
  EXPECT_EQ(files.second.substr(files.second.size() - 2), "}\n");
}

// Whether `nest` holds `depth` loops, each the only statement of the one
// around it, around a call of S0, whose bounds name no split size: the
// loops over the points of a full tile, bounded by its shape alone.
bool has_full_tile_nest(const std::string& nest, size_t depth) {
  std::istringstream in(nest);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  auto indent = [](const std::string& line) { return line.find_first_not_of(' '); };
  for (size_t k = depth; k < lines.size(); k++) {
    if (lines[k].find("S0(") == std::string::npos) continue;
    bool perfect = true;
    for (size_t d = 1; d <= depth && perfect; d++) {
      const std::string& loop = lines[k - d];
      perfect = loop.find("for (") == indent(loop) && indent(loop) + 2 * d == indent(lines[k]) &&
                loop.find('{') == std::string::npos && loop.find("inner_") == std::string::npos &&
                loop.find("outer_") == std::string::npos;
    }
    if (perfect) return true;
  }
  return false;
}

// Rectangular tiles of ratio 2 on the inner hyperplane, and sheared tiles
// of a general tiling: their full tiles run apart from the partial ones,
// where a test of the tile's kind used to sit between the point loops.
TEST_F(BackendTest, ParametricTilingsRunTheirFullTilesInPerfectNests) {
  const std::string ratio = two_loops(
      "#pragma tile_group[0]\n#pragma tile_ratio[1][2]\n#pragma tile_hyperplans[i][j]\n"
      "#pragma schedule[__T][__T][i][j]\n      a[i][j] = a[i][j] + 1;");
  const std::string sheared = two_loops(
      "#pragma tile_group[0]\n#pragma tile_lattice[1][-1][0][1]\n"
      "#pragma tile_shape[i + j][block_size - 1 - i - j][j][block_size - 1 - j]\n"
      "#pragma schedule[__T][__T][i][j]\n      a[i][j] = a[i][j] + 1;");
  for (const std::string& input : {ratio, sheared}) {
    std::pair<std::string, std::string> files = generate(input);
    EXPECT_NE(files.first.find("\nF0 := "), std::string::npos) << files.first;
    EXPECT_NE(files.first.find("\nF := F0;\n"), std::string::npos) << files.first;
    EXPECT_NE(files.first.find("\ncodegen tiled_program isolating theta*F else theta*L else theta*B;\n"), std::string::npos)
        << files.first;
    EXPECT_NE(files.first.find("\nB := B0;\n"), std::string::npos) << files.first;
    EXPECT_TRUE(has_full_tile_nest(files.second, 2)) << files.second;
  }
  // A constant tiling's nest tests nothing about its tiles: no full tiles.
  std::pair<std::string, std::string> files = generate(two_loops(
      "#pragma tile_group[0]\n#pragma tile_size[4][4]\n#pragma tile_hyperplans[i][j]\n"
      "#pragma schedule[__T][__T][i][j]\n      a[i][j] = a[i][j] + 1;"));
  EXPECT_EQ(files.first.find("F0 := "), std::string::npos) << files.first;
  EXPECT_NE(files.first.find("\ncodegen tiled_program else theta*L else theta*B;\n"), std::string::npos) << files.first;
  // Its last mode scans a box of tiles, its box form each point of the box
  // of its original counters in its tile.
  size_t box = files.first.find("\nB0 := ");
  ASSERT_NE(box, std::string::npos);
  EXPECT_EQ(files.first.substr(box + 4, files.first.find('\n', box + 1) - box - 4),
            ":= [N, M] -> { S0[i, j, tile_counter_0, tile_counter_1] : 0 <= i < N and 0 <= j < M and "
            "-3 + i <= 4tile_counter_0 <= i and -3 + j <= 4tile_counter_1 <= j };");
}

// Each part's schedule is written on its own, from the same dates: the
// part numbers go first, so that the parts run one after the other in file
// order, also when they stand in different functions.
TEST_F(BackendTest, StaticControlPartsRunInFileOrder) {
  const std::string loop = "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    b[i] = b[i] + 1;\n  }\n";
  const std::string part = "#pragma begin_scop\n" + loop + "#pragma end_scop\n";
  std::pair<std::string, std::string> files = generate("int N;\nint i;\nint b[9];\nvoid k() {\n" + part + part +
                                                       "}\nvoid l() {\n" + part + "}\n");
  EXPECT_NE(files.first.find("theta := [N] -> { S0[i] -> [0,i]; S1[i] -> [1,i]; S2[i] -> [2,i] };\n"),
            std::string::npos)
      << files.first;
}

// The carried functions stand between the declarations and the statement
// macros; the input's own max replaces the function of that name, min stays,
// and a long long max beside it takes the nest's long long bounds.
TEST_F(BackendTest, CarriedFunctionsPrecedeTheStatementMacros) {
  std::pair<std::string, std::string> files = generate(
      "int N;\nint i;\nint b[9];\nint max(int x, int y) { return x < y ? y : x; }\n"
      "int twice(int x) { return 2 * x; }\nvoid k() {\n#pragma begin_scop\n"
      "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    b[i] = max(b[i], i) + twice(b[i]);\n  }\n" +
      std::string(footer));
  EXPECT_NE(files.second.find("inline auto min("), std::string::npos);
  EXPECT_EQ(files.second.find("inline auto max("), std::string::npos);
  EXPECT_NE(files.second.find("int b[9];\n\nint max(int x, int y) {\n  return x < y ? y : x;\n}\n\n"
                              "int twice(int x) {\n  return 2 * x;\n}\n\n"
                              "long long max(long long x, long long y) { return x > y ? x : y; }\n\n#define S0(i) "),
            std::string::npos)
      << files.second;
}

// An untiled statement (S0, line 11) and a constant-tiled one (S1, line 17).
std::string untiled_and_tiled() {
  return std::string(header) +
         "  for (i = 0; i < N; i++) {\n#pragma schedule[i][0]\n    b[i] = b[i] + 1;\n"
         "    for (j = i; j < M; j++) {\n#pragma tile_group[0]\n#pragma tile_size[4][4]\n"
         "#pragma tile_hyperplans[i][j]\n#pragma schedule[i][1][__T][__T][j]\n"
         "      a[i][j] = a[i][j] + 1;\n    }\n  }\n" +
         footer;
}

// iscc stands in for the nests of the script in the last mode (exit status
// 3): the macros of the statements that scan a superset of their domain
// test each point against the original domain, computed in long long; the
// other statements run as they are. Past every budget (status 2), the run
// stops naming the statement of most pieces.
TEST_F(BackendTest, TheLastModeTestsEachPointOfTheSupersets) {
  std::string bin = folder + "/bin";
  ASSERT_EQ(std::system(("mkdir " + bin).c_str()), 0);
  setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);
  auto fake_iscc = [&](const std::string& nest, int status) {
    std::ofstream(bin + "/iscc") << "#!/bin/sh\ncat >/dev/null\nprintf '" << nest << "'\nexit " << status << "\n";
    ASSERT_EQ(std::system(("chmod +x " + bin + "/iscc").c_str()), 0);
  };
  const std::string input = untiled_and_tiled();
  fake_iscc("S0(0);\nS1(0,0,0,0);\n", 3);
  std::pair<std::string, std::string> files = generate(input);
  EXPECT_NE(files.first.find("codegen tiled_program else theta*L else theta*B;"), std::string::npos) << files.first;
  EXPECT_NE(files.second.find("#define S0(i) { b[(i)]=b[(i)]+1; }\n"), std::string::npos) << files.second;
  EXPECT_NE(files.second.find("#define S1(i,j,tile_counter_0,tile_counter_1) { if (((long long)(i)) >= 0LL && "
                              "((long long)(i)) < ((long long)N) && ((long long)(j)) >= ((long long)(i)) && "
                              "((long long)(j)) < ((long long)M)) { a[(i)][(j)]=a[(i)][(j)]+1; } }\n"),
            std::string::npos)
      << files.second;
  fake_iscc("", 2);
  auto generate_all = [&] {
    Program* p = model_of(input);
    std::pair<Program*, std::vector<Schedule*>> r = extract_extended_tiling(p)->apply(p);
    r.first->backend_iscc(r.second, folder + "/prog.c");
  };
  EXPECT_EXIT(
      {
        check_stdout_only();
        generate_all();
      },
      ::testing::ExitedWithCode(1),
      regex_escaped("\nProgram::backend_iscc: statement #0: its 1 piece exceeds the code generator's budget "
                           "of work, even with the full tiles run with the partial ones and with every tiled "
                           "statement scanning one convex superset of its domain; tile it with fewer pieces: "
                           "smaller tile ratios, ratios that the largest divides, a lattice without "
                           "denominators, or constant tile sizes along hyperplanes of full rank\n"));
}

// Each statement whose macro tests every point of a superset is named on
// standard error by its file and line, with why and what gives an exact
// nest: in the last mode the tiled statement, never the untiled one; past
// its crossing budget the statement in every mode; none in an exact nest.
TEST_F(BackendTest, TheStatementsThatTestEachPointAreWarnedOf) {
  std::string bin = folder + "/bin";
  ASSERT_EQ(std::system(("mkdir " + bin).c_str()), 0);
  setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);
  auto warnings = [&](int iscc_status, bool past_crossing) {
    std::ofstream(bin + "/iscc") << "#!/bin/sh\ncat >/dev/null\nprintf 'S0(0);\\nS1(0,0,0,0);\\n'\nexit "
                                 << iscc_status << "\n";
    EXPECT_EQ(std::system(("chmod +x " + bin + "/iscc").c_str()), 0);
    Program* p = model_of(untiled_and_tiled());
    Tiling* t = extract_extended_tiling(p);
    std::pair<Program*, std::vector<Schedule*>> r = t->apply(p);
    r.first->superset[1] = past_crossing;
    testing::internal::CaptureStderr();
    stdout_of([&] { r.first->backend_iscc(r.second, folder + "/prog.c"); });
    std::string text = testing::internal::GetCapturedStderr();
    delete r.first;
    del(r.second);
    delete t;
    delete p;
    return text;
  };
  // One line, in the input file (whose folder the test does not know).
  auto one_line_ending = [](const std::string& text, const std::string& end) {
    return text.find('\n') + 1 == text.size() && text.size() > end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  };
  const std::string start = "/prog.c:17: warning: statement #1 scans one convex superset of its domain and tests "
                            "every point, because ";
  const std::string advice =
      ": its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller "
      "tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes "
      "along hyperplanes of full rank\n";
  std::string last_mode = warnings(3, false);
  EXPECT_TRUE(one_line_ending(last_mode, start + "the program's exact loop nests exceeded the code generator's "
                                                 "budget of work (its last mode)" + advice))
      << last_mode;
  std::string past_crossing = warnings(0, true);
  EXPECT_TRUE(one_line_ending(past_crossing,
                              start + "the crossing of its tiling's pieces exceeded its budget of work" + advice))
      << past_crossing;
  EXPECT_EQ(warnings(0, false), "");
}

// The nest passes the counters in long long: they print as such.
TEST_F(BackendTest, TraceMacrosPrintTheCounters) {
  Options::option["trace"] = 1;
  std::pair<std::string, std::string> files =
      generate(std::string("int N;\nint i;\nint b[9];\nint s;\nvoid k() {\n#pragma begin_scop\n") +
               "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    b[i] = 1;\n  }\n#pragma schedule[1]\n  s = 0;\n" +
               footer);
  EXPECT_NE(files.second.find("#define S0(i) { printf(\"i=%lld \\n\",(long long)(i)); b[(i)]=1; }\n"), std::string::npos);
  EXPECT_NE(files.second.find("#define S1() { printf(\"\\n\"); s=0; }\n"), std::string::npos);
}

}  // namespace
