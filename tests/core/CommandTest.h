#ifndef TARVEX_TESTS_COMMAND_TEST_H
#define TARVEX_TESTS_COMMAND_TEST_H

#include <gtest/gtest.h>

#include <string>

#include "CoreTest.h"

class Program;
class SgProject;

// Each test starts from the state of a fresh run: empty registries, no
// model-builder state, default options.
class CommandTest : public CoreTest {
protected:
  void SetUp() override;
};

// The model of a C text after the directive rewrite, as a run builds it,
// or after another rewrite of the directives.
Program* model_of(const std::string& c_text, SgProject* (*rewrite)(SgProject*) = nullptr);

// A scratch folder holding `c_text` as prog.c; the caller removes it.
std::string scratch_with(const std::string& c_text);

// Runs `statement` and returns what it wrote on standard output.
template <class F>
std::string stdout_of(F statement) {
  testing::internal::CaptureStdout();
  statement();
  return testing::internal::GetCapturedStdout();
}

// Matches output whose last line is exactly `text`.
std::string last_line(const std::string& text);

#endif
