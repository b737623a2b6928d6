// Full and partial tiles of constant tiling, single hyperplanes with their
// tile counters, the copy of a record, and its text report.

#include <iostream>

#include "Expression.h"
#include "ISLWrapper.h"
#include "IndexFunction.h"
#include "MatrixPrinter.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"
#include "Tiling.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

template <class T>
bool has_entry(const std::vector<T>& field, int i) {
  return i >= 0 && i < static_cast<int>(field.size());
}

bool is_set(const std::vector<int>& flags, int i) { return has_entry(flags, i) && flags[i] != 0; }

int hyperplane_count(const std::vector<IndexFunction*>& hyperplanes, int i) {
  return has_entry(hyperplanes, i) && hyperplanes[i] ? static_cast<int>(hyperplanes[i]->index_mapping.size()) : 0;
}

// Clones of the non-null entries; a null entry stays null.
template <class T>
std::vector<T*> clones(const std::vector<T*>& v) {
  std::vector<T*> result;
  for (T* x : v) result.push_back(x ? x->clone() : nullptr);
  return result;
}

// The copy of `s` whose domain also holds `tile` and `part`; new, owned by
// the caller.
Statement* restricted(Statement* s, Polyhedron* tile, Polyhedron* part) {
  Statement* copy = s->clone();
  copy->iteration_domain->add_constraints(tile);
  copy->iteration_domain->add_constraints(part);
  return copy;
}

// Appends `copy` to the new statements with the next rank.
void add_copy(Statement* copy, std::vector<Statement*>& copies, std::vector<int>& ranks) {
  copy->stmt_rank = static_cast<int>(copies.size());
  ranks.push_back(copy->stmt_rank);
  copies.push_back(copy);
}

// The tiles of A outside F, as pieces disjoint from each other and from F
// (isl's difference splits A along the constraints of F one at a time), so
// that no iteration runs in two copies. The rows are read here rather than
// through the polyhedron difference, so that a piece with existential
// variables, which no plain polyhedron can stand for, stops the run with
// the statement named.
std::vector<Polyhedron*> partial_tiles(int i, Polyhedron* a, Polyhedron* f) {
  std::vector<Polyhedron*> both{a, f};
  std::set<int> counters = Polyhedron::get_counters(both);
  std::set<int> parameters = Polyhedron::get_parameters(both);
  size_t width = counters.size() + parameters.size() + 2;
  std::vector<Rows> difference = ISLWrapper::subtract({a->to_matrix(counters, parameters)},
                                                      {f->to_matrix(counters, parameters)},
                                                      static_cast<int>(counters.size()),
                                                      static_cast<int>(parameters.size()));
  for (const Rows& piece : difference)
    for (const std::vector<int>& row : piece)
      if (row.size() != width)
        stop(std::cerr, "Tiling::apply_separate_full_tiles: statement #" + std::to_string(i) +
                            ": partial tile with divisions");
  std::vector<Polyhedron*> pieces;
  for (const Rows& piece : difference) pieces.push_back(new Polyhedron(piece, counters, parameters));
  return pieces;
}

// Every value followed by a blank.
std::string values(const std::vector<int>& v) {
  std::string text;
  for (int x : v) text += std::to_string(x) + " ";
  return text;
}

void report_lengths(const Tiling& t) {
  const std::pair<const char*, size_t> fields[] = {
      {"is_constant_tiling", t.is_constant_tiling.size()},
      {"is_rectangular_ZIL", t.is_rectangular_ZIL.size()},
      {"is_general_ZIL", t.is_general_ZIL.size()},
      {"tile_size", t.tile_size.size()},
      {"tile_hyperplans", t.tile_hyperplans.size()},
      {"tile_ratio", t.tile_ratio.size()},
      {"tile_lattice", t.tile_lattice.size()},
      {"tile_shape", t.tile_shape.size()},
      {"tile_group", t.tile_group.size()},
      {"schedule", t.schedule.size()},
      {"tile_dimensions", t.tile_dimensions.size()},
  };
  for (const auto& field : fields)
    if (field.second != t.is_tiled.size()) std::cout << "Incorrect " << field.first << "\n";
}

// "<label>(" f ")" and a line end, when statement i has a function there.
void report_function(std::ostream& out, const char* label, const std::vector<IndexFunction*>& field, int i) {
  if (!has_entry(field, i) || !field[i]) return;
  out << label << "(";
  field[i]->print_code(out);
  out << ")\n";
}

void report_kind(std::ostream& out, Tiling& t, int i) {
  if (is_set(t.is_constant_tiling, i)) {
    out << "  Constant tiling:\n";
    if (has_entry(t.tile_size, i)) out << "    Tile size: " << values(t.tile_size[i]) << "\n";
    report_function(out, "    Hyperplanes: ", t.tile_hyperplans, i);
  }
  if (is_set(t.is_rectangular_ZIL, i)) {
    out << "  ZIL rectangular:\n";
    if (has_entry(t.tile_ratio, i)) out << "    Tile ratio: " << values(t.tile_ratio[i]) << "\n";
    report_function(out, "    Hyperplanes: ", t.tile_hyperplans, i);
  }
  if (is_set(t.is_general_ZIL, i)) {
    out << "  ZIL general:\n";
    if (has_entry(t.tile_lattice, i)) out << "    Tile lattice: \n" << t.tile_lattice[i] << "\n";
    if (has_entry(t.tile_shape, i) && t.tile_shape[i]) out << "    Tile shape:\n" << *t.tile_shape[i] << "\n";
  }
}

void report_statement(std::ostream& out, Tiling& t, int i) {
  out << "Statement #" << i << " ";
  if (t.is_tiled[i] == 0) {
    out << "(not tiled)\n";
    report_function(out, "  Schedule: ", t.schedule, i);
    return;
  }
  out << "\n";
  if (has_entry(t.tile_group, i)) std::cout << "  Tile group #" << t.tile_group[i] << "\n";
  report_kind(out, t, i);
  report_function(out, "  Schedule: ", t.schedule, i);
  if (has_entry(t.tile_dimensions, i)) out << "  Rank of tile dimensions: " << values(t.tile_dimensions[i]) << "\n";
}

}  // namespace

Tiling::Tiling(std::vector<int> is_tiled, std::vector<int> is_constant_tiling, std::vector<int> is_rectangular_ZIL,
               std::vector<int> is_general_ZIL, std::vector<std::vector<int>> tile_size,
               std::vector<IndexFunction*> tile_hyperplans, std::vector<std::vector<int>> tile_ratio,
               std::vector<std::vector<std::vector<int>>> tile_lattice, std::vector<Polyhedron*> tile_shape,
               std::vector<int> tile_group, std::vector<IndexFunction*> schedule,
               std::vector<std::vector<int>> tile_dimensions)
    : is_tiled(is_tiled),
      is_constant_tiling(is_constant_tiling),
      is_rectangular_ZIL(is_rectangular_ZIL),
      is_general_ZIL(is_general_ZIL),
      tile_size(tile_size),
      tile_hyperplans(clones(tile_hyperplans)),
      tile_ratio(tile_ratio),
      tile_lattice(tile_lattice),
      tile_shape(clones(tile_shape)),
      tile_group(tile_group),
      schedule(clones(schedule)),
      tile_dimensions(tile_dimensions) {}

Tiling* Tiling::clone() {
  return new Tiling(is_tiled, is_constant_tiling, is_rectangular_ZIL, is_general_ZIL, tile_size, tile_hyperplans,
                    tile_ratio, tile_lattice, tile_shape, tile_group, schedule, tile_dimensions);
}

// Only a statement with a tile has tile counter values to speak of.
void Tiling::check_tile(int stmt, const std::string& who) const {
  if (!has_entry(is_tiled, stmt)) stop(std::cerr, who + ": invalid statement rank");
  if (is_tiled[stmt] == -1) stop(std::cerr, who + ": not a tiled statement");
  if (!has_entry(tile, stmt) || !tile[stmt]) stop(std::cerr, who + ": not a constant tiled statement");
}

Polyhedron* Tiling::tile_domain(int stmt, Polyhedron* domain) {
  check_tile(stmt, "Tiling::tile_domain");
  Polyhedron* r = domain->clone();
  r->add_constraints(tile[stmt]);
  Polyhedron* projection = r->project(tile_counter_set);
  delete r;
  return projection;
}

// A vertex lies in the domain when the domain's constraints hold with the
// counters replaced by the vertex's expressions of the tile counters.
Polyhedron* Tiling::full_tile_domain(int stmt, Polyhedron* domain) {
  check_tile(stmt, "Tiling::full_tile_domain");
  Polyhedron* r = domain->clone();
  Polyhedron inside;
  if (has_entry(tile_vertices, stmt)) {
    for (const std::map<int, Expression*>& vertex : tile_vertices[stmt]) {
      // An unreplaced counter would turn "the vertex lies in the domain"
      // into a condition on that counter.
      for (int c : r->get_counters())
        if (!vertex.count(c))
          stop(std::cerr, "Tiling::full_tile_domain: vertex without a value for counter " + get_counter_string(c));
      Polyhedron* at = r->substitute_counters(vertex);
      inside.add_constraints(at);
      delete at;
    }
  }
  r->add_constraints(tile[stmt]);
  r->add_constraints(&inside);
  Polyhedron* projection = r->project(tile_counter_set);
  delete r;
  return projection;
}

std::pair<std::pair<Program*, std::vector<Schedule*>>, std::map<int, std::vector<int>>>
Tiling::apply_separate_full_tiles(Program* program) {
  int n = static_cast<int>(program->statement.size());
  if (n != nb_statements) stop(std::cerr, "Tiling::apply_separate_full_tiles: nb_statements mismatch");
  auto untiled = [&](int i) { return has_entry(is_tiled, i) && is_tiled[i] == -1; };
  for (int i = 0; i < n; i++)
    if (!untiled(i) && (!has_entry(tile, i) || !tile[i]))
      stop(std::cerr, "Tiling::apply_separate_full_tiles: statement #" + std::to_string(i) + " is not constant-tiled");
  std::vector<Statement*> copies;
  std::map<int, std::vector<int>> ranks;
  for (int i = 0; i < n; i++) {
    std::cout << "Statement #" << i << "\n";
    Statement* s = program->statement[i]->clone();
    if (untiled(i)) {
      std::cout << "  (not tiled) --> S" << copies.size();
      add_copy(s, copies, ranks[i]);
      continue;
    }
    for (const auto& counter : tile_counter) s->surrounding_counters.push_back(counter.first);
    Polyhedron* a = tile_domain(i, s->iteration_domain);
    Polyhedron* f = full_tile_domain(i, s->iteration_domain);
    std::vector<Polyhedron*> pieces = partial_tiles(i, a, f);
    delete a;
    std::cout << "  full tile --> S" << copies.size() << "\n";
    add_copy(restricted(s, tile[i], f), copies, ranks[i]);
    delete f;
    for (Polyhedron* piece : pieces) {
      std::cout << "  partial tile --> S" << copies.size() << "\n";
      add_copy(restricted(s, tile[i], piece), copies, ranks[i]);
    }
    del(pieces);
    delete s;
  }
  Program* result = new Program(program->nb_counters + static_cast<int>(tile_counter.size()),
                                program->nb_parameters, copies);
  return std::make_pair(std::make_pair(result, std::vector<Schedule*>()), ranks);
}

std::pair<Expression*, Expression*> Tiling::last_hyperplan(int stmt) {
  if (!has_entry(is_tiled, stmt)) stop(std::cerr, "Tiling::last_hyperplan(): invalid statement rank");
  if (is_tiled[stmt] == -1) stop(std::cerr, "Tiling::last_hyperplan(): not a tiled statement");
  int m = hyperplane_count(tile_hyperplans, stmt);
  if (m == 0 || m > static_cast<int>(tile_counter.size()))
    stop(std::cerr, "Tiling::last_hyperplan(): no hyperplane with a tile counter");
  return std::make_pair(tile_hyperplans[stmt]->index_mapping[m - 1]->clone(), tile_counter[m - 1].second->clone());
}

std::pair<Expression*, Expression*> Tiling::get_hyperplan(int stmt, int hyperplan_rank) {
  if (!has_entry(is_tiled, stmt) || !has_entry(is_constant_tiling, stmt))
    stop(std::cerr, "Tiling::last_hyperplan(): invalid statement rank");
  if (is_constant_tiling[stmt] == 0) stop(std::cerr, "Tiling::last_hyperplan(): not a (constant) tiled statement");
  int m = hyperplane_count(tile_hyperplans, stmt);
  if (hyperplan_rank < 0 || hyperplan_rank >= m || hyperplan_rank >= static_cast<int>(tile_counter.size()))
    stop(std::cerr, "Tiling::last_hyperplan(): invalid hyperplan rank");
  return std::make_pair(tile_hyperplans[stmt]->index_mapping[hyperplan_rank]->clone(),
                        tile_counter[hyperplan_rank].second->clone());
}

std::ostream& operator<<(std::ostream& out, Tiling& tiling) {
  report_lengths(tiling);
  for (int i = 0; i < static_cast<int>(tiling.is_tiled.size()); i++) report_statement(out, tiling, i);
  return out;
}
