#include "Tiling.h"

#include <algorithm>
#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"

namespace {

const int carrier_count = 11;

[[noreturn]] void constant_stop(int i, const std::string& why) {
  stop(std::cerr, "Tiling::compute_constant_tiling_domains: statement #" + std::to_string(i) + ": " + why);
}

bool uses_parameter(const IndexFunction* f, const std::string& name) {
  auto marker = parameter_rank.find(name);
  if (marker == parameter_rank.end()) return false;
  for (Expression* e : f->index_mapping)
    if (e->get_parameters().count(marker->second)) return true;
  return false;
}

// The input's own declarations in file order (the carriers left out), then
// the tiling's, each text once; block_size is a run-time value of the
// caller of the tiled code.
std::vector<std::string> output_declarations(const std::vector<std::string>& input,
                                             const std::set<std::string>& tiling) {
  std::vector<std::string> result;
  std::set<std::string> seen = {"int block_size;"};
  for (size_t k = carrier_count; k < input.size(); k++)
    if (seen.insert(input[k]).second) result.push_back(input[k]);
  for (const std::string& declaration : tiling)
    if (seen.insert(declaration).second) result.push_back(declaration);
  return result;
}

}  // namespace

Tiling::~Tiling() {
  for (IndexFunction* f : tile_hyperplans) delete f;
  for (Polyhedron* p : tile_shape) delete p;
  for (IndexFunction* f : schedule) delete f;
  for (Polyhedron* p : tile) delete p;
  for (auto& counter : tile_counter) delete counter.second;
}

void Tiling::check_constant_tiling(int i) const {
  size_t hyperplanes = tile_hyperplans[i]->index_mapping.size();
  if (hyperplanes > tile_counter.size()) constant_stop(i, "more hyperplanes than tile counters");
  if (tile_size[i].size() < hyperplanes) constant_stop(i, "fewer tile sizes than hyperplanes");
  if (tile_dimensions[i].size() > hyperplanes)
    constant_stop(i, "more tiled schedule dimensions than hyperplanes");
}

// s*t <= h < s*(t+1) for every hyperplane h with tile size s and tile
// counter t.
void Tiling::build_tile(int i) {
  tile[i] = new Polyhedron();
  IndexFunction* h = tile_hyperplans[i];
  for (size_t j = 0; j < h->index_mapping.size(); j++) {
    Expression size(tile_size[i][j]);
    Expression one(1);
    Expression* t = tile_counter[j].second;
    Expression low(TIMES, &size, t);
    Expression next(PLUS, t, &one);
    Expression high(TIMES, &size, &next);
    Inequation lower(GREATER_EQ, h->index_mapping[j], &low);
    Inequation upper(LESS, h->index_mapping[j], &high);
    tile[i]->add_constraint(&lower);
    tile[i]->add_constraint(&upper);
  }
  std::cout << "Domain for stmt #" << i << ":\n" << *tile[i] << "\n";
}

// The j-th tiled dimension of the schedule becomes tile counter j.
void Tiling::place_tile_counters(int i) {
  IndexFunction* g = schedule[i]->clone();
  delete schedule[i];
  for (size_t j = 0; j < tile_dimensions[i].size(); j++) {
    int d = tile_dimensions[i][j];
    delete g->index_mapping[d];
    g->index_mapping[d] = tile_counter[j].second->clone();
  }
  schedule[i] = g;
  std::cout << "Schedule for stmt #" << i << ":\n" << *g << "\n\n";
}

void Tiling::compute_constant_tiling_domains() {
  nb_statements = static_cast<int>(is_tiled.size());
  size_t n = 0;
  for (const std::vector<int>& dims : tile_dimensions) n = std::max(n, dims.size());
  for (size_t k = 0; k < n; k++) create_counter_rank("tile_counter_" + std::to_string(k));
  for (size_t k = 0; k < n; k++) {
    tile_counter.push_back(create_counter("tile_counter", static_cast<int>(k)));
    tile_counter_set.insert(tile_counter.back().first);
  }
  tile.assign(nb_statements, nullptr);
  for (int i = 0; i < nb_statements; i++) {
    if (!is_constant_tiling[i]) continue;
    check_constant_tiling(i);
    build_tile(i);
  }
  for (int i = 0; i < nb_statements; i++)
    if (is_constant_tiling[i]) place_tile_counters(i);
}

std::pair<Program*, std::vector<Schedule*>> Tiling::apply(Program* program) {
  if (is_tiled.size() != program->statement.size()) stop(std::cerr, "Tiling::apply: nb_statements mismatch");
  compute_constant_tiling_domains();
  TilingPass pass;
  for (int i = 0; i < static_cast<int>(program->statement.size()); i++) {
    Statement* s = program->statement[i]->clone();
    std::cout << "Tiling stmt #" << i << ": " << *s << "\n";
    pass.used_counters.insert(s->surrounding_counters.begin(), s->surrounding_counters.end());
    if (is_constant_tiling[i]) {
      s->iteration_domain->add_constraints(tile[i]);
      for (const auto& counter : tile_counter) {
        s->surrounding_counters.push_back(counter.first);
        pass.used_counters.insert(counter.first);
      }
    } else if (is_rectangular_ZIL[i]) {
      apply_rectangular_ZIL(i, s, pass);
      continue;
    } else if (is_general_ZIL[i]) {
      apply_general_ZIL(i, s, pass);
      continue;
    } else if (uses_parameter(schedule[i], "__T")) {
      stop(std::cerr, "Tiling::apply: statement #" + std::to_string(i) +
                          ": schedule uses __T but the statement is not tiled");
    }
    pass.tiled.push_back(s);
    pass.schedules.push_back(new Schedule(schedule[i], s->surrounding_counters));
  }
  Program* result = new Program(static_cast<int>(pass.used_counters.size()),
                                2 * program->nb_parameters, pass.tiled);
  result->set_variable_declaration(
      output_declarations(program->get_variable_declaration(), pass.declarations));
  return {result, pass.schedules};
}

void Tiling::apply_rectangular_ZIL(int i, Statement*, TilingPass&) {
  stop(std::cerr, "Tiling::apply: statement #" + std::to_string(i) +
                      ": rectangular ZIL tiling is not available");
}

void Tiling::apply_general_ZIL(int i, Statement*, TilingPass&) {
  stop(std::cerr, "Tiling::apply: statement #" + std::to_string(i) + ": general ZIL tiling is not available");
}
