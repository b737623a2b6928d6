// General parametric tiling of a statement's domain by a tile shape scaled
// by block_size and a lattice of tile origins: every counter c becomes
// block_size * (lattice row of c . outer lattice counters) + inner_<c>.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>

#include "Expression.h"
#include "GeneratedName.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "ZIL.h"
#include "ZILWrapper.h"
#include "ZILWrapperChecks.h"

namespace ZILWrapper {

namespace {

const std::string who = "ZILWrapper::get_general_tiled_domain: ";

// c_i -> block_size * (Σ_k lattice[i][k] * outer_k) + inner_<c_i>, from
// every lattice row but the last (the denominators). With denominators in
// lowest terms above 1, ii_k = D_k * outer_k + lattice_offset_k, and the
// offsets add (block_size / M) * (Σ_k L'[i][k] * lattice_offset_k), L' the
// basis over the common denominator M: the tiled code runs with multiples
// of M only, so the division is exact.
std::map<int, Expression*> substitution(Polyhedron* domain, const general_tiling_t& names,
                                        const std::vector<std::vector<int>>& lattice) {
  size_t n = lattice.size() - 1;
  Rows basis(lattice.begin(), lattice.begin() + n), over_M;
  for (std::vector<int>& row : basis) row.push_back(0);
  std::vector<int> offsets = lattice_offset_counters(lattice), offset_columns;
  for (size_t k = 0; k < n; k++)
    if (offsets[k] >= 0) offset_columns.push_back(offsets[k]);
  for (const std::vector<long long>& row : common_denominator_basis(lattice)) {
    over_M.emplace_back();
    for (size_t k = 0; k < n; k++)
      if (offsets[k] >= 0) over_M.back().push_back(static_cast<int>(row[k]));
    over_M.back().push_back(0);
  }
  IndexFunction tiles(basis, names.first.first, std::vector<int>());
  IndexFunction shifts(over_M, offset_columns, std::vector<int>());
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::map<int, Expression*> result;
  Expression block_size("block_size");
  Expression denominator(static_cast<int>(lattice_block_multiple(lattice)));
  Expression scale(DIV, &block_size, &denominator);
  for (size_t i = 0; i < n; i++) {
    Expression block(TIMES, &block_size, tiles.index_mapping[i]);
    Expression inner(get_counter_string(names.first.second.at(counters[i])));
    Expression* value = new Expression(PLUS, &block, &inner);
    if (!offset_columns.empty()) {
      Expression shift(TIMES, &scale, shifts.index_mapping[i]);
      Expression* sum = new Expression(PLUS, value, &shift);
      delete value;
      value = sum;
    }
    result[counters[i]] = value;
  }
  return result;
}

}  // namespace

// The stops before the library call, in this order, before anything is
// printed on standard output.
void check_general_tiling(Polyhedron* domain, Polyhedron* shape, const std::vector<std::vector<int>>& lattice) {
  if (lattice.empty() || lattice[0].empty()) stop(std::cerr, who + "null lattice");
  check_shape_and_lattice(shape, domain->get_counters(), lattice, who);
}

namespace {

optionZIL general_options() {
  optionZIL option;
  option.minBlSizeParam = 1;
  return option;
}

// The library's input of the tiling (a lattice in lowest terms): the
// domain's rows with their large constants hidden (the pieces of each row
// counted for one lattice offset, since the pieces of different offsets
// are crossed apart), over the active lists it sets (the domain's counters;
// its parameters, then the hidden ones), and the records of the shape and
// the lattice, freed with free_input.
struct GeneralInput {
  HiddenRows library;
  polyhedronZIL* shape;
  long long** lattice;
  int nb_lattice_rows;
};

GeneralInput general_input(Polyhedron* domain, Polyhedron* shape, const std::vector<std::vector<int>>& lattice) {
  GeneralInput in;
  active_counters = to_vec_int(domain->get_counters());
  active_parameters = to_vec_int(shape->get_parameters());
  in.shape = to_polyhedronZIL(shape);
  in.lattice = to_int64(lattice);
  in.nb_lattice_rows = static_cast<int>(lattice.size());
  active_parameters = to_vec_int(domain->get_parameters());
  optionZIL option = general_options();
  long long offsets = lattice_offset_count(lattice);
  PieceCounter count = [&](const Rows& r, int nb_parameters) {
    polyhedronZIL* record = buildPolyhedron(to_int64(r), static_cast<int>(r.size()),
                                            static_cast<int>(active_counters.size()), nb_parameters);
    int n = 0;
    long long* counts = getTiledDomainPieceCounts(record, in.shape, in.lattice, &option, &n);
    std::vector<long long> result(counts, counts + n);
    for (long long& c : result)
      if (c != LLONG_MAX) c /= offsets;
    std::free(counts);
    freePolyhedron(record);
    return result;
  };
  in.library = hide_large_constants(library_rows(domain), count);
  return in;
}

void free_input(GeneralInput& in) {
  freePolyhedron(in.shape);
  freeMatrix(in.lattice, in.nb_lattice_rows);
}

}  // namespace

std::vector<long long> general_piece_counts(Polyhedron* domain, Polyhedron* shape,
                                            const std::vector<std::vector<int>>& lattice) {
  GeneralInput in = general_input(domain, shape, reduced_lattice(lattice));
  free_input(in);
  return in.library.counts;
}

general_tiling_t make_general_tiling_variables(Polyhedron* domain, const std::vector<int>& hidden) {
  general_tiling_t names;
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::vector<int> parameters = to_vec_int(domain->get_parameters());
  parameters.insert(parameters.end(), hidden.begin(), hidden.end());
  for (size_t k = 0; k < counters.size(); k++) {
    std::string name = lattice_counter_name(static_cast<int>(k));
    create_extra_counter_rank(name);
    names.first.first.push_back(get_counter_rank(name));
    active_counters.push_back(names.first.first.back());
  }
  for (int c : counters) {
    std::string name = inner_counter_name(get_counter_string(c));
    create_extra_counter_rank(name);
    names.first.second[c] = get_counter_rank(name);
    active_counters.push_back(names.first.second[c]);
  }
  for (int p : parameters) {
    std::string name = split_name(true, get_parameter_string(p));
    create_parameter_rank(name);
    names.second[p].first = get_parameter_rank(name);
    active_parameters.push_back(names.second[p].first);
  }
  for (int p : parameters) {
    std::string name = split_name(false, get_parameter_string(p));
    create_parameter_rank(name);
    names.second[p].second = get_parameter_rank(name);
    active_parameters.push_back(names.second[p].second);
  }
  return names;
}

std::pair<std::pair<general_tiling_t, std::map<int, Expression*>>, std::vector<Polyhedron*>>
get_general_tiled_domain(Polyhedron* domain, Polyhedron* shape, std::vector<std::vector<int>> lattice,
                         std::vector<std::vector<Polyhedron*>>* factors, CrossingBudget* budget) {
  check_general_tiling(domain, shape, lattice);
  lattice = reduced_lattice(lattice);
  GeneralInput in = general_input(domain, shape, lattice);
  polyhedronZIL* rec_domain = to_polyhedronZIL(in.library.rows);
  optionZIL option = general_options();

  printPolyhedronZIL(rec_domain);
  printPolyhedronZIL(in.shape);
  printMatrix(in.lattice, in.nb_lattice_rows, static_cast<int>(lattice[0].size()));
  std::list<std::list<polyhedronZIL*>> lists = getTiledDomain(rec_domain, in.shape, in.lattice, &option);
  freePolyhedron(rec_domain);
  free_input(in);

  active_counters.clear();
  active_parameters.clear();
  general_tiling_t names = make_general_tiling_variables(domain, in.library.hidden);
  declare_parameter("block_size");
  active_parameters.push_back(get_parameter_rank("block_size"));
  std::vector<int> offsets = lattice_offset_counters(lattice);
  std::vector<Polyhedron*> pieces = lattice_block_multiple(lattice) == 1
                                        ? to_tiled_domain(lists, false, nullptr, budget, factors)
                                        : to_tiled_domain_with_offsets(lists, lattice.back(), offsets, budget);
  std::map<int, Expression*> map = substitution(domain, names, lattice);
  return std::make_pair(std::make_pair(names, map), pieces);
}

}  // namespace ZILWrapper
