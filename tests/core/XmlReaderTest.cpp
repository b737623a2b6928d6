// The document reader: what each document reads as, the exact messages of
// the documents it refuses, its nesting limit, and documents with line
// breaks, tabs and comments between their tokens.

#include <sys/stat.h>

#include <cstdio>
#include <random>
#include <sstream>

#include "CoreTest.h"
#include "Xml.h"
#include "XmlTestSupport.h"

namespace {

std::string serialised(const Xml& node) {
  std::ostringstream out;
  out << node;
  return out.str();
}

// Reading `text` must stop with `message` on standard error.
void expect_refused(const std::string& text, const std::string& message) {
  std::string file = scratch_file(text);
  EXPECT_STOP_ON_STDERR(Xml{file}, message) << text;
  std::remove(file.c_str());
}

TEST(XmlReaderTest, DocumentsReadAsTrees) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"//only a comment", ""},
      {"\n\n", ""},
      {"<a>t</a>", "<a>t</a>"},
      {"<a></a>", "<a></a>"},
      {"<a> 5 </a>", "<a> 5 </a>"},
      {"<a>1</a><b>2</b>", "<a>1</a><b>2</b>"},
      {"<a>1</a><a>2</a>", "<a>2</a>"},
      {"<a>1</b>", "<a>1</a>"},
      {"x<a>1</a>", "<a>1</a>"},
      {"<a>\n1\n</a>", "<a>1</a>"},
      {"//c d\n<a>1</a>", "<a>1</a>"},
      {"< a b >1</x>", "< a b >1</ a b >"},
      {"<a>\t1\r</a>\n<b><c>2</c></b>", "<a>1</a><b><c>2</c></b>"},
  };
  for (const auto& c : cases) EXPECT_EQ(serialised(document_of(c.first)), c.second) << c.first;
  Xml root = document_of("abc");
  EXPECT_EQ(root.is_leaf, 1);
  EXPECT_EQ(root.leaf_value, "abc");
}

TEST(XmlReaderTest, RefusedDocumentsGiveTheirLineAndToken) {
  const std::pair<std::string, std::string> cases[] = {
      {"<a>1</a>x", "Line 1: syntax error. Last token was \"x\""},
      {"<a>1</a> ", "Line 1: syntax error. Last token was \" \""},
      {"<a><b>1</b> </a>", "Line 1: syntax error. Last token was \" \""},
      {"<a>", "Line 1: syntax error. Last token was \"\""},
      {"</a>", "Line 1: syntax error. Last token was \"</\""},
      {"<>", "Line 1: syntax error. Last token was \">\""},
      {"\n\n<b>2</b>x", "Line 3: syntax error. Last token was \"x\""},
      {"<a>x\ty</a>", "Line 1: syntax error. Last token was \"y\""},
      {"<a>x=y</a>", "Illegal character with code 61 (=) on line #1"},
      {"//c\n//d\n=", "Illegal character with code 61 (=) on line #3"},
      {"<a/>", "Illegal character with code 47 (/) on line #1"},
      {std::string("<a>\0</a>", 8), "Illegal character with code 0 () on line #1"},
      {"<a>\xE9</a>", "Illegal character with code -23 (\xE9) on line #1"},
      {"<a>int a[10];</a>", "Illegal character with code 91 ([) on line #1"},
      {"<a>1e+5</a>", "Illegal character with code 43 (+) on line #1"},
  };
  for (const auto& c : cases) expect_refused(c.first, c.second);
}

std::string nested(int depth) {
  std::string text;
  for (int k = 0; k < depth; k++) text += "<a>";
  for (int k = 0; k < depth; k++) text += "</a>";
  return text;
}

TEST(XmlReaderTest, DocumentsNestUpTo2498Levels) {
  Xml root = document_of(nested(2498));
  int depth = 0;
  for (const Xml* node = &root; !node->is_leaf; node = &node->son.begin()->second) depth++;
  EXPECT_EQ(depth, 2498);
  expect_refused(nested(2499), "Line 1: syntax error. Last token was \"a\"");
}

// Text runs and comments far longer than the scanner's buffer, which
// reads them in several refills.
TEST(XmlReaderTest, LongTextRunsAndComments) {
  const std::string run(3 << 20, 'x');
  Xml root = document_of("//" + run + "\n<a>" + run + "y</a>");
  EXPECT_EQ(root["a"].string_value(), run + "y");
  expect_refused("//" + run + "\n//" + run + "\n<a>" + run + "=</a>",
                 "Illegal character with code 61 (=) on line #3");
}

TEST(XmlReaderTest, UnreadableAndMissingFiles) {
  char folder[] = "/tmp/tarvex-xml-dir-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  EXPECT_EXIT(
      {
        check_stderr_only();
        Xml{std::string(folder)};
      },
      ::testing::ExitedWithCode(2), exact_line("input in flex scanner failed"));
  rmdir(folder);
  EXPECT_STOP_ON_STDERR(Xml{std::string("/nonexistent/doc.xml")}, "Xml::Xml: File not found: /nonexistent/doc.xml");
}

TEST(XmlReaderTest, ASecondDocumentCountsItsLinesFromOne) {
  std::string first = scratch_file("<a>\n\n1</a>\n");
  std::string second = scratch_file("=");
  EXPECT_STOP_ON_STDERR(
      {
        Xml a(first);
        EXPECT_EQ(serialised(a), "<a>1</a>");
        Xml b(second);
      },
      "Illegal character with code 61 (=) on line #1");
  std::remove(first.c_str());
  std::remove(second.c_str());
}

// Random trees over the text set, written with line breaks, tabs, carriage
// returns and comments between their tokens, must read back as themselves.
class TreeWriter {
 public:
  explicit TreeWriter(unsigned seed) : random_(seed) {}

  Xml tree(int depth) {
    Xml node;
    int children = depth == 0 ? 0 : pick(4);
    if (children == 0) {
      node = text(pick(2) ? 0 : 1);
      return node;
    }
    for (int k = 0; k < children; k++) node[text(1)] = tree(depth - 1);
    return node;
  }

  // The tokens of the node's content with separators between them.
  std::string write(const Xml& node) {
    if (node.is_leaf) return node.leaf_value;
    std::string out;
    for (const auto& child : node.son) {
      // No comment right after "<": "<//" reads as "</" and "/".
      out += "<" + separator(false) + child.first + separator() + ">" + separator();
      out += write(child.second) + separator();
      out += "</" + separator() + child.first + separator() + ">" + separator();
    }
    return out;
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % n); }

  std::string text(int min_length) {
    static const std::string set = " '()*-.0123456789;ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    std::string s;
    int length = min_length + pick(6);
    for (int k = 0; k < length; k++) s += set[pick(static_cast<int>(set.size()))];
    return s;
  }

  std::string separator(bool comments = true) {
    switch (pick(comments ? 8 : 3)) {
      case 0: return "\n";
      case 1: return "\t";
      case 2: return "\r";
      case 3: return "// note <a> = +\n";
      default: return "";
    }
  }

  std::mt19937 random_;
};

TEST(XmlReaderTest, RandomTreesReadBackThroughSeparatorsAndComments) {
  TreeWriter writer(2026);
  for (int k = 0; k < 200; k++) {
    Xml root;
    root["doc"] = writer.tree(6);
    std::string text = writer.write(root);
    EXPECT_EQ(serialised(document_of(text)), serialised(root)) << text;
  }
}

}  // namespace
