// The built program end to end: standard input, output, error and status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

struct Outcome {
  bool exited;  // false after a signal (an abort or a crash)
  int status;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `iscc <args> < <script> > <out>`. A relative script names a file of
// the scripts folder; `out` empty means a file of the test's own.
Outcome run_iscc(const std::string& script, const std::string& args = "", std::string out = "") {
  char pattern[] = "/tmp/iscc_binary_XXXXXX";
  EXPECT_NE(mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  bool own_out = out.empty();
  if (own_out) out = dir + "/out";
  std::string input = script[0] == '/' ? script : ISCC_SCRIPTS "/" + script;
  int w = std::system(("'" ISCC_BINARY "' " + args + " < '" + input + "' > '" + out +
                       "' 2> '" + dir + "/err'").c_str());
  Outcome o{WIFEXITED(w), WIFEXITED(w) ? WEXITSTATUS(w) : -1, own_out ? slurp(out) : "",
            slurp(dir + "/err")};
  std::filesystem::remove_all(dir);
  return o;
}

TEST(IsccBinary, PrintsTheNestOfAGoodScript) {
  Outcome o = run_iscc("two_statements.iscc");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out,
            "for (long long c0 = 0; c0 < N; c0 += 1) {\n  S1(c0);\n  for (long long c1 = 0; c1 < N; c1 += 1)\n"
            "    S0(c0, c1);\n}\n");
  EXPECT_EQ(o.err, "");
}

TEST(IsccBinary, ProgramWithoutStatementsFails) {
  Outcome o = run_iscc("no_statement.iscc");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err,
            "iscc: line 1: expected identifier, literal or '(', found ';'\n"
            "iscc: line 3: unknown identifier 'D'\n"
            "iscc: line 4: unknown identifier 'tiled_program'\n");
}

TEST(IsccBinary, LaterFailureKeepsTheFirstNestButFails) {
  Outcome o = run_iscc("good_then_bad.iscc");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "for (long long c0 = 0; c0 < N; c0 += 1)\n  S0(c0);\n");
  EXPECT_EQ(o.err, "iscc: line 4: '*' is not defined for set and map\n");
}

TEST(IsccBinary, ElseScheduleMakesTheStatusThree) {
  Outcome o = run_iscc("else_schedule.iscc");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 3);
  EXPECT_EQ(o.out, "for (long long c0 = 0; c0 < N; c0 += 1)\n  S0(c0);\n");
  EXPECT_EQ(o.err, "iscc: line 1: codegen generated its else schedule: the schedule exceeded its budget of work\n");
}

// Four runs per core at once of the script that tarvex writes for
// tests/e2e/zil_cases/rect_1d.c, whose nests end at times of the machine's
// load: each run stops its later nests wherever they are then, and ends as
// a run alone.
TEST(IsccBinary, RunsAtOnceEndAsARunAlone) {
  const std::string script = ISCC_SCRIPTS "/rect_1d.iscc";
  Outcome alone = run_iscc(script);
  ASSERT_TRUE(alone.exited);
  char pattern[] = "/tmp/iscc_binary_XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const unsigned runs = 4 * std::max(1u, std::thread::hardware_concurrency());
  std::string command;
  for (unsigned k = 0; k < runs; ++k) {
    std::string at = dir + "/" + std::to_string(k);
    command += "('" ISCC_BINARY "' < '" + script + "' > '" + at + ".out' 2> '" + at + ".err'; echo $? > '" + at +
               ".status') & ";
  }
  ASSERT_EQ(std::system((command + "wait").c_str()), 0);
  for (unsigned k = 0; k < runs; ++k) {
    std::string at = dir + "/" + std::to_string(k);
    EXPECT_EQ(slurp(at + ".status"), std::to_string(alone.status) + "\n") << "run " << k;
    EXPECT_EQ(slurp(at + ".out"), alone.out) << "run " << k;
    EXPECT_EQ(slurp(at + ".err"), alone.err) << "run " << k;
  }
  std::filesystem::remove_all(dir);
}

TEST(IsccBinary, RefusesArguments) {
  Outcome o = run_iscc("two_statements.iscc", "two_statements.iscc");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "usage: iscc < script\n");
}

TEST(IsccBinary, FailsWhenTheScriptCannotBeRead) {
  Outcome o = run_iscc("/");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "iscc: cannot read standard input\n");
}

TEST(IsccBinary, FailsWhenTheNestCannotBeWritten) {
  Outcome o = run_iscc("two_statements.iscc", "", "/dev/full");
  EXPECT_TRUE(o.exited);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err, "iscc: cannot write the output\n");
}

}  // namespace
