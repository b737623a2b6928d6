// mutate_input <seed> <input.c> <output.c>: writes a copy of the input
// with one to three random mutations, the same ones for the same seed on
// every platform: a byte replaced, bytes deleted, the text cut short, a line
// duplicated, a number replaced by an extreme one, or a tiling directive
// damaged (a number, a subscript dropped or doubled, the keyword swapped, a
// name replaced, the line dropped). The fuzz test runs tarvex on the copies.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

std::mt19937_64 rng;

// A number below n (n >= 1). The modulo keeps it the same on every
// platform, which the distributions of the standard library do not.
size_t below(size_t n) { return static_cast<size_t>(rng() % n); }

template <class T, size_t n>
const T& pick(const T (&choices)[n]) {
  return choices[below(n)];
}

const char* const kNumbers[] = {"0",    "-1",   "1",          "2",          "3",           "5",
                                "100",  "1000", "2147483647", "1073741824", "-2147483648", "99999999999"};
const char* const kKeywords[] = {"tile_group",      "tile_size",  "tile_ratio", "tile_lattice",
                                 "tile_hyperplans", "tile_shape", "schedule",   "begin_scop",
                                 "end_scop",        "bound",      "output",     "parallelize"};
const char* const kNames[] = {"i", "j", "k", "t", "N", "M", "__T", "block_size", "x", "A", "outer_N"};

// Start of each line, and the text's end as the last entry.
std::vector<size_t> line_starts(const std::string& text) {
  std::vector<size_t> starts{0};
  for (size_t k = 0; k < text.size(); k++)
    if (text[k] == '\n' && k + 1 < text.size()) starts.push_back(k + 1);
  starts.push_back(text.size());
  return starts;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_word(char c) { return is_digit(c) || c == '_' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

// [begin, end) of every run of characters for which `in_run` holds, within
// [from, to).
template <class Pred>
std::vector<std::pair<size_t, size_t>> runs(const std::string& text, size_t from, size_t to, Pred in_run) {
  std::vector<std::pair<size_t, size_t>> found;
  for (size_t k = from; k < to;) {
    if (!in_run(text[k])) {
      k++;
      continue;
    }
    size_t end = k;
    while (end < to && in_run(text[end])) end++;
    found.emplace_back(k, end);
    k = end;
  }
  return found;
}

// The bracketed groups "[...]" (outermost) within [from, to).
std::vector<std::pair<size_t, size_t>> subscripts(const std::string& text, size_t from, size_t to) {
  std::vector<std::pair<size_t, size_t>> found;
  int depth = 0;
  size_t open = 0;
  for (size_t k = from; k < to; k++) {
    if (text[k] == '[' && depth++ == 0) open = k;
    if (text[k] == ']' && depth > 0 && --depth == 0) found.emplace_back(open, k + 1);
  }
  return found;
}

void replace_byte(std::string& text) {
  static const std::string alphabet = "0123456789aijkNxyz_+-*/%<>=!&|^~?:;,.()[]{}#\"'\\ \n\t";
  if (text.empty()) return;
  char c = below(8) ? alphabet[below(alphabet.size())] : static_cast<char>(below(256));
  text[below(text.size())] = c;
}

void delete_bytes(std::string& text) {
  if (text.empty()) return;
  size_t at = below(text.size());
  text.erase(at, 1 + below(16));
}

void duplicate_line(std::string& text) {
  std::vector<size_t> starts = line_starts(text);
  size_t line = below(starts.size() - 1);
  std::string copy = text.substr(starts[line], starts[line + 1] - starts[line]);
  if (copy.empty() || copy.back() != '\n') copy += '\n';
  text.insert(starts[below(starts.size())], copy);
}

// Replaces one of the numbers within [from, to); false when there is none.
bool replace_number(std::string& text, size_t from, size_t to) {
  auto numbers = runs(text, from, to, is_digit);
  // A digit run inside a name is not a number.
  std::vector<std::pair<size_t, size_t>> standalone;
  for (auto n : numbers)
    if (n.first == 0 || !is_word(text[n.first - 1])) standalone.push_back(n);
  if (standalone.empty()) return false;
  auto n = standalone[below(standalone.size())];
  text.replace(n.first, n.second - n.first, pick(kNumbers));
  return true;
}

void damage_directive(std::string& text) {
  std::vector<size_t> starts = line_starts(text), directives;
  for (size_t k = 0; k + 1 < starts.size(); k++)
    if (text.compare(starts[k], 8, "#pragma ") == 0) directives.push_back(k);
  if (directives.empty()) return replace_byte(text);
  size_t line = directives[below(directives.size())];
  size_t from = starts[line], to = starts[line + 1];
  auto groups = subscripts(text, from, to);
  switch (below(6)) {
    case 0:
      if (replace_number(text, from, to)) return;
      break;
    case 1:
      if (groups.empty()) break;
      {
        auto g = groups[below(groups.size())];
        text.erase(g.first, g.second - g.first);
      }
      return;
    case 2:
      if (groups.empty()) break;
      {
        auto g = groups[below(groups.size())];
        text.insert(g.second, text.substr(g.first, g.second - g.first));
      }
      return;
    case 3: {
      auto words = runs(text, from + 8, to, is_word);
      if (words.empty()) break;
      text.replace(words[0].first, words[0].second - words[0].first, pick(kKeywords));
      return;
    }
    case 4: {
      auto words = runs(text, from + 8, to, is_word);
      if (words.size() < 2) break;
      auto w = words[1 + below(words.size() - 1)];
      text.replace(w.first, w.second - w.first, pick(kNames));
      return;
    }
    default: break;
  }
  text.erase(from, to - from);
}

void mutate(std::string& text) {
  switch (below(8)) {
    case 0: replace_byte(text); break;
    case 1: delete_bytes(text); break;
    case 2: text.resize(below(text.size() + 1)); break;
    case 3: duplicate_line(text); break;
    case 4:
      if (!replace_number(text, 0, text.size())) replace_byte(text);
      break;
    default: damage_directive(text); break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: mutate_input <seed> <input.c> <output.c>\n";
    return 2;
  }
  rng.seed(std::strtoull(argv[1], nullptr, 10));
  std::ifstream in(argv[2], std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::cerr << "mutate_input: cannot read " << argv[2] << "\n";
    return 2;
  }
  for (size_t n = 1 + below(3); n > 0; n--) mutate(text);
  std::ofstream out(argv[3], std::ios::binary);
  out << text;
  return out.flush() ? 0 : 2;
}
