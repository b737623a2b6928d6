// The text conventions of the unparser.
#include <gtest/gtest.h>

#include "FrontendTestSupport.h"

namespace {

std::vector<std::string> declaration_texts(SgProject* p) {
  std::vector<std::string> texts;
  for (SgNode* d : find_all(p, V_SgVariableDeclaration)) texts.push_back(d->unparseToCompleteString());
  return texts;
}

std::string unparse_statement(const std::string& stmt) {
  SgProject* p = parse_body(stmt);
  SgExprStatement* s = isSgExprStatement(find_first(p, V_SgExprStatement));
  return s ? s->unparseToString() : "";
}

TEST(Unparse, OneDeclarationPerDeclarator) {
  ParseResult r = parse_text("int *p, q;\nint N, block_size;\nextern int M;\nstatic const int K = 10;\n"
                             "double A[1024][1024];\nint v[3] = {1, 2, 3};\n");
  ASSERT_TRUE(r.ok()) << r.err;
  EXPECT_EQ(declaration_texts(r.project),
            (std::vector<std::string>{"int *p;", "int q;", "int N;", "int block_size;", "extern int M;",
                                      "static const int K = 10;", "double A[1024][1024];",
                                      "int v[3] = {1, 2, 3};"}));
}

TEST(Unparse, ParenthesesOnlyWherePrecedenceNeedsThem) {
  EXPECT_EQ(unparse_statement("x = (a + b) * -c;"), "x = (a + b) * -c;");
  EXPECT_EQ(unparse_statement("x = a - (b - c);"), "x = a - (b - c);");
  EXPECT_EQ(unparse_statement("x = (a - b) - c;"), "x = a - b - c;");
  EXPECT_EQ(unparse_statement("x = - -x;"), "x = -(-x);");
  EXPECT_EQ(unparse_statement("x = - --x;"), "x = -(--x);");
  EXPECT_EQ(unparse_statement("f((a, b));"), "f((a, b));");
  EXPECT_EQ(unparse_statement("x = a[i][j+1];"), "x = a[i][j + 1];");
  EXPECT_EQ(unparse_statement("x=(double)x+sizeof(int)+i++;"), "x = (double)x + sizeof(int) + i++;");
  EXPECT_EQ(unparse_statement("x = !x && (a || b);"), "x = !x && (a || b);");
  EXPECT_EQ(unparse_statement("x = a = b;"), "x = a = b;");
  EXPECT_EQ(unparse_statement("x = (a ? b : c) ? d : e;"), "x = (a ? b : c) ? d : e;");
  EXPECT_EQ(unparse_statement("x = a ? b : c ? d : e;"), "x = a ? b : c ? d : e;");
  EXPECT_EQ(unparse_statement("(*p)++;"), "(*p)++;");
  EXPECT_EQ(unparse_statement("x = (double)(a + b);"), "x = (double)(a + b);");
}

TEST(Unparse, PragmaTextIsTrimmedAndCommentFree) {
  SgProject* p = parse_body("#pragma   tile_size[4][8]  // c\nx = 1;");
  SgPragma* pr = isSgPragma(find_first(p, V_SgPragma));
  ASSERT_NE(pr, nullptr);
  EXPECT_EQ(pr->get_pragma(), "tile_size[4][8]");
  EXPECT_EQ(isSgPragmaDeclaration(find_first(p, V_SgPragmaDeclaration))->get_pragma(), pr);
  EXPECT_NE(p->unparseToCompleteString().find("\n  #pragma tile_size[4][8]\n"), std::string::npos);
  SgPragma* inner = isSgPragma(find_first(parse_body("#pragma tile_hyperplans[t] /* x */ [t + i]"), V_SgPragma));
  EXPECT_EQ(inner->get_pragma(), "tile_hyperplans[t]   [t + i]");
}

TEST(Unparse, LiteralsKeepTheirSpelling) {
  EXPECT_EQ(unparse_statement("x = 0x10 + 1e-3 + 2.0 + 10L + 'a' + \"s\";"), "x = 0x10 + 1e-3 + 2.0 + 10L + 'a' + \"s\";");
}

TEST(Unparse, CarrierLinesGiveElevenDeclarations) {
  const std::vector<std::string> carriers = {
      "int******************** tile_group;", "int******************** tile_size;",
      "int******************** tile_hyperplans;", "int******************** parallelize;",
      "int******************** schedule;", "int******************** bound;", "int output__;", "int __T;",
      "int******************** tile_ratio;", "int******************** tile_lattice;",
      "int******************** tile_shape;"};
  std::string text;
  for (const std::string& c : carriers) text += c + "\n";
  ParseResult r = parse_text(text + "int main() { tile_size[4][8] = 0; schedule [i][j] = 0; }\n");
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<std::string> texts = declaration_texts(r.project);
  ASSERT_EQ(texts.size(), 11u);
  EXPECT_EQ(texts[0], "int ********************tile_group;");
  EXPECT_EQ(texts[6], "int output__;");
  EXPECT_EQ(texts[7], "int __T;");
  ParseResult again = parse_text(r.project->unparseToCompleteString());
  ASSERT_TRUE(again.ok()) << again.err;
  EXPECT_EQ(declaration_texts(again.project), texts);
}

TEST(Unparse, StringHoldingPragmaStaysInItsLine) {
  SgProject* p = parse_body("printf(\"#pragma x\\n\");");
  EXPECT_NE(p->unparseToCompleteString().find("  printf(\"#pragma x\\n\");\n"), std::string::npos);
}

TEST(Unparse, BracesStayWhereTheSourceHadThem) {
  ParseResult r = parse_text(
      "void f() { if (a) { x = 1; } else if (b) x = 2; else { x = 3; } for (;;) { } while (a) x--; do x++; while (x); }");
  ASSERT_TRUE(r.ok()) << r.err;
  EXPECT_EQ(r.project->unparseToCompleteString(),
            "void f() {\n"
            "  if (a) {\n    x = 1;\n  } else if (b)\n    x = 2;\n  else {\n    x = 3;\n  }\n"
            "  for (;;) {\n  }\n"
            "  while (a)\n    x--;\n"
            "  do\n    x++;\n  while (x);\n"
            "}\n");
}

TEST(Unparse, DirectivesAreKeptVerbatimAtTheirPlace) {
  ParseResult r = parse_text("#include <stdio.h> /* io */\nint a;\nvoid f() {\n  a = 1;\n#define Z 3\n}\n#undef Z\n");
  ASSERT_TRUE(r.ok()) << r.err;
  EXPECT_EQ(r.project->unparseToCompleteString(),
            "#include <stdio.h>\nint a;\nvoid f() {\n  a = 1;\n#define Z 3\n}\n#undef Z\n");
  // Directives are no nodes: the global scope holds the two declarations.
  EXPECT_EQ(r.project->get_files()[0]->get_globalScope()->get_numberOfTraversalSuccessors(), 2u);
}

TEST(Unparse, ProjectWithoutFileIsEmpty) {
  ParseResult r = run_frontend({"tarvex"});
  EXPECT_EQ(r.project->unparseToCompleteString(), "");
}

TEST(Unparse, OperatorTableGivesCTokens) {
  const SgOperatorInfo* ne = sg_operator_info(V_SgNotEqualOp);
  ASSERT_NE(ne, nullptr);
  EXPECT_STREQ(ne->token, "!=");
  EXPECT_EQ(ne->arity, 2);
  EXPECT_EQ(ne->precedence, 9);
  EXPECT_STREQ(sg_operator_info(V_SgNotOp)->token, "!");
  EXPECT_EQ(sg_operator_info(V_SgNotOp)->arity, 1);
  EXPECT_LT(sg_operator_info(V_SgAddOp)->precedence, sg_operator_info(V_SgMultiplyOp)->precedence);
  EXPECT_TRUE(sg_operator_info(V_SgAssignOp)->right_assoc);
  EXPECT_EQ(sg_operator_info(V_SgIntVal), nullptr);
  EXPECT_EQ(sg_operator_info(V_SgForStatement), nullptr);
}

}  // namespace
