// The container and pointer encodings: the written texts, the readers'
// merging rules, and the element tags the vector and list readers refuse.

#include <sstream>

#include "CoreTest.h"
#include "Expression.h"
#include "Inequation.h"
#include "Xml.h"
#include "XmlTestSupport.h"

namespace {

template <class T>
std::string text_of(const std::string& tag, const T& value) {
  std::ostringstream out;
  print_xml(out, tag, value);
  return out.str();
}

// The value of the element "v" of `text`, read into `target`.
template <class T>
void read_into(T& target, const std::string& text) {
  const Xml root = document_of(text);
  from_xml(target, root["v"]);
}

TEST(XmlContainersTest, WrittenTexts) {
  EXPECT_EQ(text_of("m", std::vector<std::vector<int>>{{1, 2}, {3}}),
            "<m><item0><item0>1</item0><item1>2</item1></item0><item1><item0>3</item0></item1></m>");
  EXPECT_EQ(text_of("parameter_rank", std::map<std::string, int>{{"N", 0}, {"M", 1}}),
            "<parameter_rank><item0><first>M</first><second>1</second></item0><item1><first>N</first>"
            "<second>0</second></item1></parameter_rank>");
  EXPECT_EQ(text_of("s", std::set<int>{7, 3}), "<s><item0>3</item0><item1>7</item1></s>");
  EXPECT_EQ(text_of("e", std::vector<int>{}), "<e></e>");
  EXPECT_EQ(text_of("t", static_cast<Expression*>(nullptr)), "<t></t>");
}

TEST(XmlContainersTest, TwelveElementsKeepTheirOrder) {
  std::vector<int> v;
  for (int k = 0; k < 12; k++) v.push_back(100 - k);
  std::vector<int> back = {5, 5};
  read_into(back, text_of("v", v));
  EXPECT_EQ(back, v);

  register_names({"i"}, {});
  Expression i("i");
  std::list<Inequation*> l;
  for (int k = 0; k < 12; k++) l.push_back(i >= k);
  std::list<Inequation*> read;
  read_into(read, text_of("v", l));
  ASSERT_EQ(read.size(), 12u);
  auto original = l.begin();
  for (Inequation* c : read) EXPECT_TRUE(*c == **original++);
  del(l);
  del(read);
}

TEST(XmlContainersTest, MapsMergeAndDefaultMissingHalves) {
  std::map<std::string, int> m = {{"a", 1}, {"b", 2}};
  read_into(m, "<v><item0><first>b</first><second>7</second></item0>"
               "<item1><first>c</first></item1><item2><second>4</second></item2></v>");
  EXPECT_EQ(m, (std::map<std::string, int>{{"a", 1}, {"b", 7}, {"c", 0}, {"(empty)", 4}}));
  std::map<int, std::string> names;
  read_into(names, "<v><item0><first>3</first></item0><item1><second>x</second></item1></v>");
  EXPECT_EQ(names, (std::map<int, std::string>{{3, "(empty)"}, {0, "x"}}));
  std::pair<int, int> p;
  EXPECT_STOP_ON_STDERR(read_into(p, "<v><first>1</first></v>"), "Xml::read[]: node second not found");
}

TEST(XmlContainersTest, IndicesComeFromTheFifthCharacterOn) {
  std::vector<int> v;
  read_into(v, "<v><elem1>2</elem1><elem0>1</elem0></v>");
  EXPECT_EQ(v, (std::vector<int>{1, 2}));
  v = {9};
  read_into(v, "<v>5</v>");
  EXPECT_TRUE(v.empty());
  read_into(v, "<v><item0>1</item0><elem0>2</elem0></v>");
  EXPECT_EQ(v, std::vector<int>{1});
}

TEST(XmlContainersTest, SetsAddToTheirTarget) {
  std::set<int> s = {1};
  read_into(s, "<v><item0>3</item0><item1>3</item1></v>");
  EXPECT_EQ(s, (std::set<int>{1, 3}));
}

TEST(XmlContainersTest, VectorsAndListsAcceptOnlyTheWrittenIndices) {
  const std::pair<const char*, const char*> cases[] = {
      {"<v><item5>1</item5></v>", "Xml::from_xml: no element with index 0"},
      {"<v><item0>1</item0><item2>1</item2></v>", "Xml::from_xml: no element with index 1"},
      {"<v><it>1</it></v>", "Xml::from_xml: bad element tag: it"},
      {"<v><item>1</item></v>", "Xml::from_xml: bad element tag: item"},
      {"<v><itemx>1</itemx></v>", "Xml::from_xml: bad element tag: itemx"},
      {"<v><item-1>1</item-1></v>", "Xml::from_xml: bad element tag: item-1"},
  };
  for (const auto& c : cases) {
    std::vector<int> v;
    EXPECT_STOP_ON_STDERR(read_into(v, c.first), c.second);
    std::list<int> l;
    EXPECT_STOP_ON_STDERR(read_into(l, c.first), c.second);
  }
}

TEST(XmlContainersTest, NullPointersAndReplacedElements) {
  std::vector<Expression*> v = {nullptr, new Expression(3)};
  std::string text = text_of("v", v);
  EXPECT_EQ(text.substr(0, 20), "<v><item0></item0><i");
  std::vector<Expression*> back;
  read_into(back, text);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0], nullptr);
  EXPECT_TRUE(*back[1] == *v[1]);
  del(back);
  // A later element with the same index replaces the earlier one, which is
  // freed (checked by the leak checker of the sanitizer build).
  std::string twice = text_of("v", std::vector<Expression*>{v[1]});
  twice.insert(twice.size() - 4, text_of("elem0", v[1]));
  read_into(back, twice);
  ASSERT_EQ(back.size(), 1u);
  del(back);
  del(v);
}

}  // namespace
