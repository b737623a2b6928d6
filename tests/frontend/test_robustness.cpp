// Truncated and mutated corpus files: every parse returns, either with one
// diagnostic whose position lies inside the text, or with a tree that
// round-trips.
#include <gtest/gtest.h>

#include <random>

#include "FrontendTestSupport.h"
#include "Parser.h"
#include "TreeDump.h"

namespace {

// Lengths of the lines of `text` (a final line without newline included).
std::vector<std::size_t> line_lengths(const std::string& text) {
  std::vector<std::size_t> lengths{0};
  for (char c : text) {
    if (c == '\n') lengths.push_back(0);
    else ++lengths.back();
  }
  return lengths;
}

// Checks one input; returns a description of the fault, or "".
std::string check(const std::string& text) {
  SgSourceFile* file = nullptr;
  try {
    file = parse_c_file("m.c", text);
  } catch (const SyntaxError& e) {
    std::vector<std::size_t> lengths = line_lengths(text);
    if (e.message.empty() || e.message.find('\n') != std::string::npos) return "bad message: " + e.message;
    if (e.line < 1 || static_cast<std::size_t>(e.line) > lengths.size()) return "line outside: " + e.message;
    if (e.col < 1 || static_cast<std::size_t>(e.col) > lengths[e.line - 1] + 1) return "column outside: " + e.message;
    return "";
  }
  std::string u1 = file->unparseToCompleteString();
  SgSourceFile* again = nullptr;
  try {
    again = parse_c_file("m.c", u1);
  } catch (const SyntaxError& e) {
    return "unparsed text does not parse: " + e.message + "\n" + u1;
  }
  if (dump_tree(again) != dump_tree(file)) return "tree changed by the round trip:\n" + u1;
  if (again->unparseToCompleteString() != u1) return "text changed by the round trip:\n" + u1;
  return "";
}

class Robustness : public testing::TestWithParam<std::string> {};

TEST_P(Robustness, TruncationsReturnCleanly) {
  const std::string text = corpus_file(GetParam());
  std::mt19937 rng(20240601);
  std::uniform_int_distribution<std::size_t> cut(0, text.size());
  for (int k = 0; k < 200; ++k) {
    std::string piece = text.substr(0, cut(rng));
    std::string fault = check(piece);
    ASSERT_EQ(fault, "") << "at length " << piece.size();
  }
}

TEST_P(Robustness, SingleByteMutationsReturnCleanly) {
  const std::string text = corpus_file(GetParam());
  const std::string punct = "{}[]()<>;:,.+-*/%&|^!~?=#\"'\\\n ";
  std::mt19937 rng(424242);
  std::uniform_int_distribution<std::size_t> where(0, text.size() - 1);
  std::uniform_int_distribution<std::size_t> which(0, punct.size());  // the last value stands for NUL
  std::uniform_int_distribution<int> how(0, 2);
  for (int k = 0; k < 1000; ++k) {
    std::string m = text;
    std::size_t at = where(rng);
    std::size_t w = which(rng);
    char c = w < punct.size() ? punct[w] : '\0';
    switch (how(rng)) {
      case 0: m.insert(m.begin() + static_cast<long>(at), c); break;
      case 1: m.erase(at, 1); break;
      default: m[at] = c; break;
    }
    std::string fault = check(m);
    ASSERT_EQ(fault, "") << "mutation " << k << " at byte " << at;
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, Robustness, testing::ValuesIn(corpus_names()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.size() - 2);
                         });

}  // namespace
