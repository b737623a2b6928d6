#include "Rank.h"

#include <iostream>
#include <sstream>

#include "Expression.h"
#include "GeneratedName.h"
#include "Stop.h"

std::map<std::string, int> counter_rank;
std::map<std::string, int> parameter_rank;
std::map<int, std::string> counter_string;
std::map<int, std::string> parameter_string;
int last_true_counter_rank = 0;
int last_counter_rank = 0;
int last_parameter_rank = 0;
std::map<int, int> last_counter_parameter;
std::map<std::string, int> current_counter_rank;
std::map<std::string, int> current_parameter_rank;
std::map<std::string, std::set<int>> alive_counter_rank;
std::map<std::string, std::set<int>> alive_parameter_rank;

namespace {

std::string join(const std::string& prefix, int i) {
  std::ostringstream out;
  out << prefix << i;
  return first_word(out);
}

std::string suffixed(const std::string& prefix, int i) {
  std::ostringstream out;
  out << prefix << "_" << i;
  return first_word(out);
}

// The name of create_counter(prefix, i) and create_parameter(prefix, i).
std::string suffixed_or_prefix(const std::string& prefix, int i) {
  if (i != -1) return suffixed(prefix, i);
  std::ostringstream out;
  out << prefix;
  return first_word(out);
}

std::pair<int, Expression*> register_counter(const std::string& name) {
  declare_variable(name);
  Expression* leaf = new Expression(name);
  return std::make_pair(get_counter_rank(name), leaf);
}

std::pair<int, Expression*> register_parameter(const std::string& name) {
  declare_parameter(name);
  Expression* leaf = new Expression(name);
  return std::make_pair(get_parameter_rank(name), leaf);
}

// Smallest suffix not in `alive`.
int smallest_free(const std::set<int>& alive) {
  if (alive.empty()) return 0;
  int largest = *alive.rbegin();
  if (largest != static_cast<int>(alive.size()) - 1) {
    for (int i = 0; i <= largest; i++)
      if (alive.count(i) == 0) return i;
  }
  return largest + 1;
}

}  // namespace

void create_counter_rank(std::string id) {
  // An extra counter registered again keeps its name through its old rank's
  // entry, which the name walk could no longer find.
  auto previous = counter_rank.find(id);
  if (previous != counter_rank.end()) counter_string.emplace(previous->second, id);
  counter_rank[id] = last_counter_rank;
  counter_string[last_counter_rank] = id;
  last_counter_rank++;
  last_true_counter_rank++;
}

void create_extra_counter_rank(std::string id) {
  if (counter_rank.count(id)) return;
  counter_rank[id] = last_counter_rank++;
}

void create_parameter_rank(std::string id) {
  if (parameter_rank.count(id)) return;
  parameter_rank[id] = last_parameter_rank++;
}

void declare_variable(std::string id) { create_extra_counter_rank(id); }
void declare_extra_counter(std::string id) { create_extra_counter_rank(id); }
void declare_parameter(std::string id) { create_parameter_rank(id); }

void declare_counter(std::string id) {
  if (counter_rank.count(id)) return;
  create_counter_rank(id);
}

int get_nb_counters() { return last_counter_rank; }
int get_nb_true_counters() { return last_true_counter_rank; }
int get_nb_parameters() { return last_parameter_rank; }

int is_a_counter(std::string id) { return counter_rank.count(id) ? 1 : 0; }
int exists_counter(std::string counter) { return is_a_counter(counter); }

int get_counter_rank(std::string id) {
  auto found = counter_rank.find(id);
  if (found == counter_rank.end())
    stop(std::cout, "get_counter_rank: " + id + " not found.");
  return found->second;
}

int get_counter_rank(std::string prefix, int i) {
  return get_counter_rank(suffixed(prefix, i));
}

int get_parameter_rank(std::string id) {
  auto found = parameter_rank.find(id);
  if (found == parameter_rank.end())
    stop(std::cout, "get_parameter_rank: " + id + " not found.");
  return found->second;
}

// The rank-to-name entry serves true counters directly; it is looked up with
// find, because true counters registered after extra ones have ranks above
// counters without an entry. Other counters are found by their name.
std::string get_counter_string(int rank) {
  auto entry = counter_string.find(rank);
  if (entry != counter_string.end()) return entry->second;
  for (const auto& named : counter_rank)
    if (named.second == rank) return named.first;
  stop(std::cout, "Rank::get_counter_string: rank not found: " + std::to_string(rank));
}

std::string get_parameter_string(int rank) {
  for (const auto& named : parameter_rank)
    if (named.second == rank) return named.first;
  stop(std::cout, "Rank::get_parameter_string: rank not found: " + std::to_string(rank));
}

std::vector<std::string> get_parameters_string() {
  std::vector<std::string> names;
  for (int i = 0; i < get_nb_parameters(); i++) names.push_back(get_parameter_string(i));
  return names;
}

std::vector<std::string> get_counters_string() {
  std::vector<std::string> names;
  for (int i = 0; i < get_nb_counters(); i++) names.push_back(get_counter_cloog(i));
  return names;
}

std::pair<int, Expression*> create_counter(std::string prefix) {
  return register_counter(get_new_counter(prefix));
}

std::pair<int, Expression*> create_counter(std::string prefix, int i) {
  return register_counter(suffixed_or_prefix(prefix, i));
}

std::pair<int, Expression*> create_parameter(std::string prefix) {
  return register_parameter(get_new_parameter(prefix));
}

std::pair<int, Expression*> create_parameter(std::string prefix, int i) {
  return register_parameter(suffixed_or_prefix(prefix, i));
}

std::pair<int, Expression*> new_counter(std::string prefix) {
  std::set<int>& alive = alive_counter_rank[prefix];
  int k = smallest_free(alive);
  alive.insert(k);
  return register_counter(suffixed(prefix, k));
}

void del_counter(std::string prefix, int rank) {
  std::set<int>& alive = alive_counter_rank[prefix];
  if (alive.erase(rank) == 0) stop(std::cerr, "Rank::del_counter: rank not found");
}

std::map<int, int> create_counters(std::set<int> counters) {
  std::map<int, int> copies;
  for (int c : counters) {
    std::pair<int, Expression*> made = create_counter(get_counter_string(c));
    delete made.second;
    copies[c] = made.first;
  }
  return copies;
}

std::map<int, int> create_counters(std::set<int> counters, int suffix) {
  std::map<int, int> copies;
  for (int c : counters) {
    std::pair<int, Expression*> made = create_counter(get_counter_string(c), suffix);
    delete made.second;
    copies[c] = made.first;
  }
  return copies;
}

std::map<int, int> turn_parameters_to_counters() {
  std::map<int, int> counters;
  for (const auto& named : parameter_rank) {
    std::string name = get_counter_for_parameter(named.first);
    create_extra_counter_rank(name);
    counters[named.second] = get_counter_rank(name);
  }
  return counters;
}

std::string get_counter_parameter(int i) { return join("c_", i); }
std::string get_counter_parameter2(int i) { return join("ada_counter_", i); }
std::string get_counter_contraction(int i) { return join("cc_", i); }
std::string get_new_tile_counter(int i) { return join("tile_", i); }
std::string get_new_tile_parameter(int i) { return join("tile_parameter_", i); }
std::string get_counter_cloog(int i) { return join("i", i); }
std::string get_array_dimension_parameter(int i) { return join("array_index_", i); }
std::string get_array_dimension_counter_i(int i) { return join("i_array_index_", i); }
std::string get_array_dimension_counter_j(int i) { return join("j_array_index_", i); }
std::string get_array_dimension_difference(int i) { return join("k_array_index_", i); }

std::string get_new_counter(int counter_rank, int suffix) {
  std::ostringstream out;
  out << "new_counter_" << counter_rank << "_" << suffix;
  return first_word(out);
}

std::string get_counter_for_parameter(std::string prefix) {
  std::ostringstream out;
  out << prefix << "_counter";
  return first_word(out);
}

std::string get_parameter_for_counter(std::string prefix) {
  std::ostringstream out;
  out << prefix << "_parameter";
  return first_word(out);
}

// Plain concatenation: messages are joined with it too, so no word cut here.
std::string operator+(std::string s, int n) { return s + std::to_string(n); }
std::string concat(std::string s, int n) { return s + n; }

std::string get_new_counter(std::string prefix) {
  auto last = current_counter_rank.find(prefix);
  int k = last == current_counter_rank.end() ? 0 : last->second + 1;
  current_counter_rank[prefix] = k;
  return suffixed(prefix, k);
}

std::string get_new_parameter(std::string prefix) {
  auto last = current_parameter_rank.find(prefix);
  int k = last == current_parameter_rank.end() ? 0 : last->second + 1;
  current_parameter_rank[prefix] = k;
  return suffixed(prefix, k);
}

std::string get_new_counter_parameter(int i) {
  auto last = last_counter_parameter.find(i);
  int k = last == last_counter_parameter.end() ? 1 : last->second + 1;
  last_counter_parameter[i] = k;
  std::ostringstream out;
  out << "counter_" << i << "_number_" << k;
  return first_word(out);
}

void reset_new_counter_parameters() { last_counter_parameter.clear(); }

std::map<int, Expression*> map_expressions(std::map<int, int> m) {
  std::map<int, Expression*> leaves;
  for (const auto& entry : m) leaves[entry.first] = var(entry.second);
  return leaves;
}

std::map<int, Expression*> map_expression(std::vector<int> source,
                                          std::vector<Expression*> target) {
  if (source.size() != target.size())
    stop(std::cerr, "Rank::map_expression: mismatch dimensions");
  std::map<int, Expression*> m;
  for (size_t i = 0; i < source.size(); i++) m[source[i]] = target[i]->clone();
  return m;
}

std::vector<int> get_domain(std::map<int, Expression*> m) {
  std::vector<int> keys;
  for (const auto& entry : m) keys.push_back(entry.first);
  return keys;
}

std::vector<Expression*> get_range(std::map<int, Expression*> m) {
  std::vector<Expression*> values;
  for (const auto& entry : m) values.push_back(entry.second->clone());
  return values;
}

std::map<int, int> invert(std::map<int, int> m) {
  std::map<int, int> inverse;
  for (const auto& entry : m) inverse[entry.second] = entry.first;
  return inverse;
}

std::map<int, Expression*> compose(std::map<int, int> m1,
                                   std::map<int, Expression*> m2) {
  std::map<int, Expression*> composed;
  for (const auto& entry : m1) {
    auto target = m2.find(entry.second);
    if (target == m2.end()) stop(std::cerr, "Rank::compose: target(m1) != source(m2)");
    composed[entry.first] = target->second;
  }
  return composed;
}

int max(std::set<int> s) {
  if (s.empty()) stop(std::cerr, "Rank::max: empty set");
  return *s.rbegin();
}

void print_counters() {
  std::cout << "#counters: " << get_nb_counters()
            << " #true_counters: " << get_nb_true_counters() << std::endl;
  std::cout << "counters = {" << std::endl;
  for (const auto& named : counter_rank)
    std::cout << " " << named.first << " -> " << named.second << std::endl;
  std::cout << "}" << std::endl;
}

void print_parameters() {
  std::cout << "parameters = {" << std::endl;
  for (const auto& named : parameter_rank)
    std::cout << " " << named.first << " -> " << named.second << std::endl;
  std::cout << "}" << std::endl;
}

namespace {

template <class Ranks>
void print_names(std::ostream& sout, const Ranks& l, const std::string& separator,
                 int is_counter, bool for_isl = false) {
  bool first = true;
  for (int rank : l) {
    if (!first) sout << separator;
    first = false;
    std::string name = is_counter ? get_counter_string(rank) : get_parameter_string(rank);
    sout << (for_isl ? isl_name(name) : name);
  }
}

}  // namespace

void print_variable_list(std::ostream& sout, const std::set<int>& l,
                         std::string separator, int is_counter) {
  print_names(sout, l, separator, is_counter);
}

void print_variable_list(std::ostream& sout, const std::vector<int>& l,
                         std::string separator, int is_counter) {
  print_names(sout, l, separator, is_counter);
}

void print_iscc_variable_list(std::ostream& sout, const std::set<int>& l, int is_counter) {
  print_names(sout, l, ",", is_counter, true);
}

std::ostream& operator<<(std::ostream& sout, const std::map<std::string, int>& m) {
  for (const auto& entry : m) sout << entry.first << "->" << entry.second << " ";
  return sout;
}

std::ostream& operator<<(std::ostream& sout, const std::map<int, std::string>& m) {
  for (const auto& entry : m) sout << entry.first << "->" << entry.second << " ";
  return sout;
}
