#include "Literals.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace {

bool is_hex_digit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

[[noreturn]] void fail(const Token& t, const std::string& message) { throw SyntaxError{t.line, t.col, message}; }

SgValueExp* make_floating(const Token& t, Sg_File_Info* info) {
  const std::string& s = t.text;
  std::size_t n = s.size();
  char suffix = (s[n - 1] | 0x20) == 'f' || (s[n - 1] | 0x20) == 'l' ? static_cast<char>(s[n - 1] | 0x20) : 0;
  std::string digits = suffix ? s.substr(0, n - 1) : s;
  errno = 0;
  char* end = nullptr;
  long double v = std::strtold(digits.c_str(), &end);
  if (digits.empty() || *end != '\0') fail(t, "invalid floating literal '" + s + "'");
  if (suffix == 'f') return new SgFloatVal(info, static_cast<float>(v), s);
  if (suffix == 'l') return new SgLongDoubleVal(info, v, s);
  return new SgDoubleVal(info, static_cast<double>(v), s);
}

// The value of the digits of an integer literal; false on overflow.
bool integer_value(const std::string& digits, int base, unsigned long long& value) {
  const unsigned long long max = std::numeric_limits<unsigned long long>::max();
  value = 0;
  for (char c : digits) {
    unsigned d = static_cast<unsigned>(hex_value(c));
    if (value > (max - d) / static_cast<unsigned>(base)) return false;
    value = value * static_cast<unsigned>(base) + d;
  }
  return true;
}

enum IntKind { Int, UInt, Long, ULong, LongLong, ULongLong };

bool fits(IntKind k, unsigned long long v) {
  switch (k) {
    case Int: return v <= static_cast<unsigned long long>(std::numeric_limits<int>::max());
    case UInt: return v <= std::numeric_limits<unsigned>::max();
    case Long: return v <= static_cast<unsigned long long>(std::numeric_limits<long>::max());
    case ULong: return v <= std::numeric_limits<unsigned long>::max();
    case LongLong: return v <= static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    case ULongLong: return true;
  }
  return false;
}

SgValueExp* make_int_node(IntKind k, unsigned long long v, const std::string& s, Sg_File_Info* info) {
  switch (k) {
    case Int: return new SgIntVal(info, static_cast<int>(v), s);
    case UInt: return new SgUnsignedIntVal(info, static_cast<unsigned>(v), s);
    case Long: return new SgLongIntVal(info, static_cast<long>(v), s);
    case ULong: return new SgUnsignedLongVal(info, static_cast<unsigned long>(v), s);
    case LongLong: return new SgLongLongIntVal(info, static_cast<long long>(v), s);
    case ULongLong: break;
  }
  return new SgUnsignedLongLongIntVal(info, v, s);
}

// The candidate types of C for a suffix; decimal literals without `u` never
// become unsigned.
std::vector<IntKind> candidates(bool u, int longs, bool decimal) {
  if (u) {
    if (longs == 0) return {UInt, ULong, ULongLong};
    if (longs == 1) return {ULong, ULongLong};
    return {ULongLong};
  }
  if (longs == 0) return decimal ? std::vector<IntKind>{Int, Long, LongLong}
                                 : std::vector<IntKind>{Int, UInt, Long, ULong, LongLong, ULongLong};
  if (longs == 1) return decimal ? std::vector<IntKind>{Long, LongLong}
                                 : std::vector<IntKind>{Long, ULong, LongLong, ULongLong};
  return decimal ? std::vector<IntKind>{LongLong} : std::vector<IntKind>{LongLong, ULongLong};
}

// Reads an integer suffix (u, l, ll in either order, any case).
bool read_suffix(const std::string& sfx, bool& u, int& longs) {
  u = false;
  longs = 0;
  std::size_t i = 0;
  while (i < sfx.size()) {
    char c = sfx[i];
    if ((c == 'u' || c == 'U') && !u) {
      u = true;
      ++i;
    } else if ((c == 'l' || c == 'L') && longs == 0) {
      longs = i + 1 < sfx.size() && sfx[i + 1] == c ? 2 : 1;
      i += static_cast<std::size_t>(longs);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

SgValueExp* make_number_literal(const Token& t, Sg_File_Info* info) {
  const std::string& s = t.text;
  bool hex = s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
  bool floating = s.find('.') != std::string::npos ||
                  (hex ? s.find_first_of("pP") != std::string::npos : s.find_first_of("eE") != std::string::npos);
  if (floating) return make_floating(t, info);
  std::size_t i = hex ? 2 : 0;
  std::size_t start = i;
  while (i < s.size() && (hex ? is_hex_digit(s[i]) : (s[i] >= '0' && s[i] <= '9'))) ++i;
  std::string digits = s.substr(start, i - start);
  if (digits.empty()) fail(t, "invalid integer literal '" + s + "'");
  int base = hex ? 16 : (digits.size() > 1 && digits[0] == '0' ? 8 : 10);
  if (base == 8 && digits.find_first_of("89") != std::string::npos)
    fail(t, "invalid digit in octal literal '" + s + "'");
  bool u;
  int longs;
  if (!read_suffix(s.substr(i), u, longs)) fail(t, "invalid suffix on integer literal '" + s + "'");
  unsigned long long v;
  if (integer_value(digits, base, v))
    for (IntKind k : candidates(u, longs, base == 10))
      if (fits(k, v)) return make_int_node(k, v, s, info);
  fail(t, "integer literal '" + s + "' is too large for any integer type");
}

SgCharVal* make_char_literal(const Token& t, Sg_File_Info* info) {
  const std::string& s = t.text;  // 'x' or '\n' ...
  std::size_t i = 1;
  int v = static_cast<unsigned char>(s[i]);
  if (s[i] == '\\') {
    char c = s[++i];
    switch (c) {
      case 'n': v = '\n'; break;
      case 't': v = '\t'; break;
      case 'r': v = '\r'; break;
      case 'a': v = '\a'; break;
      case 'b': v = '\b'; break;
      case 'f': v = '\f'; break;
      case 'v': v = '\v'; break;
      case 'x':
        v = 0;
        while (is_hex_digit(s[i + 1])) v = (v * 16 + hex_value(s[++i])) & 0xff;
        break;
      default:
        if (c >= '0' && c <= '7') {
          v = c - '0';
          for (int k = 0; k < 2 && s[i + 1] >= '0' && s[i + 1] <= '7'; ++k) v = (v * 8 + (s[++i] - '0')) & 0xff;
        } else {
          v = static_cast<unsigned char>(c);
        }
    }
  }
  return new SgCharVal(info, static_cast<char>(v), s);
}

SgStringVal* make_string_literal(const std::vector<Token>& parts, Sg_File_Info* info) {
  std::string spelling, value;
  for (const Token& p : parts) {
    spelling += (spelling.empty() ? "" : " ") + p.text;
    value += p.text.substr(1, p.text.size() - 2);
  }
  return new SgStringVal(info, value, spelling);
}
