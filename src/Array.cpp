#include "Array.h"

#include <iostream>
#include <sstream>

#include "GeneratedName.h"
#include "Stop.h"

std::map<std::string, int> array;

namespace {

// The pseudo-arrays that carry the tiling pragmas.
const char* const reserved_names[] = {"schedule", "tile_group", "tile_size",
                                      "tile_hyperplans", "bound", "output__",
                                      "parallelize"};

}  // namespace

void add_array(std::string array_id, int dim) { array[array_id] = dim; }

void set_array_dim(std::string array_id, int dim) { add_array(array_id, dim); }

int is_an_array(std::string array_id) { return array.count(array_id) ? 1 : 0; }

int is_reserved_array(std::string array_id) {
  for (const char* name : reserved_names)
    if (array_id == name) return 1;
  return 0;
}

void remove_reserved_arrays() {
  std::map<std::string, int> kept;
  for (const auto& entry : array)
    if (!is_reserved_array(entry.first)) kept.insert(entry);
  array = kept;
}

std::vector<std::string> get_arrays() {
  std::vector<std::string> names;
  for (const auto& entry : array) names.push_back(entry.first);
  return names;
}

int get_array_dim(std::string array_id) {
  auto found = array.find(array_id);
  if (found == array.end())
    stop(std::cout, "Array::get_array_dim: '" + array_id + "' not found");
  return found->second;
}

int get_array_rank(std::string array_id) {
  int rank = 0;
  for (const auto& entry : array) {
    if (entry.first == array_id) return rank;
    rank++;
  }
  stop(std::cout, "Array::get_array_rank: array not found: " + array_id);
}

std::string get_temporary_array(std::string id) {
  std::ostringstream out;
  out << id << "_tmp";
  return first_word(out);
}

std::string get_buffered_array(std::string prefix, int i) {
  std::ostringstream out;
  out << prefix << "_" << i;
  return first_word(out);
}

void print_arrays() {
  for (const auto& entry : array) std::cout << entry.first << "(" << entry.second << ")" << std::endl;
}
