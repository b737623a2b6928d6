// Rectangular tiling of a domain in its own counters, and parallelepipedic
// tiling along unimodular hyperplanes by a change of basis before and after
// the library's rectangular tiling; every tiled variable is named after the
// variable it splits.

#include <cstdlib>
#include <iostream>
#include <string>

#include "IndexFunction.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ZIL.h"
#include "ZILWrapper.h"
#include "ZILWrapperChecks.h"

namespace ZILWrapper {

namespace {

const std::string rectangular = "ZILWrapper::get_rectangular_tiled_domain: ";
const std::string parallelepipedic = "ZILWrapper::get_parallelepipedic_tiled_domain: ";

int split_counter(const std::string& prefix, int c) {
  std::string name = prefix + get_counter_string(c);
  create_extra_counter_rank(name);
  active_counters.push_back(get_counter_rank(name));
  return active_counters.back();
}

int split_parameter(const std::string& prefix, int p) {
  std::string name = prefix + get_parameter_string(p);
  create_parameter_rank(name);
  active_parameters.push_back(get_parameter_rank(name));
  return active_parameters.back();
}

// The active lists become the tiled variables of the domain, block_size
// last; returns their names.
tiling_t tiled_columns(Polyhedron* domain) {
  active_counters.clear();
  active_parameters.clear();
  tiling_t names = make_tiling_variables(domain);
  declare_parameter("block_size");
  active_parameters.push_back(get_parameter_rank("block_size"));
  return names;
}

void print_splits(const std::map<int, std::pair<int, int>>& splits, std::string (*name)(int)) {
  for (const auto& split : splits)
    std::cout << name(split.first) << " --> (" << name(split.second.first) << "," << name(split.second.second)
              << ")" << std::endl;
}

}  // namespace

tiling_t make_tiling_variables(Polyhedron* domain) {
  tiling_t names;
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::vector<int> parameters = to_vec_int(domain->get_parameters());
  for (int c : counters) names.first[c].first = split_counter("outer_", c);
  for (int c : counters) names.first[c].second = split_counter("inner_", c);
  for (int p : parameters) names.second[p].first = split_parameter("outer_", p);
  for (int p : parameters) names.second[p].second = split_parameter("inner_", p);
  return names;
}

Rows double_matrix(const Rows& M, int nb_counters, int nb_parameters) {
  int r = static_cast<int>(M.size());
  Rows result(2 * r, std::vector<int>(2 * (nb_counters + nb_parameters + 1), 0));
  for (int i = 0; i < r; i++) {
    for (int half = 0; half < 2; half++) {
      std::vector<int>& row = result[half * r + i];
      for (int k = 0; k < nb_counters; k++) row[half * nb_counters + k] = M[i][k];
      for (int k = 0; k < nb_parameters; k++) row[2 * nb_counters + half * nb_parameters + k] = M[i][nb_counters + k];
    }
    result[r + i].back() = M[i][nb_counters + nb_parameters];
  }
  return result;
}

polyhedronZIL* into_basis(polyhedronZIL* piece, affFuncZIL* basis) {
  if (piece->nConstr == 0) return piece;
  polyhedronZIL* moved = changeOfBasis(piece, basis);
  freePolyhedron(piece);
  return moved;
}

std::pair<tiling_t, std::vector<Polyhedron*>> get_rectangular_tiled_domain(Polyhedron* domain,
                                                                          std::map<int, int> scale) {
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::vector<int> ratios = ratios_of(scale, counters, rectangular);
  check_ratios(ratios, counters.size(), "counters", rectangular);
  active_counters = counters;
  active_parameters = to_vec_int(domain->get_parameters());
  polyhedronZIL* record = to_polyhedronZIL(domain);
  long long* library_ratios = to_int64(ratios);
  optionZIL option;
  std::list<std::list<polyhedronZIL*>> lists = getRectangularTiledDomain(record, library_ratios, &option);
  freePolyhedron(record);
  std::free(library_ratios);
  tiling_t names = tiled_columns(domain);
  return std::make_pair(names, to_tiled_domain(lists, false));
}

std::pair<tiling_t, std::vector<Polyhedron*>> get_parallelepipedic_tiled_domain(Polyhedron* domain,
                                                                               IndexFunction* hyperplanes,
                                                                               std::vector<int> scale) {
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::vector<int> parameters = to_vec_int(domain->get_parameters());
  check_columns(hyperplanes, counters, parameters, "a hyperplane", parallelepipedic);
  check_change_of_basis(hyperplanes, counters, parallelepipedic);
  check_ratios(scale, counters.size(), "hyperplanes", parallelepipedic);
  // No counter, no basis to change (and no matrix to invert).
  if (counters.empty()) return get_rectangular_tiled_domain(domain, {});
  int c = static_cast<int>(counters.size()), p = static_cast<int>(parameters.size());
  active_counters = counters;
  active_parameters = parameters;
  polyhedronZIL* record = to_polyhedronZIL(domain);
  affFuncZIL* to_time = to_affFuncZIL(hyperplanes);
  affFuncZIL* back = to_affFuncZIL(double_matrix(hyperplanes->invert(counters, parameters), c, p), 2 * c, 2 * p + 1);
  polyhedronZIL* in_time = changeOfBasis(record, to_time);
  freeAffineFunction(to_time);
  freePolyhedron(record);
  long long* ratios = to_int64(scale);
  optionZIL option;
  std::list<std::list<polyhedronZIL*>> lists = getRectangularTiledDomain(in_time, ratios, &option);
  freePolyhedron(in_time);
  std::free(ratios);
  for (std::list<polyhedronZIL*>& pieces : lists)
    for (polyhedronZIL*& piece : pieces) piece = into_basis(piece, back);
  freeAffineFunction(back);
  tiling_t names = tiled_columns(domain);
  return std::make_pair(names, to_tiled_domain(lists, false));
}

void print_tiling(const tiling_t& tiling) {
  std::cout << "Tiled counters" << std::endl;
  print_splits(tiling.first, get_counter_string);
  std::cout << "Tiled parameters" << std::endl;
  print_splits(tiling.second, get_parameter_string);
}

void print_tiled_domain(const std::pair<tiling_t, std::vector<Polyhedron*>>& tiled) {
  print_splits(tiled.first.first, get_counter_string);
  print_splits(tiled.first.second, get_parameter_string);
  std::cout << tiled.second << std::endl;
}

}  // namespace ZILWrapper
