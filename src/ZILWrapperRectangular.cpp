// Rectangular parametric tiling of a statement in the space of its tiling
// hyperplanes: the domain's image is tiled by the library with tile sides
// s_d * block_size, and every counter is expressed back through the outer
// and inner time counters with the hyperplanes' left inverse.

#include <cstdlib>
#include <iostream>
#include <string>

#include "Expression.h"
#include "IndexFunction.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "Stop.h"
#include "ZIL.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

const std::string who = "ZILWrapper::get_parallelepipedic_tiled_domain_time_domain: ";

std::set<int> hyperplane_counters(IndexFunction* hyperplanes) {
  return Expression::get_counters(hyperplanes->index_mapping);
}

// The orderly stops of the cases the library or the left inverse would
// misread: all of them before anything is printed.
void check_arguments(Polyhedron* domain, IndexFunction* hyperplanes, const std::vector<int>& scale,
                     int min_block_size) {
  if (min_block_size < 1) stop(std::cerr, who + "minimum block size must be at least 1");
  if (scale.size() < hyperplanes->index_mapping.size()) stop(std::cerr, who + "one tile ratio per hyperplane expected");
  std::set<int> counters = domain->get_counters();
  for (int c : hyperplane_counters(hyperplanes))
    if (!counters.count(c)) stop(std::cerr, who + "a tiling hyperplane uses a counter outside the statement's loops");
}

optionZIL options(int min_block_size) {
  optionZIL option;
  option.areParamDiv = Options::option["aligned-parameters"] != 0;
  option.minBlSizeParam = min_block_size;
  return option;
}

int min_block_size() { return Options::option["min-block-size"] ? Options::min_block_size : 1; }

// The left inverse of the hyperplanes on the domain, over its counters and
// the tiling's parameters; it leaves the active lists holding those.
Rows left_inverse_on(Polyhedron* domain, IndexFunction* hyperplanes) {
  active_counters = to_vec_int(domain->get_counters());
  active_parameters = to_vec_int(get_tiling_parameters(domain, hyperplanes));
  return hyperplanes->left_invert(active_counters, active_parameters, domain);
}

std::vector<int> create_time_counters(const std::string& prefix, size_t n) {
  std::vector<int> ranks;
  for (size_t d = 0; d < n; d++) {
    std::pair<int, Expression*> counter = create_counter(prefix, static_cast<int>(d));
    delete counter.second;
    ranks.push_back(counter.first);
  }
  return ranks;
}

// t_d -> B_d * outer_time_d + inner_time_d, B_d = s_d * block_size.
std::map<int, Expression*> tiled_time(const std::vector<int>& time, const std::vector<int>& outer,
                                      const std::vector<int>& inner, const std::vector<int>& scale) {
  std::map<int, Expression*> result;
  for (size_t d = 0; d < time.size(); d++) {
    Expression block_size("block_size");
    Expression ratio(scale[d]);
    Expression scaled(TIMES, &ratio, &block_size);
    Expression* side = scale[d] == 1 ? &block_size : &scaled;
    Expression o(get_counter_string(outer[d]));
    Expression i(get_counter_string(inner[d]));
    Expression block(TIMES, side, &o);
    result[time[d]] = new Expression(PLUS, &block, &i);
  }
  return result;
}

// outer_p for each parameter, then inner_p for each, then block_size; the
// inner ones also go to `inner`.
std::vector<int> tiled_parameters(const std::vector<int>& parameters, std::vector<int>& inner) {
  std::vector<int> result;
  for (int p : parameters) {
    create_parameter_rank("outer_" + get_parameter_string(p));
    result.push_back(get_parameter_rank("outer_" + get_parameter_string(p)));
  }
  for (int p : parameters) {
    create_parameter_rank("inner_" + get_parameter_string(p));
    inner.push_back(get_parameter_rank("inner_" + get_parameter_string(p)));
    result.push_back(inner.back());
  }
  declare_parameter("block_size");
  result.push_back(get_parameter_rank("block_size"));
  return result;
}

}  // namespace

// A hyperplane's parameter missing from the domain would lose its column
// in the conversion and in the left inverse.
std::set<int> get_tiling_parameters(Polyhedron* domain, IndexFunction* hyperplanes) {
  std::set<int> result = domain->get_parameters();
  for (Expression* e : hyperplanes->index_mapping) {
    std::set<int> used = e->get_parameters();
    result.insert(used.begin(), used.end());
  }
  return result;
}

Rows check_rectangular_tiling(Polyhedron* domain, IndexFunction* hyperplanes, const std::vector<int>& scale) {
  check_arguments(domain, hyperplanes, scale, min_block_size());
  return left_inverse_on(domain, hyperplanes);
}

std::pair<std::vector<Polyhedron*>, std::pair<std::map<int, Expression*>, std::map<int, Expression*>>>
get_parallelepipedic_tiled_domain_time_domain(Polyhedron* domain, IndexFunction* hyperplanes,
                                              std::vector<int> scale) {
  int min_size = min_block_size();
  Rows m = check_rectangular_tiling(domain, hyperplanes, scale);
  std::vector<int> parameters = to_vec_int(get_tiling_parameters(domain, hyperplanes));

  std::pair<Polyhedron*, std::vector<int>> image = domain->image(hyperplanes);
  std::vector<int> time = image.second;
  active_counters = time;
  active_parameters = parameters;
  polyhedronZIL* record = to_polyhedronZIL(image.first);
  delete image.first;
  long long* ratios = to_int64(scale);
  optionZIL option = options(min_size);
  std::cout << "  ZIL..." << std::endl;
  std::list<std::list<polyhedronZIL*>> lists = getRectangularTiledDomain(record, ratios, &option);
  freePolyhedron(record);
  std::free(ratios);

  std::vector<int> outer = create_time_counters("outer_time", time.size());
  std::vector<int> inner = create_time_counters("inner_time", time.size());
  std::map<int, Expression*> to_tiled_time = tiled_time(time, outer, inner, scale);
  std::vector<int> inner_parameters;
  std::vector<int> tiled = tiled_parameters(parameters, inner_parameters);
  active_counters = outer;
  active_counters.insert(active_counters.end(), inner.begin(), inner.end());
  active_parameters = tiled;
  std::vector<Polyhedron*> pieces = to_tiled_domain(lists, true);

  std::cout << "  H^-1..." << std::endl;
  active_counters = to_vec_int(domain->get_counters());
  active_parameters = parameters;
  IndexFunction f(m, time, active_parameters);
  IndexFunction g(m, inner, inner_parameters);
  std::map<int, Expression*> to_time_counters_quad, to_inner_time_counters;
  for (size_t i = 0; i < active_counters.size(); i++) {
    to_time_counters_quad[active_counters[i]] = f.index_mapping[i]->substitute_counters(to_tiled_time);
    to_inner_time_counters[active_counters[i]] = g.index_mapping[i]->clone();
  }
  del(to_tiled_time);
  return std::make_pair(pieces, std::make_pair(to_time_counters_quad, to_inner_time_counters));
}

}  // namespace ZILWrapper
