#include "Script.h"

#include <cctype>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <isl/ctx.h>
#include <isl/obj.h>
#include <isl/set.h>
#include <isl/stream.h>
#include <isl/union_map.h>
#include <isl/union_set.h>

#include "Codegen.h"
#include "FloorCeil.h"

namespace iscc {
namespace {

// A statement that cannot be parsed. `pos` is where the offending token
// starts: recovery skips from there to the next ";".
struct ParseError {
  std::string message;
  size_t pos;
};

// A statement that parsed but could not be carried out: in error, or past
// a budget of work (of its codegen, or of the evaluation of its operands,
// which ends the run).
enum class Cause { kError, kCodegenBudget, kEvaluationBudget };
struct Failure {
  std::string message;
  Cause cause = Cause::kError;
};

// ---------------------------------------------------------------- values

// A script value: an isl union set or an isl union map, owned. Empty only
// after its object has been taken.
class Value {
 public:
  static Value of_set(isl_union_set* set) { Value v; v.set_ = set; return v; }
  static Value of_map(isl_union_map* map) { Value v; v.map_ = map; return v; }
  Value() = default;
  Value(Value&& o) noexcept { swap(o); }
  Value& operator=(Value&& o) noexcept { Value t(std::move(o)); swap(t); return *this; }
  ~Value() { isl_union_set_free(set_); isl_union_map_free(map_); }

  Value copy() const {
    return set_ ? of_set(isl_union_set_copy(set_)) : of_map(isl_union_map_copy(map_));
  }
  bool valid() const { return set_ || map_; }
  bool is_set() const { return set_ != nullptr; }
  const char* kind() const { return set_ ? "set" : "map"; }
  // The caller owns the returned object; this value becomes empty.
  isl_union_set* take_set() { return std::exchange(set_, nullptr); }
  isl_union_map* take_map() { return std::exchange(map_, nullptr); }

 private:
  void swap(Value& o) { std::swap(set_, o.set_); std::swap(map_, o.map_); }
  isl_union_set* set_ = nullptr;
  isl_union_map* map_ = nullptr;
};

// ---------------------------------------------------------------- lexer

enum class Tok { Ident, Codegen, Number, Assign, Semi, Plus, Times, LParen, RParen,
                 Literal, Comma, LessEq, Quoted, Invalid, End };

struct Token {
  Tok kind;
  std::string text;
  size_t pos;
};

bool is_ident_start(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool is_ident_char(char c) {
  return is_ident_start(c) || std::isdigit(static_cast<unsigned char>(c));
}

char closer_of(char open) {
  return open == '(' ? ')' : open == '[' ? ']' : '}';
}

// Deeper nesting, of brackets in a literal or of parentheses around
// operands, is refused: the literal reader and the evaluator recurse once
// per level, and the stack would overflow long before the input ends.
const size_t kMaxNesting = 1000;

ParseError too_deep(size_t pos) {
  return ParseError{"nesting deeper than " + std::to_string(kMaxNesting) + " levels", pos};
}

class Lexer {
 public:
  explicit Lexer(const std::string& text) : text_(text) {}

  // Position of the next token, after blanks.
  size_t next_pos() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
    return pos_;
  }
  int line_at(size_t pos) const {
    int line = 1;
    for (size_t i = 0; i < pos && i < text_.size(); ++i) line += text_[i] == '\n';
    return line;
  }
  void seek(size_t pos) { pos_ = pos; }
  // Throws ParseError for a literal that is not closed properly.
  Token next();
  // Position just after the next ";" at bracket depth 0 from `from`.
  size_t skip_statement(size_t from) const;

 private:
  Token single(Tok kind, size_t len) {
    Token t{kind, text_.substr(pos_, len), pos_};
    pos_ += len;
    return t;
  }
  Token literal();
  Token quoted();
  size_t balanced_end(size_t start) const;
  std::string lexeme_at(size_t pos) const;

  const std::string& text_;
  size_t pos_ = 0;
};

Token Lexer::next() {
  size_t p = next_pos();
  if (p == text_.size()) return Token{Tok::End, "", p};
  char c = text_[p];
  if (is_ident_start(c)) {
    size_t e = p;
    while (e < text_.size() && is_ident_char(text_[e])) ++e;
    Token t = single(Tok::Ident, e - p);
    if (t.text == "codegen") t.kind = Tok::Codegen;
    return t;
  }
  // A number runs on over the letters that follow its digits, so that a
  // message names "12x" whole.
  if (std::isdigit(static_cast<unsigned char>(c))) return single(Tok::Number, lexeme_at(p).size());
  if (text_.compare(p, 2, ":=") == 0) return single(Tok::Assign, 2);
  if (text_.compare(p, 2, "<=") == 0) return single(Tok::LessEq, 2);
  switch (c) {
    case ',': return single(Tok::Comma, 1);
    case '"': return quoted();
    case ';': return single(Tok::Semi, 1);
    case '+': return single(Tok::Plus, 1);
    case '*': return single(Tok::Times, 1);
    case '(': return single(Tok::LParen, 1);
    case ')': return single(Tok::RParen, 1);
    case '[': case '{': return literal();
    default: return single(Tok::Invalid, 1);
  }
}

std::string Lexer::lexeme_at(size_t pos) const {
  size_t e = pos;
  while (e < text_.size() && is_ident_char(text_[e])) ++e;
  return text_.substr(pos, e > pos ? e - pos : 1);
}

// End (one past the closer) of the bracketed text opening at `start`.
size_t Lexer::balanced_end(size_t start) const {
  std::vector<char> open;
  for (size_t i = start; i < text_.size(); ++i) {
    char c = text_[i];
    if (c == '(' || c == '[' || c == '{') {
      open.push_back(c);
      if (open.size() > kMaxNesting) throw too_deep(start);
    } else if (c == ')' || c == ']' || c == '}') {
      if (c != closer_of(open.back()))
        throw ParseError{std::string("expected '") + closer_of(open.back()) +
                             "', found '" + c + "'", start};
      open.pop_back();
      if (open.empty()) return i + 1;
    }
  }
  throw ParseError{std::string("unexpected end of input (missing '") +
                       closer_of(open.back()) + "')", start};
}

// A literal: an optional parameter list "[...] ->", then "{...}". Its text
// is taken whole, so that words inside never meet the script's own
// vocabulary.
Token Lexer::literal() {
  size_t start = pos_;
  size_t p = start;
  if (text_[p] == '[') {
    p = balanced_end(p);
    for (const char* want : {"->", "{"}) {
      while (p < text_.size() && std::isspace(static_cast<unsigned char>(text_[p]))) ++p;
      if (p == text_.size())
        throw ParseError{std::string("unexpected end of input (missing '") + want + "')", start};
      if (text_.compare(p, std::string(want).size(), want) != 0)
        throw ParseError{std::string("expected '") + want + "', found '" +
                             lexeme_at(p) + "'", start};
      if (want[0] == '-') p += 2;
    }
  }
  pos_ = balanced_end(p);
  return Token{Tok::Literal, text_.substr(start, pos_ - start), start};
}

// A C text between double quotes, which it does not hold; the token's text
// is the text inside.
Token Lexer::quoted() {
  size_t start = pos_;
  size_t end = text_.find('"', start + 1);
  if (end == std::string::npos) throw ParseError{"unexpected end of input (missing '\"')", start};
  pos_ = end + 1;
  return Token{Tok::Quoted, text_.substr(start + 1, end - start - 1), start};
}

size_t Lexer::skip_statement(size_t from) const {
  int depth = 0;
  for (size_t i = from; i < text_.size(); ++i) {
    char c = text_[i];
    if (c == '(' || c == '[' || c == '{') ++depth;
    if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
    if (c == ';' && depth == 0) return i + 1;
  }
  return text_.size();
}

// Every identifier of `text`: each run of letters, digits and "_", from its
// first character that is not a digit (isl writes 2N for 2 * N).
std::set<std::string> identifiers(const std::string& text) {
  std::set<std::string> names;
  for (size_t at = 0; at < text.size();) {
    size_t end = at;
    while (end < text.size() && is_ident_char(text[end])) ++end;
    while (at < end && !is_ident_start(text[at])) ++at;
    if (at < end) names.insert(text.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// ---------------------------------------------------------------- parser

// An operand, or a chain of operands combined from left to right: the
// first operand, then one operator ("+" or "*") before each further one.
// A chain is held flat, so that a long sum costs no stack depth.
struct Expr {
  Tok kind;  // Ident, Literal, or Plus for a chain
  std::string text;
  std::vector<std::unique_ptr<Expr>> operands;
  std::vector<std::string> operators;
};

struct Statement {
  bool codegen;
  // "bounds [else] S(formals) "lower" <= "value" <= "upper";": the bound
  // of a value of statement S's instances, in every nest or (with "else")
  // in the else schedule's only.
  bool bounds = false;
  bool bounds_else = false;
  Bound bound;
  std::string target;  // the assigned name
  std::unique_ptr<Expr> expr;
  // Codegen only, each clause optional.
  std::unique_ptr<Expr> isolated;  // "isolating" and its operand
  std::unique_ptr<Expr> last;      // "else" and its operand
  std::unique_ptr<Expr> box;       // a second "else" and its operand
  unsigned long within = 0;        // "within" and its operations; 0: none
};

class Parser {
 public:
  explicit Parser(Lexer& lexer) : lexer_(lexer) {}
  Statement statement();

 private:
  const Token& peek() {
    if (!has_) { cur_ = lexer_.next(); has_ = true; }
    return cur_;
  }
  Token take() { peek(); has_ = false; return cur_; }
  [[noreturn]] void fail(const std::string& what) {
    const Token& t = peek();
    if (t.kind == Tok::End)
      throw ParseError{"unexpected end of input (missing ';')", t.pos};
    throw ParseError{"expected " + what + ", found '" + t.text + "'", t.pos};
  }
  void expect(Tok kind, const std::string& what) {
    if (peek().kind != kind) fail(what);
    take();
  }
  bool clause(const char* word) {
    if (peek().kind != Tok::Ident || peek().text != word) return false;
    take();
    return true;
  }
  unsigned long operations();
  void bound(Statement& st);
  std::string quoted() {
    if (peek().kind != Tok::Quoted) fail("a quoted C text");
    return take().text;
  }
  std::unique_ptr<Expr> expression();
  std::unique_ptr<Expr> primary();

  Lexer& lexer_;
  Token cur_;
  bool has_ = false;
  size_t depth_ = 0;  // parentheses open around the current operand
};

Statement Parser::statement() {
  Statement st;
  Tok first = peek().kind;
  if (first != Tok::Ident && first != Tok::Codegen)
    fail("identifier or 'codegen'");
  st.codegen = first == Tok::Codegen;
  st.target = take().text;
  if (!st.codegen && st.target == "bounds" && peek().kind != Tok::Assign) {
    bound(st);
    return st;
  }
  if (!st.codegen) expect(Tok::Assign, "':='");
  st.expr = expression();
  if (st.codegen) {
    if (clause("isolating")) st.isolated = expression();
    if (clause("else")) st.last = expression();
    if (st.last && clause("else")) st.box = expression();
    if (clause("within")) {
      st.within = operations();
      expect(Tok::Semi, "';'");
      return st;
    }
  }
  expect(Tok::Semi, "'+', '*' or ';'");
  return st;
}

// The rest of a "bounds" statement, after its keyword.
void Parser::bound(Statement& st) {
  st.bounds = true;
  st.bounds_else = clause("else");
  if (peek().kind != Tok::Ident) fail("a statement name");
  st.target = take().text;
  expect(Tok::LParen, "'('");
  do {
    if (peek().kind != Tok::Ident) fail("a formal argument");
    st.bound.formals.push_back(take().text);
  } while (peek().kind == Tok::Comma && (take(), true));
  expect(Tok::RParen, "',' or ')'");
  st.bound.lower = quoted();
  expect(Tok::LessEq, "'<='");
  st.bound.value = quoted();
  expect(Tok::LessEq, "'<='");
  st.bound.upper = quoted();
  expect(Tok::Semi, "';'");
}

// The number of operations after "within": a positive decimal integer
// that an unsigned long holds.
unsigned long Parser::operations() {
  const Token& t = peek();
  if (t.kind != Tok::Number || t.text.find_first_not_of("0123456789") != std::string::npos ||
      t.text.find_first_not_of('0') == std::string::npos)
    fail("a positive integer");
  unsigned long value = 0;
  for (char c : t.text) {
    unsigned long digit = c - '0';
    if (value > (ULONG_MAX - digit) / 10)
      throw ParseError{"'within' takes at most " + std::to_string(ULONG_MAX) + " operations, found '" + t.text + "'",
                       t.pos};
    value = value * 10 + digit;
  }
  take();
  return value;
}

// Operands combine from left to right: "+" and "*" share one precedence.
std::unique_ptr<Expr> Parser::expression() {
  std::unique_ptr<Expr> first = primary();
  if (peek().kind != Tok::Plus && peek().kind != Tok::Times) return first;
  auto chain = std::make_unique<Expr>();
  chain->kind = Tok::Plus;
  chain->operands.push_back(std::move(first));
  while (peek().kind == Tok::Plus || peek().kind == Tok::Times) {
    chain->operators.push_back(take().text);
    chain->operands.push_back(primary());
  }
  return chain;
}

std::unique_ptr<Expr> Parser::primary() {
  Tok k = peek().kind;
  if (k == Tok::LParen) {
    if (++depth_ > kMaxNesting) throw too_deep(peek().pos);
    take();
    std::unique_ptr<Expr> e = expression();
    expect(Tok::RParen, "'+', '*' or ')'");
    --depth_;
    return e;
  }
  if (k != Tok::Ident && k != Tok::Literal) fail("identifier, literal or '('");
  auto e = std::make_unique<Expr>();
  e->kind = k;
  e->text = take().text;
  return e;
}

// ---------------------------------------------------------------- evaluator

class Interpreter {
 public:
  Interpreter(isl_ctx* ctx, std::ostream& out, const CodegenBudget& budget)
      : ctx_(ctx), out_(out), budget_(budget) {}
  // Runs every statement of `text`; returns the exit status of run_script.
  int run(const std::string& text, std::ostream& err);

 private:
  void execute(const Statement& st);
  std::vector<Value> operands(const Statement& st);
  Value eval(const Expr& e);
  Value read_literal(const std::string& text);
  Value combine(const std::string& op, Value left, Value right);
  std::string generate(Value v, Value isolated, Value last, Value box, const CodegenBudget& budget);
  std::string isl_message() const {
    const char* msg = isl_ctx_last_error_msg(ctx_);
    return msg ? msg : "unknown isl error";
  }

  isl_ctx* ctx_;
  std::ostream& out_;
  const CodegenBudget& budget_;
  std::string note_;  // about the statement that succeeded last, if any
  bool used_else_ = false;  // whether a codegen printed the nest of its else schedule
  std::map<std::string, Value> vars_;
  NestBounds bounds_;  // of the "bounds" statements so far
  std::set<std::string> names_;  // every identifier of the script, which no loop counter takes
};

int Interpreter::run(const std::string& text, std::ostream& err) {
  names_ = identifiers(text);
  Lexer lexer(text);
  bool failed = false, over_budget = false;
  while (lexer.next_pos() < text.size()) {
    int line = lexer.line_at(lexer.next_pos());
    isl_ctx_reset_error(ctx_);
    std::string message;
    Cause cause = Cause::kError;
    try {
      Parser parser(lexer);
      note_.clear();
      execute(parser.statement());
      if (!note_.empty()) err << "iscc: line " << line << ": " << note_ << "\n";
      continue;
    } catch (const ParseError& e) {
      message = e.message;
      lexer.seek(lexer.skip_statement(e.pos));
    } catch (const Failure& f) {
      message = f.message;
      cause = f.cause;
    }
    err << "iscc: line " << line << ": " << message << "\n";
    if (cause == Cause::kEvaluationBudget) return 4;
    (cause == Cause::kCodegenBudget ? over_budget : failed) = true;
  }
  return failed ? 1 : over_budget ? 2 : used_else_ ? 3 : 0;
}

void Interpreter::execute(const Statement& st) {
  if (st.bounds) {
    bounds_.last[st.target].push_back(st.bound);
    if (!st.bounds_else) bounds_.exact[st.target].push_back(st.bound);
    return;
  }
  std::vector<Value> values = operands(st);
  if (!st.codegen) {
    vars_[st.target] = std::move(values[0]);
    return;
  }
  CodegenBudget budget = budget_;
  if (st.within) budget.isolated = budget.together = st.within;
  // Only a nest that was generated whole reaches the output.
  out_ << generate(std::move(values[0]), std::move(values[1]), std::move(values[2]), std::move(values[3]), budget);
}

// The values of the operands of `st`: its expression, then for a codegen
// those of its clauses (no value for a clause it lacks), all evaluated
// within the budget's operations. Past them, the values are dropped and
// the run ends: the statements after it would miss what it assigns.
std::vector<Value> Interpreter::operands(const Statement& st) {
  std::vector<Value> values;
  ScriptEvaluation evaluation(ctx_, budget_.evaluation);
  std::optional<Failure> failure;
  try {
    values.push_back(eval(*st.expr));
    for (const std::unique_ptr<Expr>* clause : {&st.isolated, &st.last, &st.box})
      values.push_back(*clause ? eval(**clause) : Value());
  } catch (const Failure& f) {
    failure = f;
  }
  // isl may fail for want of operations (a reading then reports a syntax
  // error), or recover and go on: either way they decide.
  if (evaluation.exceeded())
    throw Failure{"the evaluation of its operands exceeded its budget of work (" +
                      std::to_string(budget_.evaluation) + " operations)",
                  Cause::kEvaluationBudget};
  if (failure) throw *failure;
  return values;
}

Value Interpreter::eval(const Expr& e) {
  if (e.kind == Tok::Literal) return read_literal(e.text);
  if (e.kind == Tok::Ident) {
    auto it = vars_.find(e.text);
    if (it == vars_.end()) throw Failure{"unknown identifier '" + e.text + "'"};
    return it->second.copy();
  }
  Value result = eval(*e.operands[0]);
  for (size_t k = 1; k < e.operands.size(); ++k)
    result = combine(e.operators[k - 1], std::move(result), eval(*e.operands[k]));
  return result;
}

Value Interpreter::read_literal(const std::string& text) {
  std::string isl_text, error;
  if (!rewrite_floor_ceil(text, isl_text, error)) throw Failure{error};
  isl_stream* s = isl_stream_new_str(ctx_, isl_text.c_str());
  if (!s) throw Failure{"cannot read literal (" + isl_message() + "): " + isl_text};
  isl_obj obj = isl_stream_read_obj(s);
  bool whole = isl_stream_is_empty(s) == 1;
  isl_stream_free(s);
  Value v;
  std::string why;
  if (!obj.v) why = isl_message();
  else if (obj.type == isl_obj_set)
    v = Value::of_set(isl_union_set_from_set(static_cast<isl_set*>(obj.v)));
  else if (obj.type == isl_obj_union_set)
    v = Value::of_set(static_cast<isl_union_set*>(obj.v));
  else if (obj.type == isl_obj_map)
    v = Value::of_map(isl_union_map_from_map(static_cast<isl_map*>(obj.v)));
  else if (obj.type == isl_obj_union_map)
    v = Value::of_map(static_cast<isl_union_map*>(obj.v));
  else {
    obj.type->free(obj.v);
    why = "neither a set nor a map";
  }
  if (why.empty() && !whole) why = "text after the object";
  if (why.empty() && !v.valid()) why = isl_message();
  if (!why.empty()) throw Failure{"cannot read literal (" + why + "): " + isl_text};
  return v;
}

Value Interpreter::combine(const std::string& op, Value left, Value right) {
  bool sum = op == "+";
  Value result;
  if (left.is_set() && right.is_set()) {
    isl_union_set* a = left.take_set();
    isl_union_set* b = right.take_set();
    result = Value::of_set(sum ? isl_union_set_union(a, b) : isl_union_set_intersect(a, b));
  } else if (!left.is_set() && !right.is_set()) {
    isl_union_map* a = left.take_map();
    isl_union_map* b = right.take_map();
    result = Value::of_map(sum ? isl_union_map_union(a, b) : isl_union_map_intersect(a, b));
  } else if (!sum && right.is_set()) {
    result = Value::of_map(isl_union_map_intersect_domain(left.take_map(), right.take_set()));
  } else {
    throw Failure{"'" + op + "' is not defined for " + left.kind() + " and " +
                  right.kind()};
  }
  if (!result.valid()) throw Failure{"'" + op + "' failed (" + isl_message() + ")"};
  return result;
}

// A schedule given as a map, or a set scheduled by its identity; null for
// no value.
isl_union_map* schedule_of(Value v) {
  if (!v.valid()) return nullptr;
  return v.is_set() ? isl_union_set_identity(v.take_set()) : v.take_map();
}

// The C text of the loop nest for the schedule `v` within `budget`, the
// part `isolated` of it running apart, with the else schedule `last` and
// then the box form `box` (no value: none) as the last resorts.
std::string Interpreter::generate(Value v, Value isolated, Value last, Value box, const CodegenBudget& budget) {
  std::string nest;
  std::string resorts = box.valid() ? " and with its else schedules" : last.valid() ? " and with its else schedule" : "";
  Generated outcome = generate_nest(schedule_of(std::move(v)), schedule_of(std::move(isolated)),
                                    schedule_of(std::move(last)), schedule_of(std::move(box)), nest, budget,
                                    bounds_, names_);
  if (outcome == Generated::kOverBudget)
    throw Failure{"codegen exceeded its budget of work, even with every instance generated together" + resorts,
                  Cause::kCodegenBudget};
  if (outcome == Generated::kFailed) throw Failure{"codegen failed (" + isl_message() + ")"};
  if (outcome == Generated::kTogether)
    note_ = "codegen generated every instance together: apart, the isolated instances exceeded their budget of work";
  if (outcome == Generated::kLast) note_ = "codegen generated its else schedule: the schedule exceeded its budget of work";
  if (outcome == Generated::kBox)
    note_ = "codegen generated its box form: the schedule and its else schedule exceeded their budgets of work";
  used_else_ = outcome == Generated::kLast || outcome == Generated::kBox || used_else_;
  return nest;
}

}  // namespace

int run_script(const std::string& text, std::ostream& out, std::ostream& err, const CodegenBudget& budget) {
  isl_ctx* ctx = isl_ctx_alloc();
  if (!ctx) {
    err << "iscc: cannot allocate an isl context\n";
    return 1;
  }
  set_codegen_options(ctx);
  int status;
  {
    // Every isl object of the run is freed here, before the context.
    Interpreter interpreter(ctx, out, budget);
    status = interpreter.run(text, err);
  }
  isl_ctx_free(ctx);
  out.flush();
  if (!out) {
    err << "iscc: cannot write the output\n";
    status = 1;
  }
  return status;
}

}  // namespace iscc
