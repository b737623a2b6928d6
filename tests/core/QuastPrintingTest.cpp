#include <sstream>

#include "CoreTest.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "QuastTestSupport.h"

namespace {

class QuastPrintingTest : public MNTest {
 protected:
  void SetUp() override {
    MNTest::SetUp();
    c_text = text_of(*c);
    d_text = text_of(*d);
    l3 = constant_leaf(3, 0, 5);
    bx.bottom_value = "x";
  }
  void TearDown() override {
    delete l3;
    MNTest::TearDown();
  }
  template <class T>
  static std::string text_of(T& x) {
    std::ostringstream out;
    out << x;
    return out.str();
  }
  std::string c_text, d_text;
  Quast* l3 = nullptr;
  Quast bx;
};

TEST_F(QuastPrintingTest, TreeCodeAndOneLineForms) {
  Quast q(c, l3, &bx);
  EXPECT_EQ(text_of(q), "if " + c_text + "\nthen\n  S3(0,5):0\nelse\n  _|_ (x)\nendif\n");
  std::ostringstream code, flat;
  q.print_code(code);
  q.print_flat_code(flat);
  EXPECT_EQ(code.str(), "if(" + c_text + ")\n  {\n    S3(0,5);\n  }\nelse\n  {\n    finished = true;\n  }\n");
  EXPECT_EQ(flat.str(), "(" + c_text + "?S3[0][5]:x)");
  Quast inner(d, l3, &bottom);
  Quast nested(c, &inner, &bx);
  EXPECT_EQ(text_of(nested), "if " + c_text + "\nthen\n  if " + d_text +
                                 "\n  then\n    S3(0,5):0\n  else\n    _|_\n  endif\nelse\n  _|_ (x)\nendif\n");
  std::ostringstream nested_code;
  nested.print_code(nested_code);
  std::string opening = "if(" + c_text + ")\n  {\n    if(" + d_text + ")\n      {\n        S3(0,5);\n";
  EXPECT_EQ(nested_code.str().substr(0, opening.size()), opening);
  // Untagged leaves, extended tests and unbounded leaves.
  IndexFunction point(std::vector<int>(), std::vector<int>{0, 5});
  Quast untagged(&point);
  std::ostringstream untagged_code, untagged_flat;
  untagged.print_code(untagged_code);
  untagged.print_flat_code(untagged_flat);
  EXPECT_EQ(text_of(untagged), "(0,5):0\n");
  EXPECT_EQ(untagged_code.str(), "0,5\n");
  EXPECT_EQ(untagged_flat.str(), "[0][5]");
  Quast never(std::list<Polyhedron*>{}, l3, &bx);
  EXPECT_EQ(text_of(never).substr(0, 9), "if false\n");
  l3->is_unbounded = 1;
  EXPECT_EQ(text_of(*l3), "S3(0,5):0 (unbounded)\n");
  std::vector<Quast*> v{&untagged, &bx};
  EXPECT_EQ(text_of(v), "Depth: 0\n(0,5):0\n\nDepth: 1\n_|_ (x)\n\n");
}

TEST_F(QuastPrintingTest, DebugFormSplitsTheStreams) {
  Quast q(c, l3, &bx);
  q.is_then_dag = 1;
  EXPECT_EQ(text_of(q).substr(text_of(q).find('\n') + 1, 11), "then (dag)\n");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  q.print();
  std::string out = testing::internal::GetCapturedStdout();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(out, "if \nthen\n  <S3,>\nelse\n  _|_\nendif\n");
  EXPECT_NE(err.find("M"), std::string::npos);
  IndexFunction point(std::vector<int>(), std::vector<int>{0, 5});
  Quast untagged(&point);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  untagged.print_indent("  ");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "  ");
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST_F(QuastPrintingTest, MapListings) {
  std::map<Polyhedron*, Operation*> pieces = l3->flatten();
  std::map<Polyhedron*, IndexFunction*> points = l3->flatten_point();
  Polyhedron* key = pieces.begin()->first;
  std::string key_text = text_of(*key);
  EXPECT_EQ(text_of(pieces), key_text + text_of(*pieces.begin()->second) + "\n\n");
  EXPECT_EQ(text_of(points), key_text + "[0][5]\n\n");
  std::vector<std::map<Polyhedron*, IndexFunction*>> both{points, points};
  EXPECT_EQ(text_of(both), key_text + "[0][5]\n\n\n" + key_text + "[0][5]\n\n\n");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  Quast::print_flattened(pieces);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "< S3,>\n\n");
  EXPECT_NE(testing::internal::GetCapturedStderr(), "");
  del(pieces);
  del(points);
}

}  // namespace
