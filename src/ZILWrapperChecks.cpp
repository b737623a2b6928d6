// The argument checks shared by the tilings of the bridge to the tiling
// library.

#include "ZILWrapperChecks.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "TileCover.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

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
void check_tiling(Polyhedron* shape, const std::vector<int>& counters, const std::vector<std::vector<int>>& lattice,
                  const std::string& who) {
  Rows rows = shape->to_matrix(counters, to_vec_int(shape->get_parameters()));
  Rows generators(lattice.begin(), lattice.begin() + counters.size());
  for (int b : checked_block_sizes())
    if (!shape_tiles_space(rows, generators, b))
      stop(std::cerr, who + "the tile shape does not tile the space with the lattice (block size " +
                          std::to_string(b) + ")");
}

void check_lattice(const std::vector<std::vector<int>>& lattice, size_t n, const std::string& who) {
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

}  // namespace

void check_shape_and_lattice(Polyhedron* shape, const std::set<int>& counters,
                             const std::vector<std::vector<int>>& lattice, const std::string& who) {
  if (shape->get_parameters().size() != 1)
    stop(std::cerr, who + "shape must uses block_size parameter. Any other parameter is forbidden.");
  check_lattice(lattice, counters.size(), who);
  for (int c : shape->get_counters())
    if (!counters.count(c)) stop(std::cerr, who + "the tile shape uses a counter outside the statement's loops");
  if (shape->is_unbounded(to_vec_int(counters))) stop(std::cerr, who + "the tile shape must bound every counter");
  check_tiling(shape, to_vec_int(counters), lattice, who);
}

void check_ratios(const std::vector<int>& ratios, size_t expected, const std::string& what, const std::string& who) {
  if (ratios.size() != expected)
    stop(std::cerr, who + std::to_string(ratios.size()) + " tile ratios for " + std::to_string(expected) + " " + what);
  for (int r : ratios)
    if (r < 1) stop(std::cerr, who + "tile ratio " + std::to_string(r) + " is below 1");
}

std::vector<int> ratios_of(const std::map<int, int>& scale, const std::vector<int>& counters, const std::string& who) {
  std::vector<int> ratios;
  for (int c : counters) {
    auto ratio = scale.find(c);
    if (ratio == scale.end()) stop(std::cerr, who + "no tile ratio for counter " + get_counter_string(c));
    ratios.push_back(ratio->second);
  }
  return ratios;
}

void check_columns(IndexFunction* f, const std::vector<int>& counters, const std::vector<int>& parameters,
                   const std::string& what, const std::string& who) {
  auto outside = [&](const std::string& name) {
    stop(std::cerr, who + what + " uses " + name + ", which is not among the tiled variables");
  };
  for (Expression* e : f->index_mapping) {
    for (int c : e->get_counters())
      if (std::find(counters.begin(), counters.end(), c) == counters.end()) outside(get_counter_string(c));
    for (int p : e->get_parameters())
      if (std::find(parameters.begin(), parameters.end(), p) == parameters.end()) outside(get_parameter_string(p));
  }
}

void check_change_of_basis(IndexFunction* hyperplanes, const std::vector<int>& counters, const std::string& who) {
  const std::string reason = "the hyperplanes must form a unimodular change of basis";
  if (hyperplanes->index_mapping.size() != counters.size()) stop(std::cerr, who + reason);
  if (counters.empty()) return;
  // The Smith form's diagonal holds the invariant factors, whose product is
  // the determinant up to its sign.
  IntMatrix smith = snf(hyperplanes->to_matrix_linear(counters))[1];
  for (size_t k = 0; k < counters.size(); k++)
    if (std::abs(smith[k][k]) != 1) stop(std::cerr, who + reason);
}

}  // namespace ZILWrapper
