#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Array.h"
#include "CommandTest.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "PreprocessorInternal.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"
#include "SyntaxTree.h"

namespace {

using namespace Preprocessor;

class SingleDirectiveTest : public CommandTest {};

// A static control part over i in a file that declares N, a, b and c.
std::string part(const std::string& body) {
  return "int N;\ndouble a[100];\ndouble b[100];\ndouble c[100];\nvoid f() {\n  int i;\n#pragma begin_scop\n"
         "  for (i = 0; i < N; i++) {\n" +
         body + "\n  }\n#pragma end_scop\n}\n";
}

std::string text_of(const Statement& s) {
  std::ostringstream out;
  out << s;
  return out.str();
}

std::vector<std::string> texts(const Program* p) {
  std::vector<std::string> all;
  for (const Statement* s : p->statement) all.push_back(std::to_string(s->stmt_rank) + ": " + text_of(*s));
  return all;
}

std::string schedule_text(Schedule* s) {
  std::ostringstream out;
  out << *s->schedule;
  return out.str();
}

TEST_F(SingleDirectiveTest, DirectiveLinesAsTheSedRulesWriteThem) {
  struct Case {
    const DirectiveRewrite& rewrite;
    const char* line;
    const char* expected;
  };
  const Case cases[] = {
      {schedule_rewrite, "#pragma schedule[i][j]", "schedule [i][j] = 0;"},
      {schedule_rewrite, "  #pragma schedule [__T][i]", "  schedule  [__T][i] = 0;"},
      {schedule_rewrite, "#pragma depth[4]", "#pragma depth[4]"},
      {depth_rewrite, "#pragma depth[4]", "depth__ [4] = 0;"},
      {depth_rewrite, "#pragma depth 4", "depth__  4 = 0;"},
      {depth_rewrite, "#pragma depth[4][5]", "depth__ [4][5] = 0;"},
      {tile_size_rewrite, "#pragma tile_size[32]", "tile_size__ [32] = 0;"},
      {tile_size_rewrite, "#pragma tile_sizes[2]", "tile_size__ s[2] = 0;"},
      {tiling_rewrite, "#pragma tile_group[0]", "tile_group[0] = 0;"},
      {tiling_rewrite, "#pragma tile_size[32][32]", "tile_size[32][32] = 0;"},
      {tiling_rewrite, "#pragma tile_hyperplans[i][j]", "tile_hyperplans[i][j] = 0;"},
      {tiling_rewrite, "#pragma tile_ratio[2]", "tile_ratio[2] = 0;"},
      {tiling_rewrite, "#pragma schedule[__T][i]", "schedule [__T][i] = 0;"},
      {tiling_rewrite, "#pragma bound[N][1][100]", "bound [N][1][100] = 0;"},
      {tiling_rewrite, "#pragma parallelize[0][4]", "parallelize [0][4] = 0;"},
      {tiling_rewrite, "#pragma output A[i]", "output__ = 0;  A[i] = 0;"},
      {tiling_rewrite, "#pragma vector_size[4]", "vector_size[4] = 0;"},
      {tiling_rewrite, "#pragma vector_sizes[4]", "vector_sizes[4] = 0;"},
      {tiling_rewrite, "#pragma vectorize[0][1][2][3]", "vectorize [0][1][2][3] = 0;"},
      {tiling_rewrite, "    #pragma vectorize [0][1][2][3]", "    vectorize  [0][1][2][3] = 0;"},
      {tiling_rewrite, "#pragma begin_scop", "#pragma begin_scop"},
      {tiling_rewrite, "#pragma depth[4]", "#pragma depth[4]"},
      {tiling_rewrite, "  s = \"#pragma vector_size[4]\";", "  s = \"#pragma vector_size[4]\";"},
  };
  for (const Case& c : cases) EXPECT_EQ(rewrite_lines(c.line, c.rewrite.rules), c.expected) << c.line;
}

TEST_F(SingleDirectiveTest, TheOutputRuleKeepsTheDirectiveAsAString) {
  const std::vector<Rule>& rules = output_rewrite.rules;
  EXPECT_EQ(rewrite_lines("#pragma output A, B", rules), "output__ = \" A, B\";");
  EXPECT_EQ(rewrite_lines("#pragma output x\"y\\z", rules), "output__ = \" x\\\"y\\\\z\";");
  EXPECT_EQ(rewrite_lines("#pragma schedule[i]", rules), "#pragma schedule[i]");
}

TEST_F(SingleDirectiveTest, CarriersAsEachRewriteWritesThem) {
  std::string stars = "int" + std::string(20, '*') + " ";
  EXPECT_EQ(std::string(schedule_rewrite.carriers), stars + "schedule;\n");
  EXPECT_EQ(std::string(depth_rewrite.carriers), "int* depth__;\n");
  EXPECT_EQ(std::string(tile_size_rewrite.carriers), "int* tile_size__;\n");
  EXPECT_EQ(std::string(output_rewrite.carriers), "int* output__;\n");
  EXPECT_EQ(std::string(tiling_rewrite.carriers),
            stars + "tile_group;\n" + stars + "tile_size;\n" + stars + "tile_hyperplans;\n" + stars +
                "parallelize;\n" + stars + "schedule;\n" + stars + "bound;\nint output__;\nint __T;\n" + stars +
                "vector_size;\n" + stars + "vectorize;\n");

  Program* p = model_of(part("#pragma depth[4]\n    a[i] = 0;"), preprocess_depth);
  ASSERT_EQ(p->variable_declaration.size(), 6u);
  EXPECT_EQ(p->variable_declaration[0], "int *depth__;");
  EXPECT_EQ(p->variable_declaration[1], "int N;");
  delete p;
}

std::string first_line(const std::string& file) {
  std::string line;
  std::getline(std::ifstream(file), line);
  return line;
}

TEST_F(SingleDirectiveTest, RewritesLeaveNoFileAndTouchNoneOfTheUsers) {
  std::string folder = scratch_with(part("#pragma schedule[i]\n    a[i] = 0;"));
  std::string tmp = folder + "/tmp";
  std::filesystem::create_directory(tmp);
  setenv("TMPDIR", tmp.c_str(), 1);
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof(cwd)));
  ASSERT_EQ(chdir(folder.c_str()), 0);
  std::ofstream("YEB_schedule_source.c") << "mine";
  std::ofstream("YEB_schedule_target.c") << "mine";

  EXPECT_EQ(preprocess_schedule(isSgProject(import("prog.c")))->numberOfFiles(), 1);
  EXPECT_EQ(preprocess_tiling(isSgProject(import("prog.c")))->numberOfFiles(), 1);
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
  std::ofstream("bad.c") << part("#pragma depth 4\n    a[i] = 0;");
  EXPECT_STOP_ON_STDOUT(preprocess_depth(isSgProject(import("bad.c"))),
                        "Preprocessor::preprocess_depth: the rewritten directives do not parse");
  std::ofstream("bad2.c") << part("#pragma vector_size 4\n#pragma schedule[i]\n    a[i] = 0;");
  EXPECT_STOP_ON_STDOUT(preprocess_tiling(isSgProject(import("bad2.c"))),
                        "Preprocessor::preprocess_tiling: the rewritten directives do not parse");
  EXPECT_TRUE(std::filesystem::is_empty(tmp));
  EXPECT_EQ(first_line("YEB_schedule_source.c"), "mine");
  EXPECT_EQ(first_line("YEB_schedule_target.c"), "mine");

  ASSERT_EQ(chdir(cwd), 0);
  unsetenv("TMPDIR");
  std::system(("rm -rf " + folder).c_str());
}

TEST_F(SingleDirectiveTest, SchedulesOnePerAssignment) {
  Program* p = model_of(part("#pragma schedule[i][0]\n    a[i] = 0;\n#pragma schedule[i][1]\n    b[i] = a[i];"),
                        preprocess_schedule);
  std::vector<Schedule*> theta = extract_schedule(p);
  ASSERT_EQ(theta.size(), 2u);
  EXPECT_EQ(schedule_text(theta[0]), "[i][0]");
  EXPECT_EQ(schedule_text(theta[1]), "[i][1]");
  EXPECT_EQ(texts(p), (std::vector<std::string>{"0: a[i]=0", "1: b[i]=a[i]"}));
  EXPECT_FALSE(is_an_array("schedule"));
  for (Schedule* s : theta) delete s;
  delete p;

  // A schedule after the last assignment belongs to no statement.
  EXPECT_EXIT(
      {
        check_stderr_only();
        model_of(part("#pragma schedule[i]\n    a[i] = 0;\n#pragma schedule[N]"), preprocess_schedule);
      },
      testing::ExitedWithCode(1),
      regex_escaped("/prog.c:11: error: a directive that no statement of the part follows: #pragma schedule[N]") +
          "\n$");
}

TEST_F(SingleDirectiveTest, SchedulesMissingOrRepeated) {
  Program* p = model_of(part("#pragma schedule[i]\n#pragma schedule[i]\n    a[i] = 0;"), preprocess_schedule);
  EXPECT_STOP_ON_STDOUT(extract_schedule(p), "Preprocessor::extract_schedules: several schedules for assignment #1");
  delete p;
  p = model_of(part("#pragma schedule[i]\n    a[i] = 0;\n    b[i] = 0;"), preprocess_schedule);
  EXPECT_STOP_ON_STDOUT(extract_schedule(p), "Preprocessor::extract_schedules: missing schedule for assignment #2");
  delete p;
}

TEST_F(SingleDirectiveTest, DepthAndTileSize) {
  const std::pair<const char*, int> values[] = {{"[4]", 4}, {"[-3]", -3}};
  for (const auto& v : values) {
    Program* p = model_of(part(std::string("#pragma depth") + v.first + "\n    a[i] = 0;\n    b[i] = 0;"),
                          preprocess_depth);
    EXPECT_EQ(extract_depth(p), v.second) << v.first;
    EXPECT_EQ(texts(p), (std::vector<std::string>{"0: a[i]=0", "1: b[i]=0"}));
    EXPECT_TRUE(is_an_array("depth__"));
    delete p;
    p = model_of(part(std::string("    a[i] = 0;\n#pragma tile_size") + v.first), preprocess_tile_size);
    EXPECT_EQ(extract_tile_size(p), v.second) << v.first;
    EXPECT_EQ(texts(p), (std::vector<std::string>{"0: a[i]=0"}));
    delete p;
  }
}

// `text` with every KIND replaced by `kind`.
std::string with(std::string text, const std::string& kind) {
  for (size_t at; (at = text.find("KIND")) != std::string::npos;) text.replace(at, 4, kind);
  return text;
}

TEST_F(SingleDirectiveTest, DepthAndTileSizeRefused) {
  struct Case {
    const char* directives;
    const char* depth_message;
    const char* tile_size_message;
  };
  const Case cases[] = {
      {"#pragma KIND[i]\n", "non-constant depth", "non-constant tile size"},
      {"#pragma KIND[4][5]\n", "non-constant depth", "non-constant tile size"},
      {"#pragma KIND[N + 1]\n", "non-constant depth", "non-constant tile size"},
      {"#pragma KIND[-1]\n", "no depth", "no tile size"},
      {"", "no depth", "no tile size"},
      {"#pragma KIND[2]\n#pragma KIND[i]\n", "several depths", "several tile sizes"},
  };
  for (const Case& c : cases) {
    Program* p = model_of(part(with(c.directives, "depth") + "    a[i] = 0;"), preprocess_depth);
    EXPECT_STOP_ON_STDOUT(extract_depth(p), std::string("Preprocessor::extract_depth: ") + c.depth_message);
    delete p;
    p = model_of(part(with(c.directives, "tile_size") + "    a[i] = 0;"), preprocess_tile_size);
    EXPECT_STOP_ON_STDOUT(extract_tile_size(p),
                          std::string("Preprocessor::extract_tile_size: ") + c.tile_size_message);
    delete p;
  }
}

TEST_F(SingleDirectiveTest, OutputNamesComeBackWithTheirText) {
  Program* p = model_of(part("#pragma output a, b\n    a[i] = 0;\n#pragma output\tc\n    b[i] = a[i];"),
                        preprocess_output);
  std::set<std::string> names;
  std::string printed = stdout_of([&] { names = extract_output(p); });
  EXPECT_EQ(printed, "value \" a, b\"\nvalue \"\tc\"\n");
  EXPECT_EQ(names, (std::set<std::string>{"a", "b", "c"}));
  EXPECT_EQ(texts(p), (std::vector<std::string>{"0: a[i]=0", "1: b[i]=a[i]"}));
  delete p;

  p = model_of(part("#pragma output \"a\\\"b\\\\c\",d\n    a[i] = 0;"), preprocess_output);
  stdout_of([&] { names = extract_output(p); });
  EXPECT_EQ(names, (std::set<std::string>{"\"a\\\"b\\\\c\"", "d"}));
  delete p;

  // A carrier written by hand holds no names unless it is a string.
  p = model_of(part("    output__ = 1;\n    output__ = \"x\" \"y z\";\n    a[i] = 0;"), preprocess_output);
  stdout_of([&] { names = extract_output(p); });
  EXPECT_EQ(names, (std::set<std::string>{"xy", "z"}));
  EXPECT_EQ(texts(p), (std::vector<std::string>{"0: a[i]=0"}));
  delete p;
}

// Unparses `file`, splits its ifs aside and unparses it again.
void expect_unparse_unchanged(const std::string& file) {
  SgProject* project = isSgProject(import(file));
  ASSERT_EQ(project->numberOfFiles(), 1) << file;
  std::string before = project->unparseToCompleteString();
  EXPECT_EQ(Preprocessor::preprocess(project), project);
  EXPECT_EQ(project->unparseToCompleteString(), before) << file;
}

const char* const branches =
    "int N;\nint M;\ndouble a[100];\nvoid f() {\n  int i;\n  int j;\n  if (N > 2) a[0] = 1; else a[1] = 2;\n"
    "#pragma begin_scop\n  for (i = 0; i < N; i++) {\n    if (i >= 2) {\n      if (i <= M) a[i] = 0;\n"
    "      else a[i] = 1;\n    } else if (i >= 1) a[i] = 2;\n    else if (i >= 0) {\n      a[i] = 3;\n    }\n"
    "    if (i < N - 1) a[i] = a[i] + 1;\n  }\n#pragma end_scop\n}\n";

TEST_F(SingleDirectiveTest, SplittingIfsLeavesTheTreeAsItIs) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FRONTEND_CORPUS_DIR)) {
    if (entry.path().extension() != ".c") continue;
    expect_unparse_unchanged(entry.path().string());
    files++;
  }
  EXPECT_GT(files, 0);
  std::string folder = scratch_with(branches);
  expect_unparse_unchanged(folder + "/prog.c");
  std::system(("rm -rf " + folder).c_str());
}

std::vector<std::string> statements_and_domains(const Program* p) {
  std::vector<std::string> all;
  for (const Statement* s : p->statement) {
    std::ostringstream out;
    out << s->stmt_rank << ": " << *s << " in " << *s->iteration_domain;
    all.push_back(out.str());
  }
  return all;
}

// The model builder's traversal attribute and the splitting one are two
// classes; a traversal running the other's code would corrupt the domains.
TEST_F(SingleDirectiveTest, ModelBuildingAndIfSplittingInOneProcess) {
  std::string folder = scratch_with(branches);
  SgProject* project = isSgProject(import(folder + "/prog.c"));
  std::system(("rm -rf " + folder).c_str());
  Program* before = Program::from_Sage(project);
  ASSERT_EQ(before->statement.size(), 5u);
  var_declaration.clear();
  var_declared_names.clear();
  Preprocessor::preprocess(project);
  Program* after = Program::from_Sage(project);
  EXPECT_EQ(statements_and_domains(after), statements_and_domains(before));
  delete before;
  delete after;
}

}  // namespace
