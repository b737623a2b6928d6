#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "CommandTest.h"
#include "Preprocessor.h"
#include "Program.h"
#include "SyntaxTree.h"

namespace {

using RewriteTest = CommandTest;

TEST_F(RewriteTest, DirectiveLinesAsTheSedRulesWriteThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"#pragma schedule[i][j]", "schedule [i][j] = 0;"},
      {"#pragma tile_size[4][8]", "tile_size[4][8] = 0;"},
      {"#pragma tile_ratio[2]", "tile_ratio[2] = 0;"},
      {"#pragma tile_lattice[1][0][0][1]", "tile_lattice[1][0][0][1] = 0;"},
      {"#pragma tilefoo[1]", "tilefoo[1] = 0;"},
      {"    #pragma tile_hyperplans[i][i + j]", "    tile_hyperplans[i][i + j] = 0;"},
      {"#pragma output A[i]", "output__ = 0;  A[i] = 0;"},
      {"#pragma bound[N]", "bound [N] = 0;"},
      {"#pragma parallelize[i]", "parallelize [i] = 0;"},
      {"#pragma begin_scop", "#pragma begin_scop"},
      {"#pragma end_scop", "#pragma end_scop"},
      {"#pragma omp parallel", "#pragma omp parallel"},
      {"  s = \"#pragma tile_size[4]\";", "  s = \"#pragma tile_size[4]\";"},
  };
  for (const auto& c : cases) EXPECT_EQ(rewrite_directives(c.first), c.second) << c.first;
  EXPECT_EQ(rewrite_directives("a\n#pragma schedule[i]\nb\n"), "a\nschedule [i] = 0;\nb\n");
}

TEST_F(RewriteTest, CarriersAreTheElevenDeclarations) {
  std::string stars(20, '*');
  std::string expected = "int" + stars + " tile_group;\nint" + stars + " tile_size;\nint" + stars +
                         " tile_hyperplans;\nint" + stars + " parallelize;\nint" + stars +
                         " schedule;\nint" + stars + " bound;\nint output__;\nint __T;\nint" + stars +
                         " tile_ratio;\nint" + stars + " tile_lattice;\nint" + stars + " tile_shape;\n";
  EXPECT_EQ(carrier_declarations, expected);

  Program* p = model_of("int N;\nvoid f() {\n  int i;\n}\n");
  ASSERT_EQ(p->variable_declaration.size(), 13u);
  const char* names[] = {"tile_group", "tile_size", "tile_hyperplans", "parallelize", "schedule", "bound",
                         "output__", "__T", "tile_ratio", "tile_lattice", "tile_shape"};
  for (int k = 0; k < 11; k++) {
    const std::string& d = p->variable_declaration[k];
    EXPECT_EQ(d.substr(d.size() - std::string(names[k]).size() - 1), std::string(names[k]) + ";");
  }
  EXPECT_EQ(p->variable_declaration[11], "int N;");
  EXPECT_EQ(p->variable_declaration[12], "int i;");
  delete p;
}

std::vector<std::string> entries(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(d);
  return names;
}

TEST_F(RewriteTest, NoTemporaryFileIsLeftAndUserFilesStayUntouched) {
  std::string folder = scratch_with("int N;\n");
  std::string tmp = folder + "/tmp";
  mkdir(tmp.c_str(), 0700);
  setenv("TMPDIR", tmp.c_str(), 1);
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof(cwd)));
  ASSERT_EQ(chdir(folder.c_str()), 0);
  std::ofstream("out-decl.c") << "mine";
  std::ofstream("TILE_schedule_source.c") << "mine";

  SgProject* rewritten = preprocess_extended_tiling(isSgProject(import("prog.c")));
  EXPECT_EQ(rewritten->numberOfFiles(), 1);
  EXPECT_TRUE(entries(tmp).empty());
  std::ofstream("bad.c") << "void f() {\n#pragma schedule[i\n  x = 0;\n}\n";
  EXPECT_EXIT(
      {
        check_stdout_only();
        preprocess_extended_tiling(isSgProject(import("bad.c")));
      },
      testing::ExitedWithCode(1),
      last_line("Preprocessor::preprocess_extended_tiling: the rewritten directives do not parse"));
  EXPECT_TRUE(entries(tmp).empty());
  std::string mine;
  std::getline(std::ifstream("out-decl.c"), mine);
  EXPECT_EQ(mine, "mine");
  std::getline(std::ifstream("TILE_schedule_source.c"), mine);
  EXPECT_EQ(mine, "mine");

  ASSERT_EQ(chdir(cwd), 0);
  unsetenv("TMPDIR");
  std::system(("rm -rf " + folder).c_str());
}

void collect(SgNode* root, VariantT kind, std::vector<SgNode*>& found) {
  if (!root) return;
  if (root->variantT() == kind) found.push_back(root);
  for (SgNode* child : root->get_traversalSuccessorContainer()) collect(child, kind, found);
}

// "<file>:<line>: <text>" of each node of one kind, in pre-order.
std::vector<std::string> placed(SgNode* root, VariantT kind) {
  std::vector<SgNode*> nodes;
  collect(root, kind, nodes);
  std::vector<std::string> texts;
  for (SgNode* n : nodes)
    texts.push_back(n->get_file_info()->get_filenameString() + ":" +
                    std::to_string(n->get_file_info()->get_line()) + ": " + n->unparseToString());
  return texts;
}

TEST_F(RewriteTest, PositionsAndMessagesNameTheInputAndItsLines) {
  // Comments, blank lines and split statements: the unparsed text has its
  // lines elsewhere.
  std::string folder = scratch_with(
      "/* A kernel.\n */\nint N;\nint a[10];\n\nvoid f() {\n  int i;\n#pragma begin_scop\n"
      "  for (i = 0;\n       i < N; i++) {\n#pragma schedule[i]\n    a[i] =\n      0;\n  }\n#pragma end_scop\n}\n");
  char cwd[4096];
  ASSERT_TRUE(getcwd(cwd, sizeof(cwd)));
  ASSERT_EQ(chdir(folder.c_str()), 0);
  SgProject* rewritten = preprocess_extended_tiling(isSgProject(import("prog.c")));
  EXPECT_EQ(placed(rewritten, V_SgAssignOp),
            (std::vector<std::string>{"prog.c:9: i = 0", "prog.c:11: schedule[i] = 0", "prog.c:12: a[i] = 0"}));
  std::vector<std::string> declarations = placed(rewritten, V_SgVariableDeclaration);
  ASSERT_EQ(declarations.size(), 14u);
  EXPECT_EQ(declarations[0].substr(0, 10), "prog.c:0: ");  // a carrier: no line of the input
  EXPECT_EQ(declarations[11], "prog.c:3: int N;");
  EXPECT_EQ(declarations[13], "prog.c:7: int i;");

  std::ofstream("bad.c") << "int N;\n\n/* two\n lines */\nvoid f() {\n  int x;\n#pragma schedule[x\n  x = 0;\n}\n";
  EXPECT_EXIT(
      {
        check_stderr_only();
        preprocess_extended_tiling(isSgProject(import("bad.c")));
      },
      testing::ExitedWithCode(1),
              "^bad\\.c:7: error: expected '\\]' after the subscript\n$");
  ASSERT_EQ(chdir(cwd), 0);
  std::system(("rm -rf " + folder).c_str());
}

}  // namespace
