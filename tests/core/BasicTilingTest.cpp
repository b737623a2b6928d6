#include <sstream>
#include <string>
#include <vector>

#include "Array.h"
#include "CommandTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "Program.h"
#include "Schedule.h"
#include "Statement.h"
#include "Tiling.h"

namespace {

namespace P = Preprocessor;

// Empties the front end's tables, freeing what they own.
void clear_tables() {
  for (IndexFunction* f : P::tile_hyperplans) delete f;
  for (IndexFunction* f : P::schedule) delete f;
  for (auto& entry : P::bound) {
    delete entry.second.first;
    delete entry.second.second;
  }
  delete P::context;
  P::context = nullptr;
  P::tile_group.clear();
  P::tile_size.clear();
  P::tile_hyperplans.clear();
  P::schedule.clear();
  P::tile_dimensions.clear();
  P::group.clear();
  P::parallel_instances.clear();
  P::bound.clear();
  P::output_array.clear();
  P::vector_size = 0;
  P::vectorize_stmt.clear();
}

class BasicTilingTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    clear_tables();
  }
  void TearDown() override { clear_tables(); }
};

// A nest over i and j in a file that declares N, a and b, the directives
// of `body` read by the basic front end.
std::string nest(const std::string& body) {
  return "int N;\ndouble a[100][100];\ndouble b[100];\nvoid f() {\n  int i;\n  int j;\n#pragma begin_scop\n"
         "  for (i = 0; i < N; i++)\n    for (j = 0; j < N; j++) {\n" +
         body + "\n    }\n#pragma end_scop\n}\n";
}

Program* basic_model(const std::string& body) { return model_of(nest(body), P::preprocess_tiling); }

// Runs the extraction on `p`; returns what it wrote on standard error.
std::string extract(Program* p) {
  testing::internal::CaptureStderr();
  P::extract_tiling(p);
  return testing::internal::GetCapturedStderr();
}

std::string text_of(IndexFunction* f) {
  std::ostringstream out;
  out << *f;
  return out.str();
}

std::vector<std::string> texts(const std::vector<IndexFunction*>& functions) {
  std::vector<std::string> all;
  for (IndexFunction* f : functions) all.push_back(text_of(f));
  return all;
}

std::vector<std::string> statement_texts(const Program* p) {
  std::vector<std::string> all;
  for (const Statement* s : p->statement) {
    std::ostringstream out;
    out << s->stmt_rank << ": " << *s;
    all.push_back(out.str());
  }
  return all;
}

const char* const two_statements =
    "#pragma tile_group[0]\n#pragma tile_size[32][32]\n#pragma tile_hyperplans[i][j]\n"
    "#pragma schedule[__T][__T][i][j]\n      a[i][j] = 0;\n#pragma schedule[1][i]\n      b[i] = 1;";

using Ints = std::vector<int>;

TEST_F(BasicTilingTest, ATiledAndAnUntiledStatement) {
  Program* p = basic_model(two_statements);
  extract(p);
  EXPECT_EQ(P::tile_group, (Ints{0, -1}));
  EXPECT_EQ(P::tile_size, (std::vector<Ints>{{32, 32}, {}}));
  EXPECT_EQ(texts(P::tile_hyperplans), (std::vector<std::string>{"[i][j]", ""}));
  EXPECT_EQ(texts(P::schedule), (std::vector<std::string>{"[__T][__T][i][j]", "[1][i]"}));
  EXPECT_EQ(P::tile_dimensions, (std::vector<Ints>{{0, 1}, {}}));
  EXPECT_EQ(P::group, (std::vector<Ints>{{0}}));
  EXPECT_TRUE(P::parallel_instances.empty());
  EXPECT_TRUE(P::bound.empty());
  ASSERT_TRUE(P::context);
  EXPECT_EQ(P::context->constraints.size(), 0u);
  EXPECT_EQ(P::vector_size, 0);
  EXPECT_TRUE(P::vectorize_stmt.empty());
  EXPECT_EQ(statement_texts(p), (std::vector<std::string>{"0: a[i][j]=0", "1: b[i]=1"}));
  EXPECT_EQ(stdout_of(P::print_tiling),
            "Statement #0\n  Tile group #0\n  Tile size(s): 32 32 \n  Tile hyperplans: [i][j]\n"
            "  Rank of tile dimensions: 0 1 \n  Schedule: [__T][__T][i][j]\nStatement #1\n  Not tiled.\n"
            "  Schedule: [1][i]\nTile group #0: 0 \n");
  delete p;
}

const char* const groups_0_and_2 =
    "#pragma tile_group[2]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i][j]\n"
    "      a[i][j] = 0;\n#pragma tile_group[0]\n#pragma tile_size[8][8]\n#pragma tile_hyperplans[i][j]\n"
    "#pragma schedule[__T][__T][j]\n      a[j][i] = 1;\n#pragma schedule[2][i]\n      b[i] = 2;\n"
    "#pragma tile_group[2]\n#pragma tile_size[4]\n#pragma tile_hyperplans[j]\n#pragma schedule[3][__T]\n"
    "      b[j] = 3;";

TEST_F(BasicTilingTest, GroupsZeroAndTwo) {
  Program* p = basic_model(groups_0_and_2);
  extract(p);
  EXPECT_EQ(P::tile_group, (Ints{2, 0, -1, 2}));
  EXPECT_EQ(P::group, (std::vector<Ints>{{1}, {}, {0, 3}}));
  EXPECT_EQ(P::tile_dimensions, (std::vector<Ints>{{0}, {0, 1}, {}, {1}}));
  std::string printed = stdout_of(P::print_tiling);
  EXPECT_NE(printed.find("\nTile group #0: 1 \nTile group #1: \nTile group #2: 0 3 \n"), std::string::npos)
      << printed;
  delete p;
}

TEST_F(BasicTilingTest, BoundsMakeTheContext) {
  Program* p = basic_model(
      "#pragma bound[N][1][100]\n#pragma bound[N][2][N + 5]\n#pragma schedule[i][j]\n      a[i][j] = 0;");
  extract(p);
  ASSERT_EQ(P::bound.size(), 1u);
  EXPECT_EQ(text(P::bound["N"].first), "2");
  EXPECT_EQ(text(P::bound["N"].second), "N+5");
  std::ostringstream context;
  context << *P::context;
  EXPECT_EQ(context.str(), "/\n| N >= 1\n| N <= 100\n| N >= 2\n| N <= N+5\n\\\n");
  EXPECT_EQ(statement_texts(p), (std::vector<std::string>{"0: a[i][j]=0"}));
  delete p;

  clear_tables();
  const std::pair<const char*, const char*> refused[] = {
      {"[N][1]", "Preprocessor::extract_tiling: bound: expect 3 arguments (parameter id, lower bound, upper bound)"},
      {"[i][1][100]", "Preprocessor::extract_tiling: bound: argument 1: parameter id expected."},
      {"[4][1][100]", "Preprocessor::extract_tiling: bound: argument 1: parameter id expected."},
  };
  for (const auto& c : refused) {
    p = basic_model(std::string("#pragma bound") + c.first + "\n#pragma schedule[i][j]\n      a[i][j] = 0;");
    EXPECT_STOP_ON_STDERR(P::extract_tiling(p), c.second);
    delete p;
  }
}

TEST_F(BasicTilingTest, ParallelizeAndVectorDirectives) {
  Program* p = basic_model(
      "#pragma parallelize[1][4][8]\n#pragma parallelize[1][2]\n#pragma vector_size[16]\n"
      "#pragma vectorize[0][1][2][3]\n#pragma vectorize[0][4][5][-6]\n#pragma schedule[i][j]\n      a[i][j] = 0;");
  extract(p);
  EXPECT_EQ(P::parallel_instances, (std::map<int, Ints>{{1, {4, 8, 2}}}));
  EXPECT_EQ(P::vector_size, 16);
  EXPECT_EQ(P::vectorize_stmt, (std::map<int, Ints>{{0, {4, 5, -6}}}));
  EXPECT_EQ(statement_texts(p), (std::vector<std::string>{"0: a[i][j]=0"}));
  delete p;

  clear_tables();
  const std::string prefix = "Preprocessor::extract_tiling: statement #0: ";
  const std::pair<const char*, std::string> refused[] = {
      {"parallelize[1][i]", "parallel group and #instances must be integer values"},
      {"parallelize[N][2]", "parallel group and #instances must be integer values"},
      {"vector_size[4][4]", "pragma vector_size: 1 dimension expected"},
      {"vector_size[N]", "pragma vector_size: expect integer value"},
      {"vectorize[0][1][2]", "pragma pipeline: 4 dimensions expected (#stmt,tile_dim,#op,pipeline_depth)"},
      {"vectorize[0][1][2][i]", "pragma pipeline: argument 4: expect integer value"},
      {"vectorize[N][1][2][3]", "pragma pipeline: argument 1: expect integer value"},
  };
  for (const auto& c : refused) {
    p = basic_model(std::string("#pragma ") + c.first + "\n#pragma schedule[i][j]\n      a[i][j] = 0;");
    EXPECT_STOP_ON_STDERR(P::extract_tiling(p), prefix + c.second);
    delete p;
  }
}

TEST_F(BasicTilingTest, ParallelizeWithoutArguments) {
  // The rewrite leaves a bare assignment to the carrier: no argument at all.
  Program* p = basic_model("#pragma parallelize\n#pragma schedule[i][j]\n      a[i][j] = 0;");
  EXPECT_STOP_ON_STDERR(P::extract_tiling(p),
                        "Preprocessor::extract_tiling: statement #0: parallel group and #instances must be integer "
                        "values");
  delete p;
}

TEST_F(BasicTilingTest, BlocksCutShortOrMalformed) {
  const std::string prefix = "Preprocessor::extract_tiling: statement #1: ";
  const std::string first = "#pragma schedule[0][i][j]\n      b[i] = 0;\n";
  const std::pair<const char*, std::string> cases[] = {
      {"#pragma tile_group[0]\n      a[i][j] = 0;", "pragma tile_size expected in 2nd position"},
      {"#pragma tile_group[0]\n#pragma tile_size[4]\n      a[i][j] = 0;",
       "pragma tile_hyperplans expected in 3rd position"},
      {"#pragma tile_group[0]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n      a[i][j] = 0;",
       "pragma schedule expected in 4th position"},
      {"#pragma tile_group[0][1]\n#pragma tile_size[4]\n      a[i][j] = 0;", "tile group must 1-dimensional"},
      {"#pragma tile_group[N]\n#pragma tile_size[4]\n      a[i][j] = 0;", "tile group must be an integer value"},
      {"#pragma tile_group[0]\n#pragma tile_ratio[2]\n#pragma tile_hyperplans[i]\n#pragma schedule[i]\n"
       "      a[i][j] = 0;",
       "pragma tile_size expected in 2nd position"},
      {"#pragma tile_group[0]\n#pragma tile_size[i]\n#pragma tile_hyperplans[i]\n#pragma schedule[i]\n"
       "      a[i][j] = 0;",
       "tile size must be an integer value"},
      {"#pragma tile_group[0]\n#pragma tile_size[4]\n#pragma schedule[i]\n#pragma tile_hyperplans[i]\n"
       "      a[i][j] = 0;",
       "pragma tile_hyperplans expected in 3rd position"},
  };
  for (const auto& c : cases) {
    Program* p = basic_model(first + c.first);
    EXPECT_STOP_ON_STDERR(P::extract_tiling(p), prefix + c.second) << c.first;
    delete p;
  }
}

TEST_F(BasicTilingTest, MissingScheduleIsCountedFromZero) {
  Program* p = basic_model("#pragma schedule[i][j]\n      a[i][j] = 0;\n      b[i] = 0;");
  EXPECT_STOP_ON_STDOUT(P::extract_tiling(p), "Preprocessor::extract_schedules: missing schedule for assignment #1");
  delete p;
}

TEST_F(BasicTilingTest, OutputArrays) {
  Program* p = basic_model("#pragma output b[i]\n#pragma schedule[i][j]\n      a[i][j] = 0;\n#pragma output a[i][0]");
  EXPECT_EQ(extract(p), "");
  EXPECT_EQ(P::output_array, (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(statement_texts(p), (std::vector<std::string>{"0: a[i][j]=0"}));
  delete p;

  clear_tables();
  clear_registries();
  p = basic_model("#pragma vector_size[8]\n#pragma schedule[i][j]\n      a[i][j] = b[j];");
  EXPECT_EQ(extract(p),
            "Preprocessor::extract_tiling: warning: no output arrays specified, all the variables will be "
            "stored\n");
  EXPECT_EQ(P::output_array, (std::vector<std::string>{"a", "b", "vector_size"}));
  delete p;
}

TEST_F(BasicTilingTest, AnOutputCarrierLast) {
  Program* p = basic_model("#pragma schedule[i][j]\n      a[i][j] = 0;\n      output__ = 0;");
  EXPECT_STOP_ON_STDERR(P::extract_tiling(p),
                        "Preprocessor::extract_tiling: statement #1: pragma output: array element expected");
  delete p;
}

TEST_F(BasicTilingTest, GroupNumbersAreBounded) {
  const std::string message = "Preprocessor::extract_tiling: statement #0: tile group must be between 0 and 65535";
  for (const char* g : {"65536", "-1", "-5", "2000000000"}) {
    Program* p = basic_model(std::string("#pragma tile_group[") + g +
                             "]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n"
                             "      a[i][j] = 0;");
    EXPECT_STOP_ON_STDERR(P::extract_tiling(p), message) << g;
    delete p;
  }
  Program* p = basic_model(
      "#pragma tile_group[65535]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]\n"
      "      a[i][j] = 0;\n#pragma output a[i][j]");
  P::extract_tiling(p);
  EXPECT_EQ(P::group.size(), 65536u);
  EXPECT_EQ(P::group[65535], (Ints{0}));
  delete p;
}

TEST_F(BasicTilingTest, DirectivesMustDescribeTheAssignments) {
  const std::string message = "Preprocessor::extract_tiling: the directives describe 2 assignments but the program has 1";
  Program* p = basic_model(
      "#pragma schedule[i][j]\n#pragma vector_size[4]\n#pragma schedule[j][i]\n      a[i][j] = 0;");
  EXPECT_STOP_ON_STDERR(P::extract_tiling(p), message);
  delete p;
  // Directives after the last assignment stop the model builder first.
  const std::pair<const char*, const char*> trailing[] = {
      {"#pragma schedule[j][i]", "12: error: a directive that no statement of the part follows: #pragma schedule[j][i]"},
      {"#pragma tile_group[0]\n#pragma tile_size[4]\n#pragma tile_hyperplans[i]\n#pragma schedule[__T][i]",
       "15: error: a directive that no statement of the part follows: #pragma schedule[__T][i]"},
  };
  for (const auto& c : trailing)
    EXPECT_EXIT(
        {
          check_stderr_only();
          basic_model(std::string("#pragma schedule[i][j]\n      a[i][j] = 0;\n") + c.first);
        },
        testing::ExitedWithCode(1), regex_escaped(std::string("/prog.c:") + c.second) + "\n$");
}

// The three routes over the same file, each from a fresh registry.
std::string printed(const Program* p) {
  std::ostringstream out;
  out << *p;
  return out.str();
}

void fresh_state() {
  clear_registries();
  in_scop = 0;
  statement_vec.clear();
  var_declaration.clear();
  var_declared_names.clear();
}

// The extended front end's reading of the same body, from a fresh state;
// its program in `program`.
Tiling* extended_tiling(const std::string& body, Program*& program) {
  fresh_state();
  program = model_of(nest(body));
  Tiling* tiling = nullptr;
  stdout_of([&] { tiling = extract_extended_tiling(program); });
  return tiling;
}

TEST_F(BasicTilingTest, LoneSchedulesReadAlikeOnEveryRoute) {
  const std::string body =
      "#pragma schedule[0][i][j]\n      a[i][j] = b[i];\n#pragma schedule[1][j][i]\n      b[j] = a[j][i] + 1;";
  Program* single = model_of(nest(body), P::preprocess_schedule);
  std::vector<Schedule*> theta = P::extract_schedule(single);
  std::vector<std::string> single_texts;
  for (Schedule* s : theta) single_texts.push_back(text_of(s->schedule));

  fresh_state();
  Program* basic = basic_model(body);
  extract(basic);

  Program* extended;
  Tiling* tiling = extended_tiling(body, extended);

  EXPECT_EQ(single_texts, (std::vector<std::string>{"[0][i][j]", "[1][j][i]"}));
  EXPECT_EQ(texts(P::schedule), single_texts);
  EXPECT_EQ(texts(tiling->schedule), single_texts);
  EXPECT_EQ(printed(basic), printed(single));
  EXPECT_EQ(printed(extended), printed(single));
  for (Schedule* s : theta) delete s;
  delete tiling;
  delete single;
  delete basic;
  delete extended;
}

TEST_F(BasicTilingTest, ConstantBlocksReadAsTheExtendedFrontEndReadsThem) {
  Program* basic = basic_model(groups_0_and_2);
  extract(basic);

  Program* extended;
  Tiling* tiling = extended_tiling(groups_0_and_2, extended);

  EXPECT_EQ(P::tile_group, tiling->tile_group);
  EXPECT_EQ(P::tile_size, tiling->tile_size);
  EXPECT_EQ(texts(P::tile_hyperplans), texts(tiling->tile_hyperplans));
  EXPECT_EQ(texts(P::schedule), texts(tiling->schedule));
  EXPECT_EQ(P::tile_dimensions, tiling->tile_dimensions);
  EXPECT_EQ(printed(basic), printed(extended));
  delete tiling;
  delete basic;
  delete extended;
}

// The bounds of one extraction do not stay for the next one, on either
// front end.
TEST_F(BasicTilingTest, EveryExtractionStartsFromTheUniverse) {
  const std::string bounded = "#pragma bound[N][1][100]\n#pragma schedule[i][j]\n      a[i][j] = 0;";
  Program* basic = basic_model(bounded);
  extract(basic);
  ASSERT_EQ(P::context->constraints.size(), 2u);
  Program* extended;
  Tiling* tiling = extended_tiling("#pragma schedule[i][j]\n      a[i][j] = 0;", extended);
  ASSERT_TRUE(P::context);
  EXPECT_TRUE(P::context->constraints.empty());
  fresh_state();
  Program* again = basic_model(bounded);
  extract(again);
  EXPECT_EQ(P::context->constraints.size(), 2u);
  delete tiling;
  delete basic;
  delete extended;
  delete again;
}

TEST_F(BasicTilingTest, ASecondExtractionAppends) {
  Program* first = basic_model(two_statements);
  extract(first);
  Polyhedron* old_context = P::context;
  fresh_state();
  Program* second = basic_model(groups_0_and_2);
  extract(second);
  EXPECT_NE(P::context, old_context);
  EXPECT_EQ(P::tile_group, (Ints{0, -1, 2, 0, -1, 2}));
  EXPECT_EQ(P::group, (std::vector<Ints>{{0, 3}, {}, {2, 5}}));
  EXPECT_EQ(P::schedule.size(), 6u);
  EXPECT_EQ(statement_texts(second).size(), 4u);
  stdout_of(P::print_tiling);
  delete first;
  delete second;
}

}  // namespace
