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

// The largest coefficient of a combination of counters that gets bounds:
// the code generator computes its value in long long from counters that
// lie within a few tiles of an instance (below 2^34 in absolute value),
// which no sum of such terms overflows.
const long long largest_coefficient = 1000;

std::vector<Polyhedron*> members(Polyhedron* domain) {
  if (domain->is_domain()) return static_cast<Domain*>(domain)->domain;
  return {domain};
}

// Statement i's domain in isl's syntax, under the tuple S<i>.
std::string domain_text(const Program& program, size_t i) {
  std::ostringstream text;
  program.statement[i]->iteration_domain->print_iscc("S" + std::to_string(i), text);
  return text.str();
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
  std::string cell = in_statement_space(program, i, program.guard[i]->cell());
  return ISLWrapper::box_within(domain_text(program, i), cell, kept, box_operations).value_or("");
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
    if (i < program.superset.size() && program.superset[i]) {
      boxes[i] = box_within_cell(program, i, domain_text(program, i));
      continue;
    }
    if (last[i].empty()) continue;
    boxes[i] = program.tile[i] ? box_within_cell(program, i, last[i]) : constant_box(program, i, true);
    if (boxes[i].empty()) boxes[i] = last[i];
  }
  return boxes;
}

namespace {

// One "bounds" line of statement i: `value` (C text over its macro's
// arguments) lies in `range` (C texts over the parameters); nothing when
// neither side is known.
std::string bound_line(const Program& program, size_t i, bool in_else, const std::pair<std::string, std::string>& range,
                       const std::string& value) {
  if (range.first.empty() && range.second.empty()) return "";
  std::ostringstream formals;
  print_variable_list(formals, program.statement[i]->iteration_domain->get_counters(), ",", 1);
  return "bounds " + std::string(in_else ? "else " : "") + "S" + std::to_string(i) + "(" + formals.str() + ") \"" +
         range.first + "\" <= \"" + value + "\" <= \"" + range.second + "\";\n";
}

// The bounds of each combination of the dimensions `kept` of `domain` (a
// set in isl syntax over statement i's tuple) that a constraint of the
// domain names, `terms` giving each dimension's C text: the range of a
// counter given the others, which the range of each counter alone misses
// (a band j - 1 <= i <= j + 1 along the diagonal of a square, a tile
// counter next to another).
std::string combination_bounds(const Program& program, size_t i, bool in_else, const std::string& domain,
                               const std::set<int>& kept, const std::vector<std::string>& terms) {
  std::string out;
  for (const auto& combination : ISLWrapper::combination_ranges(domain, kept, largest_coefficient, range_operations)) {
    std::string value;
    for (size_t k = 0; k < terms.size(); k++) {
      long long w = combination.coefficients[k];
      if (w) value += (value.empty() ? "(" : " + (") + std::to_string(w) + "LL * " + terms[k] + ")";
    }
    out += bound_line(program, i, in_else, combination.range, "(" + value + ")");
  }
  return out;
}

// The bounds of each original counter of statement i, which its guard
// rebuilds from the macro's arguments, and of each combination of them
// that a constraint names, over its original domain.
std::string counter_bounds(const Program& program, size_t i, bool in_else) {
  const InstanceGuard& guard = *program.guard[i];
  std::ostringstream domain;
  guard.domain()->print_iscc("S" + std::to_string(i), domain);
  std::string out;
  std::vector<std::string> values;
  std::set<int> positions;
  for (int rank : guard.domain()->get_counters()) {
    std::ostringstream value;
    guard.print_counter(value, rank);
    int position = static_cast<int>(values.size());
    values.push_back(value.str());
    positions.insert(position);
    out += bound_line(program, i, in_else, ISLWrapper::dimension_range(domain.str(), position, range_operations),
                      values.back());
  }
  return out + combination_bounds(program, i, in_else, domain.str(), positions, values);
}

// A convex superset of statement i's instances, in isl's syntax under the
// tuple of its domain: its domain when that is one polyhedron, else its
// last-mode domain `last` (the hull of its pieces), else the union itself.
std::string instances_superset(const Program& program, size_t i, const std::string& last) {
  if (members(program.statement[i]->iteration_domain).size() > 1 && !last.empty()) return last;
  return domain_text(program, i);
}

// The bounds of each argument of statement i's macro (tile and point
// counters, the counters of an untiled statement) that its guard `guard`
// (null for none) does not take as an original counter, and of each
// combination of them that a constraint names, over a superset of its
// instances: a tile loop's counter is no original counter's multiple by a
// known integer, so that only these clamp it.
std::string argument_bounds(const Program& program, size_t i, const InstanceGuard* guard, bool in_else,
                            const std::string& last) {
  std::set<int> rebuilt = guard ? guard->domain()->get_counters() : std::set<int>();
  std::string domain = instances_superset(program, i, last), out;
  std::vector<std::string> values;
  std::set<int> positions;
  for (int rank : program.statement[i]->iteration_domain->get_counters()) {
    int at = static_cast<int>(values.size());
    values.push_back("((long long)(" + get_counter_string(rank) + "))");
    if (rebuilt.count(rank)) continue;
    positions.insert(at);
    out += bound_line(program, i, in_else, ISLWrapper::dimension_range(domain, at, range_operations), values.back());
  }
  return out + combination_bounds(program, i, in_else, domain, positions, values);
}

}  // namespace

std::string statement_bounds(const Program& program, size_t i, bool in_else, const std::string& last) {
  // A statement whose domain the tiling left without a piece names no
  // counter: the nest never calls it.
  if (program.statement[i]->iteration_domain->get_counters().empty()) return "";
  const InstanceGuard* guard = i < program.guard.size() ? program.guard[i] : nullptr;
  return (guard ? counter_bounds(program, i, in_else) : "") + argument_bounds(program, i, guard, in_else, last);
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
