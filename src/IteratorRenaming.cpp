// Renaming of iscc's loop iterators that would shadow names of the output,
// and of the aliases the script gives the input names that isl cannot read.

#include "IteratorRenaming.h"

#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "GeneratedName.h"

namespace {

bool starts_identifier(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }

bool continues_identifier(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text cut into identifiers and the runs of other characters between
// them, in order; a number ("1e5", "0x1f") is one run, never an identifier.
struct Piece {
  std::string text;
  bool identifier;
};

std::vector<Piece> split(const std::string& text) {
  std::vector<Piece> pieces;
  size_t k = 0;
  while (k < text.size()) {
    size_t start = k;
    bool identifier = starts_identifier(text[k]);
    if (identifier || std::isdigit(static_cast<unsigned char>(text[k]))) {
      while (k < text.size() && (continues_identifier(text[k]) || (!identifier && text[k] == '.'))) k++;
    } else {
      while (k < text.size() && !starts_identifier(text[k]) && !std::isdigit(static_cast<unsigned char>(text[k])))
        k++;
    }
    pieces.push_back({text.substr(start, k - start), identifier});
  }
  return pieces;
}

std::set<std::string> identifiers(const std::vector<Piece>& pieces) {
  std::set<std::string> names;
  for (const Piece& p : pieces)
    if (p.identifier) names.insert(p.text);
  return names;
}

bool is_blank(const Piece& p) {
  return !p.identifier && p.text.find_first_not_of(" \t\n") == std::string::npos;
}

// The names declared by "long long <name>" in the nest: iscc declares
// nothing else. A cast "(long long)N" declares nothing.
std::set<std::string> declared_iterators(const std::vector<Piece>& pieces) {
  std::set<std::string> names;
  for (size_t k = 4; k < pieces.size(); k++)
    if (pieces[k].identifier && is_blank(pieces[k - 1]) && pieces[k - 2].text == "long" && is_blank(pieces[k - 3]) &&
        pieces[k - 4].text == "long")
      names.insert(pieces[k].text);
  return names;
}

}  // namespace

std::string rename_clashing_iterators(const std::string& nest, const std::string& head) {
  std::vector<Piece> pieces = split(nest);
  std::set<std::string> taken = identifiers(split(head));
  std::set<std::string> in_nest = identifiers(pieces);
  std::map<std::string, std::string> renamed;
  for (const std::string& name : declared_iterators(pieces)) {
    if (!taken.count(name)) continue;
    std::string fresh;
    for (int k = 0; fresh.empty() || taken.count(fresh) || in_nest.count(fresh); k++)
      fresh = name + "_" + std::to_string(k);
    taken.insert(fresh);
    renamed[name] = fresh;
  }
  if (renamed.empty()) return nest;
  std::string result;
  for (const Piece& p : pieces) {
    auto found = p.identifier ? renamed.find(p.text) : renamed.end();
    result += found == renamed.end() ? p.text : found->second;
  }
  return result;
}

namespace {

bool is_integer(const std::string& text) {
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Whether the first character after the blanks of `next` opens a call.
bool opens_call(const std::vector<Piece>& pieces, size_t next) {
  if (next >= pieces.size()) return false;
  const std::string& text = pieces[next].text;
  size_t k = text.find_first_not_of(" \t\n");
  return k != std::string::npos && text[k] == '(';
}

}  // namespace

std::string in_long_long(const std::string& nest, const std::set<std::string>& parameters) {
  std::vector<Piece> pieces = split(nest);
  std::string result;
  for (size_t k = 0; k < pieces.size(); k++) {
    const Piece& p = pieces[k];
    if (p.identifier && parameters.count(p.text) && !opens_call(pieces, k + 1))
      result += "((long long)" + p.text + ")";
    else
      result += p.text + (!p.identifier && is_integer(p.text) ? "LL" : "");
  }
  return result;
}

std::string with_input_names(const std::string& nest) {
  std::string result;
  for (const Piece& p : split(nest)) result += p.identifier ? input_name(p.text) : p.text;
  return result;
}
