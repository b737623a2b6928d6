// Rectangular parametric tiling of a statement in the space of its tiling
// hyperplanes: the domain's image is tiled by the library with tile sides
// s_d * block_size, and every counter is expressed back through the outer
// and inner time counters with the hyperplanes' left inverse.

#include <cstdlib>
#include <iostream>
#include <string>

#include "Expression.h"
#include "GeneratedName.h"
#include "IndexFunction.h"
#include "Inequation.h"
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

bool aligned() { return Options::option["aligned-parameters"] != 0; }

// The library aligns every parameter or none: with hidden parameters, which
// are never aligned, the alignment of the others is added afterwards.
optionZIL options(int min_block_size, bool with_hidden) {
  optionZIL option;
  option.areParamDiv = aligned() && !with_hidden;
  option.minBlSizeParam = min_block_size;
  return option;
}

// inner_p == 0 for every parameter p of `parameters`, added to each piece.
void align(std::vector<Polyhedron*>& pieces, const std::vector<int>& parameters) {
  Polyhedron multiples;
  Expression zero(0);
  for (int p : parameters) {
    Expression inner(split_name(false, get_parameter_string(p)));
    Inequation c(EQ, &inner, &zero);
    multiples.add_constraint(&c);
  }
  for (Polyhedron* piece : pieces) piece->add_constraints(&multiples);
}

int min_block_size() { return Options::option["min-block-size"] ? Options::min_block_size : 1; }

// The left inverse of the hyperplanes on the domain, over its counters and
// the tiling's parameters; it leaves the active lists holding those.
Rows left_inverse_on(Polyhedron* domain, IndexFunction* hyperplanes) {
  active_counters = to_vec_int(domain->get_counters());
  active_parameters = to_vec_int(get_tiling_parameters(domain, hyperplanes));
  return hyperplanes->left_invert(active_counters, active_parameters, domain);
}

std::vector<int> create_time_counters(bool outer, size_t n) {
  std::vector<int> ranks;
  for (size_t d = 0; d < n; d++) {
    std::pair<int, Expression*> counter = create_counter(time_counter_name(outer, static_cast<int>(d)), -1);
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
    create_parameter_rank(split_name(true, get_parameter_string(p)));
    result.push_back(get_parameter_rank(split_name(true, get_parameter_string(p))));
  }
  for (int p : parameters) {
    create_parameter_rank(split_name(false, get_parameter_string(p)));
    inner.push_back(get_parameter_rank(split_name(false, get_parameter_string(p))));
    result.push_back(inner.back());
  }
  declare_parameter("block_size");
  result.push_back(get_parameter_rank("block_size"));
  return result;
}

// The library's input of the tiling: the domain's image in the space of the
// hyperplanes with its large constants hidden, over the active lists it
// sets (the time counters; the tiling parameters, then the hidden ones).
struct TimeDomain {
  std::vector<int> time;        // one counter per hyperplane
  std::vector<int> parameters;  // the tiling parameters, increasing rank
  HiddenRows library;
};

TimeDomain time_domain(Polyhedron* domain, IndexFunction* hyperplanes, const std::vector<int>& scale,
                       int min_size) {
  TimeDomain t;
  t.parameters = to_vec_int(get_tiling_parameters(domain, hyperplanes));
  std::pair<Polyhedron*, std::vector<int>> image = domain->image(hyperplanes);
  t.time = image.second;
  active_counters = t.time;
  active_parameters = t.parameters;
  Rows rows = library_rows(image.first);
  delete image.first;
  // The alignment of the parameters changes no piece count.
  optionZIL option = options(min_size, true);
  std::vector<long long> ratios(scale.begin(), scale.end());
  PieceCounter count = [&](const Rows& r, int nb_parameters) {
    polyhedronZIL* record =
        buildPolyhedron(to_int64(r), static_cast<int>(r.size()), static_cast<int>(t.time.size()), nb_parameters);
    int n = 0;
    long long* counts = getRectangularPieceCounts(record, ratios.data(), &option, &n);
    std::vector<long long> result(counts, counts + n);
    std::free(counts);
    freePolyhedron(record);
    return result;
  };
  t.library = hide_large_constants(rows, count);
  return t;
}

}  // namespace

Polyhedron* split_constraints(const std::set<int>& parameters) {
  Polyhedron* p = new Polyhedron();
  Expression zero(0);
  Expression block_size("block_size");
  for (int q : parameters) {
    Expression inner(split_name(false, get_parameter_string(q)));
    Expression outer(split_name(true, get_parameter_string(q)));
    Inequation nonnegative(GREATER_EQ, &inner, &zero);
    Inequation below(LESS, &inner, &block_size);
    p->add_constraint(&nonnegative);
    p->add_constraint(&below);
    if (Options::option["positive-parameters"]) {
      Inequation positive(GREATER_EQ, &outer, &zero);
      p->add_constraint(&positive);
    }
  }
  return p;
}

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

std::vector<long long> rectangular_piece_counts(Polyhedron* domain, IndexFunction* hyperplanes,
                                                const std::vector<int>& scale) {
  return time_domain(domain, hyperplanes, scale, min_block_size()).library.counts;
}

Rows check_rectangular_tiling(Polyhedron* domain, IndexFunction* hyperplanes, const std::vector<int>& scale) {
  check_arguments(domain, hyperplanes, scale, min_block_size());
  return left_inverse_on(domain, hyperplanes);
}

std::pair<std::vector<Polyhedron*>, std::pair<std::map<int, Expression*>, std::map<int, Expression*>>>
get_parallelepipedic_tiled_domain_time_domain(Polyhedron* domain, IndexFunction* hyperplanes,
                                              std::vector<int> scale, std::vector<int>* hidden,
                                              CrossingBudget* budget,
                                              std::vector<std::vector<Polyhedron*>>* factors) {
  int min_size = min_block_size();
  Rows m = check_rectangular_tiling(domain, hyperplanes, scale);
  TimeDomain t = time_domain(domain, hyperplanes, scale, min_size);
  const std::vector<int>& time = t.time;
  const std::vector<int>& parameters = t.parameters;
  const std::vector<int>& own_hidden = t.library.hidden;
  std::vector<int> split = active_parameters;  // the tiling parameters, then the hidden ones
  polyhedronZIL* record = to_polyhedronZIL(t.library.rows);
  long long* ratios = to_int64(scale);
  optionZIL option = options(min_size, !own_hidden.empty());
  std::cout << "  ZIL..." << std::endl;
  std::list<std::list<polyhedronZIL*>> lists = getRectangularTiledDomain(record, ratios, &option);
  freePolyhedron(record);
  std::free(ratios);

  std::vector<int> outer = create_time_counters(true, time.size());
  std::vector<int> inner = create_time_counters(false, time.size());
  std::map<int, Expression*> to_tiled_time = tiled_time(time, outer, inner, scale);
  std::vector<int> inner_parameters;
  std::vector<int> tiled = tiled_parameters(split, inner_parameters);
  inner_parameters.resize(parameters.size());  // the left inverse knows no hidden parameter
  active_counters = outer;
  active_counters.insert(active_counters.end(), inner.begin(), inner.end());
  active_parameters = tiled;
  std::set<int> split_set(split.begin(), split.end());
  Polyhedron* context = split_constraints(split_set);
  std::vector<Polyhedron*> pieces = to_tiled_domain(lists, true, context, budget, factors);
  delete context;
  if (aligned() && !own_hidden.empty()) {
    align(pieces, parameters);
    if (factors)
      for (std::vector<Polyhedron*>& factor : *factors) align(factor, parameters);
  }

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
  if (hidden) *hidden = own_hidden;
  return std::make_pair(pieces, std::make_pair(to_time_counters_quad, to_inner_time_counters));
}

}  // namespace ZILWrapper
