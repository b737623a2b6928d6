// General parametric tiling of a statement's domain by a tile shape scaled
// by block_size and a lattice of tile origins: every counter c becomes
// block_size * (lattice row of c . outer lattice counters) + inner_<c>.

#include <algorithm>
#include <climits>
#include <iostream>
#include <string>

#include "Expression.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "TileCover.h"
#include "ZIL.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

const std::string who = "ZILWrapper::get_general_tiled_domain: ";

void check_lattice(const std::vector<std::vector<int>>& lattice, size_t n) {
  bool well_formed = lattice.size() == n + 1;
  for (const std::vector<int>& row : lattice) well_formed = well_formed && row.size() == n;
  if (!well_formed)
    stop(std::cerr, who + "the lattice must have " + std::to_string(n + 1) + " rows of " + std::to_string(n) +
                        " values");
  // Several offsets would give lists whose congruences contradict each
  // other in the cross product, and the substitution ignores denominators.
  for (int denominator : lattice.back())
    if (denominator != 1) stop(std::cerr, who + "lattice denominators other than 1 are not supported");
  // Tile origins on a singular lattice leave whole directions uncovered; the
  // library's extrema are then unbounded and iscc fails far from the cause.
  IntMatrix smith = snf(IntMatrix(lattice.begin(), lattice.begin() + n))[1];
  for (size_t k = 0; k < n; k++)
    if (smith[k][k] == 0) stop(std::cerr, who + "the lattice must be invertible");
}

// The block sizes on which the fit of a shape is checked: the first five
// the tiled code may be run with, then the powers of two above them up to
// 2^30, which catch a shape whose constants only fit small block sizes
// (isl decides each one in about the same time, whatever its size).
std::vector<int> checked_block_sizes() {
  long long first = Options::option["min-block-size"] ? std::max(1, Options::min_block_size) : 1;
  std::vector<int> sizes;
  for (long long b = first; b < first + 5 && b <= INT_MAX; b++) sizes.push_back(static_cast<int>(b));
  for (int k = 3; k <= 30; k++)
    if ((1 << k) >= first + 5) sizes.push_back(1 << k);
  return sizes;
}

// A shape that does not fit its lattice gives tiled code that loses or runs
// twice some iterations, with nothing to show for it at compile or run time.
void check_tiling(Polyhedron* shape, const std::vector<int>& counters, const std::vector<std::vector<int>>& lattice) {
  Rows rows = shape->to_matrix(counters, to_vec_int(shape->get_parameters()));
  Rows generators(lattice.begin(), lattice.begin() + counters.size());
  for (int b : checked_block_sizes())
    if (!shape_tiles_space(rows, generators, b))
      stop(std::cerr, who + "the tile shape does not tile the space with the lattice (block size " +
                          std::to_string(b) + ")");
}

// The stops before the library call, in this order, before anything is
// printed on standard output.
void check_arguments(Polyhedron* domain, Polyhedron* shape, const std::vector<std::vector<int>>& lattice) {
  if (lattice.empty() || lattice[0].empty()) stop(std::cerr, who + "null lattice");
  if (shape->get_parameters().size() != 1)
    stop(std::cerr, who + "shape must uses block_size parameter. Any other parameter is forbidden.");
  std::set<int> counters = domain->get_counters();
  check_lattice(lattice, counters.size());
  for (int c : shape->get_counters())
    if (!counters.count(c)) stop(std::cerr, who + "the tile shape uses a counter outside the statement's loops");
  if (shape->is_unbounded(to_vec_int(counters))) stop(std::cerr, who + "the tile shape must bound every counter");
  check_tiling(shape, to_vec_int(counters), lattice);
}

// c_i -> block_size * (Σ_k lattice[i][k] * outer_k) + inner_<c_i>, from
// every lattice row but the last (the denominators).
std::map<int, Expression*> substitution(Polyhedron* domain, const general_tiling_t& names,
                                        std::vector<std::vector<int>> lattice) {
  for (std::vector<int>& row : lattice) row.push_back(0);
  IndexFunction basis(lattice, names.first.first, std::vector<int>());
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::map<int, Expression*> result;
  Expression block_size("block_size");
  for (size_t i = 0; i + 1 < lattice.size(); i++) {
    Expression block(TIMES, &block_size, basis.index_mapping[i]);
    Expression inner(get_counter_string(names.first.second.at(counters[i])));
    result[counters[i]] = new Expression(PLUS, &block, &inner);
  }
  return result;
}

}  // namespace

general_tiling_t make_general_tiling_variables(Polyhedron* domain) {
  general_tiling_t names;
  std::vector<int> counters = to_vec_int(domain->get_counters());
  std::vector<int> parameters = to_vec_int(domain->get_parameters());
  for (size_t k = 0; k < counters.size(); k++) {
    std::string name = "outer_" + std::to_string(k);
    create_extra_counter_rank(name);
    names.first.first.push_back(get_counter_rank(name));
    active_counters.push_back(names.first.first.back());
  }
  for (int c : counters) {
    std::string name = "inner_" + get_counter_string(c);
    create_extra_counter_rank(name);
    names.first.second[c] = get_counter_rank(name);
    active_counters.push_back(names.first.second[c]);
  }
  for (int p : parameters) {
    std::string name = "outer_" + get_parameter_string(p);
    create_parameter_rank(name);
    names.second[p].first = get_parameter_rank(name);
    active_parameters.push_back(names.second[p].first);
  }
  for (int p : parameters) {
    std::string name = "inner_" + get_parameter_string(p);
    create_parameter_rank(name);
    names.second[p].second = get_parameter_rank(name);
    active_parameters.push_back(names.second[p].second);
  }
  return names;
}

std::pair<std::pair<general_tiling_t, std::map<int, Expression*>>, std::vector<Polyhedron*>>
get_general_tiled_domain(Polyhedron* domain, Polyhedron* shape, std::vector<std::vector<int>> lattice) {
  check_arguments(domain, shape, lattice);
  active_counters = to_vec_int(domain->get_counters());
  active_parameters = to_vec_int(domain->get_parameters());
  polyhedronZIL* rec_domain = to_polyhedronZIL(domain);
  active_parameters = to_vec_int(shape->get_parameters());
  polyhedronZIL* rec_shape = to_polyhedronZIL(shape);
  long long** rec_lattice = to_int64(lattice);
  int nb_rows = static_cast<int>(lattice.size());
  optionZIL option;
  option.minBlSizeParam = 1;

  printPolyhedronZIL(rec_domain);
  printPolyhedronZIL(rec_shape);
  printMatrix(rec_lattice, nb_rows, static_cast<int>(lattice[0].size()));
  std::list<std::list<polyhedronZIL*>> lists = getTiledDomain(rec_domain, rec_shape, rec_lattice, &option);
  freePolyhedron(rec_domain);
  freePolyhedron(rec_shape);
  freeMatrix(rec_lattice, nb_rows);

  active_counters.clear();
  active_parameters.clear();
  general_tiling_t names = make_general_tiling_variables(domain);
  declare_parameter("block_size");
  active_parameters.push_back(get_parameter_rank("block_size"));
  std::vector<Polyhedron*> pieces = to_tiled_domain(lists, false);
  std::map<int, Expression*> map = substitution(domain, names, lattice);
  return std::make_pair(std::make_pair(names, map), pieces);
}

}  // namespace ZILWrapper
