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

// What lies between a loop and a call beneath it: the counters of the
// loops, and the conditions of the if nodes whose then branch holds the
// call (kept by the tree).
struct Path {
  std::vector<std::string> inner;
  std::vector<isl_ast_expr*> guards;
};

// A call beneath a loop: its expression (kept by the tree; null for a node
// of unknown kind) and the path to it.
struct Call {
  isl_ast_expr* expr;
  Path path;
};

std::string iterator_name(isl_ast_node* loop) {
  isl_ast_expr* iterator = isl_ast_node_for_get_iterator(loop);
  std::string name = text_of(iterator);
  isl_ast_expr_free(iterator);
  return name;
}

void collect_calls(isl_ast_node* node, Path& path, std::vector<Call>& calls);

void collect_in_list(isl_ast_node_list* list, Path& path, std::vector<Call>& calls) {
  isl_size n = isl_ast_node_list_n_ast_node(list);
  for (isl_size k = 0; k < n; ++k) {
    isl_ast_node* child = isl_ast_node_list_get_at(list, k);
    collect_calls(child, path, calls);
    isl_ast_node_free(child);
  }
}

void collect_in_branches(isl_ast_node* node, Path& path, std::vector<Call>& calls) {
  isl_ast_expr* guard = isl_ast_node_if_get_cond(node);
  isl_ast_expr_free(guard);  // the tree keeps it
  path.guards.push_back(guard);
  isl_ast_node* branch = isl_ast_node_if_get_then_node(node);
  collect_calls(branch, path, calls);
  isl_ast_node_free(branch);
  path.guards.pop_back();
  if (isl_ast_node_if_has_else_node(node) != isl_bool_true) return;
  branch = isl_ast_node_if_get_else_node(node);
  collect_calls(branch, path, calls);
  isl_ast_node_free(branch);
}

// Every call beneath `node` (kept); `path` leads from the clamped loop to
// it.
void collect_calls(isl_ast_node* node, Path& path, std::vector<Call>& calls) {
  switch (isl_ast_node_get_type(node)) {
    case isl_ast_node_for: {
      path.inner.push_back(iterator_name(node));
      isl_ast_node* body = isl_ast_node_for_get_body(node);
      collect_calls(body, path, calls);
      isl_ast_node_free(body);
      path.inner.pop_back();
      return;
    }
    case isl_ast_node_if: collect_in_branches(node, path, calls); return;
    case isl_ast_node_block: {
      isl_ast_node_list* children = isl_ast_node_block_get_children(node);
      collect_in_list(children, path, calls);
      isl_ast_node_list_free(children);
      return;
    }
    case isl_ast_node_user: {
      isl_ast_expr* expr = isl_ast_node_user_get_expr(node);
      calls.push_back(Call{expr, path});
      isl_ast_expr_free(expr);  // the tree keeps it
      return;
    }
    default:
      calls.push_back(Call{nullptr, path});  // unknown: nothing clamps
  }
}

// ------------------------------------------------------------ clamps

// The terms of one side of a loop's clamp, each the bound of one call (the
// max, or min, of its own terms). More terms than this, or a longer text,
// leave that side unclamped, so that a loop's entry stays cheap and the
// nest's text small.
const size_t kMostTerms = 64;
const size_t kLongestSide = 100000;
// Two terms of at most this many characters in all are compared by a
// conditional expression, which repeats them (see folded).
const size_t kShortTerms = 1000;

// One side of the clamp of one loop: per call, the terms that bound it;
// nothing once a call has none.
using Side = std::optional<std::vector<std::vector<std::string>>>;

// The parameters of the lambdas that fold many terms (see folded): names
// that no text of the nest reads otherwise.
struct Folding {
  std::string left = "l", right = "r";
};

// The least (`compare` " < ") or largest (" > ") of `terms`, in C. It
// writes its comparisons itself: the program may carry its own min and max
// on int in place of the prelude's macros. Two short terms make a
// conditional expression; others are folded by a lambda that takes each
// once, as nested conditionals repeat their operands and would grow as the
// powers of 2.
std::string folded(const char* compare, const std::vector<std::string>& terms, const Folding& folding) {
  if (terms.size() == 1) return terms[0];
  if (terms.size() == 2 && terms[0].size() + terms[1].size() <= kShortTerms)
    return "(" + terms[0] + compare + terms[1] + " ? " + terms[0] + " : " + terms[1] + ")";
  const std::string &l = folding.left, &r = folding.right;
  std::string pick = "[](long long " + l + ", long long " + r + ") { return " + l + compare + r + " ? " + l + " : " +
                     r + "; }";
  std::string text = terms.back();
  for (size_t k = terms.size() - 1; k-- > 0;) text = pick + "(" + terms[k] + ", " + text + ")";
  return text;
}

// `side` as one C text: the min over calls of each call's tightest bound;
// "" when it does not clamp.
std::string side_text(const Side& side, const char* per_call, const char* over_calls, const Folding& folding) {
  if (!side) return "";
  std::map<std::string, size_t> distinct;  // each call's bound, with its number of terms
  for (const std::vector<std::string>& call : *side) distinct[folded(per_call, call, folding)] = call.size();
  size_t terms = 0;
  std::vector<std::string> texts;
  for (const auto& call : distinct) {
    terms += call.second;
    texts.push_back(call.first);
  }
  if (terms > kMostTerms) return "";
  std::string text = folded(over_calls, texts, folding);
  return text.size() > kLongestSide ? "" : text;
}

// The clamp of a loop: its smallest and largest values ("" for an
// unclamped side) and, when every call bounds both sides, the span of each
// distinct call, from its least value to its largest.
struct LoopClamp {
  std::string lower, upper;
  std::vector<std::pair<std::string, std::string>> spans;
};

// The span of each call of `lower` and `upper` (both sides of every call
// known), distinct; none past the limits of a side's text.
std::vector<std::pair<std::string, std::string>> spans_of(const Side& lower, const Side& upper, const Folding& folding) {
  if (!lower || !upper) return {};
  std::set<std::pair<std::string, std::string>> spans;
  size_t terms = 0, length = 0;
  for (size_t k = 0; k < lower->size(); ++k) {
    auto span = std::make_pair(folded(" > ", (*lower)[k], folding), folded(" < ", (*upper)[k], folding));
    if (!spans.insert(span).second) continue;
    terms += (*lower)[k].size() + (*upper)[k].size();
    length += span.first.size() + span.second.size();
  }
  if (terms > 2 * kMostTerms || length > 2 * kLongestSide) return {};
  return {spans.begin(), spans.end()};
}

// Adds the clamp of a counter c that `a` * c >= `n` (`at_least`) or
// `a` * c <= `n` implies to `lower` or `upper`: n / a rounded inward (C's
// quotient rounds toward zero).
void add_clamp(long long a, bool at_least, const std::string& n, std::vector<std::string>& lower,
               std::vector<std::string>& upper) {
  long long d = a > 0 ? a : -a;
  std::string numerator = a > 0 ? n : "-(" + n + ")";
  bool up = at_least == (a > 0);  // a bound from below on c rounds up
  std::string text = "(" + numerator + ")";
  if (d != 1) {
    std::string q = text + " / " + std::to_string(d) + "LL", r = text + " % " + std::to_string(d) + "LL";
    text = "(" + q + (up ? " + (" + r + " > 0))" : " - (" + r + " < 0))");
  }
  (up ? lower : upper).push_back(text);
}

// The range of each formal that a bound gives alone (its value is the
// formal itself): its lower and upper C texts, "" for none.
using Ranges = std::map<std::string, std::pair<std::string, std::string>>;

Ranges formal_ranges(const std::vector<Bound>& bounds) {
  Ranges ranges;
  for (const Bound& bound : bounds) {
    std::optional<Linear> value = TextReader(bound.value).read();
    if (!value || value->coefficient.size() != 1 || value->coefficient.begin()->second != 1) continue;
    auto& range = ranges[value->coefficient.begin()->first];
    if (range.first.empty()) range.first = bound.lower;
    if (range.second.empty()) range.second = bound.upper;
  }
  return ranges;
}

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

// Whether `argument` varies with one of the loops `inner`.
bool varies_with(const Linear& argument, const std::vector<std::string>& inner) {
  for (const std::string& name : inner) {
    auto at = argument.coefficient.find(name);
    if (at != argument.coefficient.end() && at->second != 0) return true;
  }
  return false;
}

// The sum of the least (`most` false) or largest values of `k` * x for
// the formals x of `scaled` (coefficient k) over their ranges, in C; ""
// when a range lacks the side needed.
std::string extreme_sum(const std::map<std::string, long long>& scaled, const Ranges& ranges, bool most) {
  std::string sum;
  for (const auto& term : scaled) {
    auto range = ranges.find(term.first);
    if (range == ranges.end()) return "";
    const std::string& end = (term.second > 0) == most ? range->second.second : range->second.first;
    if (end.empty()) return "";
    sum += (sum.empty() ? "(" : " + (") + std::to_string(term.second) + "LL * (" + end + "))";
  }
  return sum;
}

// The bound's clamps of a loop counter whose coefficient in its value is
// `a`, the value being a * counter + rest + the sum of the terms `varying`
// (a name's coefficient), each name within its range in `ranges`:
// lower - rest - (largest varying part) <= a * counter <= upper - rest -
// (least varying part). A side whose varying part has no bound gives none.
void add_bound_clamps(const Bound& bound, long long a, const std::string& rest,
                      const std::map<std::string, long long>& varying, const Ranges& ranges,
                      std::vector<std::string>& lower, std::vector<std::string>& upper) {
  std::string most = extreme_sum(varying, ranges, true), least = extreme_sum(varying, ranges, false);
  if (!bound.lower.empty() && (varying.empty() || !most.empty()))
    add_clamp(a, true, "(" + bound.lower + ") - " + rest + (most.empty() ? "" : " - (" + most + ")"), lower, upper);
  if (!bound.upper.empty() && (varying.empty() || !least.empty()))
    add_clamp(a, false, "(" + bound.upper + ") - " + rest + (least.empty() ? "" : " - (" + least + ")"), lower, upper);
}

// The bound's value at a call of arguments `texts`, with the counters of
// `zero` at 0, in C.
std::string value_at(const Bound& bound, const std::vector<std::string>& texts,
                     const std::map<std::string, std::string>& zero) {
  std::map<std::string, std::string> actual;
  for (size_t k = 0; k < texts.size(); ++k)
    actual[bound.formals[k]] = "((long long)(" + substituted(texts[k], zero) + "))";
  return "(" + substituted(bound.value, actual) + ")";
}

// The counters of the loop `counter` and of its inner loops, each at 0.
std::map<std::string, std::string> zeros(const std::string& counter, const Path& path) {
  std::map<std::string, std::string> zero = {{counter, "0"}};
  for (const std::string& name : path.inner) zero[name] = "0";
  return zero;
}

// The range of each inner loop's counter u at a call of arguments
// `arguments` (texts and forms) with `path` from the loop of `counter`,
// given the outer loops' counters: by each bound whose value is b * u +
// rest, b a known integer and rest free of the loop's counter and of the
// inner ones. A skewed date then bounds the loop that runs it: the point
// counter it holds is the date less an inner loop's counter, which the
// bounds of another point counter fix.
Ranges inner_ranges(const std::vector<Bound>& bounds, const std::vector<std::string>& texts,
                    const std::vector<Linear>& arguments, const std::string& counter, const Path& path,
                    const Folding& folding) {
  std::map<std::string, std::pair<std::vector<std::string>, std::vector<std::string>>> terms;
  for (const Bound& bound : bounds) {
    std::optional<Linear> value = TextReader(bound.value).read();
    if (!value || bound.formals.size() != texts.size() ||
        coefficient_in(*value, bound.formals, arguments, counter) != 0)
      continue;
    std::string alone;
    std::optional<long long> b = 0;
    for (const std::string& name : path.inner) {
      std::optional<long long> in_value = coefficient_in(*value, bound.formals, arguments, name);
      if (in_value == 0) continue;
      b = alone.empty() && in_value != LLONG_MIN ? in_value : std::nullopt;
      alone = name;
    }
    if (!b || alone.empty()) continue;
    std::string rest = value_at(bound, texts, zeros(counter, path));
    auto& range = terms[alone];
    if (!bound.lower.empty()) add_clamp(*b, true, "(" + bound.lower + ") - " + rest, range.first, range.second);
    if (!bound.upper.empty()) add_clamp(*b, false, "(" + bound.upper + ") - " + rest, range.first, range.second);
  }
  Ranges ranges;
  for (const auto& range : terms)
    ranges[range.first] = {range.second.first.empty() ? "" : folded(" > ", range.second.first, folding),
                           range.second.second.empty() ? "" : folded(" < ", range.second.second, folding)};
  return ranges;
}

// The bound's clamps of the loop counter `counter` at a call of arguments
// `arguments` (texts and forms) with `path` from the loop, where value = a
// * counter + the sum of b_u * u over the inner loops' counters u + rest,
// each u within its range given the outer counters (`inner`, see
// inner_ranges), rest evaluated with the counters of the loop and of the
// inner ones at 0.
void add_terms_through_inner(const Bound& bound, const Linear& value, const std::vector<std::string>& texts,
                             const std::vector<Linear>& arguments, const std::string& counter, const Path& path,
                             const Ranges& inner, std::vector<std::string>& lower, std::vector<std::string>& upper) {
  std::optional<long long> a = coefficient_in(value, bound.formals, arguments, counter);
  if (!a || *a == 0 || *a == LLONG_MIN) return;
  std::map<std::string, long long> varying;  // inner counter -> its coefficient in the value
  for (const std::string& name : path.inner) {
    std::optional<long long> b = coefficient_in(value, bound.formals, arguments, name);
    if (!b) return;
    if (*b) varying[name] = *b;
  }
  add_bound_clamps(bound, *a, value_at(bound, texts, zeros(counter, path)), varying, inner, lower, upper);
}

// The bound's clamps of the loop counter `counter` at a call of arguments
// `arguments` (texts and forms) with `path` from the loop: value = a *
// counter + rest + the formals whose arguments vary with the inner loops,
// each within its own range (`ranges`), rest evaluated with the counters
// of the loop and of the inner ones at 0. Where the counter enters the
// value through such formals only (a skewed date's point counter), the
// inner loops' counters within their ranges `inner` bound it instead.
void add_terms(const Bound& bound, const std::vector<std::string>& texts, const std::vector<Linear>& arguments,
               const std::string& counter, const Path& path, const Ranges& ranges, const Ranges& inner,
               std::vector<std::string>& lower, std::vector<std::string>& upper) {
  std::optional<Linear> value = TextReader(bound.value).read();
  if (!value || bound.formals.size() != texts.size()) return;
  std::map<std::string, std::string> zero = zeros(counter, path), actual;
  // The inner loops' counters may cancel out of the value (a point of a
  // skewed tile rebuilt from its skewed dates): then no formal varies.
  bool cancel = true;
  for (const std::string& name : path.inner)
    cancel = cancel && coefficient_in(*value, bound.formals, arguments, name) == 0;
  std::optional<long long> a = 0;
  std::map<std::string, long long> varying;  // formal -> its coefficient in the value
  for (size_t k = 0; k < texts.size(); ++k) {
    const std::string& formal = bound.formals[k];
    auto in_value = value->coefficient.find(formal);
    std::optional<long long> scale = in_value == value->coefficient.end() ? 0 : in_value->second;
    if (cancel || !varies_with(arguments[k], path.inner)) {
      actual[formal] = "((long long)(" + substituted(texts[k], zero) + "))";
      auto in_argument = arguments[k].coefficient.find(counter);
      if (in_argument != arguments[k].coefficient.end() && scale != 0)
        a = in_argument->second && scale ? plus(a, times(in_argument->second, *scale)) : std::nullopt;
      continue;
    }
    actual[formal] = "0";
    if (!scale) return;
    if (*scale) varying[formal] = *scale;
  }
  if (a == 0 && !varying.empty())
    return add_terms_through_inner(bound, *value, texts, arguments, counter, path, inner, lower, upper);
  if (!a || *a == 0 || *a == LLONG_MIN) return;
  add_bound_clamps(bound, *a, "(" + substituted(bound.value, actual) + ")", varying, ranges, lower, upper);
}

// The conjuncts of `condition` (kept by the tree).
void conjuncts(isl_ast_expr* condition, std::vector<isl_ast_expr*>& out) {
  isl_ast_expr_op_type type = isl_ast_expr_op_get_type(condition);
  if (type != isl_ast_expr_op_and && type != isl_ast_expr_op_and_then) {
    out.push_back(condition);
    return;
  }
  for (isl_size k = 0; k < isl_ast_expr_op_get_n_arg(condition); ++k) {
    isl_ast_expr* operand = isl_ast_expr_op_get_arg(condition, k);
    isl_ast_expr_free(operand);  // the tree keeps it
    conjuncts(operand, out);
  }
}

// The clamp of `counter` that the comparison `condition` (kept) implies,
// when one side less the other is a * counter + rest with a known and rest
// free of the inner loops' counters.
void add_condition_terms(isl_ast_expr* condition, const std::string& counter, const Path& path,
                         std::vector<std::string>& lower, std::vector<std::string>& upper) {
  if (isl_ast_expr_get_type(condition) != isl_ast_expr_op || isl_ast_expr_op_get_n_arg(condition) != 2) return;
  isl_ast_expr_op_type type = isl_ast_expr_op_get_type(condition);
  bool below = type == isl_ast_expr_op_ge || type == isl_ast_expr_op_gt || type == isl_ast_expr_op_eq;
  bool above = type == isl_ast_expr_op_le || type == isl_ast_expr_op_lt || type == isl_ast_expr_op_eq;
  if (!below && !above) return;
  isl_ast_expr* left = isl_ast_expr_op_get_arg(condition, 0);
  isl_ast_expr* right = isl_ast_expr_op_get_arg(condition, 1);
  Linear difference = sum(linear_of(left), scaled(linear_of(right), -1));
  std::string rest = "((" + text_of(left) + ") - (" + text_of(right) + "))";
  isl_ast_expr_free(left);
  isl_ast_expr_free(right);
  auto at = difference.coefficient.find(counter);
  if (at == difference.coefficient.end() || !at->second || *at->second == 0 || *at->second == LLONG_MIN ||
      varies_with(difference, path.inner))
    return;
  // a * counter + rest compared with 0; a strict comparison moves the bound by 1.
  rest = substituted(rest, {{counter, "0"}});
  if (below) add_clamp(*at->second, true, (type == isl_ast_expr_op_gt ? "1 - " : "0 - ") + rest, lower, upper);
  if (above) add_clamp(*at->second, false, (type == isl_ast_expr_op_lt ? "-1 - " : "0 - ") + rest, lower, upper);
}

// The clamps of `counter` that the conditions on `path` imply.
void add_path_terms(const Path& path, const std::string& counter, std::vector<std::string>& lower,
                    std::vector<std::string>& upper) {
  for (isl_ast_expr* guard : path.guards) {
    std::vector<isl_ast_expr*> all;
    conjuncts(guard, all);
    for (isl_ast_expr* condition : all) add_condition_terms(condition, counter, path, lower, upper);
  }
}

// The clamp of the loop of counter `counter` (its inner loops aside) for
// its calls. A call's bounds that leave a side open (its values do not
// vary with the loop) leave it to the conditions that lead to the call.
LoopClamp clamp_of(const std::string& counter, const std::vector<Call>& calls, const StatementBounds& bounds,
                   const Folding& folding) {
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
    Ranges ranges = formal_ranges(found->second);
    Ranges inner = inner_ranges(found->second, texts, arguments, counter, call.path, folding);
    std::vector<std::string> below, above;
    for (const Bound& bound : found->second)
      add_terms(bound, texts, arguments, counter, call.path, ranges, inner, below, above);
    if (below.empty() || above.empty()) {
      std::vector<std::string> guard_below, guard_above;
      add_path_terms(call.path, counter, guard_below, guard_above);
      if (below.empty()) below = guard_below;
      if (above.empty()) above = guard_above;
    }
    if (below.empty()) lower.reset();
    if (lower) lower->push_back(below);
    if (above.empty()) upper.reset();
    if (upper) upper->push_back(above);
  }
  return {side_text(lower, " > ", " < ", folding), side_text(upper, " < ", " > ", folding),
          spans_of(lower, upper, folding)};
}

// The state of a nest's printing: the statements' bounds, the names it
// may not declare (the script's), and those it declared.
struct Printing {
  const StatementBounds* bounds;
  std::set<std::string> taken;
  Folding folding;

  // A name from `base` that is not taken, taken from now on.
  std::string fresh(const std::string& base) {
    std::string name = name_apart(base, taken);
    taken.insert(name);
    return name;
  }
};

isl_printer* print_line(isl_printer* p, const std::string& line) {
  p = isl_printer_start_line(p);
  p = isl_printer_print_str(p, line.c_str());
  return isl_printer_end_line(p);
}

// Prints `head` ("for (...) {"), the loop's body `node` (kept) and its "}".
isl_printer* print_loop(isl_printer* p, isl_ast_print_options* options, const std::string& head, isl_ast_node* body) {
  p = print_line(p, head);
  p = isl_printer_indent(p, 2);
  p = isl_ast_node_print(body, p, options);
  p = isl_printer_indent(p, -2);
  return print_line(p, "}");
}

// The least value from `from` on that lies in one of the spans held two by
// two in the array `spans` (n spans), or the largest long long past them.
std::string next_in_spans(const std::string& from, const std::string& spans, size_t n, const Folding& folding) {
  std::vector<std::string> terms;
  for (size_t k = 0; k < n; ++k) {
    std::string lo = spans + "[" + std::to_string(2 * k) + "]", hi = spans + "[" + std::to_string(2 * k + 1) + "]";
    terms.push_back("(" + from + " <= " + hi + " ? (" + from + " > " + lo + " ? " + from + " : " + lo +
                    ") : 9223372036854775807LL)");
  }
  return folded(" < ", terms, folding);
}

// The loop `node` (kept), stepping by 1, whose calls have the far apart
// spans `spans`: it runs the values of the spans only, jumping from one to
// the next, so that its work grows with the values its calls may run
// rather than with the distance between them. The spans are computed once,
// ahead of the loop, with isl's start after them.
isl_printer* print_spanning_for(isl_printer* p, isl_ast_print_options* options, isl_ast_node* node,
                                const LoopClamp& clamp, Printing& printing) {
  isl_ast_expr* iterator = isl_ast_node_for_get_iterator(node);
  isl_ast_expr* init = isl_ast_node_for_get_init(node);
  isl_ast_expr* cond = isl_ast_node_for_get_cond(node);
  isl_ast_node* body = isl_ast_node_for_get_body(node);
  std::string counter = text_of(iterator), array = printing.fresh(counter + "_spans");
  size_t n = clamp.spans.size();
  std::string values;
  std::vector<std::string> ends;
  for (size_t k = 0; k < n; ++k) {
    values += clamp.spans[k].first + ", " + clamp.spans[k].second + ", ";
    ends.push_back(array + "[" + std::to_string(2 * k + 1) + "]");
  }
  std::string start = array + "[" + std::to_string(2 * n) + "]";
  p = print_line(p, "{");
  p = isl_printer_indent(p, 2);
  p = print_line(p, "long long " + array + "[" + std::to_string(2 * n + 1) + "] = {" + values + text_of(init) + "};");
  // The end of the spans is tested first: past them, the counter holds the
  // largest long long, which isl's test could overflow with.
  std::string head = "for (long long " + counter + " = " + next_in_spans(start, array, n, printing.folding) + "; " +
                     counter + " <= " + folded(" > ", ends, printing.folding) + " && (" + text_of(cond) + "); " +
                     counter + " = " + next_in_spans("(" + counter + " + 1)", array, n, printing.folding) + ") {";
  p = print_loop(p, options, head, body);
  p = isl_printer_indent(p, -2);
  p = print_line(p, "}");
  isl_ast_expr_free(iterator);
  isl_ast_expr_free(init);
  isl_ast_expr_free(cond);
  isl_ast_node_free(body);
  return p;
}

// The loop `node` (kept) with `clamp`: the counter starts at the larger of
// isl's start and the clamp's (when it steps by 1: a larger step keeps its
// start), and its test also bounds it by the clamp's end.
isl_printer* print_clamped_for(isl_printer* p, isl_ast_print_options* options, isl_ast_node* node,
                               const LoopClamp& clamp, const Folding& folding) {
  isl_ast_expr* iterator = isl_ast_node_for_get_iterator(node);
  isl_ast_expr* init = isl_ast_node_for_get_init(node);
  isl_ast_expr* cond = isl_ast_node_for_get_cond(node);
  isl_ast_expr* inc = isl_ast_node_for_get_inc(node);
  isl_ast_node* body = isl_ast_node_for_get_body(node);
  std::string counter = text_of(iterator), start = text_of(init), step = text_of(inc);
  if (!clamp.lower.empty() && step == "1")
    start = folded(" > ", {"((long long)(" + start + "))", clamp.lower}, folding);
  std::string test = text_of(cond);
  if (!clamp.upper.empty()) test = "(" + test + ") && " + counter + " <= " + clamp.upper;
  const char* type = isl_options_get_ast_iterator_type(isl_printer_get_ctx(p));
  std::string head = "for (" + std::string(type) + " " + counter + " = " + start + "; " + test + "; " + counter +
                     " += " + step + ") {";
  p = print_loop(p, options, head, body);
  isl_ast_expr_free(iterator);
  isl_ast_expr_free(init);
  isl_ast_expr_free(cond);
  isl_ast_expr_free(inc);
  isl_ast_node_free(body);
  return p;
}

bool steps_by_one(isl_ast_node* node) {
  isl_ast_expr* inc = isl_ast_node_for_get_inc(node);
  bool one = text_of(inc) == "1";
  isl_ast_expr_free(inc);
  return one;
}

isl_printer* print_for(isl_printer* p, isl_ast_print_options* options, isl_ast_node* node, void* user) {
  // A printer that failed (out of memory) prints nothing more.
  if (!p) {
    isl_ast_print_options_free(options);
    return nullptr;
  }
  Printing& printing = *static_cast<Printing*>(user);
  LoopClamp clamp;
  if (isl_ast_node_for_is_degenerate(node) == isl_bool_false) {
    Path path;
    std::vector<Call> calls;
    isl_ast_node* body = isl_ast_node_for_get_body(node);
    collect_calls(body, path, calls);
    isl_ast_node_free(body);
    clamp = clamp_of(iterator_name(node), calls, *printing.bounds, printing.folding);
  }
  if (clamp.spans.size() > 1 && steps_by_one(node)) return print_spanning_for(p, options, node, clamp, printing);
  if (clamp.lower.empty() && clamp.upper.empty()) return isl_ast_node_for_print(node, p, options);
  return print_clamped_for(p, options, node, clamp, printing.folding);
}

}  // namespace

std::string name_apart(const std::string& base, const std::set<std::string>& taken) {
  std::string name = base;
  for (int k = 0; taken.count(name); ++k) name = base + "_" + std::to_string(k);
  return name;
}

std::optional<std::string> print_clamped(isl_ast_node* tree, const StatementBounds& bounds,
                                        const std::set<std::string>& taken) {
  isl_ctx* ctx = isl_ast_node_get_ctx(tree);
  Printing printing{&bounds, taken, Folding()};
  printing.folding = {printing.fresh("l"), printing.fresh("r")};
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
