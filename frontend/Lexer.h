// Tokens of a C source file, after line splicing, CRLF folding and comment
// removal. Directive lines come out as single tokens.
#ifndef TARVEX_FRONTEND_LEXER_H
#define TARVEX_FRONTEND_LEXER_H

#include <string>
#include <vector>

// A failed parse: the position of the offending token and what is wrong.
struct SyntaxError {
  int line;
  int col;
  std::string message;
};

enum class TokenKind {
  Identifier,
  Number,     // a preprocessing number: checked when it becomes a literal
  Char,
  String,
  Punct,
  Pragma,     // text: the pragma text
  Directive,  // `#include`, `#define`, `#undef`; text: the cleaned line
  End
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  int line = 1;
  int col = 1;
  bool space_before = false;
  // Macros not to expand in this token: those whose expansion produced it.
  std::vector<std::string> hidden;

  // Directives only.
  std::string directive;            // "include", "define" or "undef"
  std::string macro;                // the macro name of `#define` and `#undef`
  int macro_line = 0, macro_col = 0;
  bool function_like = false;       // `#define F(x) ...`
  std::string signature;            // the replacement, for comparing redefinitions
  std::vector<Token> body;          // the replacement of an object-like macro

  bool is(const char* punct) const { return kind == TokenKind::Punct && text == punct; }
};

class Lexer {
public:
  // `bytes` is the whole file as read. Messages carry positions only; the
  // caller adds the file name. With `lines`, the text stands for another
  // one: its line k is reported as line lines[k - 1] (0 past the end), and
  // every column as 0 (unknown).
  explicit Lexer(const std::string& bytes, const std::vector<int>* lines = nullptr);

  // The next token; an End token (repeatedly) at the end. Throws
  // SyntaxError on a lexical fault.
  Token next();

private:
  struct Pos {
    int line;
    int col;
  };
  Lexer(std::string text, std::vector<Pos> pos, Pos end);
  static Pos mapped(Pos p, const std::vector<int>& lines);

  char at(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  bool at_end() const { return i_ >= text_.size(); }
  [[noreturn]] void fail(std::size_t i, const std::string& message) const;
  [[noreturn]] void fail_at(Pos p, const std::string& message) const;
  bool skip_blanks_and_comments(bool stop_at_newline);
  void skip_block_comment();
  Token make(TokenKind kind, std::size_t start, std::size_t end) const;
  Token lex_token();
  Token lex_number();
  Token lex_quoted(char quote);
  Token lex_punct();
  Token lex_directive();
  void read_define(Token& t, const std::string& line, const std::vector<Pos>& pos, std::size_t i);
  std::vector<Token> lex_all();

  std::string text_;
  std::vector<Pos> pos_;
  Pos end_;
  std::size_t i_ = 0;
  bool line_start_ = true;
  bool space_ = false;
};

#endif
