// Seeded choices and text scanning shared by the two kinds of mutations of
// mutate_input: damage (mutate_input.cc) and the ones that keep the input a
// valid, legally tiled program (valid_mutations.cc).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

// Random choices, the same for the same seed on every platform: the modulo
// of the engine's output, which the distributions of the standard library
// do not guarantee.
class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}
  // A number below n (n >= 1).
  size_t below(size_t n) { return static_cast<size_t>(engine_() % n); }
  template <class T, size_t n>
  const T& pick(const T (&choices)[n]) {
    return choices[below(n)];
  }
  template <class T>
  const T& pick(const std::vector<T>& choices) {
    return choices[below(choices.size())];
  }

 private:
  std::mt19937_64 engine_;
};

// [begin, end) of a piece of the text.
using Span = std::pair<size_t, size_t>;

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_word(char c) { return is_digit(c) || c == '_' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

// Start of each line, and the text's end as the last entry.
inline std::vector<size_t> line_starts(const std::string& text) {
  std::vector<size_t> starts{0};
  for (size_t k = 0; k < text.size(); k++)
    if (text[k] == '\n' && k + 1 < text.size()) starts.push_back(k + 1);
  starts.push_back(text.size());
  return starts;
}

// Every run of characters for which `in_run` holds, within [from, to).
template <class Pred>
std::vector<Span> runs(const std::string& text, size_t from, size_t to, Pred in_run) {
  std::vector<Span> found;
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

// The bracketed groups "[...]" (outermost) within [from, to), brackets
// included.
inline std::vector<Span> subscripts(const std::string& text, size_t from, size_t to) {
  std::vector<Span> found;
  int depth = 0;
  size_t open = 0;
  for (size_t k = from; k < to; k++) {
    if (text[k] == '[' && depth++ == 0) open = k;
    if (text[k] == ']' && depth > 0 && --depth == 0) found.emplace_back(open, k + 1);
  }
  return found;
}
