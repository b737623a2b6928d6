// Object-like macros: C expansion, scope, redefinition, and the re-parse
// of pragma arguments after the pragma rewrite.
#include <gtest/gtest.h>

#include "FrontendTestSupport.h"
#include "TreeDump.h"

namespace {

TEST(Macros, ExpansionIsTokenLevelAndKeepsTheDefines) {
  ParseResult r = parse_text("#define N 100\n#define M N+1\nint main() { x = 2*M; }\n");
  ASSERT_TRUE(r.ok()) << r.err;
  ParseResult plain = parse_text("int main() { x = 2 * 100 + 1; }\n");
  ASSERT_TRUE(plain.ok());
  EXPECT_EQ(dump_tree(first_expression(r.project)), dump_tree(first_expression(plain.project)));
  EXPECT_EQ(r.project->unparseToCompleteString(), "#define N 100\n#define M N+1\nint main() {\n  x = 2 * 100 + 1;\n}\n");
}

TEST(Macros, ExpandedTokensTakeThePositionOfTheUse) {
  ParseResult r = parse_text("#define N 100\nint main() {\n  x = N;\n}\n");
  ASSERT_TRUE(r.ok()) << r.err;
  SgNode* v = isSgAssignOp(first_expression(r.project))->get_rhs_operand();
  EXPECT_EQ(v->get_file_info()->get_line(), 3);
  EXPECT_EQ(v->get_file_info()->get_col(), 7);
}

TEST(Macros, UndefEndsTheScope) {
  ParseResult r = parse_text("#define N 4\nint a = N;\n#undef N\nint N = 5;\n");
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<SgNode*> d = find_all(r.project, V_SgVariableDeclaration);
  ASSERT_EQ(d.size(), 2u);
  EXPECT_EQ(d[0]->unparseToString(), "int a = 4;");
  EXPECT_EQ(d[1]->unparseToString(), "int N = 5;");
}

TEST(Macros, SelfReferenceTerminates) {
  ParseResult r = parse_text("#define A A + 1\n#define B C\n#define C B\nint main() { x = A; y = B; }\n");
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<SgNode*> s = find_all(r.project, V_SgExprStatement);
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0]->unparseToString(), "x = A + 1;");
  EXPECT_EQ(s[1]->unparseToString(), "y = B;");
}

TEST(Macros, IdenticalRedefinitionIsAllowed) {
  EXPECT_TRUE(parse_text("#define N 10 + 1\n#define N  10  +  1\nint a = N;\n").ok());
}

TEST(Macros, DifferentRedefinitionIsAnError) {
  ParseResult r = parse_text("#define N 10\n#define N 11\nint a;\n");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.err, last_path() + ":2:9: error: macro 'N' redefined differently\n");
}

TEST(Macros, FunctionLikeMacroIsKeptButItsUseIsAnError) {
  ParseResult unused = parse_text("#define F(x) ((x) + 1)\nint a;\n");
  ASSERT_TRUE(unused.ok()) << unused.err;
  EXPECT_EQ(unused.project->unparseToCompleteString(), "#define F(x) ((x) + 1)\nint a;\n");
  ParseResult used = parse_text("#define F(x) ((x) + 1)\nint a = F(2);\n");
  EXPECT_FALSE(used.ok());
  EXPECT_EQ(used.err, last_path() + ":2:9: error: function-like macro 'F' is not supported\n");
}

TEST(Macros, ConditionalDirectivesAreErrors) {
  ParseResult r = parse_text("int a;\n  # if 1\nint b;\n#endif\n");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.err, last_path() + ":2:3: error: '#if' is not supported\n");
}

TEST(Macros, PragmaTextIsNotExpandedButItsRewriteIs) {
  ParseResult r = parse_text("#define TS 32\nint main() {\n#pragma tile_size[TS]\n  x = 1;\n}\n");
  ASSERT_TRUE(r.ok()) << r.err;
  EXPECT_EQ(isSgPragma(find_first(r.project, V_SgPragma))->get_pragma(), "tile_size[TS]");
  std::string text = r.project->unparseToCompleteString();
  const std::string line = "  #pragma tile_size[TS]\n";
  std::size_t at = text.find(line);
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, line.size(), "  tile_size[TS] = 0;\n");
  ParseResult again = parse_text("int* tile_size;\n" + text);
  ASSERT_TRUE(again.ok()) << again.err;
  SgPntrArrRefExp* ref = isSgPntrArrRefExp(find_first(again.project, V_SgPntrArrRefExp));
  ASSERT_NE(ref, nullptr);
  SgIntVal* index = isSgIntVal(ref->get_rhs_operand());
  ASSERT_NE(index, nullptr);
  EXPECT_EQ(index->get_value(), 32);
}

TEST(Macros, DirectiveInsideAStatementIsAnError) {
  ParseResult r = parse_text("int main() {\n  x = 1\n#define Q 2\n  ;\n}\n");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.err, last_path() + ":3:1: error: '#define' may stand only between declarations and statements\n");
}

}  // namespace
