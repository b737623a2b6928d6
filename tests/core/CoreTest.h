#ifndef TARVEX_TESTS_CORE_TEST_H
#define TARVEX_TESTS_CORE_TEST_H

#include <gtest/gtest.h>

#include <string>

#include "Expression.h"

// Empties every process-wide registry, so each test starts from the state
// of a fresh run.
void clear_registries();

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override { clear_registries(); }
};

// A regular expression matching exactly `text` and one end of line.
std::string exact_line(const std::string& text);

// Inside a death test: the stream the message is expected on goes to the
// checked pipe, the other one to /dev/null.
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

#endif
