#include "GeneratedName.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace {

bool is_number(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// Whether `name` is `prefix` followed by a number.
bool numbered(const std::string& name, const std::string& prefix) {
  return starts_with(name, prefix) && is_number(name.substr(prefix.size()));
}

std::string outer_or_inner(bool outer) { return outer ? "outer_" : "inner_"; }

// Every word that isl 0.25's reader takes for a keyword, in any letter
// case: it refuses each where a name is expected, but reads nan as a
// value in a tuple (an empty set, silently).
bool is_isl_keyword(std::string word) {
  static const std::set<std::string> keywords = {"and",    "ceil",    "ceild",    "exists", "false", "floor",
                                                 "floord", "implies", "infinity", "infty",  "max",   "min",
                                                 "mod",    "nan",     "not",      "or",     "rat",   "true"};
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
  return keywords.count(word) > 0;
}

const std::string keyword_alias_prefix = "inner_0_";

}  // namespace

std::string first_word(const std::ostringstream& composed) {
  std::istringstream in(composed.str());
  std::string word;
  in >> word;
  return word;
}

std::string tile_counter_name(int k) { return "tile_counter_" + std::to_string(k); }

std::string time_counter_name(bool outer, int d) { return outer_or_inner(outer) + "time_" + std::to_string(d); }

std::string lattice_counter_name(int k) { return "outer_" + std::to_string(k); }

std::string lattice_offset_name(int k) { return "lattice_offset_" + std::to_string(k); }

std::string inner_counter_name(const std::string& counter) { return "inner_" + counter; }

std::string split_name(bool outer, const std::string& parameter) {
  return outer_or_inner(outer) + parameter + (is_hidden_constant(parameter) ? "_const" : "");
}

std::string own_local_name(int k, const std::string& local) { return "inner_" + std::to_string(k) + "_" + local; }

bool is_own_local_name(const std::string& name) {
  if (!starts_with(name, "inner_")) return false;
  size_t number_end = name.find('_', 6);
  if (number_end == std::string::npos) return false;
  std::string number = name.substr(6, number_end - 6), local = name.substr(number_end + 1);
  return is_number(number) && number[0] != '0' && !local.empty() && local != "const";
}

std::string hidden_constant_name(int value) { return std::to_string(value); }

bool is_hidden_constant(const std::string& parameter) { return is_number(parameter); }

std::string isl_name(const std::string& name) { return is_isl_keyword(name) ? keyword_alias_prefix + name : name; }

std::string input_name(const std::string& isl_name) {
  if (!starts_with(isl_name, keyword_alias_prefix)) return isl_name;
  std::string word = isl_name.substr(keyword_alias_prefix.size());
  return is_isl_keyword(word) ? word : isl_name;
}

std::string reserved_name_reason(const std::string& name) {
  if (numbered(name, "tile_counter_")) return "the tiled code names its tile counters tile_counter_<k>";
  if (numbered(name, "outer_time_") || numbered(name, "inner_time_"))
    return "the tiled code names the counters of rectangular tilings outer_time_<d> and inner_time_<d>";
  if (numbered(name, "time_"))
    return "its splits outer_" + name + " and inner_" + name + " would be named like the counters of rectangular tilings";
  if (numbered(name, "lattice_offset_"))
    return "the tiled code names the lattice offsets of general tilings lattice_offset_<k>";
  if (starts_with(name, "outer_") || starts_with(name, "inner_"))
    return "the tiled code begins the names of its split sizes and of its lattice and inner counters with outer_ or "
           "inner_";
  return "";
}
