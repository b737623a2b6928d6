// Broken inputs: exactly one diagnostic line with the offending position,
// no file in the project, nothing on standard output.
#include <gtest/gtest.h>

#include <algorithm>

#include "FrontendTestSupport.h"

namespace {

struct ErrorCase {
  std::string text;
  std::string diagnostic;  // after "<path>:"
};

std::string deep_parens(int n) { return "int x = " + std::string(n, '(') + "1" + std::string(n, ')') + ";\n"; }

TEST(Errors, EachBrokenInputGivesOneExactDiagnostic) {
  const ErrorCase cases[] = {
      {"int main() {\n  x = 1\n}\n", "3:1: error: expected ';' after expression"},
      {"int a\nint b;\n", "2:1: error: expected ';' after declaration"},
      {"int main() {\n  if (a) {\n    x = 1;\n}\n", "4:2: error: unexpected end of file"},
      {"int main() { }\n}\n", "2:1: error: unexpected '}'"},
      {"int a; /* no end\n", "1:8: error: unterminated comment"},
      {"char *s = \"abc;\n", "1:11: error: unterminated string literal"},
      {"int c = 'a;\n", "1:9: error: unterminated character literal"},
      {"int main() { for (i = 0; i < N", "1:30: error: unexpected end of file"},
      {"int main() {\n  switch (x) { }\n}\n", "2:3: error: 'switch' statements are not supported"},
      {"struct point { int x; };\n", "1:1: error: 'struct' bodies are not supported"},
      {"int main() {\n  for (;;)\n#pragma tile_size[4]\n    x = 1;\n}\n",
       "3:1: error: '#pragma' may stand only between declarations and statements"},
      {"int main() {\n  if (a) x = 1;\n#pragma p\n  else x = 2;\n}\n",
       "3:1: error: '#pragma' may stand only between declarations and statements"},
      {"int x = 1 +\n#pragma p\n 2;\n", "2:1: error: '#pragma' may stand only between declarations and statements"},
      {deep_parens(10000), "1:265: error: nesting deeper than 256 levels is not supported"},
      {"int x = 99999999999999999999;\n", "1:9: error: integer literal '99999999999999999999' is too large for any integer type"},
      {std::string("int a;\nint b\0;\n", 14), "2:6: error: invalid byte 0x00"},
      {"int a @ 1;\n", "1:7: error: invalid byte 0x40"},
      {"int main() { goto end; }\n", "1:14: error: 'goto' statements are not supported"},
      {"int main() { end: x = 1; }\n", "1:14: error: labels are not supported"},
      {"int f(a, b) int a; { }\n", "1:7: error: K&R-style parameter lists are not supported"},
      {"int (*fp)(int);\n", "1:5: error: parenthesised declarators are not supported"},
      {"int v[2] = {[0] = 1};\n", "1:13: error: designated initializers are not supported"},
      {"int main() { x = (int){1}; }\n", "1:23: error: compound literals are not supported"},
      {"int true = 1;\n", "1:5: error: expected an identifier in the declaration"},
      {"#\nint a;\n", "1:1: error: null directive '#' is not supported"},
      {"#line 3\n", "1:1: error: '#line' is not supported"},
      {"int x = a # b;\n", "1:11: error: stray '#' in program"},
      {"int x = 08;\n", "1:9: error: invalid digit in octal literal '08'"},
      {"int main() { x = 1; } else\n", "1:23: error: expected a declaration"},
      {"void f() { int g() { } }\n", "1:20: error: function definitions are only allowed at file scope"},
  };
  for (const ErrorCase& c : cases) {
    ParseResult r = parse_text(c.text);
    EXPECT_EQ(r.project->numberOfFiles(), 0) << c.diagnostic;
    EXPECT_EQ(r.project->getFileNames(), std::vector<std::string>{last_path()});
    EXPECT_EQ(r.err, last_path() + ":" + c.diagnostic + "\n");
    EXPECT_EQ(r.out, "");
  }
}

TEST(Errors, NestingLimitAppliesToStatementsAndUnaryChains) {
  std::string blocks = "int main() " + std::string(300, '{') + std::string(300, '}') + "\n";
  ParseResult b = parse_text(blocks);
  EXPECT_NE(b.err.find("nesting deeper than 256 levels is not supported"), std::string::npos) << b.err;
  std::string minus = "int x = " + std::string(20000, '-') + "1;\n";
  ParseResult m = parse_text(minus);
  EXPECT_NE(m.err.find("nesting deeper than 256 levels is not supported"), std::string::npos) << m.err;
  EXPECT_TRUE(parse_text(deep_parens(100)).ok());
}

TEST(Errors, FailureNeverWritesToStandardOutput) {
  ParseResult r = parse_text("int main( {\n");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
}

}  // namespace

namespace {

TEST(Errors, LongOperatorChainsCountAsNesting) {
  std::string sum = "int x = 1";
  for (int i = 0; i < 300; ++i) sum += " + 1";
  ParseResult r = parse_text(sum + ";\n");
  EXPECT_NE(r.err.find("nesting deeper than 256 levels is not supported"), std::string::npos) << r.err;
  std::string shorter = "int x = 1";
  for (int i = 0; i < 100; ++i) shorter += " + 1";
  EXPECT_TRUE(parse_text(shorter + ";\n").ok());
}

}  // namespace

namespace {

// Such a line would splice the next one into it once printed back.
TEST(Errors, DirectiveLineEndingWithBackslashIsRefused) {
  ParseResult r = parse_text("int main() {\n#pragma begin_scop\\ /* c */\n  x = 1;\n}\n");
  EXPECT_EQ(r.err, last_path() + ":2:19: error: backslash at the end of a directive line is not supported\n");
  ParseResult d = parse_text("#define X 1 \\ // c\nint a;\n");
  EXPECT_EQ(d.err, last_path() + ":1:13: error: backslash at the end of a directive line is not supported\n");
}

}  // namespace
