#include <sstream>
#include <string>

#include "Array.h"
#include "CommandTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"

namespace {

using ModelTest = CommandTest;

// A static control part with one loop over i (and j when `two` is set)
// around `body`.
std::string scop(const std::string& body, bool two = false) {
  return "int N;\nint i;\nint j;\ndouble a[100];\ndouble b[100];\ndouble c[100];\ndouble A[10][10];\n"
         "double x;\ndouble y;\ndouble z;\nint f(int u, double v);\nvoid k() {\n#pragma begin_scop\n"
         "  for (i = 0; i < N; i++)" +
         std::string(two ? " for (j = 0; j < N; j++)" : "") + " {\n" + body + "\n  }\n#pragma end_scop\n}\n";
}

std::string text_of(const Statement& s) {
  std::ostringstream out;
  out << s;
  return out.str();
}

std::string domain_of(const Statement& s) {
  std::ostringstream out;
  out << *s.iteration_domain;
  return out.str();
}

TEST_F(ModelTest, RightHandSidesPrintWithOperandParentheses) {
  const std::pair<const char*, const char*> cases[] = {
      {"a[i] = b[i] + c[i] * 2;", "a[i]=b[i]+(c[i]*2)"},
      {"a[i] = (x + y) * z;", "a[i]=(x+y)*z"},
      {"a[i] = x - (y - z);", "a[i]=x-(y-z)"},
      {"a[i] = x + y + z;", "a[i]=(x+y)+z"},
      {"a[i] = -(x + y);", "a[i]=-(x+y)"},
      {"a[i] = -x;", "a[i]=-x"},
      {"a[i] = b[i];", "a[i]=b[i]"},
      {"a[i] = 2.50;", "a[i]=2.50"},
      {"a[i] = f(N, b[i] + 1);", "a[i]=f(N,b[i]+1)"},
      {"a[i] = sqrt(b[i]);", "a[i]=sqrt(b[i])"},
      {"a[i] = (double)b[i] / N;", "a[i]=((double)b[i])/N"},
      {"a[i] = (double)(x + y);", "a[i]=(double)(x+y)"},
      {"a[i] = x < y ? x : -y;", "a[i]=(x<y)?x:(-y)"},
      {"a[i] = (x >= y) && !(z != 0) || ~N;", "a[i]=((x>=y)&&(!(z!=0)))||(~N)"},
      {"a[i] = (N << 2) ^ (N >> 1) | N & 3;", "a[i]=((N<<2)^(N>>1))|(N&3)"},
      {"a[i] = x - -y + +z;", "a[i]=(x-(-y))+(+z)"},
  };
  for (const auto& c : cases) {
    clear_registries();
    statement_vec.clear();
    Program* p = model_of(scop(std::string("#pragma schedule[i]\n") + c.first));
    ASSERT_EQ(p->statement.size(), 2u) << c.first;
    EXPECT_EQ(text_of(*p->statement[1]), c.second) << c.first;
    delete p;
  }
}

TEST_F(ModelTest, ReadsAreNumberedLeftToRightAndRegistered) {
  Program* p = model_of(scop("#pragma schedule[i]\n b[i] = a[i] + a[i + 1] * x;"));
  Statement* s = p->statement[1];
  ASSERT_EQ(s->rhs_index.size(), 3u);
  EXPECT_EQ(nth(0, s->rhs_index).first, "a");
  EXPECT_EQ(nth(2, s->rhs_index).first, "x");
  EXPECT_EQ(s->rhs->successor[1]->successor[0]->array_rank, 1);
  EXPECT_EQ(get_array_dim("a"), 1);
  EXPECT_EQ(get_array_dim("x"), 0);
  EXPECT_EQ(s->surrounding_counters, std::vector<int>{get_counter_rank("i")});
  EXPECT_NE(domain_of(*s).find("i < N"), std::string::npos);
  EXPECT_EXIT(nth(3, s->rhs_index), testing::ExitedWithCode(1), "");
  delete p;
}

TEST_F(ModelTest, CounterUsedAsValueIsRewrittenLikeASubscript) {
  Program* p = model_of(scop("#pragma schedule[i][j]\n A[i][j] = i * 2 + j;", true));
  Statement* s = p->statement[1];
  EXPECT_EQ(text_of(*s), "A[i][j]=((i)*2)+(j)");
  EXPECT_EQ(array.count(""), 0u);
  Expression* i = Expression::from_counter_rank(get_counter_rank("i"));
  Expression one(1);
  Expression shifted(PLUS, i, &one);
  delete i;
  std::map<int, Expression*> m = {{get_counter_rank("i"), &shifted}};
  Statement* t = s->substitute_counters_ref(m);
  EXPECT_EQ(text_of(*t), "A[i+1][j]=((i+1)*2)+(j)");
  EXPECT_EQ(text_of(*s), "A[i][j]=((i)*2)+(j)");
  Statement* copy = t->clone();
  delete t;
  EXPECT_EQ(text_of(*copy), "A[i+1][j]=((i+1)*2)+(j)");
  delete copy;
  delete p;
}

TEST_F(ModelTest, DeclarationsAndStatementsInFileOrder) {
  Program* p = model_of(
      "int N;\nint a[10];\nvoid k() {\n  int i;\n  a[0] = 1;\n#pragma begin_scop\n  int t;\n"
      "  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    a[i] = t;\n  }\n#pragma end_scop\n"
      "  int after = 2;\n  a[1] = 0;\n}\n");
  std::vector<std::string> d(p->variable_declaration.begin() + 11, p->variable_declaration.end());
  EXPECT_EQ(d, (std::vector<std::string>{"int N;", "int a[10];", "int i;", "int t;", "int after = 2;"}));
  ASSERT_EQ(p->statement.size(), 2u);
  EXPECT_EQ(p->statement[0]->lhs_id, "schedule");
  EXPECT_EQ(p->statement[1]->stmt_rank, 1);
  delete p;
}

TEST_F(ModelTest, SiblingLoopsWithOneNameGetTwoRanks) {
  Program* p = model_of(
      "int N;\nint i;\nint a[9];\nvoid k() {\n#pragma begin_scop\n  for (i = 0; i < N; i++) {\n"
      "#pragma schedule[i][0]\n    a[i] = 0;\n  }\n  for (i = 1; i < N; ++i) {\n"
      "#pragma schedule[i][1]\n    a[i] = 1;\n  }\n#pragma end_scop\n}\n");
  ASSERT_EQ(p->statement.size(), 4u);
  EXPECT_NE(p->statement[1]->surrounding_counters, p->statement[3]->surrounding_counters);
  EXPECT_EQ(get_nb_counters(), 2);
  delete p;
}

TEST_F(ModelTest, ElseBranchGetsTheNegatedInequality) {
  Program* p = model_of(scop("if (i <= j) {\n#pragma schedule[i][j][0]\n a[i] = 1;\n} else {\n"
                             "#pragma schedule[i][j][1]\n b[i] = 2;\n}",
                             true));
  ASSERT_EQ(p->statement.size(), 4u);
  std::string then_domain = domain_of(*p->statement[1]);
  std::string else_domain = domain_of(*p->statement[3]);
  EXPECT_NE(then_domain.find("i <= j"), std::string::npos);
  EXPECT_EQ(then_domain.find("i > j"), std::string::npos);
  EXPECT_NE(else_domain.find("i > j"), std::string::npos);
  EXPECT_EQ(else_domain.find("i <= j"), std::string::npos);
  delete p;
}

TEST_F(ModelTest, UnitStepsAreAccepted) {
  for (const char* step : {"i++", "++i", "i += 1", "i = i + 1", "i = 1 + i"}) {
    clear_registries();
    statement_vec.clear();
    Program* p = model_of("int N;\nint i;\nint a[9];\nvoid k() {\n#pragma begin_scop\n  for (i = 0; i < N; " +
                          std::string(step) + ") {\n#pragma schedule[i]\n    a[i] = 0;\n  }\n#pragma end_scop\n}\n");
    // The directive and the assignment: the step is no statement.
    EXPECT_EQ(p->statement.size(), 2u) << step;
    delete p;
  }
}

// The tiled code declares the file-scope variables in a file of its own
// and runs the initialisers of the kernel's locals in tiled_kernel():
// __FILE__ and __LINE__ there would name another file and line.
TEST_F(ModelTest, PredefinedNamesInMovedInitialisersAreRefused) {
  const std::string part = "#pragma begin_scop\n  for (i = 0; i < N; i++) {\n#pragma schedule[i]\n    a[i] = 1;\n"
                           "  }\n#pragma end_scop\n}\n";
  const std::string moved = ", which changes where the tiled code puts this code (in tiled_kernel() or at file "
                            "scope of a file of its own)";
  const std::pair<std::string, std::string> cases[] = {
      {"const char *source = __FILE__;\nint N;\nint i;\ndouble a[9];\nvoid k() {\n" + part,
       "/prog.c:1: error: '__FILE__' is the name of the file it stands in" + moved},
      {"int N;\ndouble a[9];\nvoid k() {\n  int i;\n  int line = __LINE__;\n" + part,
       "/prog.c:5: error: '__LINE__' is the line it stands on" + moved},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(
        {
          check_stderr_only();
          model_of(c.first);
        },
        testing::ExitedWithCode(1), regex_escaped(c.second) + "\n$");
}

TEST_F(ModelTest, RefusedRightHandSides) {
  EXPECT_STOP_ON_STDOUT(model_of(scop("#pragma schedule[i]\n a[i] = *(&x);")),
                        "Statement: unsupported operator in right-hand side: SgPointerDerefExp");
  EXPECT_STOP_ON_STDOUT(model_of(scop("#pragma schedule[i]\n a[i] = sizeof(x);")),
                        "Statement: unsupported operator in right-hand side: SgSizeOfOp");
  EXPECT_STOP_ON_STDOUT(model_of(scop("#pragma schedule[i]\n a[i] = (x, y);")),
                        "Program::from_Sage: unsupported statement in the static control part: a[i] = (x, y);");
}

// min and max functions that may stand for the tiled code's own, and the int
// arguments that both read alike.
TEST_F(ModelTest, MinAndMaxFunctionsAndTheirArguments) {
  const char* accepted[] = {
      "int min(int x, int y) { return x <= y ? x : y; }", "int min(int x, int y) { return y > x ? x : y; }",
      "static inline int min(int x, int y) { return x >= y ? y : x; }",
      "int max(int x, int y) { return y < x ? x : y; }",
      "int min(int, int);\nint min(int x, int y) { return x < y ? x : y; }",
  };
  for (const char* function : accepted) {
    SetUp();
    delete model_of(std::string(function) + "\n" + scop("#pragma schedule[i]\n a[i] = 1;"));
  }
  std::string refused = "Program::from_Sage: the tiled code defines a function min; an input function of that "
                        "name must return the minimum of its two int parameters: ";
  EXPECT_STOP_ON_STDOUT(model_of("int min(int x, int y) { return x < y ? x : x; }\n" + scop("")),
                        refused + "int min(int x, int y)");
  EXPECT_STOP_ON_STDOUT(model_of("double min(double x, double y) { return x < y ? x : y; }\n" + scop("")),
                        refused + "double min(double x, double y)");
  EXPECT_STOP_ON_STDOUT(model_of("int min(int x, int y) { if (x < y) return x; return y; }\n" + scop("")),
                        refused + "int min(int x, int y)");
  EXPECT_STOP_ON_STDOUT(model_of("int max(int x, int y);\n" + scop("")),
                        "Program::from_Sage: the tiled code defines a function max; an input function of that "
                        "name must be defined in the file: int max(int x, int y)");

  const char* int_arguments[] = {"i", "N", "(int)x", "i % 3 + N * 2", "x < y", "N > 0 ? N : -N",
                                 "min(i, N)", "p[i]", "A[i][i]", "f(N, x)", "twice(x)", "(count)x"};
  for (const char* argument : int_arguments) {
    SetUp();
    delete model_of("typedef int idx;\ntypedef idx count;\nint *p;\nint A[4][4];\ncount twice(double v);\n" +
                    scop(std::string("#pragma schedule[i]\n a[i] = max(") + argument + ", 2);"));
  }
  const char* other_arguments[] = {"x", "1.5", "'c'", "A[i]", "u", "undeclared(N)", "longer(N)", "i + x",
                                   "(long)i", "(wide)i", "(natural)i", "(ints)i"};
  for (const char* argument : other_arguments)
    EXPECT_STOP_ON_STDOUT(
        model_of("int A[4][4];\nunsigned u;\ntypedef long wide;\ntypedef unsigned natural;\ntypedef int *ints;\n"
                 "wide longer(int v);\n" +
                 scop(std::string("#pragma schedule[i]\n a[i] = min(") + argument + ", 2);")),
        "Program::from_Sage: min with an argument that is not an int, which the tiled code's function would not "
        "convert: min(" + std::string(argument) + ", 2)");
}

// A typedef repeated over itself, directly or through another name, stands
// for the type it named: a size declared through it is an int, or not.
TEST_F(ModelTest, RepeatedTypedefsKeepTheirType) {
  std::string types = "typedef int idx;\ntypedef idx idx;\ntypedef idx count;\ntypedef count idx;\n"
                      "typedef long wide;\ntypedef wide wide;\n";
  auto part = [](const std::string& size) {
    return "double a[9];\nvoid k() {\n  idx i;\n#pragma begin_scop\n  for (i = 0; i < " + size +
           "; i++) {\n#pragma schedule[i]\n    a[i] = 1;\n  }\n#pragma end_scop\n}\n";
  };
  delete model_of(types + "count n;\n" + part("n"));
  EXPECT_STOP_ON_STDOUT(model_of(types + "wide w;\n" + part("w")),
                        "Program::from_Sage: w stands in a loop bound, condition, subscript or directive, which "
                        "takes int variables only; it is declared 'wide w;'");
}

TEST_F(ModelTest, KernelParametersAndRunTimeInitialisersAreCarried) {
  Program* p = model_of(
      "int N;\nvoid other(int q) { int t = 2; const int o = q + N; }\n"
      "void k(const int n, double *const v, double A[N][8], int) {\n  int i;\n  int t = 2;\n"
      "  const int m = n - 1;\n  double *w = v + m;\n#pragma begin_scop\n  for (i = 0; i < m; i++) {\n"
      "#pragma schedule[i]\n    A[i][0] = w[i];\n  }\n#pragma end_scop\n}\n");
  std::vector<std::string> d(p->variable_declaration.begin() + 11, p->variable_declaration.end());
  EXPECT_EQ(d, (std::vector<std::string>{"int N;", "int t = 2;", "int o;", "int n;", "double *v;",
                                         "double (*A)[8];", "int i;", "int t = 2;", "int m;", "double *w;"}));
  EXPECT_EQ(p->kernel_entry, (std::vector<std::string>{"  t = 2;", "  m = n - 1;", "  w = (decltype(w))(v + m);"}));
  delete p;
}

// The tiled code carries the functions its statements and its entry
// assignments call, those these call in turn, and the input's own min,
// which stands in for the tiled code's: definitions and prototypes in file
// order, nothing else (run calls the kernel, which is not carried).
TEST_F(ModelTest, FunctionsTheTiledCodeCallsAreCarried) {
  Program* p = model_of(
      "int N;\nint a[9];\nint unused(int x) { return x; }\nint g(int x);\n"
      "static int h(register int x) { return g(x) + 1; }\nint e(int x) { return x; }\n"
      "int min(int x, int y) { return x < y ? x : y; }\n"
      "void k() {\n  int i;\n  int s = e(N);\n#pragma begin_scop\n  for (i = 0; i < N; i++) {\n"
      "#pragma schedule[i]\n    a[i] = h(a[i]) + s;\n  }\n#pragma end_scop\n}\n"
      "int g(int x) { return 2 * x; }\nvoid run() { k(); }\n");
  EXPECT_EQ(p->functions, (std::vector<std::pair<std::string, std::string>>{
                              {"g", "int g(int x);"},
                              {"h", "static int h(int x) {\n  return g(x) + 1;\n}"},
                              {"e", "int e(int x) {\n  return x;\n}"},
                              {"min", "int min(int x, int y) {\n  return x < y ? x : y;\n}"},
                              {"g", "int g(int x) {\n  return 2 * x;\n}"}}));
  delete p;
  EXPECT_STOP_ON_STDOUT(model_of(scop("#pragma schedule[i]\n a[i] = f(N, x);") + "void l() { k(); }\n" +
                                 "int f(int u, double v) { l(); return u; }\n"),
                        "Program::from_Sage: the tiled code would call k, which holds a static control part: "
                        "tiled_kernel() keeps only the parts of such a function: void k()");
  EXPECT_STOP_ON_STDOUT(model_of("int main();\n" + scop("#pragma schedule[i]\n a[i] = main();")),
                        "Program::from_Sage: the tiled code, in C++, cannot declare main at file scope (reserved "
                        "in C++): int main()");
}

TEST_F(ModelTest, RefusedDeclarations) {
  std::string kernel = "void k() {\n  int i;\n#pragma begin_scop\n  for (i = 0; i < N; i++) {\n"
                       "#pragma schedule[i]\n    a[i] = 1;\n  }\n#pragma end_scop\n";
  std::string head = "int N;\nint a[9];\n";
  EXPECT_STOP_ON_STDOUT(model_of(head + "int f();\n" + kernel + "  int f;\n}\n"),
                        "Program::from_Sage: the local declaration 'int f;' shadows the file-scope declaration "
                        "'int f()'");
  EXPECT_STOP_ON_STDOUT(model_of(head + "void g() { int a; }\n" + kernel + "}\n"),
                        "Program::from_Sage: the local declaration 'int a;' shadows the file-scope declaration "
                        "'int a[9];'");
  EXPECT_STOP_ON_STDOUT(model_of(head + "void g() { double r; }\n" + kernel + "}\nint r;\n"),
                        "Program::from_Sage: the local declaration 'double r;' shadows the file-scope declaration "
                        "'int r;'");
  EXPECT_STOP_ON_STDOUT(model_of(head + "void h(int n, double A[n][n]) {\n  int i;\n#pragma begin_scop\n"
                                        "  for (i = 0; i < n; i++) {\n#pragma schedule[i]\n    a[i] = 1;\n  }\n"
                                        "#pragma end_scop\n}\n"),
                        "Program::from_Sage: variable-length array parameter: double A[n][n]");
  std::string carried = "Program::from_Sage: tiled_kernel() initialises only scalars declared ahead of the "
                        "static control part from run-time values: ";
  // Another part could follow in the same function and read it.
  EXPECT_STOP_ON_STDOUT(model_of(head + kernel + "  int late = N;\n}\n"), carried + "int late = N;");
  EXPECT_STOP_ON_STDOUT(model_of(head + "void k2() {\n  int b[2] = {N, 1};\n" + kernel.substr(10) + "}\n"),
                        carried + "int b[2] = {N, 1};");
}

}  // namespace
