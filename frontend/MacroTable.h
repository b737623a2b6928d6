// Object-like macros: the table of `#define`s in force, and the token
// stream after expansion.
#ifndef TARVEX_FRONTEND_MACROTABLE_H
#define TARVEX_FRONTEND_MACROTABLE_H

#include <deque>
#include <map>
#include <string>

#include "Lexer.h"

class MacroTable {
public:
  // Applies a `#define` or `#undef` token (other tokens are ignored).
  // Throws SyntaxError when a macro is redefined differently.
  void apply(const Token& directive);
  // The `#define` token in force for `name`, or null. Valid until the next
  // apply().
  const Token* find(const std::string& name) const;

private:
  std::map<std::string, Token> macros_;
};

// Pulls tokens from a lexer and expands object-like macros with C's rules:
// the replacement is rescanned, a macro is not expanded again inside its
// own expansion, and expanded tokens take the position of the macro's use.
// Directive tokens pass through after updating the table, so a macro takes
// effect from its `#define` line on.
class MacroExpander {
public:
  // Keeps a reference to `lexer`, which must outlive the expander.
  explicit MacroExpander(Lexer& lexer) : lexer_(lexer) {}
  // Throws SyntaxError on lexical faults, on the use of a function-like
  // macro and on runaway expansion.
  Token next();

private:
  Token raw();

  Lexer& lexer_;
  MacroTable table_;
  std::deque<Token> pending_;
  std::size_t expanded_ = 0;
};

#endif
