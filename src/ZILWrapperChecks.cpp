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
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "TileCover.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

void check_lattice(const std::vector<std::vector<int>>& lattice, size_t n, const std::string& who) {
  bool well_formed = lattice.size() == n + 1;
  for (const std::vector<int>& row : lattice) well_formed = well_formed && row.size() == n;
  if (!well_formed)
    stop(std::cerr, who + "the lattice must have " + std::to_string(n + 1) + " rows of " + std::to_string(n) +
                        " values");
  for (int denominator : lattice.back())
    if (denominator < 1) stop(std::cerr, who + "the lattice denominators must be positive");
  // The tiled code runs only with block sizes that are multiples of M, so
  // that every tile origin is an integer point.
  long long M = lattice_block_multiple(lattice);
  if (M > INT_MAX)
    stop(std::cerr, who + "the lattice denominators ask for a block size multiple of more than " +
                        std::to_string(INT_MAX));
  for (const std::vector<long long>& row : common_denominator_basis(lattice))
    for (long long v : row)
      if (v < INT_MIN || v > INT_MAX)
        stop(std::cerr, who + "the lattice over the common denominator " + std::to_string(M) +
                            " has a value beyond int");
  // Tile origins on a singular lattice leave whole directions uncovered; the
  // library's extrema are then unbounded and iscc fails far from the cause.
  IntMatrix smith = snf(IntMatrix(lattice.begin(), lattice.begin() + n))[1];
  for (size_t k = 0; k < n; k++)
    if (smith[k][k] == 0) stop(std::cerr, who + "the lattice must be invertible");
}

// The block sizes on which the fit of a shape is checked, among those a
// general tiling holds for (the multiples of `multiple`; the minimum block
// size concerns the rectangular tilings only): the first five, then the
// multiples by powers of two above them up to 2^30 times `multiple`, which
// catch a shape whose constants only fit small block sizes (isl decides
// each one in about the same time, whatever its size). `multiple` is at
// most INT_MAX.
std::vector<int> checked_block_sizes(long long multiple) {
  long long after = 6 * multiple;
  std::vector<int> sizes;
  for (long long b = multiple; b < after && b <= INT_MAX; b += multiple) sizes.push_back(static_cast<int>(b));
  for (int k = 3; k <= 30 && (multiple << k) <= INT_MAX; k++)
    if ((multiple << k) >= after) sizes.push_back(static_cast<int>(multiple << k));
  return sizes;
}

// A shape that does not fit its lattice gives tiled code that loses or runs
// twice some iterations, with nothing to show for it at compile or run time.
void check_tiling(Polyhedron* shape, const std::vector<int>& counters, const std::vector<std::vector<int>>& lattice,
                  const std::string& who) {
  Rows rows = shape->to_matrix(counters, to_vec_int(shape->get_parameters()));
  long long M = lattice_block_multiple(lattice);
  Rows generators;
  for (const std::vector<long long>& row : common_denominator_basis(lattice))
    generators.emplace_back(row.begin(), row.end());
  for (int b : checked_block_sizes(M))
    if (!shape_tiles_space(rows, generators, b, static_cast<int>(M)))
      stop(std::cerr, who + "the tile shape does not tile the space with the lattice (block size " +
                          std::to_string(b) + ")");
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
