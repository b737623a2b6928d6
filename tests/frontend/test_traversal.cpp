// Traversals, and nodes built by callers over parsed ones.
#include <gtest/gtest.h>

#include "FrontendTestSupport.h"

namespace {

struct Names : AstTopDownProcessing<int> {
  std::vector<std::string> seen;
  int evaluateInheritedAttribute(SgNode* n, int depth) override {
    seen.push_back(std::string(static_cast<std::size_t>(depth), ' ') + n->class_name());
    return depth + 1;
  }
};

TEST(Traversal, TopDownIsPreOrderInDocumentOrderAndSkipsNulls) {
  ParseResult r = parse_text("int a;\nvoid f() { if (a) a = 1; }\n");
  ASSERT_TRUE(r.ok());
  Names t;
  t.traverseInputFiles(r.project, 0);
  EXPECT_EQ(t.seen, (std::vector<std::string>{"SgSourceFile", " SgGlobal", "  SgVariableDeclaration",
                                              "   SgInitializedName", "  SgFunctionDeclaration",
                                              "   SgFunctionParameterList", "   SgFunctionDefinition",
                                              "    SgBasicBlock", "     SgIfStmt", "      SgExprStatement",
                                              "       SgVarRefExp", "      SgExprStatement", "       SgAssignOp",
                                              "        SgVarRefExp", "        SgIntVal"}));
}

// Counts its copy constructions; assignment is forbidden.
struct Counted {
  static int copies;
  int depth = 0;
  Counted() = default;
  Counted(const Counted& o) : depth(o.depth) { ++copies; }
  Counted& operator=(const Counted&) = delete;
};
int Counted::copies = 0;

struct CopyCheck : AstTopDownProcessing<Counted> {
  std::vector<const Counted*> received;
  Counted evaluateInheritedAttribute(SgNode*, Counted a) override {
    received.push_back(&a);
    Counted out(a);
    ++out.depth;
    return out;
  }
};

TEST(Traversal, EachChildReceivesItsOwnCopy) {
  SgProject* p = parse_body("x = a + b;");
  SgAddOp* add = isSgAddOp(find_first(p, V_SgAddOp));
  ASSERT_NE(add, nullptr);
  Counted::copies = 0;
  CopyCheck t;
  t.traverse(add, Counted());
  // One copy into each evaluation, and the result copied out of it.
  EXPECT_EQ(t.received.size(), 3u);
  EXPECT_GE(Counted::copies, 3);
}

struct Sizes : AstBottomUpProcessing<std::string> {
  std::string evaluateSynthesizedAttribute(SgNode* n, SynthesizedAttributesList list) override {
    std::string s = n->class_name() + "(";
    for (std::size_t i = 0; i < list.size(); ++i) s += (i ? "," : "") + list[i];
    return s + ")";
  }
  std::string defaultSynthesizedAttribute() override { return "-"; }
};

TEST(Traversal, BottomUpHasOneEntryPerSuccessorWithDefaultsForNull) {
  SgProject* p = parse_body("if (a) b = -c;");
  Sizes t;
  EXPECT_EQ(t.traverse(find_first(p, V_SgIfStmt)),
            "SgIfStmt(SgExprStatement(SgVarRefExp()),SgExprStatement(SgAssignOp(SgVarRefExp(),"
            "SgMinusOp(SgVarRefExp()))),-)");
  EXPECT_EQ(t.traverse(nullptr), "-");
}

TEST(Traversal, ConstructedNodesShareParsedOperandsAndChangeNothing) {
  ParseResult r = parse_text("int main() {\n  for (i = 0; i < N; i++)\n    if (i > 2) a = 1; else a = 2;\n}\n");
  ASSERT_TRUE(r.ok()) << r.err;
  const std::string before = r.project->unparseToCompleteString();
  SgForStatement* f = isSgForStatement(find_first(r.project, V_SgForStatement));
  SgAssignOp* init = isSgAssignOp(isSgExprStatement(f->get_init_stmt()[0])->get_expression());
  SgGreaterOrEqualOp* ge =
      new SgGreaterOrEqualOp(f->get_file_info(), init->get_lhs_operand(), init->get_rhs_operand(), new SgTypeBool());
  EXPECT_EQ(ge->unparseToString(), "i >= 0");
  EXPECT_EQ(ge->get_lhs_operand(), init->get_lhs_operand());
  EXPECT_EQ(ge->get_file_info(), f->get_file_info());
  EXPECT_EQ(ge->variantT(), 136);

  SgIfStmt* s = isSgIfStmt(find_first(r.project, V_SgIfStmt));
  SgIfStmt* then_only = new SgIfStmt(s->get_file_info(), s->get_conditional(), s->get_true_body(), nullptr);
  SgIfStmt* else_only = new SgIfStmt(s->get_file_info(), s->get_conditional(), nullptr, s->get_false_body());
  SgBasicBlock* block = new SgBasicBlock(s->get_file_info(), then_only);
  block->append_statement(else_only);
  EXPECT_EQ(block->unparseToString(), "{\n  if (i > 2)\n    a = 1;\n  if (i > 2)\n    ;\n  else\n    a = 2;\n}");

  Names top;
  top.traverse(block, 0);
  EXPECT_EQ(top.seen.size(), 19u);
  Sizes bottom;
  EXPECT_EQ(bottom.traverse(else_only),
            "SgIfStmt(SgExprStatement(SgGreaterThanOp(SgVarRefExp(),SgIntVal())),-,"
            "SgExprStatement(SgAssignOp(SgVarRefExp(),SgIntVal())))");
  EXPECT_EQ(r.project->unparseToCompleteString(), before);
  EXPECT_EQ(s->get_true_body()->unparseToString(), "a = 1;");
}

}  // namespace
