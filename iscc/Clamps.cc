#include "Clamps.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <set>

#include <isl/ctx.h>
#include <isl/id.h>
#include <isl/options.h>
#include <isl/printer.h>
#include <isl/val.h>

namespace iscc {
namespace {

// The coefficient of each name of an affine expression, and its constant
// when it names nothing; a name whose coefficient is unknown (the name
// occurs in a product by a parameter, a division or a min) maps to nothing.
struct Linear {
  std::map<std::string, std::optional<long long>> coefficient;
  std::optional<long long> constant;
};

Linear constant_of(long long c) { return Linear{{}, c}; }
Linear name_of(const std::string& name) { return Linear{{{name, 1}}, std::nullopt}; }

// Every name of `e` with an unknown coefficient.
Linear unknown(Linear e) {
  for (auto& entry : e.coefficient) entry.second.reset();
  e.constant.reset();
  return e;
}

std::optional<long long> times(std::optional<long long> a, long long b) {
  long long product;
  if (!a || __builtin_mul_overflow(*a, b, &product)) return std::nullopt;
  return product;
}

std::optional<long long> plus(std::optional<long long> a, std::optional<long long> b) {
  long long sum;
  if (!a || !b || __builtin_add_overflow(*a, *b, &sum)) return std::nullopt;
  return sum;
}

Linear scaled(Linear e, long long k) {
  for (auto& entry : e.coefficient) entry.second = times(entry.second, k);
  e.constant = times(e.constant, k);
  return e;
}

Linear sum(Linear a, const Linear& b) {
  for (const auto& entry : b.coefficient) {
    auto at = a.coefficient.find(entry.first);
    if (at == a.coefficient.end()) a.coefficient.insert(entry);
    else at->second = plus(at->second, entry.second);
  }
  a.constant = a.coefficient.empty() ? plus(a.constant, b.constant) : std::nullopt;
  return a;
}

Linear product(const Linear& a, const Linear& b) {
  if (a.constant && a.coefficient.empty()) return scaled(b, *a.constant);
  if (b.constant && b.coefficient.empty()) return scaled(a, *b.constant);
  return sum(unknown(a), unknown(b));
}

// ------------------------------------------------------------ C texts

bool is_name_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool is_name_char(char c) { return is_name_start(c) || std::isdigit(static_cast<unsigned char>(c)); }

// The tokens of a C expression: names, numbers with their suffixes, and
// single characters (blanks dropped).
std::vector<std::string> tokens(const std::string& text) {
  std::vector<std::string> out;
  for (size_t at = 0; at < text.size();) {
    char c = text[at];
    size_t end = at + 1;
    if (is_name_char(c))
      while (end < text.size() && is_name_char(text[end])) ++end;
    if (!std::isspace(static_cast<unsigned char>(c))) out.push_back(text.substr(at, end - at));
    at = end;
  }
  return out;
}

// `text` with each name of `replace` replaced by its text.
std::string substituted(const std::string& text, const std::map<std::string, std::string>& replace) {
  std::string out;
  for (const std::string& token : tokens(text)) {
    auto at = replace.find(token);
    // Names and numbers stay apart ("long long"), and signs ("- -1", not
    // the decrement "--1"); nothing else needs a blank.
    bool signs = !out.empty() && (out.back() == '-' || out.back() == '+') && (token[0] == '-' || token[0] == '+');
    if (signs || (!out.empty() && is_name_char(out.back()) && is_name_char(token[0]))) out += ' ';
    out += at == replace.end() ? token : at->second;
  }
  return out;
}

// The linear form of the C expressions that tarvex writes for a rebuilt
// counter: sums, differences and products of names and integers, casts to
// long long, and calls (whose names get unknown coefficients). Nothing for
// another text.
class TextReader {
 public:
  explicit TextReader(const std::string& text) : tokens_(tokens(text)) {}
  std::optional<Linear> read() {
    std::optional<Linear> e = expression();
    if (at_ != tokens_.size()) return std::nullopt;
    return e;
  }

 private:
  bool take(const char* token) {
    if (at_ >= tokens_.size() || tokens_[at_] != token) return false;
    ++at_;
    return true;
  }
  std::optional<Linear> expression() {
    std::optional<Linear> e = term();
    while (e && at_ < tokens_.size() && (tokens_[at_] == "+" || tokens_[at_] == "-")) {
      long long sign = tokens_[at_++] == "+" ? 1 : -1;
      std::optional<Linear> next = term();
      if (!next) return std::nullopt;
      e = sum(*e, scaled(*next, sign));
    }
    return e;
  }
  std::optional<Linear> term() {
    std::optional<Linear> e = unary();
    while (e && take("*")) {
      std::optional<Linear> next = unary();
      if (!next) return std::nullopt;
      e = product(*e, *next);
    }
    return e;
  }
  std::optional<Linear> unary() {
    if (take("-")) {
      std::optional<Linear> e = unary();
      return e ? std::optional<Linear>(scaled(*e, -1)) : std::nullopt;
    }
    if (at_ + 3 < tokens_.size() && tokens_[at_] == "(" && tokens_[at_ + 1] == "long" &&
        tokens_[at_ + 2] == "long" && tokens_[at_ + 3] == ")") {
      at_ += 4;
      return unary();
    }
    return primary();
  }
  std::optional<Linear> primary() {
    if (at_ >= tokens_.size() || ++depth_ > kDeepest) return std::nullopt;
    std::optional<Linear> e = bracketed_or_leaf();
    --depth_;
    return e;
  }
  std::optional<Linear> bracketed_or_leaf() {
    if (take("(")) {
      std::optional<Linear> e = expression();
      return take(")") ? e : std::nullopt;
    }
    const std::string& token = tokens_[at_++];
    if (std::isdigit(static_cast<unsigned char>(token[0]))) return number(token);
    if (!is_name_start(token[0])) return std::nullopt;
    if (!take("(")) return name_of(token);
    return call_arguments();
  }
  // The arguments of a call up to its ")", their names unknown.
  std::optional<Linear> call_arguments() {
    Linear all;
    do {
      std::optional<Linear> argument = expression();
      if (!argument) return std::nullopt;
      all = sum(all, unknown(*argument));
    } while (take(","));
    if (!take(")")) return std::nullopt;
    return unknown(all);
  }
  // A decimal integer with an optional suffix (2LL).
  static std::optional<Linear> number(const std::string& token) {
    size_t digits = token.find_first_not_of("0123456789");
    if (digits != std::string::npos && token.find_first_not_of("uUlL", digits) != std::string::npos)
      return std::nullopt;
    errno = 0;
    long long value = std::strtoll(token.c_str(), nullptr, 10);
    if (errno) return std::nullopt;
    return constant_of(value);
  }

  static const int kDeepest = 200;
  std::vector<std::string> tokens_;
  size_t at_ = 0;
  int depth_ = 0;
};

// ------------------------------------------------------------ isl's AST

std::string text_of(isl_ast_expr* e) {
  char* chars = isl_ast_expr_to_C_str(e);
  std::string text = chars ? chars : "";
  free(chars);
  return text;
}

Linear linear_of(isl_ast_expr* e);

Linear operation_of(isl_ast_expr* e) {
  isl_size n = isl_ast_expr_op_get_n_arg(e);
  std::vector<Linear> arguments;
  for (isl_size k = 0; k < n; ++k) {
    isl_ast_expr* argument = isl_ast_expr_op_get_arg(e, k);
    arguments.push_back(linear_of(argument));
    isl_ast_expr_free(argument);
  }
  isl_ast_expr_op_type type = isl_ast_expr_op_get_type(e);
  if (type == isl_ast_expr_op_minus && n == 1) return scaled(arguments[0], -1);
  if (type == isl_ast_expr_op_add && n == 2) return sum(arguments[0], arguments[1]);
  if (type == isl_ast_expr_op_sub && n == 2) return sum(arguments[0], scaled(arguments[1], -1));
  if (type == isl_ast_expr_op_mul && n == 2) return product(arguments[0], arguments[1]);
  Linear all;
  for (const Linear& argument : arguments) all = sum(all, unknown(argument));
  return unknown(all);
}

// The linear form of `e` (kept).
Linear linear_of(isl_ast_expr* e) {
  switch (isl_ast_expr_get_type(e)) {
    case isl_ast_expr_id: {
      isl_id* id = isl_ast_expr_get_id(e);
      Linear name = name_of(isl_id_get_name(id));
      isl_id_free(id);
      return name;
    }
    case isl_ast_expr_int: {
      isl_val* v = isl_ast_expr_get_val(e);
      bool fits = isl_val_is_int(v) == isl_bool_true && isl_val_cmp_si(v, LONG_MAX) < 0 &&
                  isl_val_cmp_si(v, LONG_MIN) > 0;
      Linear c = fits ? constant_of(isl_val_get_num_si(v)) : Linear{};
      isl_val_free(v);
      return c;
    }
    case isl_ast_expr_op: return operation_of(e);
    default: return Linear{};
  }
}

// A call beneath a loop: its expression (kept by the tree) and the
// counters of the loops between the loop and it.
struct Call {
  isl_ast_expr* expr;
  std::vector<std::string> inner;
};

std::string iterator_name(isl_ast_node* loop) {
  isl_ast_expr* iterator = isl_ast_node_for_get_iterator(loop);
  std::string name = text_of(iterator);
  isl_ast_expr_free(iterator);
  return name;
}

void collect_calls(isl_ast_node* node, std::vector<std::string>& inner, std::vector<Call>& calls);

void collect_in_list(isl_ast_node_list* list, std::vector<std::string>& inner, std::vector<Call>& calls) {
  isl_size n = isl_ast_node_list_n_ast_node(list);
  for (isl_size k = 0; k < n; ++k) {
    isl_ast_node* child = isl_ast_node_list_get_at(list, k);
    collect_calls(child, inner, calls);
    isl_ast_node_free(child);
  }
}

// Every call beneath `node` (kept); `inner` holds the counters of the
// loops above it up to the clamped one.
void collect_calls(isl_ast_node* node, std::vector<std::string>& inner, std::vector<Call>& calls) {
  switch (isl_ast_node_get_type(node)) {
    case isl_ast_node_for: {
      inner.push_back(iterator_name(node));
      isl_ast_node* body = isl_ast_node_for_get_body(node);
      collect_calls(body, inner, calls);
      isl_ast_node_free(body);
      inner.pop_back();
      return;
    }
    case isl_ast_node_if: {
      isl_ast_node* branch = isl_ast_node_if_get_then_node(node);
      collect_calls(branch, inner, calls);
      isl_ast_node_free(branch);
      if (isl_ast_node_if_has_else_node(node) != isl_bool_true) return;
      branch = isl_ast_node_if_get_else_node(node);
      collect_calls(branch, inner, calls);
      isl_ast_node_free(branch);
      return;
    }
    case isl_ast_node_block: {
      isl_ast_node_list* children = isl_ast_node_block_get_children(node);
      collect_in_list(children, inner, calls);
      isl_ast_node_list_free(children);
      return;
    }
    case isl_ast_node_user: {
      isl_ast_expr* expr = isl_ast_node_user_get_expr(node);
      calls.push_back(Call{expr, inner});
      isl_ast_expr_free(expr);  // the tree keeps it
      return;
    }
    default:
      calls.push_back(Call{nullptr, inner});  // unknown: nothing clamps
  }
}

// ------------------------------------------------------------ clamps

// The terms of one side of a loop's clamp, each the bound of one call (the
// max, or min, of its own terms). More terms than this, or a longer text,
// leave that side unclamped: the least or largest of two terms repeats
// both in C, so that the text grows as the powers of 2 with their nesting.
const size_t kMostTerms = 6;
const size_t kLongestSide = 20000;

// One side of the clamp of one loop: per call, the terms that bound it;
// nothing once a call has none.
using Side = std::optional<std::vector<std::vector<std::string>>>;

// The least (`compare` " < ") or largest (" > ") of `terms`, in C. It
// writes its conditional expressions itself: the program may carry its own
// min and max on int in place of the prelude's macros.
std::string folded(const char* compare, const std::vector<std::string>& terms) {
  std::string text = terms.back();
  for (size_t k = terms.size() - 1; k-- > 0;)
    text = "(" + terms[k] + compare + text + " ? " + terms[k] + " : " + text + ")";
  return text;
}

// `side` as one C text: the min over calls of each call's tightest bound;
// "" when it does not clamp.
std::string side_text(const Side& side, const char* per_call, const char* over_calls) {
  if (!side) return "";
  std::set<std::string> distinct;
  size_t terms = 0;
  for (const std::vector<std::string>& call : *side) {
    distinct.insert(folded(per_call, call));
    terms += call.size();
  }
  if (terms > kMostTerms) return "";
  std::string text = folded(over_calls, std::vector<std::string>(distinct.begin(), distinct.end()));
  return text.size() > kLongestSide ? "" : text;
}

struct LoopClamp {
  std::string lower, upper;  // "" for an unclamped side
};

// The coefficient of `name` in `value` once each formal is replaced by its
// argument; nothing when unknown.
std::optional<long long> coefficient_in(const Linear& value, const std::vector<std::string>& formals,
                                        const std::vector<Linear>& arguments, const std::string& name) {
  std::optional<long long> total = 0;
  for (size_t k = 0; k < formals.size(); ++k) {
    auto of_argument = arguments[k].coefficient.find(name);
    if (of_argument == arguments[k].coefficient.end()) continue;
    auto of_formal = value.coefficient.find(formals[k]);
    if (of_formal == value.coefficient.end()) continue;
    if (of_argument->second == 0 || of_formal->second == 0) continue;
    if (!of_argument->second || !of_formal->second) return std::nullopt;
    total = plus(total, times(of_argument->second, *of_formal->second));
  }
  return total;
}

// The bound's clamps of the loop counter `counter` at a call of arguments
// `arguments` (texts and forms): with value = a * counter + rest, rest
// evaluated with the counters of the loop and of the inner ones at 0.
void add_terms(const Bound& bound, const std::vector<std::string>& texts, const std::vector<Linear>& arguments,
               const std::string& counter, const std::vector<std::string>& inner, std::vector<std::string>& lower,
               std::vector<std::string>& upper) {
  std::optional<Linear> value = TextReader(bound.value).read();
  if (!value || bound.formals.size() != texts.size()) return;
  std::optional<long long> a = coefficient_in(*value, bound.formals, arguments, counter);
  if (!a || *a == 0 || *a == LLONG_MIN) return;
  std::map<std::string, std::string> zero = {{counter, "0"}};
  for (const std::string& name : inner) {
    if (coefficient_in(*value, bound.formals, arguments, name) != 0) return;
    zero[name] = "0";
  }
  std::map<std::string, std::string> actual;
  for (size_t k = 0; k < texts.size(); ++k)
    actual[bound.formals[k]] = "((long long)(" + substituted(texts[k], zero) + "))";
  std::string rest = "(" + substituted(bound.value, actual) + ")";
  long long d = *a > 0 ? *a : -*a;
  // a * counter >= lower - rest, a * counter <= upper - rest.
  // n / d rounded up or down: C's quotient rounds toward zero.
  auto quotient = [d](bool up, const std::string& n) {
    if (d == 1) return "(" + n + ")";
    std::string q = "(" + n + ") / " + std::to_string(d) + "LL", r = "(" + n + ") % " + std::to_string(d) + "LL";
    return "(" + q + (up ? " + (" + r + " > 0))" : " - (" + r + " < 0))");
  };
  std::string from_lower = *a > 0 ? "(" + bound.lower + ") - " + rest : rest + " - (" + bound.lower + ")";
  std::string from_upper = *a > 0 ? "(" + bound.upper + ") - " + rest : rest + " - (" + bound.upper + ")";
  if (!bound.lower.empty()) (*a > 0 ? lower : upper).push_back(quotient(*a > 0, from_lower));
  if (!bound.upper.empty()) (*a > 0 ? upper : lower).push_back(quotient(*a < 0, from_upper));
}

// The clamp of the loop of counter `counter` (its inner loops aside) for
// its calls.
LoopClamp clamp_of(const std::string& counter, const std::vector<Call>& calls, const StatementBounds& bounds) {
  Side lower = Side::value_type(), upper = Side::value_type();
  for (const Call& call : calls) {
    if (!call.expr || isl_ast_expr_get_type(call.expr) != isl_ast_expr_op) return {};
    isl_ast_expr* callee = isl_ast_expr_op_get_arg(call.expr, 0);
    auto found = bounds.find(text_of(callee));
    isl_ast_expr_free(callee);
    if (found == bounds.end()) return {};
    std::vector<std::string> texts;
    std::vector<Linear> arguments;
    for (isl_size k = 1; k < isl_ast_expr_op_get_n_arg(call.expr); ++k) {
      isl_ast_expr* argument = isl_ast_expr_op_get_arg(call.expr, k);
      texts.push_back(text_of(argument));
      arguments.push_back(linear_of(argument));
      isl_ast_expr_free(argument);
    }
    std::vector<std::string> below, above;
    for (const Bound& bound : found->second) add_terms(bound, texts, arguments, counter, call.inner, below, above);
    if (below.empty()) lower.reset();
    if (lower) lower->push_back(below);
    if (above.empty()) upper.reset();
    if (upper) upper->push_back(above);
  }
  return {side_text(lower, " > ", " < "), side_text(upper, " < ", " > ")};
}

struct Printing {
  const StatementBounds* bounds;
};

// The loop `node` (kept) with `clamp`: the counter starts at the larger of
// isl's start and the clamp's (when it steps by 1: a larger step keeps its
// start), and its test also bounds it by the clamp's end.
isl_printer* print_clamped_for(isl_printer* p, isl_ast_print_options* options, isl_ast_node* node,
                               const LoopClamp& clamp) {
  isl_ast_expr* iterator = isl_ast_node_for_get_iterator(node);
  isl_ast_expr* init = isl_ast_node_for_get_init(node);
  isl_ast_expr* cond = isl_ast_node_for_get_cond(node);
  isl_ast_expr* inc = isl_ast_node_for_get_inc(node);
  isl_ast_node* body = isl_ast_node_for_get_body(node);
  std::string counter = text_of(iterator), start = text_of(init), step = text_of(inc);
  if (!clamp.lower.empty() && step == "1") start = folded(" > ", {"((long long)(" + start + "))", clamp.lower});
  std::string test = text_of(cond);
  if (!clamp.upper.empty()) test = "(" + test + ") && " + counter + " <= " + clamp.upper;
  const char* type = isl_options_get_ast_iterator_type(isl_printer_get_ctx(p));
  p = isl_printer_start_line(p);
  std::string head = "for (" + std::string(type) + " " + counter + " = " + start + "; " + test + "; " + counter +
                     " += " + step + ") {";
  p = isl_printer_print_str(p, head.c_str());
  p = isl_printer_end_line(p);
  p = isl_printer_indent(p, 2);
  p = isl_ast_node_print(body, p, options);
  p = isl_printer_indent(p, -2);
  p = isl_printer_start_line(p);
  p = isl_printer_print_str(p, "}");
  p = isl_printer_end_line(p);
  isl_ast_expr_free(iterator);
  isl_ast_expr_free(init);
  isl_ast_expr_free(cond);
  isl_ast_expr_free(inc);
  isl_ast_node_free(body);
  return p;
}

isl_printer* print_for(isl_printer* p, isl_ast_print_options* options, isl_ast_node* node, void* user) {
  const StatementBounds& bounds = *static_cast<Printing*>(user)->bounds;
  LoopClamp clamp;
  if (isl_ast_node_for_is_degenerate(node) == isl_bool_false) {
    std::vector<std::string> inner;
    std::vector<Call> calls;
    isl_ast_node* body = isl_ast_node_for_get_body(node);
    collect_calls(body, inner, calls);
    isl_ast_node_free(body);
    clamp = clamp_of(iterator_name(node), calls, bounds);
  }
  if (clamp.lower.empty() && clamp.upper.empty()) return isl_ast_node_for_print(node, p, options);
  return print_clamped_for(p, options, node, clamp);
}

}  // namespace

std::optional<std::string> print_clamped(isl_ast_node* tree, const StatementBounds& bounds) {
  isl_ctx* ctx = isl_ast_node_get_ctx(tree);
  Printing printing{&bounds};
  isl_ast_print_options* options = isl_ast_print_options_alloc(ctx);
  options = isl_ast_print_options_set_print_for(options, print_for, &printing);
  isl_printer* p = isl_printer_to_str(ctx);
  p = isl_printer_set_output_format(p, ISL_FORMAT_C);
  p = isl_ast_node_print(tree, p, options);
  char* text = isl_printer_get_str(p);
  isl_printer_free(p);
  if (!text) return std::nullopt;
  std::string nest = text;
  free(text);
  return nest;
}

}  // namespace iscc
