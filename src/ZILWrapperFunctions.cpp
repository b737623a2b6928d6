// Tilings of affine functions: the function as a piecewise map from
// conditions on the tiled input variables to the block and local parts of
// its outputs, rectangular, along hyperplanes on both sides, or by tile
// shapes and lattices.

#include <cstdlib>
#include <iostream>
#include <string>

#include "Expression.h"
#include "IndexFunction.h"
#include "Matrix.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "ZIL.h"
#include "ZILWrapper.h"
#include "ZILWrapperChecks.h"

namespace ZILWrapper {

namespace {

const std::string rectangular = "ZILWrapper::get_rectangular_tiled_function: ";
const std::string parallelepipedic = "ZILWrapper::get_parallelepipedic_tiled_function: ";
const std::string general = "ZILWrapper::get_general_tiled_function: ";

template <class T>
std::vector<int> keys(const std::map<int, T>& m) {
  std::vector<int> result;
  for (const auto& entry : m) result.push_back(entry.first);
  return result;
}

// The untiled variables of a tiling as the active lists.
void set_untiled_columns(const tiling_t& tiling) {
  active_counters = keys(tiling.first);
  active_parameters = keys(tiling.second);
}

// The tiled variables of a tiling as the active lists: outer counters,
// inner counters; outer parameters, inner parameters, block_size.
void set_tiled_columns(const tiling_t& tiling) {
  active_counters.clear();
  active_parameters.clear();
  for (const auto& c : tiling.first) active_counters.push_back(c.second.first);
  for (const auto& c : tiling.first) active_counters.push_back(c.second.second);
  for (const auto& p : tiling.second) active_parameters.push_back(p.second.first);
  for (const auto& p : tiling.second) active_parameters.push_back(p.second.second);
  active_parameters.push_back(get_parameter_rank("block_size"));
}

void check_output_tiling(const std::vector<int>& output_counters, IndexFunction* index, const std::string& who) {
  if (output_counters.size() != index->index_mapping.size())
    stop(std::cerr, who + "the output tiling must have one counter per output");
}

// With an output ratio t that does not divide the block coefficients of
// its output (rows [counters | parameters | constant], the input ratios
// weighing the counters), the library's block part is rational and its
// local part wrong on part of the piece.
void check_divisible(const Rows& f, const std::vector<int>& input, const std::vector<int>& output,
                     const std::string& who) {
  for (size_t i = 0; i < f.size(); i++) {
    long long t = output[i];
    bool divides = true;
    for (size_t k = 0; k + 1 < f[i].size(); k++) {
      long long weight = k < input.size() ? input[k] : 1;
      divides = divides && weight * f[i][k] % t == 0;
    }
    if (!divides)
      stop(std::cerr, who + "output ratio " + std::to_string(t) + " does not divide the block coefficients of output #" +
                          std::to_string(i));
  }
}

// The library's pieces read through the active lists; every record freed.
tiled_function_t read_back(std::map<polyhedronZIL*, affFuncZIL*>& pieces) {
  tiled_function_t result;
  for (auto& piece : pieces) {
    result[to_polyhedron(piece.first)] = to_index_function(piece.second);
    freePolyhedron(piece.first);
    freeAffineFunction(piece.second);
  }
  pieces.clear();
  return result;
}

// The inverse of hyperplanes over the listed columns; none without counters.
Rows inverse_over(IndexFunction* hyperplanes, const std::vector<int>& counters, const std::vector<int>& parameters) {
  return counters.empty() ? Rows() : hyperplanes->invert(counters, parameters);
}

// The outputs of one piece of the parallelepipedic tiling, over the active
// (tiled input) lists. `rows`, the library's rows over the tiled input
// hyperplane coordinates, are read over the tiled input variables through
// `input_back` (the doubled input hyperplanes); each row then divided by
// its own divisor. Output i is row i of `output_back` (the doubled inverse
// of the output hyperplanes) applied to those quotients and to the
// parameters: a divisor belongs to its own row, not to their sums.
std::vector<Expression*> output_time_to_counters(const std::pair<Rows, std::vector<int>>& library,
                                                 const Rows& input_back, const Rows& output_back) {
  int counters = static_cast<int>(active_counters.size());
  int parameters = static_cast<int>(active_parameters.size());
  Rows r = compose(library.first, counters, parameters, input_back, counters, parameters);
  std::vector<Expression*> result;
  for (const std::vector<int>& row : output_back) {
    int m2 = static_cast<int>(r.size());
    std::vector<int> affine(counters + parameters + 1, 0);
    for (int k = 0; k <= parameters; k++) affine[counters + k] = row[m2 + k];
    std::vector<Expression*> divisions;
    for (int j = 0; j < m2; j++) {
      if (row[j] == 0) continue;
      if (library.second[j] == 1) {
        for (size_t k = 0; k < affine.size(); k++) affine[k] += row[j] * r[j][k];
        continue;
      }
      Expression numerator(r[j], active_counters, active_parameters);
      Expression divisor(library.second[j]);
      Expression quotient(DIV, &numerator, &divisor);
      Expression factor(row[j]);
      divisions.push_back(new Expression(TIMES, &factor, &quotient));
    }
    Expression* e = new Expression(affine, active_counters, active_parameters);
    for (Expression* d : divisions) {
      Expression* sum = new Expression(PLUS, e, d);
      delete e;
      e = sum;
    }
    del(divisions);
    result.push_back(e);
  }
  return result;
}

}  // namespace

std::vector<int> set_line_permutation(std::vector<int> output_rank, std::vector<int> counters) {
  std::vector<int> r;
  for (int rank : output_rank) {
    int position = -1;
    for (size_t j = 0; j < counters.size(); j++)
      if (counters[j] == rank) position = static_cast<int>(j);
    if (position < 0) stop(std::cerr, "ZILWrapper::set_line_permutation: incorrect output_counter_rank");
    r.push_back(position);
  }
  return r;
}

std::vector<int> double_vector(std::vector<int> v) {
  size_t n = v.size();
  for (size_t i = 0; i < n; i++) v.push_back(v[i] + static_cast<int>(n));
  return v;
}

tiled_function_t get_rectangular_tiled_function(IndexFunction* index, std::map<int, int> input_scale,
                                                std::vector<int> output_scale, tiling_t input_tiling, tiling_t) {
  std::vector<int> counters = keys(input_tiling.first), parameters = keys(input_tiling.second);
  check_columns(index, counters, parameters, "the function", rectangular);
  std::vector<int> input = ratios_of(input_scale, counters, rectangular);
  check_ratios(input, counters.size(), "counters", rectangular);
  check_ratios(output_scale, index->index_mapping.size(), "outputs", rectangular);
  Rows f = index->to_matrix(counters, parameters);
  check_divisible(f, input, output_scale, rectangular);
  set_untiled_columns(input_tiling);
  affFuncZIL* record = to_affFuncZIL(f);
  long long* input_ratios = to_int64(input);
  long long* output_ratios = to_int64(output_scale);
  optionZIL option;
  std::map<polyhedronZIL*, affFuncZIL*> pieces =
      getRectangularTiledFunction(record, input_ratios, output_ratios, &option);
  freeAffineFunction(record);
  std::free(input_ratios);
  std::free(output_ratios);
  set_tiled_columns(input_tiling);
  return read_back(pieces);
}

tiled_function_t get_parallelepipedic_tiled_function(IndexFunction* index, IndexFunction* input_hyperplanes,
                                                     std::vector<int> input_scale, tiling_t input_tiling,
                                                     IndexFunction* output_hyperplanes, std::vector<int> output_scale,
                                                     tiling_t output_tiling, std::vector<int> output_counter_rank) {
  const std::string& who = parallelepipedic;
  std::vector<int> ic = keys(input_tiling.first), ip = keys(input_tiling.second), oc = keys(output_tiling.first);
  int n = static_cast<int>(ic.size()), p = static_cast<int>(ip.size()), m = static_cast<int>(oc.size());
  check_output_tiling(oc, index, who);
  check_columns(index, ic, ip, "the function", who);
  check_columns(input_hyperplanes, ic, ip, "an input hyperplane", who);
  check_columns(output_hyperplanes, oc, ip, "an output hyperplane", who);
  check_change_of_basis(input_hyperplanes, ic, who);
  check_change_of_basis(output_hyperplanes, oc, who);
  check_ratios(input_scale, ic.size(), "input hyperplanes", who);
  check_ratios(output_scale, oc.size(), "output hyperplanes", who);
  std::vector<int> sigma = set_line_permutation(output_counter_rank, oc);
  if (static_cast<int>(sigma.size()) != m || to_set_int(sigma).size() != sigma.size())
    stop(std::cerr, who + "output_counter_rank must name every output counter once");

  // Row sigma[i] of u is output i: u follows the output counters.
  Rows u = permute_lines(index->to_matrix(ic, ip), invert_permutation(sigma));
  Rows m1 = input_hyperplanes->to_matrix(ic, ip), m1_inverse = inverse_over(input_hyperplanes, ic, ip);
  Rows m2_inverse = inverse_over(output_hyperplanes, oc, ip);
  // From input to output hyperplane coordinates.
  Rows v = compose(output_hyperplanes->to_matrix(oc, ip), m, p, compose(u, n, p, m1_inverse, n, p), n, p);
  check_divisible(v, input_scale, output_scale, who);

  affFuncZIL* f = to_affFuncZIL(v, n, p);
  affFuncZIL* condition_back = to_affFuncZIL(double_matrix(m1_inverse, n, p), 2 * n, 2 * p + 1);
  long long* input_ratios = to_int64(input_scale);
  long long* output_ratios = to_int64(output_scale);
  optionZIL option;
  std::map<polyhedronZIL*, affFuncZIL*> pieces = getRectangularTiledFunction(f, input_ratios, output_ratios, &option);
  freeAffineFunction(f);
  std::free(input_ratios);
  std::free(output_ratios);

  set_tiled_columns(input_tiling);
  Rows input_back = double_matrix(m1, n, p), output_back = double_matrix(m2_inverse, m, p);
  std::vector<int> order = double_vector(sigma);
  tiled_function_t result;
  for (auto& piece : pieces) {
    polyhedronZIL* condition = into_basis(piece.first, condition_back);
    Polyhedron* key = to_polyhedron(condition);
    freePolyhedron(condition);
    std::vector<Expression*> outputs = output_time_to_counters(to_vec_vec(piece.second), input_back, output_back);
    freeAffineFunction(piece.second);
    // Back to the function's output order: output i is output counter
    // sigma[i].
    IndexFunction* g = new IndexFunction();
    for (int k : order) g->index_mapping.push_back(outputs[k]);
    result[key] = g;
  }
  freeAffineFunction(condition_back);
  return result;
}

tiled_function_t get_general_tiled_function(IndexFunction* index, Polyhedron* input_shape,
                                            std::vector<std::vector<int>> input_lattice, Polyhedron* output_shape,
                                            std::vector<std::vector<int>> output_lattice, tiling_t input_tiling,
                                            tiling_t output_tiling) {
  const std::string& who = general;
  for (const auto* lattice : {&input_lattice, &output_lattice})
    if (lattice->empty() || (*lattice)[0].empty())
      stop(std::cerr, "ZILWrapper::get_general_tiled_domain: null lattice");
  std::vector<int> ic = keys(input_tiling.first), ip = keys(input_tiling.second), oc = keys(output_tiling.first);
  size_t n = ic.size(), m = oc.size();
  if (ic.empty()) stop(std::cerr, who + "the input tiling has no counter");
  check_output_tiling(oc, index, who);
  // Bases of n (respectively m) rows of n values; their denominators are 1.
  for (auto side : {std::make_pair(&input_lattice, n), std::make_pair(&output_lattice, m)}) {
    bool square = side.first->size() == side.second;
    for (const std::vector<int>& row : *side.first) square = square && row.size() == side.second;
    if (!square)
      stop(std::cerr, who + (side.first == &input_lattice ? "the input" : "the output") + " lattice must have " +
                          std::to_string(side.second) + " rows of " + std::to_string(side.second) + " values");
    side.first->push_back(std::vector<int>(side.second, 1));
  }
  check_columns(index, ic, ip, "the function", who);
  check_shape_and_lattice(input_shape, to_set_int(ic), input_lattice, who);
  check_shape_and_lattice(output_shape, to_set_int(oc), output_lattice, who);

  set_untiled_columns(input_tiling);
  affFuncZIL* f = to_affFuncZIL(index);
  // Each shape over its own counters and its one parameter, the block size.
  active_parameters = to_vec_int(input_shape->get_parameters());
  polyhedronZIL* input_record = to_polyhedronZIL(input_shape);
  active_counters = oc;
  active_parameters = to_vec_int(output_shape->get_parameters());
  polyhedronZIL* output_record = to_polyhedronZIL(output_shape);
  long long** input_basis = to_int64(input_lattice);
  long long** output_basis = to_int64(output_lattice);
  optionZIL option;
  std::map<polyhedronZIL*, affFuncZIL*> pieces =
      getTiledFunction(f, input_record, input_basis, output_record, output_basis, &option);
  freeAffineFunction(f);
  freePolyhedron(input_record);
  freePolyhedron(output_record);
  freeMatrix(input_basis, static_cast<int>(input_lattice.size()));
  freeMatrix(output_basis, static_cast<int>(output_lattice.size()));
  set_tiled_columns(input_tiling);
  return read_back(pieces);
}

}  // namespace ZILWrapper
