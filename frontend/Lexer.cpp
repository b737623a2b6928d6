// Translation phases 1 to 3 of C as far as tarvex needs them: lines are
// spliced, CRLF becomes LF, comments become one blank; then tokens.
#include "Lexer.h"

#include <cstdio>
#include <cstring>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool is_ident_start(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_ident(char c) { return is_ident_start(c) || is_digit(c); }

// Longest first, so that the first match is the longest one.
const char* const kPunctuators[] = {
    "...", "<<=", ">>=", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "*=", "/=",
    "%=",  "+=",  "-=",  "&=", "^=", "|=", "[",  "]",  "(",  ")",  "{",  "}",  ".",  "&",  "*",  "+",
    "-",   "~",   "!",   "/",  "%",  "<",  ">",  "^",  "|",  "?",  ":",  ";",  "=",  ","};

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && is_blank(s[b])) ++b;
  while (e > b && is_blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

}  // namespace

Lexer::Lexer(const std::string& bytes, const std::vector<int>* lines) : end_{1, 1} {
  int line = 1, col = 1;
  text_.reserve(bytes.size());
  pos_.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    end_ = {line, col};
    if (c == '\\' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      ++i, ++line, col = 1;
    } else if (c == '\\' && i + 2 < bytes.size() && bytes[i + 1] == '\r' && bytes[i + 2] == '\n') {
      i += 2, ++line, col = 1;
    } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      ++col;  // the LF that follows ends the line
    } else {
      // A lone CR separates like a blank; no stored text ever holds one.
      text_.push_back(c == '\r' ? ' ' : c);
      pos_.push_back({line, col});
      if (c == '\n') ++line, col = 1;
      else ++col;
    }
  }
  if (lines) {
    for (Pos& p : pos_) p = mapped(p, *lines);
    end_ = mapped(end_, *lines);
  }
}

Lexer::Pos Lexer::mapped(Pos p, const std::vector<int>& lines) {
  std::size_t k = static_cast<std::size_t>(p.line) - 1;
  return {k < lines.size() ? lines[k] : 0, 0};
}

Lexer::Lexer(std::string text, std::vector<Pos> pos, Pos end)
    : text_(std::move(text)), pos_(std::move(pos)), end_(end), line_start_(false) {}

void Lexer::fail(std::size_t i, const std::string& message) const {
  fail_at(i < pos_.size() ? pos_[i] : end_, message);
}

void Lexer::fail_at(Pos p, const std::string& message) const { throw SyntaxError{p.line, p.col, message}; }

void Lexer::skip_block_comment() {
  std::size_t close = text_.find("*/", i_ + 2);
  if (close == std::string::npos) fail(i_, "unterminated comment");
  i_ = close + 2;
}

bool Lexer::skip_blanks_and_comments(bool stop_at_newline) {
  bool skipped = false;
  while (!at_end()) {
    char c = text_[i_];
    if (c == '\n' && stop_at_newline) break;
    if (c == '\n') {
      line_start_ = true;
      ++i_;
    } else if (is_blank(c)) {
      ++i_;
    } else if (c == '/' && at(i_ + 1) == '*') {
      skip_block_comment();
    } else if (c == '/' && at(i_ + 1) == '/') {
      while (!at_end() && text_[i_] != '\n') ++i_;
    } else {
      break;
    }
    skipped = true;
  }
  return skipped;
}

Token Lexer::make(TokenKind kind, std::size_t start, std::size_t end) const {
  Token t;
  t.kind = kind;
  t.text = text_.substr(start, end - start);
  t.line = pos_[start].line;
  t.col = pos_[start].col;
  t.space_before = space_;
  return t;
}

Token Lexer::next() {
  if (skip_blanks_and_comments(false)) space_ = true;
  if (at_end()) {
    Token t;
    t.line = end_.line;
    t.col = end_.col;
    return t;
  }
  Token t;
  if (text_[i_] == '#') {
    if (!line_start_) fail(i_, "stray '#' in program");
    t = lex_directive();
  } else {
    line_start_ = false;
    t = lex_token();
  }
  space_ = false;
  return t;
}

Token Lexer::lex_token() {
  char c = text_[i_];
  std::size_t start = i_;
  if (is_ident_start(c)) {
    while (is_ident(at(i_))) ++i_;
    return make(TokenKind::Identifier, start, i_);
  }
  if (is_digit(c) || (c == '.' && is_digit(at(i_ + 1)))) return lex_number();
  if (c == '"' || c == '\'') return lex_quoted(c);
  return lex_punct();
}

Token Lexer::lex_number() {
  std::size_t start = i_;
  while (true) {
    char c = at(i_);
    char prev = at(i_ - 1);
    if ((c == '+' || c == '-') && (prev == 'e' || prev == 'E' || prev == 'p' || prev == 'P')) {
      ++i_;
    } else if (is_ident(c) || c == '.') {
      ++i_;
    } else {
      break;
    }
  }
  return make(TokenKind::Number, start, i_);
}

Token Lexer::lex_quoted(char quote) {
  std::size_t start = i_++;
  const char* what = quote == '"' ? "unterminated string literal" : "unterminated character literal";
  while (true) {
    char c = at(i_);
    if (at_end() || c == '\n') fail(start, what);
    ++i_;
    if (c == quote) break;
    if (c == '\\') {
      if (at_end() || at(i_) == '\n') fail(start, what);
      ++i_;
    }
  }
  if (quote == '\'' && i_ - start == 2) fail(start, "empty character literal");
  return make(quote == '"' ? TokenKind::String : TokenKind::Char, start, i_);
}

Token Lexer::lex_punct() {
  for (const char* p : kPunctuators) {
    std::size_t n = std::strlen(p);
    if (text_.compare(i_, n, p) == 0) {
      std::size_t start = i_;
      i_ += n;
      return make(TokenKind::Punct, start, i_);
    }
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "invalid byte 0x%02x", static_cast<unsigned char>(text_[i_]));
  fail(i_, buf);
}

// Reads the logical line of a directive, with comments turned into one
// blank, and makes one token of it.
Token Lexer::lex_directive() {
  std::size_t hash = i_;
  std::string line;
  std::vector<Pos> pos;
  while (!at_end() && text_[i_] != '\n') {
    char c = text_[i_];
    if (c == '/' && at(i_ + 1) == '*') {
      line += ' ';
      pos.push_back(pos_[i_]);
      skip_block_comment();
      continue;
    }
    if (c == '/' && at(i_ + 1) == '/') {
      while (!at_end() && text_[i_] != '\n') ++i_;
      break;
    }
    std::size_t from = i_++;
    if (c == '"' || c == '\'') {  // a literal may hold comment-like text
      while (!at_end() && text_[i_] != '\n' && text_[i_] != c) i_ += text_[i_] == '\\' && at(i_ + 1) != '\n' ? 2 : 1;
      if (!at_end() && text_[i_] == c) ++i_;
    }
    for (std::size_t k = from; k < i_ && k < text_.size(); ++k) {
      line += text_[k];
      pos.push_back(pos_[k]);
    }
  }
  while (!line.empty() && is_blank(line.back())) line.pop_back(), pos.pop_back();
  // The line is printed back as it stands; a final backslash would then
  // splice the following line into it.
  if (line.back() == '\\') fail_at(pos.back(), "backslash at the end of a directive line is not supported");

  Token t;
  t.line = pos_[hash].line;
  t.col = pos_[hash].col;
  std::size_t k = 1;
  while (k < line.size() && is_blank(line[k])) ++k;
  std::size_t name_start = k;
  while (k < line.size() && is_ident(line[k])) ++k;
  std::string name = line.substr(name_start, k - name_start);
  if (name == "pragma" && (k == line.size() || is_blank(line[k]))) {
    t.kind = TokenKind::Pragma;
    t.text = trim(line.substr(k));
    return t;
  }
  if (name == "include" || name == "define" || name == "undef") {
    t.kind = TokenKind::Directive;
    t.text = line;
    t.directive = name;
    if (name != "include") read_define(t, line, pos, k);
    return t;
  }
  if (name_start == line.size()) fail(hash, "null directive '#' is not supported");
  std::size_t word_end = name_start;
  while (word_end < line.size() && !is_blank(line[word_end])) ++word_end;
  if (name.empty()) name = line.substr(name_start, word_end - name_start);
  fail(hash, "'#" + name + "' is not supported");
}

// The macro name of `#define` or `#undef`, and the replacement of `#define`.
void Lexer::read_define(Token& t, const std::string& line, const std::vector<Pos>& pos, std::size_t i) {
  while (i < line.size() && is_blank(line[i])) ++i;
  std::size_t start = i;
  if (i < line.size() && is_ident_start(line[i]))
    while (i < line.size() && is_ident(line[i])) ++i;
  if (i == start) fail_at(i < pos.size() ? pos[i] : pos.back(), "macro name missing in '#" + t.directive + "'");
  t.macro = line.substr(start, i - start);
  t.macro_line = pos[start].line;
  t.macro_col = pos[start].col;
  if (t.directive != "define") return;
  if (i < line.size() && line[i] == '(') {
    t.function_like = true;
    t.signature = trim(line.substr(i));
    return;
  }
  Lexer body(line.substr(i), std::vector<Pos>(pos.begin() + i, pos.end()), pos.back());
  t.body = body.lex_all();
  for (std::size_t k = 0; k < t.body.size(); ++k)
    t.signature += (k > 0 && t.body[k].space_before ? " " : "") + t.body[k].text;
}

std::vector<Token> Lexer::lex_all() {
  std::vector<Token> out;
  for (Token t = next(); t.kind != TokenKind::End; t = next()) out.push_back(t);
  return out;
}
