#include "valid_mutations.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <regex>

namespace {

const size_t npos = std::string::npos;

// Names the tiled code generates (tile and lattice counters, indices inside
// a tile, splits of sizes and of hidden constants, statement macros, the
// code generator's loop counters, the script's sets), and names like them.
const char kGeneratedNames[] =
    "time_0 time_1 time_2 N_0 i_0 T_0 outer_N inner_N outer_time_0 inner_time_0 outer_2 outer_0 inner_i "
    "tile_counter_0 tile_counter_1 lattice_offset_0 lattice_offset_1 c0 c1 c2 c3 c1_0 S0 S1 S D D0 F F0 theta "
    "tiled_program tiled_kernel block_size block_size_0 block outer inner __T outer_999 kernel_0";

// Constants a loop counter is shifted by: small ones, and ones that put
// the loop next to INT_MIN or INT_MAX, a few tiles' reach still inside int.
const long long kIntMax = 2147483647, kIntMin = -kIntMax - 1;
const long long kOffsets[] = {
    1, 2, 5, -1, -3, -7, 1000, -1000, 1 << 30, -(1 << 30), kIntMax - 4096, kIntMin + 3, kIntMin + 4096};

const int kTileSizes[] = {1, 2, 3, 4, 5, 7, 16};
const int kTileRatios[] = {1, 1, 1, 2, 2, 3};

// The functions a statement may call, put ahead of the first function of
// the input: a pure one, one that counts and prints its calls (the driver
// prints the count; the printed lines are compared in any order, as the
// tiles run the calls in another order), and the input's own min and max.
const char kFunctionsMark[] = "// functions the statements call\n";
const char kFunctions[] =
    "int calls;\n"
    "int twice(int x) { return 2 * x; }\n"
    "int noisy(int x) {\n"
    "  calls = calls + 1;\n"
    "  printf(\"@%d\\n\", x);\n"
    "  return x;\n"
    "}\n"
    "int min(int x, int y) { return x < y ? x : y; }\n"
    "int max(int x, int y) { return x > y ? x : y; }\n"
    "// end of the functions\n";

// Calls added to a statement, "$a" and "$b" standing for its counters,
// parameters or small constants: label, then text.
const char* const kCalls[][2] = {{"twice", "twice($a)"},
                                 {"noisy", "noisy($a)"},
                                 {"twice_noisy", "twice(noisy($a))"},
                                 {"min", "min($a, $b)"},
                                 {"max", "max($a, $b)"},
                                 {"min_noisy", "min((int)noisy($a), $b)"},
                                 {"max_twice", "max($b, (int)twice($a))"},
                                 {"noisy_min", "noisy(min($a, $b))"},
                                 {"choice", "($a < $b ? twice($a) : noisy($b))"}};

std::string at(const std::string& text, Span s) { return text.substr(s.first, s.second - s.first); }

size_t line_begin(const std::string& text, size_t k) {
  size_t newline = k == 0 ? npos : text.rfind('\n', k - 1);
  return newline == npos ? 0 : newline + 1;
}

size_t line_end(const std::string& text, size_t k) { return std::min(text.find('\n', k), text.size()); }

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
  return b == npos ? "" : s.substr(b, e - b + 1);
}

bool starts_with(const std::string& s, const std::string& prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

size_t skip_blanks(const std::string& text, size_t k) {
  while (k < text.size() && std::isspace(static_cast<unsigned char>(text[k]))) k++;
  return k;
}

bool word_is(const std::string& text, size_t k, const std::string& word) {
  return text.compare(k, word.size(), word) == 0 && (k + word.size() >= text.size() || !is_word(text[k + word.size()]));
}

// The names within [from, to) (words that do not start with a digit),
// outside string and character literals; comments are read as text, so
// that the comment lines describing the input follow a renaming.
std::vector<Span> words(const std::string& text, size_t from = 0, size_t to = npos) {
  to = std::min(to, text.size());
  std::vector<Span> found;
  bool comment = false;
  for (size_t k = from; k < to;) {
    char c = text[k];
    if (c == '\n') comment = false;
    if (!comment && c == '/' && k + 1 < to && text[k + 1] == '/') comment = true;
    if (!comment && (c == '"' || c == '\'')) {
      for (k++; k < to && text[k] != c && text[k] != '\n'; k++)
        if (text[k] == '\\') k++;
      k++;
      continue;
    }
    if (!is_word(c)) {
      k++;
      continue;
    }
    size_t end = k;
    while (end < to && is_word(text[end])) end++;
    if (!is_digit(c)) found.emplace_back(k, end);
    k = end;
  }
  return found;
}

bool has_word(const std::string& text, const std::string& name) {
  for (Span w : words(text))
    if (at(text, w) == name) return true;
  return false;
}

// Replaces the word `name` within [from, to) by `replacement`, except where
// `keep(position)` holds.
template <class Keep>
void replace_word_unless(std::string& text, const std::string& name, const std::string& replacement, size_t from,
                         size_t to, Keep keep) {
  std::vector<Span> found = words(text, from, to);
  for (auto w = found.rbegin(); w != found.rend(); ++w)
    if (at(text, *w) == name && !keep(w->first)) text.replace(w->first, w->second - w->first, replacement);
}

void replace_word(std::string& text, const std::string& name, const std::string& replacement) {
  replace_word_unless(text, name, replacement, 0, npos, [](size_t) { return false; });
}

// The text after "// <key>:" on its line.
bool find_field(const std::string& text, const std::string& key, Span& found) {
  std::string head = "// " + key + ":";
  for (size_t k : line_starts(text))
    if (text.compare(k, head.size(), head) == 0) {
      found = {k + head.size(), line_end(text, k)};
      return true;
    }
  return false;
}

std::vector<std::string> field_words(const std::string& text, const std::string& key) {
  Span field;
  std::vector<std::string> names;
  if (find_field(text, key, field))
    for (Span w : words(text, field.first, field.second)) names.push_back(at(text, w));
  return names;
}

// The largest value that the "// values:" sets give the parameter in
// `column` (8 without such a line).
long largest_value(const std::string& text, size_t column) {
  Span field;
  if (!find_field(text, "values", field)) return 8;
  long largest = 0;
  std::string sets = at(text, field);
  for (size_t k = 0; k <= sets.size();) {
    size_t bar = std::min(sets.find('|', k), sets.size());
    std::vector<Span> numbers = runs(sets, k, bar, [](char c) { return c == '-' || is_digit(c); });
    if (column < numbers.size())
      largest = std::max(largest, std::strtol(at(sets, numbers[column]).c_str(), nullptr, 10));
    k = bar + 1;
  }
  return largest;
}

size_t matching(const std::string& text, size_t open) {
  char o = text[open], c = o == '(' ? ')' : o == '[' ? ']' : '}';
  int depth = 0;
  for (size_t k = open; k < text.size(); k++)
    if (text[k] == o)
      depth++;
    else if (text[k] == c && --depth == 0)
      return k;
  return npos;
}

// The end of the statement that starts at or after k (directive lines
// skipped): after its ';' or its closing brace.
size_t statement_end(const std::string& text, size_t k) {
  k = skip_blanks(text, k);
  while (k < text.size() && text[k] == '#') k = skip_blanks(text, line_end(text, k));
  if (k >= text.size()) return text.size();
  if (text[k] == '{') return std::min(matching(text, k), text.size() - 1) + 1;
  if (word_is(text, k, "for") || word_is(text, k, "if")) {
    size_t open = text.find('(', k), close = open == npos ? npos : matching(text, open);
    if (close == npos) return text.size();
    size_t end = statement_end(text, close + 1), next = skip_blanks(text, end);
    if (word_is(text, k, "if") && word_is(text, next, "else")) end = statement_end(text, next + 4);
    return end;
  }
  for (int depth = 0; k < text.size(); k++)
    if (text[k] == '(')
      depth++;
    else if (text[k] == ')')
      depth--;
    else if (text[k] == ';' && depth == 0)
      return k + 1;
  return text.size();
}

// A loop `for (c = lower; c < upper; c++)` (also <=, ++c).
struct Loop {
  size_t body;  // after the header's ')'
  size_t end;   // after the loop's statement
  std::string counter;
  Span lower, upper;  // the bounds in the header
};

// The loops of the text, outermost first within each nest.
std::vector<Loop> loops(const std::string& text) {
  static const std::regex header(
      R"(\s*(\w+)\s*=\s*([^;]*?)\s*;\s*(\w+)\s*<=?\s*([^;]*?)\s*;\s*(?:\+\+\s*(\w+)|(\w+)\s*\+\+)\s*)");
  std::vector<Loop> found;
  for (Span w : words(text)) {
    size_t open = skip_blanks(text, w.second);
    if (at(text, w) != "for" || open >= text.size() || text[open] != '(') continue;
    size_t close = matching(text, open);
    std::smatch m;
    std::string inside = close == npos ? "" : text.substr(open + 1, close - open - 1);
    if (!std::regex_match(inside, m, header)) continue;
    std::string step = m[5].matched ? m[5].str() : m[6].str();
    if (m[3] != m[1] || step != m[1]) continue;
    size_t base = open + 1;
    Span lower{base + m.position(2), base + m.position(2) + m.length(2)};
    Span upper{base + m.position(4), base + m.position(4) + m.length(4)};
    found.push_back({close + 1, statement_end(text, close + 1), m[1], lower, upper});
  }
  return found;
}

// The static control parts: from the start of the begin_scop line to the
// end of the end_scop line, its newline included.
std::vector<Span> parts(const std::string& text) {
  std::vector<Span> found;
  size_t begin = npos;
  for (size_t k : line_starts(text)) {
    std::string line = trimmed(text.substr(k, line_end(text, k) - k));
    if (line == "#pragma begin_scop") begin = k;
    if (line == "#pragma end_scop" && begin != npos) {
      found.emplace_back(begin, std::min(line_end(text, k) + 1, text.size()));
      begin = npos;
    }
  }
  return found;
}

bool in_part(const std::string& text, size_t k) {
  for (Span p : parts(text))
    if (p.first <= k && k < p.second) return true;
  return false;
}

std::vector<Loop> loops_in_parts(const std::string& text) {
  std::vector<Loop> found;
  for (const Loop& l : loops(text))
    if (in_part(text, l.body)) found.push_back(l);
  return found;
}

bool is_directive(const std::string& line) {
  return starts_with(line, "#pragma ") && line != "#pragma begin_scop" && line != "#pragma end_scop";
}

// The statements that follow directives inside the parts (their lines,
// indentation left out).
std::vector<Span> statements(const std::string& text) {
  std::vector<Span> found;
  for (Span p : parts(text)) {
    bool after_directive = false;
    for (size_t k = p.first; k < p.second; k = line_end(text, k) + 1) {
      std::string line = trimmed(text.substr(k, line_end(text, k) - k));
      if (is_directive(line)) {
        after_directive = true;
      } else if (!line.empty()) {
        if (after_directive && line.back() == ';') found.emplace_back(skip_blanks(text, k), line_end(text, k));
        after_directive = false;
      }
    }
  }
  return found;
}

// The lines of the directives right above the statement at `statement`
// (from their first character to their end), nearest first.
std::vector<Span> directives_above(const std::string& text, size_t statement) {
  std::vector<Span> found;
  for (size_t k = line_begin(text, statement); k > 0;) {
    k = line_begin(text, k - 1);
    if (!is_directive(trimmed(text.substr(k, line_end(text, k) - k)))) break;
    found.emplace_back(skip_blanks(text, k), line_end(text, k));
  }
  return found;
}

// The start of the line of the first directive above the statement.
size_t directives_begin(const std::string& text, size_t statement) {
  std::vector<Span> above = directives_above(text, statement);
  return above.empty() ? line_begin(text, statement) : line_begin(text, above.back().first);
}

// The directive "#pragma <keyword>[...]" above the statement.
bool find_directive(const std::string& text, size_t statement, const std::string& keyword, Span& found) {
  for (Span d : directives_above(text, statement))
    if (starts_with(at(text, d), "#pragma " + keyword + "[")) {
      found = d;
      return true;
    }
  return false;
}

std::vector<std::string> counters_around(const std::string& text, size_t k) {
  std::vector<std::string> names;
  for (const Loop& l : loops(text))
    if (l.body <= k && k < l.end) names.push_back(l.counter);
  return names;
}

// Puts a leading date in front of every schedule directive: the number of
// its part in file order, so that the parts run one after the other even
// where their own dates are equal.
void date_parts(std::string& text) {
  const std::string directive = "#pragma schedule";
  std::vector<Span> found = parts(text);
  for (size_t p = found.size(); p-- > 0;) {
    std::vector<size_t> schedules;
    for (size_t k = text.find(directive, found[p].first); k < found[p].second; k = text.find(directive, k + 1))
      schedules.push_back(k);
    for (auto k = schedules.rbegin(); k != schedules.rend(); ++k)
      text.insert(*k + directive.size(), "[" + std::to_string(p) + "]");
  }
}

// The names of the functions defined in the text ("int f(" or "void f(" at
// a line's start).
std::vector<std::string> function_names(const std::string& text) {
  static const std::regex head(R"((?:int|void) (\w+)\s*\()");
  std::vector<std::string> names;
  std::smatch m;
  for (size_t k : line_starts(text)) {
    std::string line = text.substr(k, line_end(text, k) - k);
    if (std::regex_search(line, m, head) && m.position(0) == 0) names.push_back(m[1]);
  }
  return names;
}

// The names of the functions ahead of the first kernel: the counter, the
// pure function and the printing one, in the order of kFunctions.
std::vector<std::string> input_functions(const std::string& text) {
  size_t mark = text.find(kFunctionsMark);
  std::vector<std::string> names;
  if (mark == npos) return names;
  for (size_t k = mark + sizeof kFunctionsMark - 1; names.size() < 3 && k < text.size(); k = line_end(text, k) + 1) {
    std::vector<Span> w = words(text, k, line_end(text, k));
    if (w.size() >= 2) names.push_back(at(text, w[1]));
  }
  return names;
}

// Adds the functions a statement may call, if they are not there yet.
void ensure_functions(std::string& text) {
  if (text.find(kFunctionsMark) != npos) return;
  size_t kernel = 0;
  for (size_t k : line_starts(text))
    if (starts_with(text.substr(k, 5), "void ")) {
      kernel = k;
      break;
    }
  text.insert(kernel, std::string(kFunctionsMark) + kFunctions + "\n");
  Span arrays;
  if (find_field(text, "arrays", arrays)) text.insert(arrays.second, " calls");
  text.insert(0, "#include <stdio.h>\n");
}

// ---------------------------------------------------------------- names

bool rename(std::string& text, Random& rng, std::string& label) {
  std::vector<std::string> names = field_words(text, "params"), arrays = field_words(text, "arrays");
  names.insert(names.end(), arrays.begin(), arrays.end());
  for (const Loop& l : loops_in_parts(text)) names.push_back(l.counter);
  for (const std::string& f : function_names(text))
    if (f != "min" && f != "max") names.push_back(f);
  if (names.empty()) return false;
  std::vector<Span> generated = words(kGeneratedNames);
  std::string old = rng.pick(names), fresh = at(kGeneratedNames, rng.pick(generated));
  if (has_word(text, fresh) || !has_word(text, old)) return false;
  Span call;
  bool kernel = text.find("void " + old + "(") != npos;
  if (kernel && !find_field(text, "call", call)) text.insert(0, "// call: " + old + "()\n");
  replace_word(text, old, fresh);
  label = "rename:" + old + "=" + fresh;
  return true;
}

// ---------------------------------------------------------------- calls

// A counter of the statement at `k`, one of the parameters or a small
// constant, counters the likeliest.
std::string argument(const std::string& text, size_t k, Random& rng) {
  std::vector<std::string> counters = counters_around(text, k), choices = counters;
  std::vector<std::string> params = field_words(text, "params");
  choices.insert(choices.end(), counters.begin(), counters.end());
  choices.insert(choices.end(), params.begin(), params.end());
  choices.push_back(std::to_string(rng.below(4)));
  return rng.pick(choices);
}

void substitute(std::string& s, const std::string& from, const std::string& to) {
  for (size_t k = s.find(from); k != npos; k = s.find(from, k + to.size())) s.replace(k, from.size(), to);
}

// The position of a statement's assignment '=' (none of ==, <=, >=, !=).
size_t assignment(const std::string& line) {
  for (size_t k = 1; k + 1 < line.size(); k++)
    if (line[k] == '=' && line[k + 1] != '=' && std::string("=<>!").find(line[k - 1]) == npos) return k;
  return npos;
}

// `x = e;` becomes `x = (e) + (call);`, or, now and then, the call stands
// alone ahead of the statement's directives, which the input language
// refuses.
bool add_call(std::string& text, Random& rng, std::string& label) {
  ensure_functions(text);
  std::vector<Span> found = statements(text);
  if (found.empty()) return false;
  Span s = rng.pick(found);
  std::vector<std::string> functions = input_functions(text);
  if (functions.size() < 3) return false;
  const auto& form = rng.pick(kCalls);
  std::string call = form[1];
  substitute(call, "twice", functions[1]);
  substitute(call, "noisy", functions[2]);
  substitute(call, "$a", argument(text, s.first, rng));
  substitute(call, "$b", argument(text, s.first, rng));
  if (rng.below(12) == 0) {
    text.insert(directives_begin(text, s.first), "    " + call + ";\n");
    label = "lone_call";
    return true;
  }
  std::string line = at(text, s);
  size_t equal = assignment(line), semicolon = line.rfind(';');
  if (equal == npos) return false;
  std::string rhs = trimmed(line.substr(equal + 1, semicolon - equal - 1));
  text.replace(s.first, s.second - s.first, line.substr(0, equal + 1) + " (" + rhs + ") + (" + call + ");");
  label = std::string("call:") + form[0];
  return true;
}

// ------------------------------------------------------- loops and bounds

// `expr + c` as text: summed when expr is a number (false when the sum
// leaves int), parenthesised otherwise.
bool shifted(const std::string& expr, long long c, std::string& result) {
  char* end = nullptr;
  long long value = std::strtoll(expr.c_str(), &end, 10);
  if (!expr.empty() && *end == '\0') {
    if (value + c <= kIntMin || value + c > kIntMax) return false;
    result = std::to_string(value + c);
    return true;
  }
  result = expr + (c < 0 ? " - " : " + ") + std::to_string(std::llabs(c));
  return true;
}

// Whether the line at k is a directive that places the tiles.
bool places_tiles(const std::string& text, size_t k) {
  std::string line = trimmed(text.substr(line_begin(text, k), line_end(text, k) - line_begin(text, k)));
  return starts_with(line, "#pragma tile_hyperplans") || starts_with(line, "#pragma tile_shape");
}

// for (c = lo; c < hi; c++) becomes for (c = lo + d; c < hi + d; c++),
// every c of the body (c - d). The tiling directives keep c now and then:
// the tiles are then shifted, which keeps them legal.
bool offset(std::string& text, Random& rng, std::string& label) {
  std::vector<Loop> found = loops_in_parts(text);
  if (found.empty()) return false;
  Loop l = rng.pick(found);
  long long d = rng.pick(kOffsets);
  std::string lower, upper, bounds = at(text, l.lower) + " " + at(text, l.upper);
  // A loop shifted by a large constant once is not shifted again: twice
  // could leave int.
  if (std::regex_search(bounds, std::regex(R"(\d{7})")) || !shifted(at(text, l.lower), d, lower) ||
      !shifted(at(text, l.upper), d, upper))
    return false;
  bool keep_tiles = rng.below(2);
  std::string back = "(" + l.counter + (d < 0 ? " + " : " - ") + std::to_string(std::llabs(d)) + ")";
  replace_word_unless(text, l.counter, back, l.body, l.end,
                      [&](size_t k) { return keep_tiles && places_tiles(text, k); });
  text.replace(l.upper.first, l.upper.second - l.upper.first, upper);
  text.replace(l.lower.first, l.lower.second - l.lower.first, lower);
  label = "offset:" + l.counter + ":" + std::to_string(d) + (keep_tiles ? ":tiles_kept" : "");
  return true;
}

// A size parameter in a loop bound becomes a constant between 0 and its
// largest value in "// values:" (the arrays hold that much).
bool constant_bound(std::string& text, Random& rng, std::string& label) {
  std::vector<std::string> params = field_words(text, "params");
  std::vector<std::pair<Span, size_t>> uses;
  for (const Loop& l : loops_in_parts(text))
    for (Span bound : {l.lower, l.upper})
      for (Span w : words(text, bound.first, bound.second)) {
        auto p = std::find(params.begin(), params.end(), at(text, w));
        if (p != params.end()) uses.emplace_back(w, p - params.begin());
      }
  if (uses.empty()) return false;
  auto use = rng.pick(uses);
  long largest = largest_value(text, use.second);
  long value = rng.below(3) ? rng.below(std::min(largest, 4L) + 1) : rng.below(largest + 1);
  label = "constant:" + at(text, use.first) + "=" + std::to_string(value);
  text.replace(use.first.first, use.first.second - use.first.first, std::to_string(value));
  return true;
}

// --------------------------------------------------------------- tilings

// The tile_size and tile_ratio directives of the parts.
std::vector<Span> tile_directives(const std::string& text) {
  std::vector<Span> found;
  for (Span s : statements(text))
    for (const char* keyword : {"tile_size", "tile_ratio"}) {
      Span d;
      if (find_directive(text, s.first, keyword, d)) found.push_back(d);
    }
  return found;
}

// Rewrites the directive at `d` as `keyword` with new numbers.
void rewrite_sizes(std::string& text, Span d, const std::string& keyword, Random& rng) {
  std::vector<Span> groups = subscripts(text, d.first, d.second);
  std::string line = "#pragma " + keyword;
  for (size_t k = 0; k < groups.size(); k++)
    line += "[" + std::to_string(keyword == "tile_size" ? rng.pick(kTileSizes) : rng.pick(kTileRatios)) + "]";
  text.replace(d.first, d.second - d.first, line);
}

// Other sizes or ratios, or constant and rectangular parametric tiling
// swapped: either keeps a legal tiling legal.
bool retile(std::string& text, Random& rng, std::string& label) {
  std::vector<Span> found = tile_directives(text);
  if (found.empty()) return false;
  Span d = rng.pick(found);
  bool constant = starts_with(at(text, d), "#pragma tile_size");
  bool swap = rng.below(2);
  std::string keyword = constant != swap ? "tile_size" : "tile_ratio";
  rewrite_sizes(text, d, keyword, rng);
  label = (swap ? "swap:" : "retile:") + keyword;
  return true;
}

// An affine form: coefficients by name, the constant under "".
using Affine = std::map<std::string, long long>;

// Parses sums and differences of products of numbers, names and
// parenthesised forms, at least one factor of each product a number.
class AffineParser {
 public:
  explicit AffineParser(std::string text) : text_(std::move(text)) {}
  bool parse(Affine& form) {
    form = sum();
    return ok_ && skip() == text_.size();
  }

 private:
  size_t skip() {
    while (k_ < text_.size() && text_[k_] == ' ') k_++;
    return k_;
  }
  static Affine scaled(Affine form, long long factor) {
    for (auto& term : form) term.second *= factor;
    return form;
  }
  static void add(Affine& to, const Affine& form) {
    for (const auto& term : form) to[term.first] += term.second;
  }
  Affine sum() {
    Affine form = product();
    while (ok_ && skip() < text_.size() && (text_[k_] == '+' || text_[k_] == '-')) {
      long long sign = text_[k_++] == '-' ? -1 : 1;
      add(form, scaled(product(), sign));
    }
    return form;
  }
  Affine product() {
    Affine form = factor();
    while (ok_ && skip() < text_.size() && text_[k_] == '*') {
      k_++;
      Affine other = factor();
      bool number = form.size() == 1 && form.count(""), other_number = other.size() == 1 && other.count("");
      if (!number && !other_number) ok_ = false;
      form = number ? scaled(other, form[""]) : scaled(form, other[""]);
    }
    return form;
  }
  Affine factor() {
    if (skip() >= text_.size()) return fail();
    char c = text_[k_];
    if (c == '-' || c == '+') {
      k_++;
      return scaled(factor(), c == '-' ? -1 : 1);
    }
    if (c == '(') {
      k_++;
      Affine form = sum();
      if (skip() >= text_.size() || text_[k_++] != ')') return fail();
      return form;
    }
    size_t end = k_;
    while (end < text_.size() && is_word(text_[end])) end++;
    if (end == k_) return fail();
    std::string word = text_.substr(k_, end - k_);
    k_ = end;
    if (is_digit(word[0])) return {{"", std::strtoll(word.c_str(), nullptr, 10)}};
    return {{word, 1}};
  }
  Affine fail() {
    ok_ = false;
    return {};
  }
  std::string text_;
  size_t k_ = 0;
  bool ok_ = true;
};

using Matrix = std::vector<std::vector<long long>>;

Matrix minor_of(const Matrix& m, size_t row, size_t column) {
  Matrix minor;
  for (size_t r = 0; r < m.size(); r++) {
    if (r == row) continue;
    minor.emplace_back();
    for (size_t c = 0; c < m.size(); c++)
      if (c != column) minor.back().push_back(m[r][c]);
  }
  return minor;
}

long long determinant(const Matrix& m) {
  if (m.empty()) return 1;
  long long det = 0;
  for (size_t c = 0; c < m.size(); c++) det += (c % 2 ? -1 : 1) * m[0][c] * determinant(minor_of(m, 0, c));
  return det;
}

// The inverse of an integer matrix of determinant 1 or -1.
bool unimodular_inverse(const Matrix& m, Matrix& inverse) {
  long long det = determinant(m);
  if (det != 1 && det != -1) return false;
  inverse.assign(m.size(), std::vector<long long>(m.size()));
  for (size_t r = 0; r < m.size(); r++)
    for (size_t c = 0; c < m.size(); c++) inverse[c][r] = ((r + c) % 2 ? -1 : 1) * determinant(minor_of(m, r, c)) * det;
  return true;
}

// The form's terms over the counters, as C text ("t + 2 * i", "-i").
std::string form_text(const std::vector<long long>& coefficients, const std::vector<std::string>& counters) {
  std::string text;
  for (size_t c = 0; c < counters.size(); c++) {
    long long a = coefficients[c];
    if (a == 0) continue;
    text += text.empty() ? (a < 0 ? "-" : "") : (a < 0 ? " - " : " + ");
    text += (std::llabs(a) == 1 ? "" : std::to_string(std::llabs(a)) + " * ") + counters[c];
  }
  return text;
}

// `s * block_size - 1 - (form)` as C text.
std::string upper_face(long long s, std::vector<long long> coefficients, const std::vector<std::string>& counters) {
  for (long long& a : coefficients) a = -a;
  std::string rest = form_text(coefficients, counters);
  std::string head = (s == 1 ? "" : std::to_string(s) + " * ") + "block_size - 1";
  return head + (rest[0] == '-' ? " - " + rest.substr(1) : " + " + rest);
}

// A rectangular tiling (sizes s_d along hyperplanes h_d, H integer
// invertible) rewritten as the general tiling of the same tiles: the shape
// 0 <= h_d < s_d * block_size on the lattice H^-1 diag(s), its columns in
// the hyperplanes' order so that the tiles run in the same order. A
// constant tiling becomes parametric on the way.
bool to_general(std::string& text, Random& rng, std::string& label) {
  std::vector<Span> found;
  for (Span s : statements(text)) {
    Span d;
    if (find_directive(text, s.first, "tile_hyperplans", d)) found.push_back(s);
  }
  if (found.empty()) return false;
  Span s = rng.pick(found), hyperplanes, sizes;
  std::vector<std::string> counters = counters_around(text, s.first);
  bool ratios = find_directive(text, s.first, "tile_ratio", sizes);
  if (!ratios && !find_directive(text, s.first, "tile_size", sizes)) return false;
  find_directive(text, s.first, "tile_hyperplans", hyperplanes);
  std::vector<Span> rows = subscripts(text, hyperplanes.first, hyperplanes.second);
  std::vector<Span> scale = subscripts(text, sizes.first, sizes.second);
  size_t n = counters.size();
  if (n == 0 || rows.size() != n || scale.size() != n) return false;
  Matrix h(n, std::vector<long long>(n)), inverse;
  std::vector<long long> s_d(n);
  for (size_t d = 0; d < n; d++) {
    Affine form;
    if (!AffineParser(at(text, {rows[d].first + 1, rows[d].second - 1})).parse(form)) return false;
    for (size_t c = 0; c < n; c++) h[d][c] = form[counters[c]];
    s_d[d] = ratios ? std::strtoll(at(text, {scale[d].first + 1, scale[d].second - 1}).c_str(), nullptr, 10)
                    : 1 + static_cast<long long>(rng.below(2));
    if (s_d[d] < 1 || s_d[d] > 8) return false;
  }
  if (!unimodular_inverse(h, inverse)) return false;
  std::string lattice = "#pragma tile_lattice", shape = "#pragma tile_shape";
  for (size_t r = 0; r < n; r++)
    for (size_t c = 0; c < n; c++) lattice += "[" + std::to_string(inverse[r][c] * s_d[c]) + "]";
  for (size_t d = 0; d < n; d++)
    shape += "[" + form_text(h[d], counters) + "][" + upper_face(s_d[d], h[d], counters) + "]";
  Span first = std::min(sizes, hyperplanes), second = std::max(sizes, hyperplanes);
  text.replace(second.first, second.second - second.first, second == sizes ? lattice : shape);
  text.replace(first.first, first.second - first.first, first == sizes ? lattice : shape);
  label = ratios ? "general" : "general_from_constant";
  return true;
}

// ----------------------------------------------------------------- parts

// The parts mutations below leave the parts' dates as they are, or, now
// and then, date the parts (date_parts).
bool date_now_and_then(std::string& text, Random& rng) {
  bool dated = rng.below(2);
  if (dated) date_parts(text);
  return dated;
}

// The copy of a part after itself.
bool repeat_part(std::string& text, Random& rng, std::string& label) {
  std::vector<Span> found = parts(text);
  if (found.empty()) return false;
  Span p = rng.pick(found);
  text.insert(p.second, at(text, p));
  label = date_now_and_then(text, rng) ? "repeat_dated" : "repeat";
  return true;
}

// The ends of the statements of a part but its last.
std::vector<size_t> inner_statement_ends(const std::string& text, Span p) {
  std::vector<size_t> ends;
  size_t end_line = line_begin(text, p.second - 1);
  for (size_t k = line_end(text, p.first);;) {
    size_t next = skip_blanks(text, k);
    while (next < end_line && text[next] == '#') next = skip_blanks(text, line_end(text, next));
    if (next >= end_line) break;
    k = statement_end(text, next);
    ends.push_back(k);
  }
  if (!ends.empty()) ends.pop_back();
  return ends;
}

// A part cut in two between two of its statements.
bool split_part(std::string& text, Random& rng, std::string& label) {
  std::vector<size_t> cuts;
  for (Span p : parts(text))
    for (size_t end : inner_statement_ends(text, p)) cuts.push_back(end);
  if (cuts.empty()) return false;
  text.insert(rng.pick(cuts), "\n#pragma end_scop\n#pragma begin_scop");
  label = date_now_and_then(text, rng) ? "split_dated" : "split";
  return true;
}

// The copy of a part in a new function at the end of the file, called
// after the others.
bool part_in_function(std::string& text, Random& rng, std::string& label) {
  std::vector<Span> found = parts(text);
  std::vector<std::string> functions = function_names(text);
  if (found.empty() || functions.empty()) return false;
  Span p = rng.pick(found);
  std::string kernel, fresh = "kernel_2", declared;
  for (const std::string& f : functions)
    if (text.find("void " + f + "(") < p.first) kernel = f;
  for (int k = 3; has_word(text, fresh); k++) fresh = "kernel_" + std::to_string(k);
  for (const Loop& l : loops(text))
    if (p.first <= l.body && l.body < p.second && (" " + declared + ",").find(" " + l.counter + ",") == npos)
      declared += (declared.empty() ? "" : ", ") + l.counter;
  if (kernel.empty()) return false;
  std::string copy = at(text, p);
  if (!text.empty() && text.back() != '\n') text += "\n";
  text += "\nvoid " + fresh + "() {\n" + (declared.empty() ? "" : "  int " + declared + ";\n") + copy + "}\n";
  Span call;
  if (find_field(text, "call", call))
    text.replace(call.first, call.second - call.first, " (" + trimmed(at(text, call)) + ", " + fresh + "())");
  else
    text.insert(0, "// call: (" + kernel + "(), " + fresh + "())\n");
  label = date_now_and_then(text, rng) ? "function_dated" : "function";
  return true;
}

}  // namespace

std::vector<std::string> mutate_validly(std::string& text, Random& rng) {
  using Mutation = bool (*)(std::string&, Random&, std::string&);
  static const Mutation kWeighted[] = {
      rename,         rename,     rename,     rename,     add_call,    add_call,        add_call,       add_call,
      offset,         offset,     retile,     retile,     repeat_part, repeat_part,     constant_bound, constant_bound,
      constant_bound, to_general, to_general, to_general, split_part,  part_in_function};
  std::vector<std::string> labels;
  size_t wanted = 1 + rng.below(3);
  for (size_t tries = 0; labels.size() < wanted && tries < 50; tries++) {
    std::string label;
    if (rng.pick(kWeighted)(text, rng, label)) labels.push_back(label);
  }
  return labels;
}
