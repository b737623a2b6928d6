#include "FloorCeil.h"

#include <cctype>
#include <cstddef>

namespace iscc {
namespace {

bool is_word_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool is_positive_integer(const std::string& s) {
  if (s.empty()) return false;
  bool nonzero = false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    if (c != '0') nonzero = true;
  }
  return nonzero;
}

// Length of the keyword ("floor" or "ceil") that starts a call at `pos`,
// or 0 when none does.
size_t call_keyword_at(const std::string& text, size_t pos) {
  if (pos > 0 && is_word_char(text[pos - 1])) return 0;
  for (const char* word : {"floor", "ceil"}) {
    std::string w(word);
    if (text.compare(pos, w.size(), w) == 0 && pos + w.size() < text.size() &&
        text[pos + w.size()] == '(')
      return w.size();
  }
  return 0;
}

// Position of the ")" that closes the "(" at `open`, or npos.
size_t matching_paren(const std::string& text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i;
  }
  return std::string::npos;
}

// Position of the first "," at parenthesis depth 0 in `args`, or npos.
size_t top_level_comma(const std::string& args) {
  int depth = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == '(') ++depth;
    if (args[i] == ')') --depth;
    if (args[i] == ',' && depth == 0) return i;
  }
  return std::string::npos;
}

bool rewrite(const std::string& text, std::string& out, std::string& error);

// Rewrites the arguments `args` of the call `word(args)` into `out`.
bool rewrite_call(const std::string& word, const std::string& args,
                  std::string& out, std::string& error) {
  size_t comma = top_level_comma(args);
  std::string x;
  if (!rewrite(args.substr(0, comma), x, error)) return false;
  if (comma == std::string::npos) {
    out += word + "(" + x + ")";
    return true;
  }
  std::string divisor = trim(args.substr(comma + 1));
  if (!is_positive_integer(divisor)) {
    error = "floor/ceil divisor must be a positive integer constant: '" +
            divisor + "'";
    return false;
  }
  out += word + "((" + x + ")/" + divisor + ")";
  return true;
}

bool rewrite(const std::string& text, std::string& out, std::string& error) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t len = call_keyword_at(text, pos);
    size_t close =
        len ? matching_paren(text, pos + len) : std::string::npos;
    if (close == std::string::npos) {
      // Not a call, or an unbalanced one that isl will report itself.
      out += text[pos++];
      continue;
    }
    size_t open = pos + len;
    if (!rewrite_call(text.substr(pos, len),
                      text.substr(open + 1, close - open - 1), out, error))
      return false;
    pos = close + 1;
  }
  return true;
}

}  // namespace

bool rewrite_floor_ceil(const std::string& text, std::string& result,
                        std::string& error) {
  std::string out;
  if (!rewrite(text, out, error)) return false;
  result = out;
  return true;
}

}  // namespace iscc
