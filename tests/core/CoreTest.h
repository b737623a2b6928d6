#ifndef TARVEX_TESTS_CORE_TEST_H
#define TARVEX_TESTS_CORE_TEST_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Expression.h"
#include "Inequation.h"

// Empties every process-wide registry, so each test starts from the state
// of a fresh run.
void clear_registries();

// Registers `counters`, then `parameters`, each in rank order.
void register_names(const std::vector<std::string>& counters,
                    const std::vector<std::string>& parameters);

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override { clear_registries(); }
};

// Counters i (rank 0), j (rank 1) and parameter N (rank 0) in a fresh
// registry: full rows are [flag | i | j | N | 1].
class IJNTest : public CoreTest {
 protected:
  void SetUp() override;
};

// Counters i, j and parameter N made by the leaf builders var and par, with
// the leaves i, j and n; the fixture owns the leaves and frees them.
class IJNLeavesTest : public CoreTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  Expression* i;
  Expression* j;
  Expression* n;
};

// `text` with every regular-expression metacharacter escaped.
std::string regex_escaped(const std::string& text);

// A regular expression matching exactly `text` and one end of line.
std::string exact_line(const std::string& text);

// In a child process that a stop under test ends: the stop leaves the
// run's objects behind by design (held by locals, or by global containers
// that exit destroys first), so LeakSanitizer must not judge the child.
void leave_leaks_unjudged();

// Inside a death test: the stream the message is expected on goes to the
// checked pipe, the other one to /dev/null; leaks are left unjudged.
void check_stdout_only();
void check_stderr_only();

#define EXPECT_STOP_ON_STDOUT(statement, text)                                     \
  EXPECT_EXIT(                                                                     \
      {                                                                            \
        check_stdout_only();                                                       \
        statement;                                                                 \
      },                                                                           \
      ::testing::ExitedWithCode(1), exact_line(text))

#define EXPECT_STOP_ON_STDERR(statement, text)                                     \
  EXPECT_EXIT(                                                                     \
      {                                                                            \
        check_stderr_only();                                                       \
        statement;                                                                 \
      },                                                                           \
      ::testing::ExitedWithCode(1), exact_line(text))

// The text form of an expression (operator<<).
std::string text(const Expression& e);
std::string text(const Expression* e);

// Reference arithmetic: floor(a / d) for d != 0, either sign, and whether
// `l pred r` holds.
long long floor_div(long long a, long long d);
bool holds(predicate_t pred, long long l, long long r);

#endif
