// The document tree, its two lookups, the number conversions, the
// serialiser and the scalar writers and readers.

#include <climits>
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

Xml leaf(const std::string& text) {
  Xml node;
  node = text;
  return node;
}

TEST(XmlTreeTest, LookupsAssignmentsAndSerialisedOrder) {
  Xml root;
  EXPECT_EQ(serialised(root), "(empty)");
  Xml& t = root["t"];
  EXPECT_EQ(&t, &root["t"]);
  EXPECT_EQ(serialised(root), "<t>(empty)</t>");
  t = "";
  EXPECT_EQ(serialised(root), "<t></t>");
  for (const char* tag : {"b", "a", "item2", "item10"}) root[tag] = "1";
  EXPECT_EQ(serialised(root), "<a>1</a><b>1</b><item10>1</item10><item2>1</item2><t></t>");
  root = "new";
  EXPECT_EQ(serialised(root), "new");
  const Xml& reader = root;
  EXPECT_EQ(reader["a"].string_value(), "1");
  EXPECT_STOP_ON_STDERR(reader["z"], "Xml::read[]: node z not found");
}

TEST(XmlTreeTest, IntValueFollowsAtoiWithinTheIntRange) {
  const std::pair<const char*, int> cases[] = {{"-7", -7}, {"007", 7},   {"3.9", 3},     {"abc", 0},
                                               {" 12x", 12}, {"", 0},    {"(empty)", 0}, {"2147483647", INT_MAX},
                                               {"-2147483648", INT_MIN}};
  for (const auto& c : cases) EXPECT_EQ(leaf(c.first).int_value(), c.second) << c.first;
  for (const char* big : {"2147483648", "-2147483649", "99999999999999999999999"})
    EXPECT_STOP_ON_STDERR(leaf(big).int_value(), std::string("Xml::int_value: value out of range: ") + big);
  EXPECT_EQ(str_to_int(" 8"), 8);
  EXPECT_EQ(str_to_int("x8"), 0);
  EXPECT_EQ(leaf("x").double_value(), 0.0);
}

TEST(XmlTreeTest, IntsRoundTripWhateverTheStreamFlags) {
  for (int value : {INT_MIN, -12, 0, INT_MAX}) {
    std::ostringstream out;
    out << std::hex << std::showpos;
    print_xml(out, "v", value);
    EXPECT_EQ(out.str(), "<v>" + std::to_string(value) + "</v>");
    const Xml document = document_of(out.str());
    int back = 0;
    from_xml(back, document["v"]);
    EXPECT_EQ(back, value);
  }
}

TEST(XmlTreeTest, InnerNodesAreNoScalars) {
  Xml node;
  node["a"] = "1";
  EXPECT_STOP_ON_STDERR(node.int_value(), "Xml::int_value: not a leaf");
  EXPECT_STOP_ON_STDERR(node.string_value(), "Xml::string_value: not a leaf");
  EXPECT_STOP_ON_STDERR(node.double_value(), "Xml::double_value: not a leaf");
}

TEST(XmlTreeTest, StringsOutsideTheTextSetAreEscaped) {
  const std::pair<std::string, std::string> cases[] = {
      {"int a[10];", "int a'09110'093;"}, {"it's", "it'039s"}, {"\t\xE9", "'009'233"},
      {std::string(1, '\0'), "'000"}, {"plain text_(1)*-.;", "plain text_(1)*-.;"}};
  for (const auto& c : cases) {
    std::ostringstream out;
    print_xml(out, "s", c.first);
    EXPECT_EQ(out.str(), "<s>" + c.second + "</s>");
    std::string back;
    from_xml(back, leaf(c.second));
    EXPECT_EQ(back, c.first);
  }
  for (const char* bad : {"a'09", "a'999", "'x12"}) {
    std::string back;
    EXPECT_STOP_ON_STDERR(from_xml(back, leaf(bad)), std::string("Xml::from_xml: bad escape in text: ") + bad);
  }
}

}  // namespace
