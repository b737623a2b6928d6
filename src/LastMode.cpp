#include "LastMode.h"

#include <set>
#include <sstream>

#include "Domain.h"
#include "ISLWrapper.h"
#include "InstanceGuard.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"

namespace {

// The work isl may spend on a box (of a constant tiling's tile counters,
// or of the counters of a parametric tiling's last-mode domain): some
// thousands of operations on the tests and benchmarks, ten thousand on a
// 4-D box under four skewed hyperplanes.
const unsigned long box_operations = 2000000;

// The work isl may spend on the range of one counter: a few thousand
// operations on the tests and benchmarks.
const unsigned long range_operations = 200000;

std::vector<Polyhedron*> members(Polyhedron* domain) {
  if (domain->is_domain()) return static_cast<Domain*>(domain)->domain;
  return {domain};
}

// `p` (kept) in isl's syntax under the tuple and parameters of statement
// i's domain, and the parameters of its own.
std::string in_statement_space(const Program& program, size_t i, Polyhedron* p) {
  Polyhedron* domain = program.statement[i]->iteration_domain;
  std::set<int> parameters = domain->get_parameters(), own = p->get_parameters();
  parameters.insert(own.begin(), own.end());
  Domain single(std::vector<Polyhedron*>{p});
  std::ostringstream text;
  single.print_iscc("S" + std::to_string(i), domain->get_counters(), parameters, text);
  return text.str();
}

// The simple hull of a parametric tiling's pieces within its cell.
std::string hull_within_cell(const Program& program, size_t i) {
  Polyhedron* hull = Polyhedron::simple_hull(members(program.statement[i]->iteration_domain));
  hull->add_constraints(program.guard[i]->cell());
  std::string text = in_statement_space(program, i, hull);
  delete hull;
  return text;
}

// The box of the counters of a constant tiling's domain that are its
// original counters (`original`) or not (its tile counters), within its
// cell: each tile of the box of tile counters with all its points, or
// each point of the box of original counters in its tile.
std::string constant_box(const Program& program, size_t i, bool original) {
  Polyhedron* domain = program.statement[i]->iteration_domain;
  std::set<int> originals = program.guard[i]->domain()->get_counters();
  std::vector<int> kept;
  int position = 0;
  for (int c : domain->get_counters()) {
    if (originals.count(c) == (original ? 1 : 0)) kept.push_back(position);
    position++;
  }
  std::ostringstream whole;
  domain->print_iscc("S" + std::to_string(i), whole);
  std::string cell = in_statement_space(program, i, program.guard[i]->cell());
  return ISLWrapper::box_within(whole.str(), cell, kept, box_operations).value_or("");
}

// The box of statement i's counters over its last-mode domain `last`
// within its tiling's cell; `last` when isl does not find it.
std::string box_within_cell(const Program& program, size_t i, const std::string& last) {
  std::vector<int> counters(program.statement[i]->iteration_domain->get_counters().size());
  for (size_t k = 0; k < counters.size(); k++) counters[k] = static_cast<int>(k);
  std::string cell = in_statement_space(program, i, program.guard[i]->cell());
  return ISLWrapper::box_within(last, cell, counters, box_operations).value_or(last);
}

}  // namespace

std::vector<std::string> box_mode_domains(const Program& program, const std::vector<std::string>& last) {
  std::vector<std::string> boxes(last.size());
  for (size_t i = 0; i < last.size(); i++) {
    if (last[i].empty()) continue;
    boxes[i] = program.tile[i] ? box_within_cell(program, i, last[i]) : constant_box(program, i, true);
    if (boxes[i].empty()) boxes[i] = last[i];
  }
  return boxes;
}

std::string counter_bounds(const Program& program, size_t i, bool in_else) {
  const InstanceGuard& guard = *program.guard[i];
  std::ostringstream domain, formals, out;
  guard.domain()->print_iscc("S" + std::to_string(i), domain);
  print_variable_list(formals, program.statement[i]->iteration_domain->get_counters(), ",", 1);
  int position = 0;
  for (int rank : guard.domain()->get_counters()) {
    std::pair<std::string, std::string> range = ISLWrapper::dimension_range(domain.str(), position++, range_operations);
    if (range.first.empty() && range.second.empty()) continue;
    out << "bounds " << (in_else ? "else " : "") << "S" << i << "(" << formals.str() << ") \"" << range.first
        << "\" <= \"";
    guard.print_counter(out, rank);
    out << "\" <= \"" << range.second << "\";\n";
  }
  return out.str();
}

std::vector<std::string> last_mode_domains(const Program& program) {
  std::vector<std::string> domains(program.statement.size());
  for (size_t i = 0; i < domains.size(); i++) {
    if (i >= program.guard.size() || !program.guard[i] || program.superset[i]) continue;
    if (!program.tile[i]) domains[i] = constant_box(program, i, false);
    else if (members(program.statement[i]->iteration_domain).size() > 1) domains[i] = hull_within_cell(program, i);
  }
  return domains;
}
