#include "MacroTable.h"

#include <algorithm>

namespace {
// Bounds the tokens produced by expansion in one file, so that macros that
// double each other cannot exhaust memory.
const std::size_t kMaxExpandedTokens = 1000000;
}  // namespace

void MacroTable::apply(const Token& d) {
  if (d.kind != TokenKind::Directive) return;
  if (d.directive == "undef") {
    macros_.erase(d.macro);
  } else if (d.directive == "define") {
    auto it = macros_.find(d.macro);
    if (it == macros_.end()) {
      macros_.emplace(d.macro, d);
    } else if (it->second.function_like != d.function_like || it->second.signature != d.signature) {
      throw SyntaxError{d.macro_line, d.macro_col, "macro '" + d.macro + "' redefined differently"};
    }
  }
}

const Token* MacroTable::find(const std::string& name) const {
  auto it = macros_.find(name);
  return it == macros_.end() ? nullptr : &it->second;
}

Token MacroExpander::raw() {
  if (pending_.empty()) return lexer_.next();
  Token t = std::move(pending_.front());
  pending_.pop_front();
  return t;
}

Token MacroExpander::next() {
  while (true) {
    Token t = raw();
    if (t.kind == TokenKind::Directive) table_.apply(t);
    if (t.kind != TokenKind::Identifier) return t;
    const Token* m = table_.find(t.text);
    if (!m || std::find(t.hidden.begin(), t.hidden.end(), t.text) != t.hidden.end()) return t;
    if (m->function_like)
      throw SyntaxError{t.line, t.col, "function-like macro '" + t.text + "' is not supported"};
    expanded_ += m->body.size();
    if (expanded_ > kMaxExpandedTokens)
      throw SyntaxError{t.line, t.col, "expansion of macro '" + t.text + "' is too large"};
    for (auto it = m->body.rbegin(); it != m->body.rend(); ++it) {
      Token r = *it;
      r.line = t.line;
      r.col = t.col;
      r.hidden = t.hidden;
      r.hidden.push_back(t.text);
      if (it == m->body.rend() - 1) r.space_before = t.space_before;
      pending_.push_front(std::move(r));
    }
  }
}
