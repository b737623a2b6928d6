// Extraction of the tiling directives: the carrier statements left by the
// directive rewrite become one Tiling entry per real statement, then leave
// the program.

#include <iostream>
#include <set>

#include "Array.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "PreprocessorInternal.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"
#include "Stop.h"
#include "Tiling.h"

namespace {

enum Kind { CONSTANT, RECTANGULAR, GENERAL };

class Extraction {
public:
  Extraction(Program* program, Tiling* tiling) : program(program), tiling(tiling) {}

  void read_all() {
    declare_parameter("__T");
    marker = get_parameter_rank("__T");
    size_t i = 0;
    while (i < program->statement.size()) {
      if (program->statement[i]->lhs_id == "tile_group") {
        read_block(i);
        i += 5;
      } else {
        read_untiled(i);
        i += 2;
      }
      n++;
    }
  }

private:
  Program* program;
  Tiling* tiling;
  int marker = 0;  // parameter rank of __T
  int n = 0;       // number of the real statement being read

  [[noreturn]] void block_stop(const std::string& suffix) const {
    stop(std::cerr, "Preprocessor::extract_tiling: statement #" + std::to_string(n) + suffix);
  }

  Statement* at(size_t i) const {
    if (i >= program->statement.size()) block_stop(": incomplete tiling block");
    return program->statement[i];
  }

  // Integer literals, negative ones included: a lattice may well have
  // negative coefficients.
  std::vector<int> integers(const Statement* s, const std::string& suffix) const {
    std::vector<int> values;
    for (Expression* e : s->lhs_index->index_mapping) {
      int value;
      if (!Preprocessor::integer_value(e, value)) block_stop(suffix);
      values.push_back(value);
    }
    return values;
  }

  // d x d values get a row of ones, (d + 1) x d values are taken as given,
  // d being the depth of the loop nest of the lattice directive.
  std::vector<std::vector<int>> lattice(const Statement* s) const {
    std::vector<int> v = integers(s, ": tile lattice coefficient must be an integer value");
    size_t d = s->surrounding_counters.size();
    if (v.size() != d * d && v.size() != (d + 1) * d) block_stop(": incorrect tile lattice definition");
    std::vector<std::vector<int>> rows(d + 1, std::vector<int>(d, 1));
    for (size_t k = 0; k < v.size(); k++) rows[k / d][k % d] = v[k];
    return rows;
  }

  Polyhedron* shape(const Statement* s) const {
    Polyhedron* p = new Polyhedron();
    Expression zero(0);
    for (Expression* e : s->lhs_index->index_mapping) {
      Inequation c(GREATER_EQ, e, &zero);
      p->add_constraint(&c);
    }
    return p;
  }

  Kind read_kind(const Statement* s) const {
    if (s->lhs_id == "tile_size") return CONSTANT;
    if (s->lhs_id == "tile_ratio") return RECTANGULAR;
    if (s->lhs_id == "tile_lattice") return GENERAL;
    block_stop(": incorrect tiling definition");
  }

  std::vector<int> tiled_dimensions(const IndexFunction* f) const {
    std::vector<int> dims;
    for (size_t j = 0; j < f->index_mapping.size(); j++)
      if (f->index_mapping[j]->get_parameters().count(marker)) dims.push_back(static_cast<int>(j));
    return dims;
  }

  void read_block(size_t i) {
    const Statement* group = at(i);
    tiling->is_tiled.push_back(1);
    if (group->lhs_index->index_mapping.size() != 1) block_stop(": tile group must 1-dimensional");
    tiling->tile_group.push_back(integers(group, ": tile group must be an integer value")[0]);

    Kind kind = read_kind(at(i + 1));
    // Outside every loop there is nothing to tile: the block indices would
    // come from the size parameters, and the statement would run only for
    // some of their values.
    if (kind != CONSTANT && at(i + 1)->surrounding_counters.empty())
      block_stop(": a parametric tiling needs a statement inside a loop");
    const char* names[] = {": constant tiling", ": rectangular ZIL", ": general ZIL"};
    std::cout << "stmt #" << n << names[kind] << std::endl;
    tiling->is_constant_tiling.push_back(kind == CONSTANT);
    tiling->is_rectangular_ZIL.push_back(kind == RECTANGULAR);
    tiling->is_general_ZIL.push_back(kind == GENERAL);

    std::vector<int> sizes, ratios;
    std::vector<std::vector<int>> rows;
    if (kind == CONSTANT) {
      sizes = integers(at(i + 1), ": tile size must be an integer value");
      for (int size : sizes)
        if (size < 1) block_stop(": tile size must be at least 1");
    } else if (kind == RECTANGULAR) {
      ratios = integers(at(i + 1), ": tile ratio must be an integer value");
      for (int ratio : ratios)
        if (ratio < 1) block_stop(": tile ratio must be at least 1");
    } else {
      rows = lattice(at(i + 1));
    }
    tiling->tile_size.push_back(sizes);
    tiling->tile_ratio.push_back(ratios);
    tiling->tile_lattice.push_back(rows);

    if (kind == GENERAL) {
      tiling->tile_shape.push_back(shape(at(i + 2)));
      tiling->tile_hyperplans.push_back(new IndexFunction());
    } else {
      if (at(i + 2)->lhs_id != "tile_hyperplans") block_stop(": pragma tile_hyperplans expected in 3rd position");
      tiling->tile_hyperplans.push_back(at(i + 2)->lhs_index->clone());
      tiling->tile_shape.push_back(new Polyhedron());
    }
    if (at(i + 3)->lhs_id != "schedule") block_stop(": pragma schedule expected in 4th position");
    IndexFunction* schedule = at(i + 3)->lhs_index->clone();
    tiling->schedule.push_back(schedule);
    tiling->tile_dimensions.push_back(tiled_dimensions(schedule));
  }

  void read_untiled(size_t i) {
    const Statement* s = program->statement[i];
    std::cout << "stmt #" << n << ": not tiled" << std::endl;
    tiling->is_tiled.push_back(0);
    tiling->is_constant_tiling.push_back(0);
    tiling->is_rectangular_ZIL.push_back(0);
    tiling->is_general_ZIL.push_back(0);
    tiling->tile_size.push_back({});
    tiling->tile_hyperplans.push_back(new IndexFunction());
    tiling->tile_ratio.push_back({});
    tiling->tile_lattice.push_back({});
    tiling->tile_shape.push_back(new Polyhedron());
    tiling->tile_group.push_back(-1);
    tiling->tile_dimensions.push_back({});
    if (s->lhs_id != "schedule") {
      std::cout << "Preprocessor::extract_schedules: missing schedule for assignment #" << n << "\n"
                << *s << std::endl;
      std::exit(1);
    }
    tiling->schedule.push_back(s->lhs_index->clone());
  }
};

// The program without its carrier statements, numbered again from 0.
void drop_carriers(Program* program) {
  const std::vector<Statement*>& all = program->statement;
  std::vector<bool> kept(all.size(), false);
  for (size_t i = 0; i < all.size(); i++) {
    if (all[i]->lhs_id == "output__") {
      i++;  // the output carrier and the assignment that follows it
      continue;
    }
    kept[i] = !is_dropped_carrier(all[i]->lhs_id);
  }
  Preprocessor::keep_statements(program, kept);
}

}  // namespace

bool Preprocessor::integer_value(const Expression* e, int& value) {
  if (e->is_constant()) {
    value = e->val;
    return true;
  }
  if (e->is_neg() && e->fd->is_constant() && e->fd->val >= 0) {
    value = -e->fd->val;
    return true;
  }
  return false;
}

void Preprocessor::keep_statements(Program* program, const std::vector<bool>& kept) {
  std::vector<Statement*> clones;
  for (size_t i = 0; i < program->statement.size(); i++) {
    if (!kept[i]) continue;
    Statement* copy = program->statement[i]->clone();
    copy->stmt_rank = static_cast<int>(clones.size());
    clones.push_back(copy);
  }
  for (Statement* s : program->statement) delete s;
  program->statement = clones;
}

bool is_dropped_carrier(const std::string& id) {
  static const std::set<std::string> carriers = {"tile_group", "tile_size", "tile_hyperplans", "schedule",
                                                 "tile_ratio", "tile_lattice", "tile_shape"};
  return carriers.count(id) > 0;
}

Tiling* extract_extended_tiling(Program* program) {
  Preprocessor::reset_context();
  Tiling* tiling = new Tiling();
  Extraction(program, tiling).read_all();
  drop_carriers(program);
  remove_reserved_arrays();
  return tiling;
}
