// Unparsing the corpus and parsing the text again gives the same tree and
// the same text; pragma lines and declarations come out as the model
// builder and the pragma rewrite need them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "FrontendTestSupport.h"
#include "TreeDump.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::string trim_left(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  return b == std::string::npos ? "" : s.substr(b);
}

class CorpusRoundTrip : public testing::TestWithParam<std::string> {};

TEST_P(CorpusRoundTrip, ParseOfUnparseGivesSameTreeAndText) {
  ParseResult first = parse_text(corpus_file(GetParam()), GetParam());
  ASSERT_TRUE(first.ok()) << first.err;
  const std::string u1 = first.project->unparseToCompleteString();
  ASSERT_FALSE(u1.empty());
  EXPECT_EQ(u1.back(), '\n');
  EXPECT_EQ(u1.find('\r'), std::string::npos);

  ParseResult second = parse_text(u1, GetParam());
  ASSERT_TRUE(second.ok()) << second.err << u1;
  EXPECT_EQ(dump_global(first.project), dump_global(second.project));
  EXPECT_EQ(second.project->unparseToCompleteString(), u1);
}

TEST_P(CorpusRoundTrip, EveryPragmaIsOneLineAndNoOtherLineIsAPragma) {
  ParseResult r = parse_text(corpus_file(GetParam()), GetParam());
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<std::string> expected;
  for (SgNode* n : find_all(r.project, V_SgPragma)) expected.push_back("#pragma " + isSgPragma(n)->get_pragma());
  std::vector<std::string> found;
  for (const std::string& l : lines_of(r.project->unparseToCompleteString()))
    if (trim_left(l).compare(0, 7, "#pragma") == 0) {
      found.push_back(trim_left(l));
      EXPECT_EQ(l.find_first_not_of(' ') % 2, 0u) << l;
    }
  EXPECT_EQ(found, expected);
}

TEST_P(CorpusRoundTrip, OneVariableDeclarationPerDeclarator) {
  static const std::map<std::string, std::size_t> declarators = {
      {"comments.c", 3}, {"crlf.c", 3}, {"helpers.c", 26}, {"jacobi.c", 4},
      {"lu.c", 6},       {"matmul.c", 7}, {"seidel.c", 6}, {"stencil.c", 8}};
  ParseResult r = parse_text(corpus_file(GetParam()), GetParam());
  ASSERT_TRUE(r.ok()) << r.err;
  std::vector<SgNode*> decls = find_all(r.project, V_SgVariableDeclaration);
  ASSERT_TRUE(declarators.count(GetParam()));
  EXPECT_EQ(decls.size(), declarators.at(GetParam()));
  for (SgNode* d : decls) {
    EXPECT_EQ(d->get_numberOfTraversalSuccessors(), 1u);
    std::string text = d->unparseToCompleteString();
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
    EXPECT_EQ(text.back(), ';') << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip, testing::ValuesIn(corpus_names()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.size() - 2);
                         });

TEST(Corpus, HasAtLeastEightFiles) { EXPECT_GE(corpus_names().size(), 8u); }

TEST(Corpus, CrlfAndSplicedLinesLeaveNoCarriageReturn) {
  ParseResult r = parse_text(corpus_file("crlf.c"), "crlf.c");
  ASSERT_TRUE(r.ok()) << r.err;
  std::string text = r.project->unparseToCompleteString();
  EXPECT_NE(text.find("#define N   100\n"), std::string::npos) << text;
  EXPECT_NE(text.find("for (i = 0; i < 100; i++) {"), std::string::npos) << text;
  EXPECT_NE(text.find("A[i] = A[i] * 2;"), std::string::npos) << text;
  for (SgNode* p : find_all(r.project, V_SgPragma)) EXPECT_EQ(isSgPragma(p)->get_pragma().find('\r'), std::string::npos);
}

}  // namespace
