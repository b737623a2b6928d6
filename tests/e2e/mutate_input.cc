// mutate_input [-valid] <seed> <input.c> <output.c>: writes a copy of the
// input with one to three random mutations, the same ones for the same seed
// on every platform, and prints their labels on one line. By default they
// damage it: a byte replaced, bytes deleted, the text cut short, a line
// duplicated, a number replaced by an extreme one, or a tiling directive
// damaged (a number, a subscript dropped or doubled, the keyword swapped, a
// name replaced, the line dropped). With -valid they keep it a valid program
// whose tiling stays legal (valid_mutations.h), so that the tiled code can
// be run against it. Seed 0 copies the input unchanged (to check a given
// input, such as a reduced failure, as the fuzz test checks a mutation). The
// fuzz test runs tarvex on the copies.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "mutation_text.h"
#include "valid_mutations.h"

namespace {

const char* const kNumbers[] = {"0",   "-1",   "1",          "2",          "3",           "5",
                                "100", "1000", "2147483647", "1073741824", "-2147483648", "99999999999"};
const char* const kKeywords[] = {"tile_group",      "tile_size",  "tile_ratio", "tile_lattice",
                                 "tile_hyperplans", "tile_shape", "schedule",   "begin_scop",
                                 "end_scop",        "bound",      "output",     "parallelize"};
const char* const kNames[] = {"i", "j", "k", "t", "N", "M", "__T", "block_size", "x", "A", "outer_N"};

void replace_byte(std::string& text, Random& rng) {
  static const std::string alphabet = "0123456789aijkNxyz_+-*/%<>=!&|^~?:;,.()[]{}#\"'\\ \n\t";
  if (text.empty()) return;
  char c = rng.below(8) ? alphabet[rng.below(alphabet.size())] : static_cast<char>(rng.below(256));
  text[rng.below(text.size())] = c;
}

void delete_bytes(std::string& text, Random& rng) {
  if (text.empty()) return;
  size_t at = rng.below(text.size());
  text.erase(at, 1 + rng.below(16));
}

void duplicate_line(std::string& text, Random& rng) {
  std::vector<size_t> starts = line_starts(text);
  size_t line = rng.below(starts.size() - 1);
  std::string copy = text.substr(starts[line], starts[line + 1] - starts[line]);
  if (copy.empty() || copy.back() != '\n') copy += '\n';
  text.insert(starts[rng.below(starts.size())], copy);
}

// Replaces one of the numbers within [from, to); false when there is none.
bool replace_number(std::string& text, size_t from, size_t to, Random& rng) {
  auto numbers = runs(text, from, to, is_digit);
  // A digit run inside a name is not a number.
  std::vector<Span> standalone;
  for (auto n : numbers)
    if (n.first == 0 || !is_word(text[n.first - 1])) standalone.push_back(n);
  if (standalone.empty()) return false;
  auto n = standalone[rng.below(standalone.size())];
  text.replace(n.first, n.second - n.first, rng.pick(kNumbers));
  return true;
}

void damage_directive(std::string& text, Random& rng) {
  std::vector<size_t> starts = line_starts(text), directives;
  for (size_t k = 0; k + 1 < starts.size(); k++)
    if (text.compare(starts[k], 8, "#pragma ") == 0) directives.push_back(k);
  if (directives.empty()) return replace_byte(text, rng);
  size_t line = directives[rng.below(directives.size())];
  size_t from = starts[line], to = starts[line + 1];
  auto groups = subscripts(text, from, to);
  switch (rng.below(6)) {
    case 0:
      if (replace_number(text, from, to, rng)) return;
      break;
    case 1:
      if (groups.empty()) break;
      {
        auto g = groups[rng.below(groups.size())];
        text.erase(g.first, g.second - g.first);
      }
      return;
    case 2:
      if (groups.empty()) break;
      {
        auto g = groups[rng.below(groups.size())];
        text.insert(g.second, text.substr(g.first, g.second - g.first));
      }
      return;
    case 3: {
      auto words = runs(text, from + 8, to, is_word);
      if (words.empty()) break;
      text.replace(words[0].first, words[0].second - words[0].first, rng.pick(kKeywords));
      return;
    }
    case 4: {
      auto words = runs(text, from + 8, to, is_word);
      if (words.size() < 2) break;
      auto w = words[1 + rng.below(words.size() - 1)];
      text.replace(w.first, w.second - w.first, rng.pick(kNames));
      return;
    }
    default: break;
  }
  text.erase(from, to - from);
}

// One damaging mutation; returns its label.
std::string damage(std::string& text, Random& rng) {
  switch (rng.below(8)) {
    case 0: replace_byte(text, rng); return "byte";
    case 1: delete_bytes(text, rng); return "delete";
    case 2: text.resize(rng.below(text.size() + 1)); return "cut";
    case 3: duplicate_line(text, rng); return "line";
    case 4:
      if (!replace_number(text, 0, text.size(), rng)) replace_byte(text, rng);
      return "number";
    default: damage_directive(text, rng); return "directive";
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool valid = argc == 5 && std::string(argv[1]) == "-valid";
  if (argc != 4 + valid) {
    std::cerr << "usage: mutate_input [-valid] <seed> <input.c> <output.c>\n";
    return 2;
  }
  argv += valid;
  uint64_t seed = std::strtoull(argv[1], nullptr, 10);
  Random rng(seed);
  std::ifstream in(argv[2], std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.is_open() || in.bad()) {
    std::cerr << "mutate_input: cannot read " << argv[2] << "\n";
    return 2;
  }
  std::vector<std::string> labels;
  if (seed == 0) {
    labels.push_back("none");
  } else if (valid) {
    labels = mutate_validly(text, rng);
  } else {
    for (size_t n = 1 + rng.below(3); n > 0; n--) labels.push_back(damage(text, rng));
  }
  std::ofstream out(argv[3], std::ios::binary);
  out << text;
  for (size_t k = 0; k < labels.size(); k++) std::cout << (k ? " " : "") << labels[k];
  std::cout << "\n";
  return out.flush() ? 0 : 2;
}
