// The script language and its messages, run through the library.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <sstream>

#include "Script.h"

namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(const std::string& script, const iscc::CodegenBudget& budget = iscc::kCodegenBudget) {
  std::ostringstream out, err;
  int status = iscc::run_script(script, out, err, budget);
  return {status, out.str(), err.str()};
}

void expect_run(const std::string& script, int status, const std::string& out, const std::string& err) {
  Outcome r = run(script);
  EXPECT_EQ(r.status, status) << script;
  EXPECT_EQ(r.out, out) << script;
  EXPECT_EQ(r.err, err) << script;
}

const std::string kTail =
    "theta := [N] -> { S0[i] -> [i] };\n"
    "tiled_program := theta*D;\n"
    "codegen tiled_program;\n";
const std::string kGood = "D := [N] -> { S0[i] : i >= 0 and i < N};\n" + kTail;
const std::string kGoodNest = "for (long long c0 = 0; c0 < N; c0 += 1)\n  S0(c0);\n";

TEST(ScriptPinned, TwoStatementsInOneNest) {
  expect_run("D0 := [N] -> { S0[i,j] : i >= 0 and i < N and j >= 0 and j < N};\n"
             "D1 := [N] -> { S1[i] : i >= 0 and i < N};\n"
             "D := D0+D1;\n"
             "theta := [N] -> { S0[i,j] -> [i,j]; S1[i] -> [i,0] };\n"
             "tiled_program := theta*D;\n"
             "codegen tiled_program;\n",
             0,
             "for (long long c0 = 0; c0 < N; c0 += 1) {\n"
             "  S1(c0);\n"
             "  for (long long c1 = 0; c1 < N; c1 += 1)\n"
             "    S0(c0, c1);\n"
             "}\n",
             "");
}

// The pieces of a parametric tiling along two dimensions: full tiles run a
// perfect nest of their own, with no test of a tile's kind inside, and each
// kind of partial tile runs its own nest.
TEST(ScriptPinned, FullTilesRunAPerfectNest) {
  const std::string bounds = " : 0 <= inner_N < block_size and ";
  const std::string full0 = "0 <= o0 < outer_N and 0 <= i0 < block_size";
  const std::string full1 = "0 <= o1 < outer_N and 0 <= i1 < block_size";
  const std::string part0 = "o0 = outer_N and 0 <= i0 < inner_N";
  const std::string part1 = "o1 = outer_N and 0 <= i1 < inner_N";
  const std::string piece = "S0[o0,i0,o1,i1]" + bounds;
  expect_run("D := [block_size,outer_N,inner_N] -> { " + piece + full0 + " and " + full1 + "; " + piece +
                 full0 + " and " + part1 + "; " + piece + part0 + " and " + full1 + "; " + piece + part0 +
                 " and " + part1 + " };\n"
                 "theta := [block_size,outer_N,inner_N] -> { S0[o0,i0,o1,i1] -> [o0,o1,i0,i1] };\n"
                 "codegen theta*D;\n",
             0,
             "{\n"
             "  if (block_size >= inner_N + 1 && inner_N >= 0)\n"
             "    for (long long c0 = 0; c0 < outer_N; c0 += 1) {\n"
             "      for (long long c1 = 0; c1 < outer_N; c1 += 1)\n"
             "        for (long long c2 = 0; c2 < block_size; c2 += 1)\n"
             "          for (long long c3 = 0; c3 < block_size; c3 += 1)\n"
             "            S0(c0, c2, c1, c3);\n"
             "      for (long long c2 = 0; c2 < block_size; c2 += 1)\n"
             "        for (long long c3 = 0; c3 < inner_N; c3 += 1)\n"
             "          S0(c0, c2, outer_N, c3);\n"
             "    }\n"
             "  if (block_size >= inner_N + 1) {\n"
             "    for (long long c1 = 0; c1 < outer_N; c1 += 1)\n"
             "      for (long long c2 = 0; c2 < inner_N; c2 += 1)\n"
             "        for (long long c3 = 0; c3 < block_size; c3 += 1)\n"
             "          S0(outer_N, c2, c1, c3);\n"
             "    for (long long c2 = 0; c2 < inner_N; c2 += 1)\n"
             "      for (long long c3 = 0; c3 < inner_N; c3 += 1)\n"
             "        S0(outer_N, c2, outer_N, c3);\n"
             "  }\n"
             "}\n",
             "");
}

// Full tiles of a triangle tiled by squares, given apart: they run a
// perfect nest of their own, and the diagonal tiles no longer share their
// loop (plain codegen tests each tile's kind inside the loop over tiles).
TEST(ScriptPinned, IsolatedFullTilesRunAPerfectNest) {
  const std::string piece = "S0[oi,oj,pi,pj] : 0 <= iN < b and ";
  const std::string full = "0 <= pi < b and 0 <= pj < b and 0 <= oj < oi < oN";
  expect_run("D := [b,oN,iN] -> { " + piece + full + "; " + piece + "0 <= pi < iN and 0 <= pj < b and 0 <= oj < oi = oN; " +
                 piece + "0 <= pj <= pi < b and 0 <= oj = oi < oN; " + piece + "0 <= pj <= pi < iN and oj = oi = oN };\n"
                 "F := [b,oN,iN] -> { " + piece + full + " };\n"
                 "theta := [b,oN,iN] -> { S0[oi,oj,pi,pj] -> [oi,oj,pi,pj] };\n"
                 "codegen theta*D isolating theta*F;\n",
             0,
             "{\n"
             "  if (b >= iN + 1 && iN >= 0)\n"
             "    for (long long c0 = 0; c0 < oN; c0 += 1) {\n"
             "      for (long long c1 = 0; c1 < c0; c1 += 1)\n"
             "        for (long long c2 = 0; c2 < b; c2 += 1)\n"
             "          for (long long c3 = 0; c3 < b; c3 += 1)\n"
             "            S0(c0, c1, c2, c3);\n"
             "      for (long long c2 = 0; c2 < b; c2 += 1)\n"
             "        for (long long c3 = 0; c3 <= c2; c3 += 1)\n"
             "          S0(c0, c0, c2, c3);\n"
             "    }\n"
             "  if (b >= iN + 1) {\n"
             "    for (long long c1 = 0; c1 < oN; c1 += 1)\n"
             "      for (long long c2 = 0; c2 < iN; c2 += 1)\n"
             "        for (long long c3 = 0; c3 < b; c3 += 1)\n"
             "          S0(oN, c1, c2, c3);\n"
             "    for (long long c2 = 0; c2 < iN; c2 += 1)\n"
             "      for (long long c3 = 0; c3 <= c2; c3 += 1)\n"
             "        S0(oN, oN, c2, c3);\n"
             "  }\n"
             "}\n",
             "");
}

TEST(ScriptPinned, SmallForms) {
  expect_run("D0 := [] -> { S0[] : };\nD := D0;\ntheta := [] -> { S0[] -> [0] };\n"
             "tiled_program := theta*D;\ncodegen tiled_program;\n",
             0, "S0();\n", "");
  expect_run("D0 := [N] -> { S0[i] : i <= floor(N+1,2) and i >= 0};\nD := D0;\n" + kTail, 0,
             "for (long long c0 = 0; c0 <= floord(N + 1, 2); c0 += 1)\n  S0(c0);\n", "");
  expect_run("D0 := [] -> { };\nD := D0;\ntheta := [] -> { S0[] -> [0] };\n"
             "tiled_program := theta*D;\ncodegen tiled_program;\n",
             0, "{\n}\n", "");
  // A set is scheduled by its identity.
  expect_run("codegen [N] -> { S0[i] : 0 <= i < N };", 0, kGoodNest, "");
}

TEST(ScriptPinned, ReadsEveryConstraintFormOfTheBackEnd) {
  Outcome r = run("D := [N] -> { S0[i] : (i) >= 0 and i--1 <= N and -1*i <= 0 and "
              "((-1+i)%3) = 0 and (-3+i)+(2*N) >= 0 and i < 32*(N+1) and i < max(N,3) and "
              "i <= floor(N+1,2) and i >= ceil(N,2) and 0 >= 0 and 1 = 1};\n" + kTail);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("S0("), std::string::npos);
  expect_run("codegen [N] -> { S0[i] : 0 <= i < N and 0 > 0 };\ncodegen { S1[] : 1 < 1 };", 0,
             "{\n}\n{\n}\n", "");
}

TEST(ScriptLanguage, OperatorsCombineFromLeftToRight) {
  // (A + B) * C, not A + (B * C).
  expect_run("A := { S0[0] };\r\nB := { S0[1] };\r\nC := { S0[1] };\r\ncodegen A + B * C;\r\n", 0,
             "S0(1);\n", "");
  expect_run("A := { S0[0] };\nB := { S0[1] };\ncodegen A + (B * { S0[0] });\n", 0, "S0(0);\n", "");
  expect_run("m := { S0[i] -> [i] : 0 <= i < 9 } * { S0[i] -> [i] : i < 2 };\n"
             "codegen m * { S0[i] : i >= 1 } + { S1[] -> [5] };\n",
             0, "{\n  S0(1);\n  S1();\n}\n", "");
}

TEST(ScriptLanguage, IsolatedInstancesRunInLoopsOfTheirOwn) {
  // The part need not lie in the schedule: only its common instances count.
  expect_run("codegen { S0[i] : 0 <= i < 10 } isolating { S0[i] : 5 <= i < 20 };\n", 0,
             "{\n  for (long long c0 = 0; c0 <= 4; c0 += 1)\n    S0(c0);\n"
             "  for (long long c0 = 5; c0 <= 9; c0 += 1)\n    S0(c0);\n}\n",
             "");
  expect_run("codegen [N] -> { S0[i] -> [i] : 0 <= i < N } isolating [N] -> { S0[i] -> [i] : 2 <= i < N - 2 };\n", 0,
             "{\n  for (long long c0 = 0; c0 <= min(1, N - 1); c0 += 1)\n    S0(c0);\n"
             "  for (long long c0 = 2; c0 < N - 2; c0 += 1)\n    S0(c0);\n"
             "  for (long long c0 = max(2, N - 2); c0 < N; c0 += 1)\n    S0(c0);\n}\n",
             "");
}

// A date that is a counter up to earlier dates and parameters is scanned as
// that counter, unless another statement shares the dates before it.
TEST(ScriptLanguage, SkewedDatesScanTheirCounters) {
  const std::string skewed = "S0[t,i] -> [t, t + i] : 0 <= t < T and 0 <= i < N";
  expect_run("codegen [T,N] -> { " + skewed + " };\n", 0,
             "for (long long c0 = 0; c0 < T; c0 += 1)\n  for (long long c1 = 0; c1 < N; c1 += 1)\n    S0(c0, c1);\n", "");
  expect_run("codegen [T,N] -> { " + skewed + "; S1[t] -> [t, 0] : 0 <= t < T };\n", 0,
             "for (long long c0 = 0; c0 < T; c0 += 1) {\n  S1(c0);\n"
             "  for (long long c1 = c0; c1 < N + c0; c1 += 1)\n    S0(c0, -c0 + c1);\n}\n",
             "");
  expect_run("codegen [T,N] -> { " + skewed + "; S1[t] -> [t + T, 0] : 0 <= t < T };\n", 0,
             "{\n  for (long long c0 = 0; c0 < T; c0 += 1)\n    for (long long c1 = 0; c1 < N; c1 += 1)\n      S0(c0, c1);\n"
             "  for (long long c0 = T; c0 < 2 * T; c0 += 1)\n    S1(-T + c0);\n}\n",
             "");
}

// Instances of equal dates run in an order of isl's choosing, which a split
// statement could change: a statement that shares a date, with another
// statement or with itself, is generated whole.
TEST(ScriptLanguage, StatementsWithSharedDatesAreNotSplit) {
  const std::string two = "S := [N] -> { S0[i] -> [i,0] : 0 <= i < N; S1[i] -> [i,0] : 0 <= i < N };\n";
  const std::string part = "[N] -> { S0[i] -> [i,0] : 2 <= i < N - 2 }";
  Outcome plain = run(two + "codegen S;\n");
  expect_run(two + "codegen S isolating " + part + ";\n", 0, plain.out, "");
  const std::string own = "T := [N] -> { S0[i,j] -> [i] : 0 <= i < N and 0 <= j < 2 };\n";
  plain = run(own + "codegen T;\n");
  expect_run(own + "codegen T isolating [N] -> { S0[i,j] -> [i] : 2 <= i < N - 2 and 0 <= j < 2 };\n", 0,
             plain.out, "");
}

TEST(ScriptLanguage, AssignmentsReplaceAndCopy) {
  expect_run("x := { S0[0] };\nx := { S0[1] };\ny := x;\nx := { S0[2] };\ncodegen y;\n", 0,
             "S0(1);\n", "");
  // A failed assignment keeps the earlier value.
  expect_run("x := { S0[0] };\nx := x + y;\ncodegen x;\n", 1, "S0(0);\n",
             "iscc: line 2: unknown identifier 'y'\n");
}

TEST(ScriptLanguage, ScriptWithoutCodegenPrintsNothing) {
  expect_run("D := [N] -> { S0[i] : i >= 0 and i < N};\n\n", 0, "", "");
  expect_run("", 0, "", "");
}

TEST(ScriptErrors, EmptyUnionLineFailsTheScript) {
  expect_run("D := ;\n" + kTail, 1, "",
             "iscc: line 1: expected identifier, literal or '(', found ';'\n"
             "iscc: line 3: unknown identifier 'D'\n"
             "iscc: line 4: unknown identifier 'tiled_program'\n");
  // Recovery resumes right after the offending ";".
  expect_run("D := ; codegen { S0[] };\n", 1, "S0();\n",
             "iscc: line 1: expected identifier, literal or '(', found ';'\n");
}

TEST(ScriptErrors, UnknownIdentifiers) {
  expect_run("D := [N] -> { S0[i] : i >= 0 and i < N};\ncodegen tiled_program;\n", 1, "",
             "iscc: line 2: unknown identifier 'tiled_program'\n");
}

TEST(ScriptErrors, LiteralsIslCannotRead) {
  const std::string theta = "[N] -> { S0[i] -> [i+__T] }";
  expect_run("D := [N] -> { S0[i] : i >= 0 and i < N};\ntheta := " + theta +
                 ";\ntiled_program := theta*D;\ncodegen tiled_program;\n",
             1, "",
             "iscc: line 2: cannot read literal (syntax error): " + theta + "\n"
             "iscc: line 3: unknown identifier 'theta'\n"
             "iscc: line 4: unknown identifier 'tiled_program'\n");
  const std::string d = "[MAX] -> { S0[i] : i >= 0 and i < MAX}";
  expect_run("D := " + d + ";\n" + kTail, 1, "",
             "iscc: line 1: cannot read literal (syntax error): " + d + "\n"
             "iscc: line 3: unknown identifier 'D'\n"
             "iscc: line 4: unknown identifier 'tiled_program'\n");
  // The message shows the text as given to isl, after the floor rewrite.
  expect_run("D := { S0[i] : i <= floor(2,1) and max < 2 };", 1, "",
             "iscc: line 1: cannot read literal (syntax error): { S0[i] : i <= floor((2)/1) and max < 2 }\n");
  expect_run("D := { S0[i] : i <= floor(N, 0) };", 1, "",
             "iscc: line 1: floor/ceil divisor must be a positive integer constant: '0'\n");
  expect_run("D := { [i] -> 2 };", 1, "",
             "iscc: line 1: cannot read literal (neither a set nor a map): { [i] -> 2 }\n");
}

TEST(ScriptErrors, OperandsOfTheWrongKind) {
  std::string head = "D := [N] -> { S0[i] : i >= 0 and i < N};\ntheta := [N] -> { S0[i] -> [i] };\n";
  expect_run(head + "tiled_program := D*theta;\ncodegen tiled_program;\n", 1, "",
             "iscc: line 3: '*' is not defined for set and map\n"
             "iscc: line 4: unknown identifier 'tiled_program'\n");
  expect_run(head + "x := D+theta;\ny := theta+D;\n", 1, "",
             "iscc: line 3: '+' is not defined for set and map\n"
             "iscc: line 4: '+' is not defined for map and set\n");
}

TEST(ScriptErrors, SyntaxErrors) {
  expect_run(kGood.substr(0, kGood.size() - 2), 1, "",
             "iscc: line 4: unexpected end of input (missing ';')\n");
  expect_run("D := [N] -> { S0[i] : i >= 0 and i < N;\n" + kTail, 1, "",
             "iscc: line 1: unexpected end of input (missing '}')\n");
  expect_run("D := { S0[i) };\n" + kTail, 1, "",
             "iscc: line 1: expected ']', found ')'\n"
             "iscc: line 3: unknown identifier 'D'\n"
             "iscc: line 4: unknown identifier 'tiled_program'\n");
  expect_run("D := [N] { S0[i] };\ncodegen { S0[] };\n", 1, "S0();\n",
             "iscc: line 1: expected '->', found '{'\n");
  expect_run("# comment;\ncard D;\nD := { S0[] } - { S0[] };\nprint D;\ncodegen (D;\ncodegen;\n", 1, "",
             "iscc: line 1: expected identifier or 'codegen', found '#'\n"
             "iscc: line 2: expected ':=', found 'D'\n"
             "iscc: line 3: expected '+', '*' or ';', found '-'\n"
             "iscc: line 4: expected ':=', found 'D'\n"
             "iscc: line 5: expected '+', '*' or ')', found ';'\n"
             "iscc: line 6: expected identifier, literal or '(', found ';'\n");
}

TEST(ScriptErrors, IsolatingNeedsAnOperand) {
  expect_run(kGood + "codegen tiled_program isolating;\ncodegen tiled_program isolating X;\n", 1, kGoodNest,
             "iscc: line 5: expected identifier, literal or '(', found ';'\n"
             "iscc: line 6: unknown identifier 'X'\n");
}

TEST(ScriptErrors, ElseNeedsAnOperandAndComesBeforeWithin) {
  expect_run(kGood + "codegen tiled_program else;\ncodegen tiled_program within 5 else tiled_program;\n"
                     "codegen tiled_program else tiled_program isolating tiled_program;\n",
             1, kGoodNest,
             "iscc: line 5: expected identifier, literal or '(', found ';'\n"
             "iscc: line 6: expected ';', found 'else'\n"
             "iscc: line 7: expected '+', '*' or ';', found 'isolating'\n");
}

// Each refusal names the token and skips its statement; the largest
// number an unsigned long holds is taken.
TEST(ScriptErrors, WithinTakesAPositiveDecimalInteger) {
  expect_run(kGood +
                 "codegen tiled_program within 0;\ncodegen tiled_program within -5;\n"
                 "codegen tiled_program within +5;\ncodegen tiled_program within 18446744073709551616;\n"
                 "codegen tiled_program within;\ncodegen tiled_program within 12x;\n"
                 "codegen tiled_program within 0x10;\ncodegen tiled_program within 18446744073709551615;\n",
             1, kGoodNest + kGoodNest,
             "iscc: line 5: expected a positive integer, found '0'\n"
             "iscc: line 6: expected a positive integer, found '-'\n"
             "iscc: line 7: expected a positive integer, found '+'\n"
             "iscc: line 8: 'within' takes at most 18446744073709551615 operations, found '18446744073709551616'\n"
             "iscc: line 9: expected a positive integer, found ';'\n"
             "iscc: line 10: expected a positive integer, found '12x'\n"
             "iscc: line 11: expected a positive integer, found '0x10'\n");
}

TEST(ScriptErrors, FailedCodegenPrintsNothingAndLaterOnesStillRun) {
  expect_run(kGood + "codegen [N] -> { S0[i] -> [j] };\n", 1, kGoodNest,
             "iscc: line 5: codegen failed (unbounded optimum)\n");
  expect_run("codegen nothing;\n" + kGood, 1, kGoodNest, "iscc: line 1: unknown identifier 'nothing'\n");
}

TEST(ScriptErrors, DeepNestingIsRefusedAndLongChainsStillRun) {
  const size_t n = 50000;
  const std::string open(n, '('), close(n, ')');
  const std::string deep = "iscc: line 2: nesting deeper than 1000 levels\n";
  expect_run("A := { S0[0] };\ncodegen " + open + "A" + close + ";\ncodegen A;\n", 1, "S0(0);\n", deep);
  expect_run("A := { S0[0] };\ncodegen { S0[i] : " + open + "i >= 0" + close + " and i < 1 };\n", 1, "", deep);
  std::string floors;
  for (size_t k = 0; k < n; k++) floors += "floor(";
  expect_run("A := { S0[0] };\ncodegen { S0[i] : i >= " + floors + "0" + close + " and i < 1 };\n", 1, "", deep);
  // A thousand levels are still read.
  const std::string open_ok(1000, '('), close_ok(1000, ')');
  expect_run("A := { S0[0] };\ncodegen " + open_ok + "A" + close_ok + ";\n", 0, "S0(0);\n", "");
  // Chains are not nesting: 200,000 operands combine without recursion.
  std::string sum = "A";
  for (int k = 1; k < 200000; k++) sum += k % 2 ? "+A" : "*A";
  expect_run("A := { S0[0] };\ncodegen " + sum + ";\n", 0, "S0(0);\n", "");
}

// Triangle tiled by squares, its full tiles to run apart.
const std::string kTriangle =
    "D := [b,oN,iN] -> { S0[oi,oj,pi,pj] : 0 <= iN < b and 0 <= pi < b and 0 <= pj < b and 0 <= oj <= oi <= oN };\n"
    "F := [b,oN,iN] -> { S0[oi,oj,pi,pj] : 0 <= iN < b and 0 <= pi < b and 0 <= pj < b and 0 <= oj < oi < oN };\n"
    "theta := [b,oN,iN] -> { S0[oi,oj,pi,pj] -> [oi,oj,pi,pj] };\n"
    "codegen theta*D isolating theta*F;\n";

// A codegen past every budget prints nothing, names itself on standard
// error and makes the run end with status 2, unless another statement
// failed otherwise; later statements still run.
TEST(ScriptBudget, CodegenPastItsBudgetFailsWithStatusTwo) {
  const std::string over = "iscc: line 4: codegen exceeded its budget of work, even with every instance generated together\n";
  Outcome r = run(kTriangle + kGood, {1, 1, 1});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, over + "iscc: line 8: codegen exceeded its budget of work, even with every instance generated together\n");
  r = run(kTriangle + "codegen nothing;\n", {1, 1, 1});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, over + "iscc: line 5: unknown identifier 'nothing'\n");
  r = run(kTriangle, {1, 1000000000, 1});
  EXPECT_EQ(r.status, 0) << "the nest with every instance together fits its own budget";
  EXPECT_EQ(r.err,
            "iscc: line 4: codegen generated every instance together: apart, the isolated instances exceeded their "
            "budget of work\n");
}

// The evaluation of a statement's operands past its budget of work names
// the statement on standard error and ends the run with status 4, whatever
// isl was doing when the operations ran out: no later statement runs, and
// nothing computed past the budget is printed.
TEST(ScriptBudget, EvaluationPastItsBudgetEndsTheRunWithStatusFour) {
  const std::string script = "codegen { S0[0] };\n" + kGood;
  iscc::CodegenBudget budget = iscc::kCodegenBudget;
  Outcome r;
  for (budget.evaluation = 1; (r = run(script, budget)).status == 4; budget.evaluation += budget.evaluation / 8 + 1) {
    std::string over = ": the evaluation of its operands exceeded its budget of work (" +
                       std::to_string(budget.evaluation) + " operations)\n";
    int line = 0;
    ASSERT_EQ(std::sscanf(r.err.c_str(), "iscc: line %d", &line), 1) << r.err;
    ASSERT_EQ(r.err, "iscc: line " + std::to_string(line) + over);
    ASSERT_EQ(r.out, line == 1 ? "" : "S0(0);\n") << budget.evaluation;
  }
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "S0(0);\n" + kGoodNest);
  EXPECT_EQ(r.err, "");
}

// isl may run out of operations inside a computation, recover and return a
// result. Under every budget, a codegen gives either no nest or one of its
// two nests as they are without bound: never one built from such a result.
TEST(ScriptBudget, NoNestComesFromWorkPastTheBudget) {
  const iscc::CodegenBudget unbounded = {1000000000, 1000000000, 1000000000};
  std::string apart = run(kTriangle, unbounded).out;
  std::string together = run(kTriangle, {1, unbounded.together, 1}).out;
  ASSERT_NE(apart, together);
  std::set<std::string> seen;
  for (unsigned long operations = 1; seen.size() < 2 && operations < unbounded.together; operations += operations / 8 + 1) {
    Outcome r = run(kTriangle, {operations, operations, operations});
    if (r.status == 2) {
      EXPECT_EQ(r.out, "");
      continue;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out == apart || r.out == together) << "budget " << operations << ":\n" << r.out;
    EXPECT_EQ(r.err.empty(), r.out == apart) << "budget " << operations << ": " << r.err;
    seen.insert(r.out);
  }
  EXPECT_EQ(seen.size(), 2u) << "some budget fits the nest with every instance together only";
}

// A loop clamped by bounds whose head, of 253 characters, fills isl's
// string printer up to the indentation of the next line, for which the
// printer grows its buffer of 256: when that allocation failed, isl read
// the printer it had just freed. Every nest of the codegen is that loop.
const std::string kFullHead =
    "bounds S0(x) \"0\" <= \"x\" <= \"\";\n"
    "bounds S0(x) \"\" <= \"2*x\" <= \"2*length - 2\";\n"
    "S := [length] -> { S0[i] -> [i] : 0 <= i < length };\n"
    "codegen S isolating S else S else S;\n";

// Under every budget up to the one that the box form fits, wherever the
// operations run out, the run ends with no nest or with the nest.
TEST(ScriptBudget, EveryBudgetEndsWithNoNestOrTheNest) {
  const std::string nest = run(kFullHead).out;
  Outcome r;
  for (unsigned long k = 1; (r = run(kFullHead, {k, k, k, k})).status == 2; ++k) ASSERT_EQ(r.out, "") << k;
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, nest);
}

// The least number of operations under which `fits` holds, given that it
// holds under any more.
unsigned long least_operations(const std::function<bool(unsigned long)>& fits) {
  unsigned long low = 0, high = 1;
  while (!fits(high)) low = high, high *= 2;
  while (high - low > 1) {
    unsigned long middle = low + (high - low) / 2;
    (fits(middle) ? high : low) = middle;
  }
  return high;
}

// The later nests (every instance together, the else schedule, the box
// form) stopped after any number of operations up to the most that one
// takes, as when the nest with the isolated instances apart fits then:
// every run ends as the one in which nothing is stopped.
TEST(ScriptBudget, LaterNestsStoppedAfterAnyOperation) {
  const Outcome plain = run(kFullHead);
  ASSERT_EQ(plain.status, 0);
  const unsigned long longest = least_operations([](unsigned long k) {
    return run(kFullHead, {1, k, 1, 1}).status == 0 && run(kFullHead, {1, 1, k, 1}).status == 3 &&
           run(kFullHead, {1, 1, 1, k}).status == 3;
  });
  iscc::CodegenBudget budget = iscc::kCodegenBudget;
  for (budget.stop_jobs_after = 1; budget.stop_jobs_after <= longest; ++budget.stop_jobs_after) {
    Outcome r = run(kFullHead, budget);
    ASSERT_EQ(r.status, plain.status) << budget.stop_jobs_after;
    ASSERT_EQ(r.out, plain.out) << budget.stop_jobs_after;
    ASSERT_EQ(r.err, plain.err) << budget.stop_jobs_after;
  }
}

// kTriangle with `clauses` after its isolating clause.
std::string triangle_with(const std::string& clauses) {
  return kTriangle.substr(0, kTriangle.size() - 2) + clauses + ";\n";
}

// "within" replaces the caller's budgets of the schedule's own nests.
TEST(ScriptBudget, WithinBoundsTheScheduleOwnNests) {
  Outcome apart = run(kTriangle);
  Outcome r = run(triangle_with(" within 1000000000"), {1, 1, 1});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, apart.out);
  EXPECT_EQ(r.err, "");
  r = run(triangle_with(" within 1"));
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "iscc: line 4: codegen exceeded its budget of work, even with every instance generated together\n");
}

// A superset of kTriangle's domain, every tile of the square, for its
// else schedule; ahead of kTriangle, its codegen is on line 5.
const std::string kSquare =
    "H := [b,oN,iN] -> { S0[oi,oj,pi,pj] : 0 <= iN < b and 0 <= pi < b and 0 <= pj < b and 0 <= oi <= oN and "
    "0 <= oj <= oN };\n";
const std::string kSquareNest =
    "if (b >= iN + 1 && iN >= 0)\n"
    "  for (long long c0 = 0; c0 <= oN; c0 += 1)\n"
    "    for (long long c1 = 0; c1 <= oN; c1 += 1)\n"
    "      for (long long c2 = 0; c2 < b; c2 += 1)\n"
    "        for (long long c3 = 0; c3 < b; c3 += 1)\n"
    "          S0(c0, c1, c2, c3);\n";
const std::string kElseNote =
    "iscc: line 5: codegen generated its else schedule: the schedule exceeded its budget of work\n";

// The else schedule changes nothing while the schedule's own nests fit;
// past their budgets its nest is printed, said on standard error, and the
// run ends with status 3, unless another statement exceeded every budget
// (2) or failed otherwise (1).
TEST(ScriptBudget, ElseScheduleOnlyPastTheScheduleBudgets) {
  const std::string with_else = kSquare + triangle_with(" else theta*H");
  const unsigned long last = iscc::kCodegenBudget.last;
  for (const iscc::CodegenBudget& budget : {iscc::kCodegenBudget, iscc::CodegenBudget{1, 1000000000, last}}) {
    Outcome plain = run(kSquare + kTriangle, budget), r = run(with_else, budget);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, plain.out);
    EXPECT_EQ(r.err, plain.err);
  }
  Outcome r = run(with_else, {1, 1, last});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, kSquareNest);
  EXPECT_EQ(r.err, kElseNote);
  r = run(with_else + kGood, {1, 1, last});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, kSquareNest);
  EXPECT_EQ(r.err, kElseNote + "iscc: line 9: codegen exceeded its budget of work, even with every instance generated "
                               "together\n");
  r = run(with_else + "codegen nothing;\n", {1, 1, last});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, kElseNote + "iscc: line 6: unknown identifier 'nothing'\n");
  r = run(with_else, {1, 1, 1});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "iscc: line 5: codegen exceeded its budget of work, even with every instance generated together and with "
            "its else schedule\n");
}

// "within" leaves the budget of the else schedule as it is.
TEST(ScriptBudget, WithinLeavesTheElseScheduleBudget) {
  const std::string script = kSquare + triangle_with(" else theta*H within 1");
  Outcome r = run(script);
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, kSquareNest);
  EXPECT_EQ(r.err, kElseNote);
  r = run(script, {1000000000, 1000000000, 1});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
}

const std::string kBoxNote =
    "iscc: line 5: codegen generated its box form: the schedule and its else schedule exceeded their budgets of "
    "work\n";

// The box form, after a second "else", changes nothing while the else
// schedule fits its budget; past it, the box form's nest is printed, said
// on standard error, with status 3; past the box form's budget too, none.
TEST(ScriptBudget, BoxFormOnlyPastTheElseScheduleBudget) {
  const std::string with_box = kSquare + triangle_with(" else theta*D else theta*H");
  const std::string with_else = kSquare + triangle_with(" else theta*D");
  const unsigned long last = iscc::kCodegenBudget.last;
  for (const iscc::CodegenBudget& budget : {iscc::kCodegenBudget, iscc::CodegenBudget{1, 1, last}}) {
    Outcome plain = run(with_else, budget), r = run(with_box, budget);
    EXPECT_EQ(r.status, plain.status);
    EXPECT_EQ(r.out, plain.out);
    EXPECT_EQ(r.err, plain.err);
  }
  Outcome r = run(with_box, {1, 1, 1});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, kSquareNest);
  EXPECT_EQ(r.err, kBoxNote);
  r = run(with_box, {1, 1, 1, 1});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "iscc: line 5: codegen exceeded its budget of work, even with every instance generated together and with "
            "its else schedules\n");
  expect_run(triangle_with(" else theta*D else theta*D else theta*D"), 1, "",
             "iscc: line 4: expected '+', '*' or ';', found 'else'\n");
}

// The box form's budget is not scaled down by large coefficients, unlike
// the else schedule's: a box of large bounds is as simple as a small one.
TEST(ScriptBudget, BoxFormBudgetNotScaledByCoefficients) {
  const std::string script =
      "H := [N] -> { S0[i] : 0 <= 1000000i <= N };\n"
      "theta := [N] -> { S0[i] -> [i] };\n"
      "codegen theta*H else theta*H else theta*H;\n";
  Outcome needed = run(script, {1000000000, 1000000000, 1000000000, 1000000000});
  ASSERT_EQ(needed.status, 0);
  unsigned long operations = 1;
  while (run(script, {1, 1, 1, operations}).status == 2) operations *= 2;
  Outcome r = run(script, {1, 1, operations, operations});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out, needed.out);
  EXPECT_EQ(r.err, "iscc: line 3: codegen generated its box form: the schedule and its else schedule exceeded their "
                   "budgets of work\n");
}

// The box form is generated without "separate": where the statements'
// bounds differ, a loop may run both and test one's bound inside, where the
// else schedule's nest splits it in three loops.
TEST(ScriptPinned, BoxFormWithoutSeparation) {
  const std::string script =
      "D := [N,M] -> { S0[i,j] : 0 <= i < N and 0 <= j <= i; S1[i,j] : 0 <= i < N and 0 <= j < M };\n"
      "theta := [N,M] -> { S0[i,j] -> [i,j,0]; S1[i,j] -> [i,j,1] };\n"
      "codegen theta*D else theta*D else theta*D;\n";
  Outcome r = run(script, {1, 1, 1});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.out,
            "for (long long c0 = 0; c0 < N; c0 += 1) {\n"
            "  for (long long c1 = 0; c1 < M; c1 += 1) {\n"
            "    if (c0 >= c1)\n"
            "      S0(c0, c1);\n"
            "    S1(c0, c1);\n"
            "  }\n"
            "  for (long long c1 = max(0, M); c1 <= c0; c1 += 1)\n"
            "    S0(c0, c1);\n"
            "}\n");
}

// An else schedule that isl cannot generate fails its codegen only when its
// nest is needed; a schedule that isl cannot generate fails whatever its
// else schedule.
TEST(ScriptBudget, ElseScheduleFailsOnlyWhenNeeded) {
  const std::string unbounded = " else [b] -> { S0[oi,oj,pi,pj] -> [d] }";
  Outcome plain = run(kTriangle), r = run(triangle_with(unbounded));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, plain.out);
  EXPECT_EQ(r.err, "");
  r = run(triangle_with(unbounded + " within 1"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("iscc: line 4: codegen failed (", 0), 0u) << r.err;
  expect_run("codegen [N] -> { S0[i] -> [j] } else { S0[i] -> [i] : 0 <= i < 3 };\n", 1, "",
             "iscc: line 1: codegen failed (unbounded optimum)\n");
}

// ---------------------------------------------------------------- clamps

const std::string kHundred = "D := [N] -> { S0[i] : 0 <= i < 100 };\n";
const std::string kHundredNest = "for (long long c0 = 0; c0 <= 99; c0 += 1)\n  S0(c0);\n";
// The nest of 0 <= i < 100 clamped by `parameter` <= i <= `parameter` + 2,
// its counter named `counter`.
std::string hundred_clamped(const std::string& parameter, const std::string& counter) {
  const std::string from = "((" + parameter + ") - (((long long)(0))))";
  return "for (long long " + counter + " = (((long long)(0)) > " + from + " ? ((long long)(0)) : " + from + "); (" +
         counter + " <= 99) && " + counter + " <= ((" + parameter + " + 2) - (((long long)(0)))); " + counter +
         " += 1) {\n  S0(" + counter + ");\n}\n";
}
const std::string kHundredClamped = hundred_clamped("N", "c0");

// A loop whose calls all have bounds runs only the counter values that keep
// a value within them: from the larger of isl's start and the bounds', to
// the smaller end. A bound may read a parameter named like a loop counter,
// which the schedule does not hold: the counter then takes the first of
// c0_0, c0_1, ... that the script does not hold, so that the clamp still
// reads the parameter.
struct ClampNames {
  std::string domain_parameter, bound_parameter, counter;
};

void PrintTo(const ClampNames& names, std::ostream* os) {
  *os << names.domain_parameter << ", " << names.bound_parameter << " -> " << names.counter;
}

class ScriptClampNames : public testing::TestWithParam<ClampNames> {};

TEST_P(ScriptClampNames, LoopClampedByTheBoundsOfItsStatement) {
  const ClampNames& names = GetParam();
  const std::string &p = names.bound_parameter, &d = names.domain_parameter;
  expect_run("D := [" + d + "] -> { S0[i] : 0 <= i < 100 };\nbounds S0(x) \"" + p + "\" <= \"x\" <= \"" + p +
                 " + 2\";\ncodegen [" + d + "] -> { S0[i] -> [i] } * D;\n",
             0, hundred_clamped(p, names.counter), "");
}

INSTANTIATE_TEST_SUITE_P(Names, ScriptClampNames,
                         testing::Values(ClampNames{"N", "N", "c0"}, ClampNames{"N", "c0", "c0_0"},
                                         ClampNames{"c0_0", "c0", "c0_1"}));

// A loop that also runs a statement without bounds is not clamped; the
// statement's own inner loop is, here by 2y - x <= 5, rounded down, with no
// lower bound ("").
TEST(ScriptClamps, LoopOfACallWithoutBoundsNotClamped) {
  expect_run("D := [N] -> { S0[i,j] : 0 <= i < 100 and 0 <= j < 100; S1[i] : 0 <= i < 100 };\n"
             "bounds S0(x,y) \"N\" <= \"x\" <= \"N + 2\";\n"
             "bounds S0(x,y) \"\" <= \"2*y - x\" <= \"5\";\n"
             "codegen [N] -> { S0[i,j] -> [i,j,0]; S1[i] -> [i,0,1] } * D;\n",
             0,
             "for (long long c0 = 0; c0 <= 99; c0 += 1) {\n"
             "  S0(c0, 0);\n"
             "  S1(c0);\n"
             "  for (long long c1 = 1; (c1 <= 99) && c1 <= (((5) - (2*((long long)(0))-((long long)(c0)))) / 2LL - "
             "(((5) - (2*((long long)(0))-((long long)(c0)))) % 2LL < 0)); c1 += 1) {\n"
             "    S0(c0, c1);\n"
             "  }\n"
             "}\n",
             "");
}

// "bounds else" clamps the else schedule's nest only; a plain "bounds"
// clamps it too.
TEST(ScriptClamps, ElseBoundsClampOnlyTheElseSchedule) {
  const unsigned long last = iscc::kCodegenBudget.last;
  for (const char* kind : {"else ", ""}) {
    const std::string script = kHundred + "bounds " + kind +
                               "S0(x) \"N\" <= \"x\" <= \"N + 2\";\n"
                               "theta := [N] -> { S0[i] -> [i] };\n"
                               "codegen theta*D else theta*D;\n";
    Outcome r = run(script);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, *kind ? kHundredNest : kHundredClamped);
    r = run(script, {1, 1, last});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, kHundredClamped);
    EXPECT_EQ(r.err, "iscc: line 4: codegen generated its else schedule: the schedule exceeded its budget of work\n");
  }
}

// The script of kHundred with a bound "lower_k <= x" for each lower bound.
std::string with_lower_bounds(const std::vector<std::string>& lowers) {
  std::string script = kHundred;
  for (const std::string& lower : lowers) script += "bounds S0(x) \"" + lower + "\" <= \"x\" <= \"\";\n";
  return script + "codegen [N] -> { S0[i] -> [i] } * D;\n";
}

// A side of a clamp takes at most 64 terms and 100000 characters, so that
// a loop's entry stays cheap; past either, the loop is not clamped. Many
// terms are folded by lambdas that take each once, whose parameters are
// named apart from the script's names.
TEST(ScriptClamps, ClampsOfTooManyTermsOrTooLongLeftOut) {
  std::vector<std::string> lowers;
  for (int k = 0; k < 64; ++k) lowers.push_back("N + " + std::to_string(k));
  std::string clamped = run(with_lower_bounds(lowers)).out;
  EXPECT_NE(clamped, kHundredNest);
  EXPECT_NE(clamped.find("[](long long l, long long r) { return l > r ? l : r; }(((N + 0) - "), std::string::npos)
      << clamped;
  lowers.push_back("N + 64");
  EXPECT_EQ(run(with_lower_bounds(lowers)).out, kHundredNest);
  std::string sum = "N";
  for (int k = 0; k < 24000; ++k) sum += " + 1";
  EXPECT_NE(run(with_lower_bounds({sum})).out, kHundredNest);
  for (int k = 0; k < 1000; ++k) sum += " + 1";
  EXPECT_EQ(run(with_lower_bounds({sum})).out, kHundredNest);
  EXPECT_NE(run(with_lower_bounds({"l + 0", "l + 1", "r"})).out.find("[](long long l_0, long long r_0)"),
            std::string::npos);
}

}  // namespace
