// Node kinds, codes, child order and accessors of parsed C.
#include <gtest/gtest.h>

#include "FrontendTestSupport.h"
#include "TreeDump.h"

namespace {

std::vector<int> preorder_codes(SgNode* n) {
  std::vector<int> codes;
  if (!n) return codes;
  codes.push_back(n->variantT());
  for (SgNode* c : n->get_traversalSuccessorContainer())
    for (int k : preorder_codes(c)) codes.push_back(k);
  return codes;
}

SgExpression* expression_of(const std::string& expr) {
  SgProject* p = parse_body("x = " + expr + ";");
  SgAssignOp* a = isSgAssignOp(first_expression(p));
  return a ? a->get_rhs_operand() : nullptr;
}

TEST(Nodes, SubscriptsNestLeftWithFixedCodes) {
  SgExpression* e = expression_of("a[i][j+1]");
  EXPECT_EQ(preorder_codes(e), (std::vector<int>{151, 151, 96, 96, 137, 96, V_SgIntVal}));
  SgPntrArrRefExp* outer = isSgPntrArrRefExp(e);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->get_lhs_operand()->variantT(), V_SgPntrArrRefExp);
  EXPECT_EQ(isSgAddOp(outer->get_rhs_operand())->get_lhs_operand()->unparseToString(), "j");
}

TEST(Nodes, ForStatementChildrenInOrder) {
  SgProject* p = parse_body("for (i = 0; i < N; i++) S = 1;");
  SgForStatement* f = isSgForStatement(find_first(p, V_SgForStatement));
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->get_numberOfTraversalSuccessors(), 4u);
  EXPECT_EQ(f->get_traversalSuccessorByIndex(0)->variantT(), V_SgForInitStatement);
  EXPECT_EQ(f->get_for_init_stmt()->variantT(), 184);
  ASSERT_EQ(f->get_init_stmt().size(), 1u);
  SgExprStatement* init = isSgExprStatement(f->get_init_stmt()[0]);
  ASSERT_NE(init, nullptr);
  EXPECT_EQ(init->get_expression()->variantT(), 153);
  SgExprStatement* test = isSgExprStatement(f->get_test());
  ASSERT_NE(test, nullptr);
  EXPECT_EQ(test->get_expression()->variantT(), 132);
  SgPlusPlusOp* inc = isSgPlusPlusOp(f->get_increment());
  ASSERT_NE(inc, nullptr);
  EXPECT_EQ(inc->get_mode(), SgUnaryOp::postfix);
  EXPECT_EQ(f->get_loop_body()->unparseToString(), "S = 1;");
  EXPECT_EQ(f->get_traversalSuccessorByIndex(4), nullptr);
}

TEST(Nodes, EmptyForHeaderGivesNullStatementAndNullExpression) {
  SgForStatement* f = isSgForStatement(find_first(parse_body("for (;;) break;"), V_SgForStatement));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->get_init_stmt().size(), 0u);
  EXPECT_NE(isSgNullStatement(f->get_test()), nullptr);
  EXPECT_NE(isSgNullExpression(f->get_increment()), nullptr);
  EXPECT_NE(isSgBreakStmt(f->get_loop_body()), nullptr);
  EXPECT_EQ(f->unparseToString(), "for (;;)\n  break;");
}

TEST(Nodes, C99ForHeaderDeclarationsAreSeparateDeclarations) {
  SgForStatement* f =
      isSgForStatement(find_first(parse_body("for (int a = 0, b = 0; a < b; a++) ;"), V_SgForStatement));
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->get_init_stmt().size(), 2u);
  EXPECT_EQ(f->get_init_stmt()[0]->unparseToString(), "int a = 0;");
  EXPECT_EQ(f->get_init_stmt()[1]->unparseToString(), "int b = 0;");
  EXPECT_EQ(f->unparseToString(), "for (int a = 0, b = 0; a < b; a++)\n  ;");
}

TEST(Nodes, FloorCallHasNoParenthesisNode) {
  SgFunctionCallExp* call = isSgFunctionCallExp(expression_of("floor((N+1)/2)"));
  ASSERT_NE(call, nullptr);
  EXPECT_EQ(call->variantT(), 100);
  SgFunctionRefExp* callee = isSgFunctionRefExp(call->get_traversalSuccessorByIndex(0));
  ASSERT_NE(callee, nullptr);
  EXPECT_EQ(callee->get_symbol()->get_name().getString(), "floor");
  EXPECT_EQ(call->get_callee_name(), "floor");
  SgExprListExp* args = isSgExprListExp(call->get_traversalSuccessorByIndex(1));
  ASSERT_NE(args, nullptr);
  EXPECT_EQ(args, call->get_args());
  ASSERT_EQ(args->get_expressions().size(), 1u);
  SgDivideOp* div = isSgDivideOp(args->get_expressions()[0]);
  ASSERT_NE(div, nullptr);
  EXPECT_EQ(div->get_lhs_operand()->variantT(), V_SgAddOp);
}

TEST(Nodes, SignsAreNotFoldedAndTruthValuesAreLiterals) {
  SgMinusOp* neg = isSgMinusOp(expression_of("-1"));
  ASSERT_NE(neg, nullptr);
  EXPECT_EQ(neg->variantT(), 117);
  ASSERT_NE(isSgIntVal(neg->get_operand()), nullptr);
  EXPECT_EQ(isSgIntVal(neg->get_operand())->get_value(), 1);
  SgBoolValExp* t = isSgBoolValExp(expression_of("true"));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->variantT(), 164);
  EXPECT_EQ(t->get_value(), 1);
  EXPECT_EQ(isSgBoolValExp(expression_of("false"))->get_value(), 0);
  EXPECT_NE(isSgValueExp(t), nullptr);
}

TEST(Nodes, DeclarationInitializerIsNoAssignment) {
  SgProject* p = parse_body("double t = 0;");
  EXPECT_EQ(find_first(p, V_SgAssignOp), nullptr);
  SgVariableDeclaration* d = isSgVariableDeclaration(find_first(p, V_SgVariableDeclaration));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->variantT(), 196);
  SgInitializedName* n = d->get_variables().at(0);
  EXPECT_EQ(n->get_name().getString(), "t");
  SgAssignInitializer* init = isSgAssignInitializer(n->get_initializer());
  ASSERT_NE(init, nullptr);
  EXPECT_EQ(init->get_operand()->unparseToString(), "0");
}

TEST(Nodes, IfWithoutElseHasNullThirdSuccessor) {
  SgIfStmt* s = isSgIfStmt(find_first(parse_body("if (i < N) x = 1;"), V_SgIfStmt));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->variantT(), 190);
  ASSERT_EQ(s->get_numberOfTraversalSuccessors(), 3u);
  EXPECT_EQ(s->get_traversalSuccessorByIndex(2), nullptr);
  EXPECT_EQ(s->get_false_body(), nullptr);
  EXPECT_EQ(isSgExprStatement(s->get_conditional())->get_expression()->variantT(), 132);
}

TEST(Nodes, EmptyElseBranchesHaveNoChildren) {
  SgIfStmt* a = isSgIfStmt(find_first(parse_body("if (i) x = 1; else ;"), V_SgIfStmt));
  SgIfStmt* b = isSgIfStmt(find_first(parse_body("if (i) x = 1; else {}"), V_SgIfStmt));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->get_false_body()->get_numberOfTraversalSuccessors(), 0u);
  EXPECT_EQ(b->get_false_body()->get_numberOfTraversalSuccessors(), 0u);
}

TEST(Nodes, TypedefNameDecidesBetweenDeclarationAndExpression) {
  ParseResult with = parse_text("typedef int T;\nvoid f() { T * x; }\n");
  ASSERT_TRUE(with.ok()) << with.err;
  EXPECT_NE(find_first(with.project, V_SgVariableDeclaration), nullptr);
  EXPECT_EQ(find_first(with.project, V_SgMultiplyOp), nullptr);
  SgProject* without = parse_body("T * x;");
  EXPECT_EQ(find_first(without, V_SgVariableDeclaration), nullptr);
  EXPECT_NE(find_first(without, V_SgMultiplyOp), nullptr);
  // A variable of an inner block hides the type name there only.
  ParseResult hidden = parse_text("typedef int T;\nvoid f() { { int T; T * x; } T * y; }\n");
  ASSERT_TRUE(hidden.ok()) << hidden.err;
  EXPECT_EQ(find_all(hidden.project, V_SgMultiplyOp).size(), 1u);
  EXPECT_EQ(find_all(hidden.project, V_SgVariableDeclaration).size(), 2u);
}

struct KindCase {
  const char* expr;
  const char* class_name;
  int code;
};

TEST(Nodes, ClassNamesAndCodesOfExpressionKinds) {
  const KindCase cases[] = {
      {"a != b", "SgNotEqualOp", V_SgNotEqualOp}, {"a || b", "SgOrOp", V_SgOrOp},
      {"a && b", "SgAndOp", 143},                 {"a == b", "SgEqualityOp", 131},
      {"a > b", "SgGreaterThanOp", 133},          {"a <= b", "SgLessOrEqualOp", 135},
      {"a >= b", "SgGreaterOrEqualOp", 136},      {"a - b", "SgSubtractOp", 138},
      {"a * b", "SgMultiplyOp", 139},             {"a / b", "SgDivideOp", 140},
      {"a % b", "SgModOp", 142},                  {"(double)a", "SgCastExp", 125},
      {"f(a)", "SgFunctionCallExp", 100},         {"a", "SgVarRefExp", 96},
      {"!a", "SgNotOp", V_SgNotOp},               {"~a", "SgBitComplementOp", V_SgBitComplementOp},
      {"a ? b : c", "SgConditionalExp", V_SgConditionalExp}, {"a << b", "SgLshiftOp", V_SgLshiftOp},
      {"&a", "SgAddressOfOp", V_SgAddressOfOp},   {"*a", "SgPointerDerefExp", V_SgPointerDerefExp},
      {"s.f", "SgDotExp", V_SgDotExp},            {"s->f", "SgArrowExp", V_SgArrowExp},
      {"sizeof(int)", "SgSizeOfOp", V_SgSizeOfOp}, {"+a", "SgUnaryAddOp", V_SgUnaryAddOp},
      {"a | b", "SgBitOrOp", V_SgBitOrOp},        {"a ^ b", "SgBitXorOp", V_SgBitXorOp},
      {"a & b", "SgBitAndOp", V_SgBitAndOp},      {"a >> b", "SgRshiftOp", V_SgRshiftOp},
      {"1.5", "SgDoubleVal", V_SgDoubleVal},      {"2", "SgIntVal", V_SgIntVal},
  };
  for (const KindCase& c : cases) {
    SgExpression* e = expression_of(c.expr);
    ASSERT_NE(e, nullptr) << c.expr;
    EXPECT_EQ(e->class_name(), c.class_name) << c.expr;
    EXPECT_EQ(e->variantT(), c.code) << c.expr;
  }
}

TEST(Nodes, StatementClassNames) {
  SgProject* p = parse_body("#pragma x\nwhile (a) { a--; continue; }\ndo a++; while (a);\nreturn 0;");
  EXPECT_EQ(find_first(p, V_SgPragma)->class_name(), "SgPragma");
  EXPECT_EQ(find_first(p, V_SgPragma)->variantT(), 29);
  EXPECT_EQ(find_first(p, V_SgPragmaDeclaration)->class_name(), "SgPragmaDeclaration");
  EXPECT_EQ(find_first(p, V_SgWhileStmt)->class_name(), "SgWhileStmt");
  EXPECT_EQ(find_first(p, V_SgDoWhileStmt)->class_name(), "SgDoWhileStmt");
  EXPECT_EQ(find_first(p, V_SgReturnStmt)->class_name(), "SgReturnStmt");
  EXPECT_EQ(find_first(p, V_SgContinueStmt)->class_name(), "SgContinueStmt");
  EXPECT_EQ(find_first(p, V_SgMinusMinusOp)->class_name(), "SgMinusMinusOp");
  EXPECT_EQ(find_first(p, V_SgBasicBlock)->class_name(), "SgBasicBlock");
  EXPECT_EQ(find_first(p, V_SgFunctionDeclaration)->class_name(), "SgFunctionDeclaration");
  EXPECT_EQ(p->class_name(), "SgProject");
}

TEST(Nodes, LiteralClassesFollowCTypes) {
  EXPECT_EQ(expression_of("10L")->class_name(), "SgLongIntVal");
  EXPECT_EQ(expression_of("10u")->class_name(), "SgUnsignedIntVal");
  EXPECT_EQ(expression_of("10ull")->class_name(), "SgUnsignedLongLongIntVal");
  EXPECT_EQ(expression_of("10LL")->class_name(), "SgLongLongIntVal");
  EXPECT_EQ(expression_of("0xFFFFFFFF")->class_name(), "SgUnsignedIntVal");
  EXPECT_EQ(expression_of("2147483648")->class_name(), "SgLongIntVal");
  EXPECT_EQ(expression_of("0xFFFFFFFFFFFFFFFF")->class_name(), "SgUnsignedLongVal");
  EXPECT_EQ(expression_of("1.0f")->class_name(), "SgFloatVal");
  EXPECT_EQ(expression_of("1.0L")->class_name(), "SgLongDoubleVal");
  EXPECT_EQ(expression_of("'a'")->class_name(), "SgCharVal");
  EXPECT_EQ(isSgCharVal(expression_of("'\\n'"))->get_value(), '\n');
  EXPECT_EQ(isSgIntVal(expression_of("0x10"))->get_value(), 16);
  EXPECT_EQ(isSgIntVal(expression_of("017"))->get_value(), 15);
  EXPECT_DOUBLE_EQ(isSgDoubleVal(expression_of("1e-3"))->get_value(), 1e-3);
  SgStringVal* s = isSgStringVal(expression_of("\"ab\" \"c\\n\""));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->get_value(), "abc\\n");
  EXPECT_EQ(s->unparseToString(), "\"ab\" \"c\\n\"");
}

TEST(Nodes, CastTypeGivesTheWrittenTypeName) {
  EXPECT_EQ(isSgCastExp(expression_of("(double)x"))->get_type()->unparseToString(), "double");
  EXPECT_EQ(isSgCastExp(expression_of("(unsigned long)x"))->get_type()->unparseToString(), "unsigned long");
  EXPECT_EQ(isSgCastExp(expression_of("(double *)x"))->get_type()->unparseToString(), "double *");
  EXPECT_EQ(isSgCastExp(expression_of("(double)x"))->get_operand()->unparseToString(), "x");
}

TEST(Nodes, CastsReturnNullForOtherKindsAndForNull) {
  SgExpression* e = expression_of("a + b");
  EXPECT_EQ(isSgIntVal(e), nullptr);
  EXPECT_NE(isSgBinaryOp(e), nullptr);
  EXPECT_EQ(isSgUnaryOp(e), nullptr);
  EXPECT_EQ(isSgProject(nullptr), nullptr);
  EXPECT_EQ(isSgPragma(static_cast<SgNode*>(nullptr)), nullptr);
  EXPECT_EQ(isSgValueExp(static_cast<const SgNode*>(nullptr)), nullptr);
  EXPECT_NE(isSgStatement(find_first(parse_body(";"), V_SgNullStatement)), nullptr);
}

TEST(Nodes, PositionsAreOneBasedLineAndByteColumn) {
  ParseResult r = parse_text("int main() {\n\tx  =  y;\n}\n");
  ASSERT_TRUE(r.ok()) << r.err;
  SgAssignOp* a = isSgAssignOp(find_first(r.project, V_SgAssignOp));
  SgNode* y = a->get_rhs_operand();
  EXPECT_EQ(y->get_file_info()->get_line(), 2);
  EXPECT_EQ(y->get_file_info()->get_col(), 8);
  EXPECT_EQ(y->get_file_info()->get_filenameString(), last_path());
}

TEST(Nodes, FunctionsAndParameters) {
  ParseResult r = parse_text("int f(int n, double A[][10], ...);\nvoid g(void) { }\n");
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<SgNode*> fs = find_all(r.project, V_SgFunctionDeclaration);
  ASSERT_EQ(fs.size(), 2u);
  SgFunctionDeclaration* f = isSgFunctionDeclaration(fs[0]);
  EXPECT_EQ(f->get_definition(), nullptr);
  EXPECT_EQ(f->get_traversalSuccessorByIndex(1), nullptr);
  ASSERT_EQ(f->get_parameterList()->get_args().size(), 2u);
  EXPECT_TRUE(f->get_parameterList()->has_ellipsis());
  EXPECT_EQ(f->unparseToString(), "int f(int n, double A[][10], ...);");
  SgFunctionDeclaration* g = isSgFunctionDeclaration(fs[1]);
  ASSERT_NE(g->get_definition(), nullptr);
  EXPECT_EQ(g->get_definition()->get_body()->get_numberOfTraversalSuccessors(), 0u);
  EXPECT_EQ(g->unparseToString(), "void g(void) {\n}");
}

}  // namespace
