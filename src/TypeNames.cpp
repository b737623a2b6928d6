#include "TypeNames.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

namespace {

// The type words of the specifiers, storage classes (`typedef` among
// them), qualifiers and `inline` left out, in their written order.
std::vector<std::string> words_of(const std::string& specifiers) {
  static const std::set<std::string> aside = {"const", "volatile", "static", "extern",
                                              "register", "auto", "inline", "restrict", "typedef"};
  std::istringstream in(specifiers);
  std::vector<std::string> words;
  for (std::string w; in >> w;)
    if (!aside.count(w)) words.push_back(w);
  return words;
}

// The integer words without "signed" and "int", sorted; `is_signed` tells
// whether "signed" was written. Other words stay, so that a caller sees
// them.
std::vector<std::string> size_words(const std::string& specifiers, bool& is_signed) {
  std::vector<std::string> rest;
  is_signed = false;
  for (const std::string& w : words_of(specifiers)) {
    if (w == "signed") is_signed = true;
    else if (w != "int") rest.push_back(w);
  }
  std::sort(rest.begin(), rest.end());
  return rest;
}

bool mentions_int_or_signed(const std::string& specifiers) {
  std::vector<std::string> words = words_of(specifiers);
  return std::count(words.begin(), words.end(), "int") + std::count(words.begin(), words.end(), "signed") > 0;
}

}  // namespace

bool names_int(const std::string& specifiers) {
  bool is_signed = false;
  return size_words(specifiers, is_signed).empty() && mentions_int_or_signed(specifiers);
}

bool names_wide_signed_integer(const std::string& specifiers) {
  bool is_signed = false;
  std::vector<std::string> rest = size_words(specifiers, is_signed);
  if (rest.empty()) return mentions_int_or_signed(specifiers);
  return rest == std::vector<std::string>{"long"} || rest == std::vector<std::string>{"long", "long"};
}

bool names_signed_integer(const std::string& specifiers) {
  bool is_signed = false;
  std::vector<std::string> rest = size_words(specifiers, is_signed);
  if (rest == std::vector<std::string>{"char"}) return is_signed;
  return names_wide_signed_integer(specifiers) || rest == std::vector<std::string>{"short"};
}

std::string type_words(const std::string& specifiers) {
  std::string text;
  for (const std::string& w : words_of(specifiers)) text += (text.empty() ? "" : " ") + w;
  return text;
}
