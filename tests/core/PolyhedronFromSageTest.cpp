// Polyhedra of C conditions parsed by the front end.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "CoreTest.h"
#include "Domain.h"
#include "Polyhedron.h"
#include "PolyhedronBuilders.h"
#include "PolyhedronTestSupport.h"
#include "Rank.h"
#include "SyntaxTree.h"
#include "TruncatedDivision.h"

namespace {

// The first if statement below n, in document order.
SgIfStmt* first_if(SgNode* n) {
  if (!n) return nullptr;
  if (SgIfStmt* s = isSgIfStmt(n)) return s;
  for (SgNode* child : n->get_traversalSuccessorContainer())
    if (SgIfStmt* s = first_if(child)) return s;
  return nullptr;
}

// The condition of "if (<condition>) ;" inside a function, parsed from a
// file of its own.
SgExpression* parse_condition(const std::string& condition) {
  // One file per process: ctest runs the tests side by side.
  const std::string file = "polyhedron_condition_" + std::to_string(getpid()) + ".c";
  std::ofstream(file) << "int min(int x, int y);\nint max(int x, int y);\n"
                      << "void f(int i, int N, int M, int K, int a, int b, int c) {\n"
                      << "  if (" << condition << ") ;\n}\n";
  std::vector<std::string> args{"tarvex", file};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  SgProject* project = frontend((int)argv.size(), argv.data());
  std::remove(file.c_str());
  SgIfStmt* s = first_if(project);
  if (!s) return nullptr;
  return isSgExprStatement(s->get_conditional())->get_expression();
}

class PolyhedronFromSage : public ::testing::Test {
 protected:
  // The box of the condition's polyhedron, and what it printed.
  static std::string box_of(const std::string& condition, std::string* printed = nullptr) {
    SgExpression* e = parse_condition(condition);
    EXPECT_NE(e, nullptr) << condition;
    if (!e) return "";
    testing::internal::CaptureStdout();
    Polyhedron* p = Polyhedron::from_Sage(e);
    std::string out = testing::internal::GetCapturedStdout();
    if (printed) *printed = out;
    std::string text = box(p);
    delete p;
    return text;
  }

  // The run stops with exit status 1 and this line on standard output.
  static void expect_stop(const std::string& condition, const std::string& message) {
    SgExpression* e = parse_condition(condition);
    ASSERT_NE(e, nullptr) << condition;
    ChildRun r = run_in_child([&] { Polyhedron::from_Sage(e); });
    EXPECT_EQ(r.status, 1) << condition;
    EXPECT_EQ(r.out, message + "\n") << condition;
  }

  FreshRegistry registry{{"i"}, {}};
};

TEST_F(PolyhedronFromSage, PlainComparisonsAndConjunctions) {
  EXPECT_EQ(box_of("i < N && i >= 0"), "/\n| i < N\n| i >= 0\n\\\n");
  EXPECT_EQ(box_of("i <= floor((N+1)/2)"), "/\n| i <= floor(N+1,2)\n\\\n");
  EXPECT_EQ(box_of("i == 2*N"), "/\n| i = 2*N\n\\\n");
  // A min on the left side is handed whole to the constraint reader.
  expect_stop("min(a, b) > i", "Expression::from_Sage: floor/ceil expected:min(a, b)");
}

TEST_F(PolyhedronFromSage, BooleanLiteralsPrintAndHoldOneConstraint) {
  std::string printed;
  EXPECT_EQ(box_of("true", &printed), "/\n| 0 >= 0\n\\\n");
  EXPECT_EQ(printed, "true\n");
  EXPECT_EQ(box_of("false", &printed), "/\n| 0 > 0\n\\\n");
  EXPECT_EQ(printed, "false\n");
}

TEST_F(PolyhedronFromSage, MinAndMaxBoundsUnfoldLastArgumentFirst) {
  EXPECT_EQ(box_of("i <= min(N, M)"), "/\n| i <= M\n| i <= N\n\\\n");
  EXPECT_EQ(box_of("i < min(N, M)"), "/\n| i <= M-1\n| i <= N-1\n\\\n");
  EXPECT_EQ(box_of("i < min(min(a, b), c)"), "/\n| i <= c-1\n| i <= b-1\n| i <= a-1\n\\\n");
  EXPECT_EQ(box_of("i >= max(0, K)"), "/\n| i >= K\n| i >= 0\n\\\n");
  EXPECT_EQ(box_of("i > max(a, b)"), "/\n| i > b\n| i > a\n\\\n");
  // Nested in either argument.
  EXPECT_EQ(box_of("i < min(a, min(b, c))"), "/\n| i <= c-1\n| i <= b-1\n| i <= a-1\n\\\n");
  EXPECT_EQ(box_of("i >= max(max(a, b), max(c, K))"), "/\n| i >= K\n| i >= c\n| i >= b\n| i >= a\n\\\n");
}

TEST_F(PolyhedronFromSage, UnhandledConditionsStop) {
  expect_stop("i <= max(N, M)", "Polyhedron::from_Sage: < max unhandled");
  expect_stop("i == min(N, M)", "Polyhedron::from_Sage: > min unhandled");
  expect_stop("i > min(N, M)", "Polyhedron::from_Sage: > min unhandled");
  expect_stop("i == max(N, M)", "Polyhedron::from_Sage: = max unhandled");
  // The left side is read before the equality against max is refused.
  expect_stop("abs(i) == max(N, M)", "Expression::from_Sage: floor/ceil expected:abs(i)");
  expect_stop("i != N", "Polyhedron::from_Sage: SgNotEqualOp unhandled");
  expect_stop("i || N", "Polyhedron::from_Sage: SgOrOp unhandled");
  expect_stop("i", "Polyhedron::fromSage: invalid expression SgVarRefExp");
  expect_stop("1", "Polyhedron::fromSage: invalid expression SgIntVal");
  // min/max calls must have exactly two arguments: a third would be lost.
  expect_stop("i < min(N)", "Polyhedron::get_rhs: function with less than two arguments");
  expect_stop("i < min(a, b, c)",
              "Polyhedron::from_Sage: min/max with more than two arguments unhandled");
  expect_stop("i >= max(max(b, c, K), a)",
              "Polyhedron::from_Sage: min/max with more than two arguments unhandled");
}

// The domain of C's truncating division: the floor reading stays where it
// has the same points, else one piece per sign of the quotient.
TEST_F(PolyhedronFromSage, TruncatingDivisions) {
  auto exact = [](const std::string& condition) {
    SgExpression* e = parse_condition(condition);
    Polyhedron* p = Polyhedron::from_Sage(e);
    Polyhedron* q = with_truncating_divisions(p);
    std::ostringstream out;
    out << *q;
    delete p;
    delete q;
    return out.str();
  };
  // No quotient is negative where some i is left: bounds as written.
  EXPECT_EQ(exact("i >= 0 && i < N / 2"), "/\n| i >= 0\n| i < N/2\n\\\n");
  EXPECT_EQ(exact("i >= N / 2 && i < N"), "/\n| i >= N/2\n| i < N\n\\\n");
  // N = -3: C starts at -1, the floor at -2; only negative N is left.
  EXPECT_EQ(exact("i >= N / 2 && i < 0"), "/\n| i >= -1*((-1*N)/2)\n| i < 0\n| N <= -1\n\\\n");
  // A negative divisor (C source writes it as a negation, which stops, but
  // the model can hold one): the quotient is < 0 where N >= 1.
  Expression i("i"), n("N"), zero(0), minus_two(-2);
  Expression quotient(DIV, &n, &minus_two);
  Inequation low(GREATER_EQ, &i, &quotient), high(LESS, &i, &zero);
  Polyhedron p(&low);
  p.add_constraint(&high);
  Polyhedron* q = with_truncating_divisions(&p);
  EXPECT_EQ(box(q), "/\n| i >= -1*((-1*N)/-2)\n| i < 0\n| N >= 1\n\\\n");
  delete q;
  // Both signs of i - 10 hold points: two pieces.
  std::string both = exact("i >= 0 && i < 20 && M <= (i - 10) / 4");
  EXPECT_NE(both.find("| M <= (i-10)/4\n| i-10 >= 0\n"), std::string::npos) << both;
  EXPECT_NE(both.find("| M <= -1*((-1*(i-10))/4)\n| i-10 <= -1\n"), std::string::npos) << both;
  // A domain without any point keeps one (empty) piece.
  EXPECT_EQ(exact("i >= N / 2 && i < N / 2"), "/\n| i >= N/2\n| i < N/2\n| N >= 0\n\\\n");
}

TEST_F(PolyhedronFromSage, TruncatingDivisionsStop) {
  auto exact = [](const std::string& condition) {
    Polyhedron* p = Polyhedron::from_Sage(parse_condition(condition));
    with_truncating_divisions(p);
  };
  EXPECT_STOP_ON_STDERR(exact("i < N / 0"), "Expression::print_iscc: constant non-zero divisor expected: N/0");
  EXPECT_STOP_ON_STDERR(exact("i < N / M"), "Expression::print_iscc: constant non-zero divisor expected: N/M");
  EXPECT_STOP_ON_STDOUT(exact("i < N/2 + N/3 + N/4 + N/5 + N/6 + N/7 + N/8 + N/9 + N/10"),
                        "Program::from_Sage: more than 8 integer divisions in the bounds of one statement");
}

}  // namespace
