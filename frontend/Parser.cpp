// Recursive descent over the token stream of MacroExpander. Typedef names
// are tracked per block scope, because `T * x;` is a declaration exactly
// when T names a type there.
#include "Parser.h"

#include <deque>
#include <map>
#include <set>

#include "Literals.h"
#include "MacroTable.h"

namespace {

const int kMaxNesting = 256;

const std::set<std::string> kTypeKeywords = {"void",  "char",     "short",    "int",  "long",
                                             "float", "double",   "signed",   "unsigned", "_Bool"};
const std::set<std::string> kQualifiers = {"const", "volatile", "restrict"};
const std::set<std::string> kOtherSpecifiers = {"static", "extern", "register", "auto", "inline", "typedef"};
const std::set<std::string> kKeywords = {
    "auto",     "break",  "case",    "char",   "const",    "continue", "default",  "do",      "double",
    "else",     "enum",   "extern",  "float",  "for",      "goto",     "if",       "inline",  "int",
    "long",     "register", "restrict", "return", "short", "signed",   "sizeof",   "static",  "struct",
    "switch",   "typedef", "union",  "unsigned", "void",   "volatile", "while",    "_Bool",   "true",
    "false",    "asm",    "__asm__", "_Generic", "__attribute__", "_Alignof", "_Alignas", "_Static_assert",
    "_Complex", "_Atomic", "_Noreturn", "_Thread_local"};
// Keywords that name constructs tarvex does not read, with their message.
const std::map<std::string, std::string> kUnsupported = {
    {"switch", "'switch' statements are not supported"},
    {"case", "'case' labels are not supported"},
    {"default", "'default' labels are not supported"},
    {"goto", "'goto' statements are not supported"},
    {"asm", "'asm' is not supported"},
    {"__asm__", "'__asm__' is not supported"},
    {"_Generic", "'_Generic' is not supported"},
    {"__attribute__", "'__attribute__' is not supported"},
    {"_Pragma", "'_Pragma' is not supported"},
    {"_Alignof", "'_Alignof' is not supported"},
    {"_Alignas", "'_Alignas' is not supported"},
    {"_Static_assert", "'_Static_assert' is not supported"},
    {"_Complex", "'_Complex' is not supported"},
    {"_Atomic", "'_Atomic' is not supported"},
    {"_Noreturn", "'_Noreturn' is not supported"},
    {"_Thread_local", "'_Thread_local' is not supported"}};

struct BinaryOperator {
  const char* token;
  int precedence;
};
const BinaryOperator kBinary[] = {{"||", 4}, {"&&", 5}, {"|", 6},  {"^", 7},   {"&", 8},  {"==", 9}, {"!=", 9},
                                  {"<", 10}, {">", 10}, {"<=", 10}, {">=", 10}, {"<<", 11}, {">>", 11}, {"+", 12},
                                  {"-", 12}, {"*", 13}, {"/", 13},  {"%", 13}};

const char* const kAssignOps[] = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="};

// Declaration specifiers as written, in source order.
struct Specifiers {
  std::string text;
  bool is_typedef = false;
};

// A declarator: pointer part, name, array bounds, parameters.
struct Declarator {
  std::string pointer;
  SgName name;
  Token name_token;
  std::vector<SgExpression*> bounds;
  SgFunctionParameterList* params = nullptr;
};

class Parser {
public:
  Parser(const std::string& file, const std::string& bytes, const std::vector<int>* lines)
      : file_(file), lexer_(bytes, lines), tokens_(lexer_) {}
  SgSourceFile* parse_file();

private:
  // Counts nesting levels for as long as it lives. A left-nested chain
  // (`a + b + c`, `a, b, c`) deepens the tree without recursion in the
  // parser, so it adds one level per operator through deepen(): every later
  // walk of the tree recurses that deep.
  class Nesting {
  public:
    explicit Nesting(Parser& p) : p_(p) {}
    Nesting(Parser& p, const Token& at) : p_(p) { deepen(at); }
    ~Nesting() { p_.depth_ -= levels_; }
    void deepen(const Token& at) {
      ++levels_;
      if (++p_.depth_ > kMaxNesting) p_.fail(at, "nesting deeper than 256 levels is not supported");
    }

  private:
    Parser& p_;
    int levels_ = 0;
  };

  // ---- tokens
  const Token& peek_any(std::size_t k = 0);
  const Token& peek(std::size_t k = 0);
  Token take();
  bool at(const char* punct, std::size_t k = 0) { return peek(k).is(punct); }
  bool at_word(const char* word, std::size_t k = 0);
  bool accept(const char* punct);
  Token expect(const char* punct, const std::string& message);
  [[noreturn]] void fail(const Token& t, const std::string& message);
  [[noreturn]] void fail_expected(const std::string& message);
  Sg_File_Info* info(const Token& t) { return new Sg_File_Info(file_, t.line, t.col); }

  // ---- scopes
  void push_scope() { scopes_.emplace_back(); }
  void pop_scope() { scopes_.pop_back(); }
  void declare(const std::string& name, bool is_typedef) { scopes_.back()[name] = is_typedef; }
  bool is_typedef_name(const std::string& name) const;
  bool is_specifier(const Token& t, bool have_type);
  bool starts_declaration(const Token& t) { return is_specifier(t, false); }

  // ---- items
  std::vector<std::string> take_directives();
  SgPragmaDeclaration* parse_pragma();
  void check_unsupported(const Token& t);

  // ---- declarations
  std::vector<SgDeclarationStatement*> parse_declaration(bool file_scope);
  Specifiers parse_specifiers();
  Declarator parse_declarator(bool abstract);
  std::string parse_pointer();
  SgFunctionParameterList* parse_parameters();
  SgInitializer* parse_initializer();
  SgType* parse_type_name();
  SgFunctionDeclaration* parse_function_definition(const Token& first, const Specifiers& specs, Declarator& d);

  // ---- statements
  SgStatement* parse_statement();
  SgBasicBlock* parse_block();
  SgStatement* parse_for();
  SgStatement* parse_if();
  SgStatement* parse_while();
  SgStatement* parse_do();
  SgStatement* parse_jump();
  SgExprStatement* parse_condition();

  // ---- expressions
  SgExpression* parse_expression();
  SgExpression* parse_assignment();
  SgExpression* parse_conditional();
  SgExpression* parse_binary(int min_precedence);
  SgExpression* parse_cast();
  SgExpression* parse_unary();
  SgExpression* parse_postfix(SgExpression* e);
  SgExpression* parse_primary();
  SgExprListExp* parse_arguments(const Token& open);

  std::string file_;
  Lexer lexer_;
  MacroExpander tokens_;
  std::deque<Token> buffer_;
  std::vector<std::map<std::string, bool>> scopes_;
  int depth_ = 0;
};

// ------------------------------------------------------------------ tokens

const Token& Parser::peek_any(std::size_t k) {
  while (buffer_.size() <= k) {
    if (!buffer_.empty() && buffer_.back().kind == TokenKind::End) return buffer_.back();
    buffer_.push_back(tokens_.next());
  }
  return buffer_[k];
}

// Directive lines may stand only between items; anywhere else the first
// token that meets one reports it.
const Token& Parser::peek(std::size_t k) {
  const Token& t = peek_any(k);
  if (k == 0 && t.kind == TokenKind::Pragma) fail(t, "'#pragma' may stand only between declarations and statements");
  if (k == 0 && t.kind == TokenKind::Directive)
    fail(t, "'#" + t.directive + "' may stand only between declarations and statements");
  return t;
}

Token Parser::take() {
  peek();
  Token t = std::move(buffer_.front());
  buffer_.pop_front();
  return t;
}

bool Parser::at_word(const char* word, std::size_t k) {
  const Token& t = peek(k);
  return t.kind == TokenKind::Identifier && t.text == word;
}

bool Parser::accept(const char* punct) {
  if (!at(punct)) return false;
  take();
  return true;
}

Token Parser::expect(const char* punct, const std::string& message) {
  if (!at(punct)) fail_expected(message);
  return take();
}

void Parser::fail(const Token& t, const std::string& message) { throw SyntaxError{t.line, t.col, message}; }

void Parser::fail_expected(const std::string& message) {
  const Token& t = peek();
  if (t.kind == TokenKind::End) fail(t, "unexpected end of file");
  fail(t, message);
}

// ------------------------------------------------------------------ scopes

bool Parser::is_typedef_name(const std::string& name) const {
  for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
    auto found = it->find(name);
    if (found != it->end()) return found->second;
  }
  return false;
}

// A typedef name is a specifier only before any type specifier: in
// `typedef int T; int T;` ... the second T is a declarator.
bool Parser::is_specifier(const Token& t, bool have_type) {
  if (t.kind != TokenKind::Identifier) return false;
  const std::string& w = t.text;
  if (kTypeKeywords.count(w) || kQualifiers.count(w) || kOtherSpecifiers.count(w)) return true;
  if (w == "struct" || w == "union" || w == "enum") return true;
  return !have_type && !kKeywords.count(w) && is_typedef_name(w);
}

void Parser::check_unsupported(const Token& t) {
  if (t.kind != TokenKind::Identifier) return;
  auto it = kUnsupported.find(t.text);
  if (it != kUnsupported.end()) fail(t, it->second);
}

// ------------------------------------------------------------------- items

std::vector<std::string> Parser::take_directives() {
  std::vector<std::string> lines;
  while (peek_any().kind == TokenKind::Directive) {
    lines.push_back(peek_any().text);
    buffer_.pop_front();
  }
  return lines;
}

SgPragmaDeclaration* Parser::parse_pragma() {
  Token t = peek_any();
  buffer_.pop_front();
  return new SgPragmaDeclaration(info(t), new SgPragma(info(t), t.text));
}

SgSourceFile* Parser::parse_file() {
  SgGlobal* global = new SgGlobal(new Sg_File_Info(file_, 1, 1));
  push_scope();
  std::vector<std::string> pending;
  while (true) {
    for (std::string& d : take_directives()) pending.push_back(std::move(d));
    const Token& t = peek_any();
    if (t.kind == TokenKind::End) break;
    if (t.is(";")) {  // a stray `;` at file scope declares nothing
      take();
      continue;
    }
    if (t.is("}")) fail(t, "unexpected '}'");
    std::vector<SgDeclarationStatement*> items;
    if (t.kind == TokenKind::Pragma) {
      items.push_back(parse_pragma());
    } else {
      check_unsupported(t);
      if (!starts_declaration(peek())) fail(t, "expected a declaration");
      items = parse_declaration(true);
    }
    items.front()->set_attached_directives(std::move(pending));
    pending.clear();
    for (SgDeclarationStatement* d : items) global->append_declaration(d);
  }
  global->set_trailing_directives(std::move(pending));
  return new SgSourceFile(new Sg_File_Info(file_, 1, 1), file_, global);
}

// ------------------------------------------------------------ declarations

Specifiers Parser::parse_specifiers() {
  Specifiers specs;
  bool have_type = false;
  while (true) {
    const Token& t = peek();
    check_unsupported(t);
    if (!is_specifier(t, have_type)) break;
    Token w = take();
    std::string word = w.text;
    if (word == "struct" || word == "union" || word == "enum") {
      if (at("{")) fail(w, "'" + word + "' bodies are not supported");
      const Token& tag = peek();
      if (tag.kind != TokenKind::Identifier || kKeywords.count(tag.text)) fail_expected("expected a tag after '" + word + "'");
      word += " " + take().text;
      if (at("{")) fail(w, "'" + word.substr(0, word.find(' ')) + "' bodies are not supported");
    }
    if (word == "typedef") specs.is_typedef = true;
    if (!kQualifiers.count(word) && !kOtherSpecifiers.count(word)) have_type = true;
    specs.text += (specs.text.empty() ? "" : " ") + word;
  }
  return specs;
}

std::string Parser::parse_pointer() {
  std::string pointer;
  while (accept("*")) {
    pointer += "*";
    while (peek().kind == TokenKind::Identifier && kQualifiers.count(peek().text)) pointer += take().text + " ";
  }
  return pointer;
}

Declarator Parser::parse_declarator(bool abstract) {
  Declarator d;
  d.pointer = parse_pointer();
  check_unsupported(peek());
  if (at("(") && !abstract) fail(peek(), "parenthesised declarators are not supported");
  if (at("(") && abstract && (at("*", 1) || at("(", 1) || at("[", 1)))
    fail(peek(), "parenthesised declarators are not supported");
  const Token& t = peek();
  if (t.kind == TokenKind::Identifier && !kKeywords.count(t.text)) {
    d.name_token = take();
    d.name = d.name_token.text;
  } else if (!abstract) {
    fail_expected("expected an identifier in the declaration");
  }
  while (at("[")) {
    Token open = take();
    Nesting guard(*this, open);
    if (accept("]")) {
      d.bounds.push_back(nullptr);
      continue;
    }
    d.bounds.push_back(parse_assignment());
    expect("]", "expected ']' after the array size");
  }
  if (at("(") && !d.name.getString().empty() && d.bounds.empty()) {
    d.params = parse_parameters();
    if (at("(") || at("[")) fail(peek(), "this declarator form is not supported");
  }
  return d;
}

SgFunctionParameterList* Parser::parse_parameters() {
  Token open = take();
  std::vector<SgInitializedName*> args;
  bool ellipsis = false;
  push_scope();
  if (!at(")")) {
    while (true) {
      if (accept("...")) {
        ellipsis = true;
        break;
      }
      const Token& t = peek();
      check_unsupported(t);
      if (!starts_declaration(t)) {
        if (t.kind == TokenKind::Identifier && !kKeywords.count(t.text))
          fail(t, "K&R-style parameter lists are not supported");
        fail_expected("expected a parameter declaration");
      }
      Token first = t;
      Specifiers specs = parse_specifiers();
      Declarator d = parse_declarator(true);
      if (d.params) fail(d.name_token, "function parameters are not supported");
      if (!d.name.getString().empty()) declare(d.name.getString(), false);
      args.push_back(new SgInitializedName(info(first), specs.text, d.pointer, d.name, d.bounds, nullptr));
      if (!accept(",")) break;
    }
  }
  pop_scope();
  expect(")", "expected ')' after the parameters");
  return new SgFunctionParameterList(info(open), args, ellipsis);
}

SgInitializer* Parser::parse_initializer() {
  if (!at("{")) {
    Sg_File_Info* fi = info(peek());
    return new SgAssignInitializer(fi, parse_assignment());
  }
  Token open = take();
  Nesting guard(*this, open);
  SgExprListExp* list = new SgExprListExp(info(open));
  while (!accept("}")) {
    if (at(".") || at("[")) fail(peek(), "designated initializers are not supported");
    list->append_expression(at("{") ? parse_initializer() : parse_assignment());
    if (accept(",")) continue;
    expect("}", "expected '}' at the end of the initializer list");
    break;
  }
  return new SgAggregateInitializer(info(open), list);
}

SgType* Parser::parse_type_name() {
  Specifiers specs = parse_specifiers();
  Declarator d = parse_declarator(true);
  if (!d.name.getString().empty()) fail(d.name_token, "expected ')' after the type name");
  if (!d.bounds.empty()) fail(peek(), "array type names are not supported");
  std::string pointer = d.pointer;
  while (!pointer.empty() && pointer.back() == ' ') pointer.pop_back();
  return new SgType(specs.text + (pointer.empty() ? "" : " " + pointer));
}

SgFunctionDeclaration* Parser::parse_function_definition(const Token& first, const Specifiers& specs,
                                                         Declarator& d) {
  declare(d.name.getString(), false);
  push_scope();
  for (SgInitializedName* p : d.params->get_args())
    if (!p->get_name().getString().empty()) declare(p->get_name().getString(), false);
  Token brace = peek();
  SgBasicBlock* body = parse_block();
  pop_scope();
  return new SgFunctionDeclaration(info(first), specs.text, d.pointer, d.name, d.params,
                                   new SgFunctionDefinition(info(brace), body));
}

// One node per declarator; a function definition ends the declaration.
std::vector<SgDeclarationStatement*> Parser::parse_declaration(bool file_scope) {
  Token first = peek();
  Specifiers specs = parse_specifiers();
  std::vector<SgDeclarationStatement*> out;
  if (at(";")) fail(peek(), "a declaration must declare a name");
  while (true) {
    Declarator d = parse_declarator(false);
    if (d.params && out.empty() && at("{")) {
      if (!file_scope) fail(peek(), "function definitions are only allowed at file scope");
      if (specs.is_typedef) fail(peek(), "expected ';' after declaration");
      out.push_back(parse_function_definition(first, specs, d));
      return out;
    }
    Token at_name = d.name_token;
    if (d.params) {
      if (specs.is_typedef) fail(at_name, "function type definitions are not supported");
      if (at("=")) fail(peek(), "a function cannot have an initializer");
      declare(d.name.getString(), false);
      out.push_back(new SgFunctionDeclaration(info(first), specs.text, d.pointer, d.name, d.params, nullptr));
    } else {
      declare(d.name.getString(), specs.is_typedef);
      SgInitializer* init = nullptr;
      if (accept("=")) {
        if (specs.is_typedef) fail(at_name, "a typedef cannot have an initializer");
        init = parse_initializer();
      }
      SgInitializedName* n = new SgInitializedName(info(at_name), specs.text, d.pointer, d.name, d.bounds, init);
      if (specs.is_typedef)
        out.push_back(new SgTypedefDeclaration(info(first), n));
      else
        out.push_back(new SgVariableDeclaration(info(first), n));
    }
    if (!accept(",")) break;
  }
  expect(";", "expected ';' after declaration");
  return out;
}

// -------------------------------------------------------------- statements

SgBasicBlock* Parser::parse_block() {
  Token open = expect("{", "expected '{'");
  SgBasicBlock* block = new SgBasicBlock(info(open));
  push_scope();
  std::vector<std::string> pending;
  while (true) {
    for (std::string& d : take_directives()) pending.push_back(std::move(d));
    const Token& t = peek_any();
    if (t.is("}")) break;
    std::vector<SgStatement*> items;
    if (t.kind == TokenKind::Pragma) {
      items.push_back(parse_pragma());
    } else if (t.kind == TokenKind::End) {
      fail(t, "unexpected end of file");
    } else if (starts_declaration(t)) {
      for (SgDeclarationStatement* d : parse_declaration(false)) items.push_back(d);
    } else {
      items.push_back(parse_statement());
    }
    items.front()->set_attached_directives(std::move(pending));
    pending.clear();
    for (SgStatement* s : items) block->append_statement(s);
  }
  take();
  block->set_trailing_directives(std::move(pending));
  pop_scope();
  return block;
}

SgStatement* Parser::parse_statement() {
  const Token& t = peek();
  Nesting guard(*this, t);
  check_unsupported(t);
  if (t.is("{")) return parse_block();
  if (t.is(";")) return new SgNullStatement(info(take()));
  if (t.kind == TokenKind::Identifier) {
    const std::string& w = t.text;
    if (w == "for") return parse_for();
    if (w == "if") return parse_if();
    if (w == "while") return parse_while();
    if (w == "do") return parse_do();
    if (w == "return" || w == "break" || w == "continue") return parse_jump();
    if (w == "else") fail(t, "'else' without a previous 'if'");
    if (starts_declaration(t)) fail(t, "a declaration is not allowed here");
    if (!kKeywords.count(w) && at(":", 1)) fail(t, "labels are not supported");
  }
  Token first = t;
  SgExpression* e = parse_expression();
  expect(";", "expected ';' after expression");
  return new SgExprStatement(info(first), e);
}

SgExprStatement* Parser::parse_condition() {
  expect("(", "expected '(' before the condition");
  Token first = peek();
  SgExpression* e = parse_expression();
  expect(")", "expected ')' after the condition");
  return new SgExprStatement(info(first), e);
}

SgStatement* Parser::parse_for() {
  Token kw = take();
  expect("(", "expected '(' after 'for'");
  push_scope();
  Token first = peek();
  SgForInitStatement* init = nullptr;
  if (accept(";")) {
    init = new SgForInitStatement(info(first));
  } else if (starts_declaration(first)) {
    std::vector<SgStatement*> decls;
    for (SgDeclarationStatement* d : parse_declaration(false)) {
      if (!isSgVariableDeclaration(d)) fail(first, "only variables may be declared in a 'for' header");
      decls.push_back(d);
    }
    init = new SgForInitStatement(info(first), decls);
  } else {
    SgExpression* e = parse_expression();
    expect(";", "expected ';' in 'for' header");
    init = new SgForInitStatement(info(first), {new SgExprStatement(info(first), e)});
  }
  Token test_token = peek();
  SgStatement* test = nullptr;
  if (test_token.is(";"))
    test = new SgNullStatement(info(test_token));
  else
    test = new SgExprStatement(info(test_token), parse_expression());
  expect(";", "expected ';' in 'for' header");
  Token incr_token = peek();
  SgExpression* incr = incr_token.is(")") ? new SgNullExpression(info(incr_token)) : parse_expression();
  expect(")", "expected ')' after 'for' header");
  SgStatement* body = parse_statement();
  pop_scope();
  return new SgForStatement(info(kw), init, test, incr, body);
}

SgStatement* Parser::parse_if() {
  Token kw = take();
  SgExprStatement* cond = parse_condition();
  SgStatement* then_body = parse_statement();
  // A directive between the body and `else` would end up outside the `if`.
  std::size_t k = 0;
  while (peek_any(k).kind == TokenKind::Pragma || peek_any(k).kind == TokenKind::Directive) ++k;
  if (k > 0 && peek_any(k).kind == TokenKind::Identifier && peek_any(k).text == "else")
    peek();  // reports the directive
  SgStatement* else_body = nullptr;
  if (k == 0 && at_word("else")) {
    take();
    else_body = parse_statement();
  }
  return new SgIfStmt(info(kw), cond, then_body, else_body);
}

SgStatement* Parser::parse_while() {
  Token kw = take();
  SgExprStatement* cond = parse_condition();
  return new SgWhileStmt(info(kw), cond, parse_statement());
}

SgStatement* Parser::parse_do() {
  Token kw = take();
  SgStatement* body = parse_statement();
  if (!at_word("while")) fail_expected("expected 'while' after the body of 'do'");
  take();
  SgExprStatement* cond = parse_condition();
  expect(";", "expected ';' after 'do' statement");
  return new SgDoWhileStmt(info(kw), body, cond);
}

SgStatement* Parser::parse_jump() {
  Token kw = take();
  SgStatement* s = nullptr;
  if (kw.text == "break") {
    s = new SgBreakStmt(info(kw));
  } else if (kw.text == "continue") {
    s = new SgContinueStmt(info(kw));
  } else {
    s = new SgReturnStmt(info(kw), at(";") ? nullptr : parse_expression());
  }
  expect(";", "expected ';' after '" + kw.text + "'");
  return s;
}

// ------------------------------------------------------------- expressions

SgExpression* Parser::parse_expression() {
  SgExpression* e = parse_assignment();
  Nesting chain(*this);
  while (at(",")) {
    Token op = take();
    chain.deepen(op);
    e = new SgCommaOpExp(info(op), e, parse_assignment());
  }
  return e;
}

SgExpression* Parser::parse_assignment() {
  Nesting guard(*this, peek());
  SgExpression* lhs = parse_conditional();
  for (const char* op : kAssignOps) {
    if (!at(op)) continue;
    Token t = take();
    Sg_File_Info* fi = info(t);
    SgExpression* rhs = parse_assignment();
    const std::string s = op;
    if (s == "=") return new SgAssignOp(fi, lhs, rhs);
    if (s == "+=") return new SgPlusAssignOp(fi, lhs, rhs);
    if (s == "-=") return new SgMinusAssignOp(fi, lhs, rhs);
    if (s == "*=") return new SgMultAssignOp(fi, lhs, rhs);
    if (s == "/=") return new SgDivAssignOp(fi, lhs, rhs);
    if (s == "%=") return new SgModAssignOp(fi, lhs, rhs);
    if (s == "&=") return new SgAndAssignOp(fi, lhs, rhs);
    if (s == "|=") return new SgIorAssignOp(fi, lhs, rhs);
    if (s == "^=") return new SgXorAssignOp(fi, lhs, rhs);
    if (s == "<<=") return new SgLshiftAssignOp(fi, lhs, rhs);
    return new SgRshiftAssignOp(fi, lhs, rhs);
  }
  return lhs;
}

SgExpression* Parser::parse_conditional() {
  SgExpression* cond = parse_binary(4);
  if (!at("?")) return cond;
  Token q = take();
  Nesting guard(*this, q);
  SgExpression* t = parse_expression();
  expect(":", "expected ':' in conditional expression");
  SgExpression* f = parse_conditional();
  return new SgConditionalExp(info(q), cond, t, f);
}

SgExpression* Parser::parse_binary(int min_precedence) {
  SgExpression* lhs = parse_cast();
  Nesting chain(*this);
  while (true) {
    const Token& t = peek();
    const BinaryOperator* found = nullptr;
    for (const BinaryOperator& b : kBinary)
      if (t.is(b.token) && b.precedence >= min_precedence) found = &b;
    if (!found) return lhs;
    Token op = take();
    chain.deepen(op);
    Sg_File_Info* fi = info(op);
    SgExpression* rhs = parse_binary(found->precedence + 1);
    const std::string s = found->token;
    if (s == "||") lhs = new SgOrOp(fi, lhs, rhs);
    else if (s == "&&") lhs = new SgAndOp(fi, lhs, rhs);
    else if (s == "|") lhs = new SgBitOrOp(fi, lhs, rhs);
    else if (s == "^") lhs = new SgBitXorOp(fi, lhs, rhs);
    else if (s == "&") lhs = new SgBitAndOp(fi, lhs, rhs);
    else if (s == "==") lhs = new SgEqualityOp(fi, lhs, rhs);
    else if (s == "!=") lhs = new SgNotEqualOp(fi, lhs, rhs);
    else if (s == "<") lhs = new SgLessThanOp(fi, lhs, rhs);
    else if (s == ">") lhs = new SgGreaterThanOp(fi, lhs, rhs);
    else if (s == "<=") lhs = new SgLessOrEqualOp(fi, lhs, rhs);
    else if (s == ">=") lhs = new SgGreaterOrEqualOp(fi, lhs, rhs);
    else if (s == "<<") lhs = new SgLshiftOp(fi, lhs, rhs);
    else if (s == ">>") lhs = new SgRshiftOp(fi, lhs, rhs);
    else if (s == "+") lhs = new SgAddOp(fi, lhs, rhs);
    else if (s == "-") lhs = new SgSubtractOp(fi, lhs, rhs);
    else if (s == "*") lhs = new SgMultiplyOp(fi, lhs, rhs);
    else if (s == "/") lhs = new SgDivideOp(fi, lhs, rhs);
    else lhs = new SgModOp(fi, lhs, rhs);
  }
}

SgExpression* Parser::parse_cast() {
  if (!at("(") || !starts_declaration(peek_any(1))) return parse_unary();
  Token open = take();
  Nesting guard(*this, open);
  SgType* type = parse_type_name();
  expect(")", "expected ')' after the type name");
  if (at("{")) fail(peek(), "compound literals are not supported");
  return new SgCastExp(info(open), parse_cast(), type);
}

SgExpression* Parser::parse_unary() {
  const Token& t = peek();
  if (t.is("++") || t.is("--")) {
    Token op = take();
    Nesting guard(*this, op);
    SgExpression* e = parse_unary();
    if (op.text == "++") return new SgPlusPlusOp(info(op), e, SgUnaryOp::prefix);
    return new SgMinusMinusOp(info(op), e, SgUnaryOp::prefix);
  }
  if (t.is("+") || t.is("-") || t.is("!") || t.is("~") || t.is("*") || t.is("&")) {
    Token op = take();
    Nesting guard(*this, op);
    SgExpression* e = parse_cast();
    Sg_File_Info* fi = info(op);
    switch (op.text[0]) {
      case '+': return new SgUnaryAddOp(fi, e);
      case '-': return new SgMinusOp(fi, e);
      case '!': return new SgNotOp(fi, e);
      case '~': return new SgBitComplementOp(fi, e);
      case '*': return new SgPointerDerefExp(fi, e);
      default: return new SgAddressOfOp(fi, e);
    }
  }
  if (t.kind == TokenKind::Identifier && t.text == "sizeof") {
    Token op = take();
    Nesting guard(*this, op);
    if (at("(") && starts_declaration(peek_any(1))) {
      take();
      SgType* type = parse_type_name();
      expect(")", "expected ')' after the type name");
      if (at("{")) fail(peek(), "compound literals are not supported");
      return new SgSizeOfOp(info(op), nullptr, type);
    }
    return new SgSizeOfOp(info(op), parse_unary(), nullptr);
  }
  return parse_postfix(parse_primary());
}

SgExprListExp* Parser::parse_arguments(const Token& open) {
  SgExprListExp* args = new SgExprListExp(info(open));
  if (accept(")")) return args;
  while (true) {
    args->append_expression(parse_assignment());
    if (!accept(",")) break;
  }
  expect(")", "expected ')' after the arguments");
  return args;
}

SgExpression* Parser::parse_postfix(SgExpression* e) {
  while (true) {
    const Token& t = peek();
    if (t.is("[")) {
      Token open = take();
      Nesting guard(*this, open);
      SgExpression* index = parse_expression();
      expect("]", "expected ']' after the subscript");
      e = new SgPntrArrRefExp(info(open), e, index);
    } else if (t.is("(")) {
      Token open = take();
      Nesting guard(*this, open);
      // A callee written as a name is a function reference.
      if (SgVarRefExp* v = isSgVarRefExp(e)) e = new SgFunctionRefExp(v->get_file_info(), v->get_symbol()->get_name());
      e = new SgFunctionCallExp(info(open), e, parse_arguments(open));
    } else if (t.is(".") || t.is("->")) {
      Token op = take();
      const Token& m = peek();
      if (m.kind != TokenKind::Identifier || kKeywords.count(m.text)) fail_expected("expected a member name");
      Token member = take();
      SgVarRefExp* field = new SgVarRefExp(info(member), member.text);
      if (op.text == ".") e = new SgDotExp(info(op), e, field);
      else e = new SgArrowExp(info(op), e, field);
    } else if (t.is("++") || t.is("--")) {
      Token op = take();
      if (op.text == "++") e = new SgPlusPlusOp(info(op), e, SgUnaryOp::postfix);
      else e = new SgMinusMinusOp(info(op), e, SgUnaryOp::postfix);
    } else {
      return e;
    }
  }
}

SgExpression* Parser::parse_primary() {
  const Token& t = peek();
  switch (t.kind) {
    case TokenKind::Number: {
      Token n = take();
      return make_number_literal(n, info(n));
    }
    case TokenKind::Char: {
      Token c = take();
      return make_char_literal(c, info(c));
    }
    case TokenKind::String: {
      std::vector<Token> parts;
      while (peek().kind == TokenKind::String) parts.push_back(take());
      return make_string_literal(parts, info(parts.front()));
    }
    case TokenKind::Identifier: {
      check_unsupported(t);
      if (t.text == "true" || t.text == "false") {
        Token b = take();
        return new SgBoolValExp(info(b), b.text == "true");
      }
      if (kKeywords.count(t.text)) fail(t, "expected expression before '" + t.text + "'");
      if (is_typedef_name(t.text)) fail(t, "unexpected type name '" + t.text + "'");
      Token id = take();
      return new SgVarRefExp(info(id), id.text);
    }
    default:
      break;
  }
  if (t.is("(")) {
    take();
    SgExpression* e = parse_expression();
    expect(")", "expected ')'");
    return e;
  }
  fail_expected("expected expression");
}

}  // namespace

SgSourceFile* parse_c_file(const std::string& file_name, const std::string& bytes, const std::vector<int>* lines) {
  Parser parser(file_name, bytes, lines);
  return parser.parse_file();
}
