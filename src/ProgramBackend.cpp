// Code generation: the iscc script of the statements' domains and
// schedules, the run of iscc, and the output file around its loop nest.

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "Domain.h"
#include "Expression.h"
#include "FullTiles.h"
#include "GeneratedName.h"
#include "ISLWrapper.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "InstanceGuard.h"
#include "IsccProcess.h"
#include "IteratorRenaming.h"
#include "LastMode.h"
#include "Options.h"
#include "OutputFile.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "Schedule.h"
#include "Statement.h"
#include "Stop.h"

namespace {

const char* const includes =
    "#include <math.h>\n"
    "#include <iostream>\n"
    "#include <stdio.h>\n"
    "\n";

// The names the loop nest calls, defined as functions that evaluate each
// argument once: isl prints a bound of n terms as n - 1 nested calls, which
// macros repeating their arguments would double in size per term. min and
// max return what C's x < y ? x : y gives, the usual arithmetic conversions
// of both operands (unary + promotes a char or short to int), since the
// statements call them too. ceild and floord divide by a positive d: the
// quotient rounds toward zero, and a remainder of the numerator's sign moves
// it by one; neither negates nor adds to the numerator, so nothing
// overflows.
const std::pair<const char*, const char*> prelude_functions[] = {
    {"min", "template <class T, class U> inline auto min(T x, U y) -> decltype(x < y ? +x : +y) "
            "{ return x < y ? +x : +y; }\n"},
    {"max", "template <class T, class U> inline auto max(T x, U y) -> decltype(x < y ? +y : +x) "
            "{ return x < y ? +y : +x; }\n"},
    {"ceild", "template <class T, class U> inline auto ceild(T n, U d) -> decltype(n / d) "
              "{ return n / d + (n % d > 0); }\n"},
    {"floord", "template <class T, class U> inline auto floord(T n, U d) -> decltype(n / d) "
               "{ return n / d - (n % d < 0); }\n"},
};

// The includes, the input's own after them (ahead of the nest's functions,
// which would clash with what their headers declare), and the functions of
// the loop nest, but those the input defines itself (its own min and max,
// which the tiled code carries): the statements keep calling the input's
// function.
std::string prelude(const Program& program) {
  std::set<std::string> carried;
  for (const auto& function : program.functions) carried.insert(function.first);
  std::string text = includes;
  for (const std::string& line : program.includes) text += line + "\n";
  if (!program.includes.empty()) text += "\n";
  for (const auto& function : prelude_functions)
    if (!carried.count(function.first)) text += function.second;
  return text + "\n";
}

// The long long overloads of the input's own min and max (carried, see
// prelude) that take no long long yet: the nest calls them with long long
// bounds, which the input's min(int, int) would narrow.
std::string long_long_overloads(const Program& program) {
  std::map<std::string, bool> wide;
  for (const auto& function : program.functions)
    if (function.first == "min" || function.first == "max")
      wide[function.first] = wide[function.first] || function.second.find("long long") != std::string::npos;
  std::string text;
  for (const auto& name : wide)
    if (!name.second)
      text += "long long " + name.first + "(long long x, long long y) { return x " +
              (name.first == "min" ? "<" : ">") + " y ? x : y; }\n\n";
  return text;
}

// Names in the script and in the texts of the full-tile search.
void print_names(std::ostream& out, const std::set<int>& ranks, int counters) {
  print_iscc_variable_list(out, ranks, counters);
}

// The constant term of an affine date (sums, differences and products by
// constants of counters, parameters and constants); nothing for another
// tree.
std::optional<long long> constant_term(const Expression* e) {
  if (e->is_leaf) return e->is_val ? e->val : 0;
  std::optional<long long> l = constant_term(e->fg), r = constant_term(e->fd);
  if (!l || !r) return std::nullopt;
  if (e->op == PLUS) return *l + *r;
  if (e->op == MINUS) return *l - *r;
  if (e->op == TIMES && e->fg->is_leaf && e->fg->is_val) return e->fg->val * *r;
  if (e->op == TIMES && e->fd->is_leaf && e->fd->is_val) return *l * e->fd->val;
  return std::nullopt;
}

// Date k of schedule s, or nothing past its last date (which prints 0).
const Expression* date_at(const Schedule* s, size_t k) {
  const std::vector<Expression*>& dates = s->schedule->index_mapping;
  return k < dates.size() ? dates[k] : nullptr;
}

// The statements that the dates before date k may interleave with
// statement i: those joined to it through pairs that no earlier constant
// date sets apart. Their date k must move together.
std::vector<size_t> interleaved(const std::vector<Schedule*>& schedules, size_t i, size_t k) {
  std::vector<size_t> group = {i};
  std::vector<bool> in(schedules.size(), false);
  in[i] = true;
  for (size_t g = 0; g < group.size(); g++)
    for (size_t j = 0; j < schedules.size(); j++)
      if (!in[j] && !apart(schedules[group[g]]->schedule, schedules[j]->schedule, k)) {
        in[j] = true;
        group.push_back(j);
      }
  return group;
}

// Per statement and date, a constant to take from the date: the least
// constant term of that date among the statements it may interleave with
// (a date that is not affine counts 0). Dates that move together order
// every pair of instances as before, and the nest scans the points of a
// tile from small values: a date like i + 2147483645, whose values stay
// within int in the input, would otherwise give its point loop the values
// inner_i + 2147483645, which leave int within a tile.
std::vector<std::vector<long long>> date_shifts(const std::vector<Schedule*>& schedules, size_t width) {
  std::vector<std::vector<long long>> shifts(schedules.size(), std::vector<long long>(width, 0));
  for (size_t k = 0; k < width; k++)
    for (size_t i = 0; i < schedules.size(); i++) {
      std::optional<long long> least;
      for (size_t j : interleaved(schedules, i, k)) {
        const Expression* date = date_at(schedules[j], k);
        long long c = date ? constant_term(date).value_or(0) : 0;
        least = least ? std::min(*least, c) : c;
      }
      shifts[i][k] = *least;
    }
  return shifts;
}

// The dates of one schedule in isl's syntax, padded with 0 up to
// `shifts.size()` entries, each less its shift.
void print_dates(std::ostream& out, const IndexFunction* f, const std::vector<long long>& shifts) {
  for (size_t k = 0; k < shifts.size(); k++) {
    if (k) out << ",";
    if (k < f->index_mapping.size()) f->index_mapping[k]->print_iscc(out);
    else out << "0";
    if (shifts[k] > 0) out << "-" << shifts[k];
    if (shifts[k] < 0) out << "+" << -shifts[k];
  }
}

// The tile of statement i in isl's syntax, under the tuple of its domain.
std::string tile_text(const Program& program, size_t i) {
  std::ostringstream out;
  out << "[";
  print_names(out, program.tile[i]->get_parameters(), 0);
  out << "] -> { S" << i << "[";
  print_names(out, program.statement[i]->iteration_domain->get_counters(), 1);
  out << "] : ";
  program.tile[i]->print_iscc_constraints(out);
  out << " }";
  return out.str();
}

// The tile loops of statement i: its counters, then its dates up to the
// first that depends on a point of its tile. Statements of equal texts
// share their tile loops.
std::string tile_loops(const Program& program, size_t i, const IndexFunction* dates,
                       const std::set<int>& points) {
  std::ostringstream out;
  print_names(out, program.statement[i]->iteration_domain->get_counters(), 1);
  out << " ->";
  for (Expression* date : dates->index_mapping) {
    for (int c : date->get_counters())
      if (points.count(c)) return out.str();
    out << " ";
    date->print_iscc(out);
  }
  return out.str();
}

// The union `factor` under the tuple S<i>[counters] and the parameters of
// statement i's domain, or "" when it names a counter or parameter that
// the domain's text does not declare.
std::string factor_text(const Program& program, size_t i, Domain* factor) {
  Polyhedron* domain = program.statement[i]->iteration_domain;
  std::set<int> counters = domain->get_counters(), parameters = domain->get_parameters();
  for (int c : factor->get_counters())
    if (!counters.count(c)) return "";
  for (int p : factor->get_parameters())
    if (!parameters.count(p)) return "";
  std::ostringstream out;
  factor->print_iscc("S" + std::to_string(i), counters, parameters, out);
  return out.str();
}

// Statement i as the full-tile search reads it; false when it is not tiled
// parametrically, or when its domain is a superset of its instances (its
// tiles are not the statement's). The counters that the tile bounds locate a point in its
// tile.
bool tiled_domain(const Program& program, size_t i, const IndexFunction* dates, TiledDomain& tiled) {
  if (i >= program.tile.size() || !program.tile[i] || program.superset[i]) return false;
  std::set<int> counters = program.statement[i]->iteration_domain->get_counters();
  std::set<int> points = program.tile[i]->get_counters();
  for (int c : points) {
    if (!counters.count(c)) return false;
    tiled.points.insert(isl_name(get_counter_string(c)));
  }
  std::ostringstream domain;
  program.statement[i]->iteration_domain->print_iscc("S" + std::to_string(i), domain);
  tiled.domain = domain.str();
  tiled.tile = tile_text(program, i);
  tiled.loops = tile_loops(program, i, dates, points);
  if (i < program.domain_factors.size())
    for (Domain* factor : program.domain_factors[i]) {
      tiled.factors.push_back(factor_text(program, i, factor));
      if (tiled.factors.back().empty()) {
        tiled.factors.clear();
        break;
      }
    }
  return true;
}

// "F<i> := <full-tile instances of statement i>;" for every statement that
// has some, then "F := " their names joined by "+" and ";". Returns whether
// any statement has full tiles: none when their search exceeds its budget
// of work, which the trace says.
bool print_full_tiles(std::ostream& out, const Program& program, const std::vector<Schedule*>& schedules) {
  std::vector<TiledDomain> tiled;
  std::vector<size_t> statement;
  for (size_t i = 0; i < program.statement.size(); i++) {
    TiledDomain t;
    if (!tiled_domain(program, i, schedules[i]->schedule, t)) continue;
    tiled.push_back(t);
    statement.push_back(i);
  }
  std::optional<std::vector<std::string>> found = full_tile_instances(tiled);
  if (!found) {
    std::cout << "Full tiles: the search exceeded its budget of work, every instance runs together" << std::endl;
    return false;
  }
  const std::vector<std::string>& full = *found;
  std::string names;
  for (size_t k = 0; k < full.size(); k++) {
    if (full[k].empty()) continue;
    out << "F" << statement[k] << " := " << full[k] << ";\n";
    names += (names.empty() ? "F" : "+F") + std::to_string(statement[k]);
  }
  if (!names.empty()) out << "F := " << names << ";\n";
  return !names.empty();
}

// "<form><i> := <domain>;" for every statement with a domain of its own in
// a form of the last mode (`form` "L" or "B"), then "<form> := " the
// form's domains joined by "+" (D<i> for the others) and ";". Returns
// whether any statement has one.
bool print_last_mode(std::ostream& out, const std::string& form, const std::vector<std::string>& domains) {
  std::string names;
  for (size_t i = 0; i < domains.size(); i++) {
    std::string name = (domains[i].empty() ? "D" : form) + std::to_string(i);
    if (!domains[i].empty()) out << name << " := " << domains[i] << ";\n";
    names += (i ? "+" : "") + name;
  }
  bool any = std::any_of(domains.begin(), domains.end(), [](const std::string& d) { return !d.empty(); });
  if (any) out << form << " := " << names << ";\n";
  return any;
}

std::string script_text(const Program& program, const std::vector<Schedule*>& schedules,
                        const std::vector<std::string>& last) {
  std::ostringstream out;
  program.print_iscc(out);
  bool last_mode = print_last_mode(out, "L", last);
  // Past the budget of L's nest, whose cost grows with its domains'
  // shapes, the boxes within the cells, whose cost does not. Statements
  // that scan supersets past their crossing budget have no last-mode
  // domains of their own: where only they are tiled so, their boxes are
  // the else schedule too.
  bool box_mode = print_last_mode(out, "B", box_mode_domains(program, last));
  if (box_mode && !last_mode) out << "L := B;\n";
  last_mode = last_mode || box_mode;
  // The full tiles run apart from the partial ones, in loops that test
  // nothing about the tile they are in.
  bool full_tiles = print_full_tiles(out, program, schedules);
  size_t width = 0;
  for (Schedule* s : schedules) width = std::max(width, s->schedule->index_mapping.size());
  // A parameter that only a date uses (a ZIL-tiled statement's domain is
  // over the split parameters) must be declared too: isl would read it as
  // an output dimension or refuse the map.
  std::set<int> parameters = program.get_parameters();
  for (Schedule* s : schedules)
    for (Expression* date : s->schedule->index_mapping) {
      std::set<int> own = date->get_parameters();
      parameters.insert(own.begin(), own.end());
    }
  std::vector<std::vector<long long>> shifts = date_shifts(schedules, width);
  out << "theta := [";
  print_names(out, parameters, 0);
  out << "] -> { ";
  for (size_t i = 0; i < program.statement.size(); i++) {
    if (i) out << "; ";
    out << "S" << i << "[";
    // A domain the tiling left without a piece names no counter, while its
    // dates may compute with them: isl takes the statement's tuple from the
    // dates then (the map meets no point of D anyway).
    std::set<int> counters = program.statement[i]->iteration_domain->get_counters();
    if (counters.empty()) counters = Expression::get_counters(schedules[i]->schedule->index_mapping);
    print_names(out, counters, 1);
    out << "] -> [";
    print_dates(out, schedules[i]->schedule, shifts[i]);
    out << "]";
  }
  out << " };\n";
  // A loop of a scan may run other statements too: each gets bounds, in
  // every nest when a statement scans a superset there, else in the last
  // mode's only.
  bool scans = std::find(program.superset.begin(), program.superset.end(), true) != program.superset.end();
  if (scans || last_mode)
    for (size_t i = 0; i < program.statement.size(); i++) out << statement_bounds(program, i, !scans, last[i]);
  out << "tiled_program := theta*D;\n"
      << "codegen tiled_program" << (full_tiles ? " isolating theta*F" : "") << (last_mode ? " else theta*L else theta*B" : "");
  if (program.exact_mode_operations) out << " within " << program.exact_mode_operations;
  out << ";\n";
  return out.str();
}

// "#define S<i>(c1,...) { <statement>; }", counters in registry order,
// written with every counter parenthesised; with a guard, the statement
// runs where its test holds: "{ if (<test>) { <statement>; } }". The nest
// passes the counters in long long, and the statement rebuilds its own
// from them, block_size and the parameters in long long, in its subscripts
// and its reads of counters (it reads those as int); its other reads of
// variables keep the original's arithmetic.
void print_macro(std::ostream& out, const Statement& s, int i, const InstanceGuard* guard) {
  std::set<int> counters = s.iteration_domain->get_counters();
  out << "#define S" << i << "(";
  print_variable_list(out, counters, ",", 1);
  out << ") { ";
  if (guard) {
    out << "if (";
    guard->print_condition(out);
    out << ") { ";
  }
  if (Options::option["trace"]) {
    out << "printf(\"";
    for (int c : counters) out << get_counter_string(c) << "=%lld ";
    out << "\\n\"";
    for (int c : counters) out << ",(long long)(" << get_counter_string(c) << ")";
    out << "); ";
  }
  out << s << (guard ? "; } }\n" : "; }\n");
}

// The guard of statement i when it scans a superset of its domain: always
// when its domain is one, and in the last mode when that mode gives it one
// (`last`); else null.
const InstanceGuard* guard_of(const Program& program, size_t i, bool last_mode, const std::vector<std::string>& last) {
  if (i >= program.guard.size()) return nullptr;
  bool superset = program.superset[i] || (last_mode && !last[i].empty());
  return superset ? program.guard[i] : nullptr;
}

std::string output_head(const Program& program, bool last_mode, const std::vector<std::string>& last) {
  std::ostringstream out;
  out << prelude(program);
  for (const std::string& declaration : program.variable_declaration) out << declaration << "\n";
  out << "\n";
  for (const auto& function : program.functions) out << function.second << "\n\n";
  out << long_long_overloads(program);
  expression_print_parenthesis = 1;
  for (size_t i = 0; i < program.statement.size(); i++)
    print_macro(out, *program.statement[i], static_cast<int>(i), guard_of(program, i, last_mode, last));
  expression_print_parenthesis = 0;
  out << "\n"
      << "void tiled_kernel() {\n";
  for (const std::string& line : program.kernel_entry) out << line << "\n";
  return out.str();
}

void write_or_stop(const std::string& name, const std::string& text) {
  std::string failure = replace_file(name, text);
  if (!failure.empty()) stop(std::cout, "Program::backend_iscc: " + failure);
}

// Nothing is written when an output name leads to the input itself (a
// link, or a hard link): replacing it would destroy the input.
void refuse_to_overwrite(const std::string& input, const std::vector<std::string>& outputs) {
  for (const std::string& output : outputs)
    if (same_file(output, input))
      stop(std::cout, "Program::backend_iscc: " + output + " is the input file " + input + "; nothing written");
}

bool calls(const std::string& nest, const std::string& macro) {
  for (size_t at = nest.find(macro + "("); at != std::string::npos; at = nest.find(macro + "(", at + 1))
    if (at == 0 || !(std::isalnum(static_cast<unsigned char>(nest[at - 1])) || nest[at - 1] == '_')) return true;
  return false;
}

// Whether the brackets of `nest` close in order and its last statement is
// complete.
bool is_whole(const std::string& nest) {
  std::string open;
  for (char c : nest) {
    if (c == '(' || c == '[' || c == '{') open += c;
    if (c == ')' || c == ']' || c == '}') {
      char opener = c == ')' ? '(' : c == ']' ? '[' : '{';
      if (open.empty() || open.back() != opener) return false;
      open.pop_back();
    }
  }
  size_t last = nest.find_last_not_of(" \t\n");
  return open.empty() && (last == std::string::npos || nest[last] == ';' || nest[last] == '}');
}

// iscc's output must be a whole loop nest that calls every statement with
// a point for some parameter values; a nest without statements is fine
// when no statement has one.
void check_nest(const Program& program, const std::string& nest) {
  if (!is_whole(nest)) stop(std::cout, "Program::backend_iscc: iscc's output is not a whole loop nest");
  for (size_t i = 0; i < program.statement.size(); i++) {
    std::string macro = "S" + std::to_string(i);
    if (calls(nest, macro)) continue;
    std::ostringstream domain;
    program.statement[i]->iteration_domain->print_iscc(macro, domain);
    if (ISLWrapper::may_have_points(domain.str()))
      stop(std::cout, "Program::backend_iscc: iscc's loop nest does not call " + macro);
  }
}

// What gives a statement fewer pieces, and so an exact nest: said by the
// refusal past every budget and by the warnings of the supersets.
const char* const fewer_pieces =
    "tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without "
    "denominators, or constant tile sizes along hyperplanes of full rank";

// The warning of statement i, which scans a convex superset of its domain
// and tests every point: past the crossing budget of its tiling (its
// domain is such a superset), else because the nest came from the last
// mode. It names the assignment's file and line, or the input file for a
// statement that has none.
std::string superset_warning(const Program& program, size_t i, const std::string& file) {
  const std::string& location = program.statement[i]->location;
  std::string why = program.superset[i]
                        ? "the crossing of its tiling's pieces exceeded its budget of work"
                        : "the program's exact loop nests exceeded the code generator's budget of work (its last mode)";
  return (location.empty() ? file : location) + ": warning: statement #" + std::to_string(i) +
         " scans one convex superset of its domain and tests every point, because " + why +
         ": its code is exact but slower than an exact nest; for an exact nest, " + fewer_pieces;
}

// One warning on standard error per statement whose macro tests every
// point of a superset, so that the user knows which code is slower and why.
void warn_of_supersets(const Program& program, bool last_mode, const std::vector<std::string>& last,
                       const std::string& file) {
  for (size_t i = 0; i < program.statement.size(); i++)
    if (guard_of(program, i, last_mode, last)) std::cerr << superset_warning(program, i, file) << std::endl;
}

size_t pieces_of(Polyhedron* domain) {
  return domain->is_domain() ? static_cast<Domain*>(domain)->domain.size() : 1;
}

// The refusal of a program whose nest exceeds the code generator's budget
// of work in every mode, the last one included: it names the statement of
// most pieces, whose share of the work is the largest, and what gives
// fewer pieces.
std::string over_budget(const Program& program) {
  size_t most = 0;
  for (size_t i = 1; i < program.statement.size(); i++)
    if (pieces_of(program.statement[i]->iteration_domain) > pieces_of(program.statement[most]->iteration_domain))
      most = i;
  size_t pieces = pieces_of(program.statement[most]->iteration_domain);
  return "Program::backend_iscc: statement #" + std::to_string(most) + ": its " + std::to_string(pieces) +
         (pieces == 1 ? " piece exceeds" : " pieces exceed") + " the code generator's budget of work, even with the full tiles run with the partial "
         "ones and with every tiled statement scanning one convex superset of its domain; " + fewer_pieces;
}

// The largest absolute coefficient of a counter or parameter in the
// constraints of `domain`'s members, at least 1; a constraint that is not
// affine (over a division) counts none.
long largest_coefficient(Polyhedron* domain) {
  std::vector<Polyhedron*> members = {domain};
  if (domain->is_domain()) members = static_cast<Domain*>(domain)->domain;
  long largest = 1;
  for (Polyhedron* member : members)
    for (const Inequation* c : member->constraints) {
      std::vector<std::vector<int>> rows;
      try {
        rows = c->to_matrix();
      } catch (const char*) {
        continue;
      }
      for (const std::vector<int>& row : rows)
        for (size_t k = 0; k + 1 < row.size(); k++) largest = std::max(largest, std::labs(static_cast<long>(row[k])));
    }
  return largest;
}

// The refusal of a program whose script iscc could not evaluate within its
// budget of work (reading the tiled domains and intersecting them with the
// schedule), before building any nest. It names the statement whose domain
// weighs most in that work by the code generator's own measure: its
// pieces, times a tenth of its largest coefficient above 10 (isl's
// operations then work on larger numbers, see iscc's budgets), at the
// assignment's file and line (the input file for a statement that has
// none).
std::string evaluation_over_budget(const Program& program, const std::string& file) {
  auto weight = [&](size_t i) {
    Polyhedron* domain = program.statement[i]->iteration_domain;
    return static_cast<unsigned long long>(pieces_of(domain)) *
           static_cast<unsigned long long>(std::max(1L, largest_coefficient(domain) / 10));
  };
  size_t most = 0;
  for (size_t i = 1; i < program.statement.size(); i++)
    if (weight(i) > weight(most)) most = i;
  Polyhedron* domain = program.statement[most]->iteration_domain;
  const std::string& location = program.statement[most]->location;
  size_t pieces = pieces_of(domain);
  return (location.empty() ? file : location) + ": error: statement #" + std::to_string(most) +
         ": iscc's evaluation of the tiled domains exceeded its budget of work, before any loop nest was built; "
         "this statement's domain weighs most in it (" + std::to_string(pieces) + (pieces == 1 ? " piece" : " pieces") +
         ", coefficients up to " + std::to_string(largest_coefficient(domain)) +
         "): tile it with smaller tile sizes, ratios or lattice entries, or with fewer pieces";
}

// The parameters the tiled code holds in int: the input's (a local kept
// apart under a name of its own included) and block_size. Their splits
// (outer_N, inner_N), names no input may take, are long long.
std::set<std::string> int_parameters() {
  std::set<std::string> names;
  for (const std::string& name : get_parameters_string())
    if (is_own_local_name(name) || (name.rfind("outer_", 0) != 0 && name.rfind("inner_", 0) != 0))
      names.insert(name);
  return names;
}

}  // namespace

void Program::backend_iscc(const std::vector<Schedule*>& schedules, const std::string& file) const {
  std::string base = file.substr(0, file.size() - 2);
  std::string script = base + ".iscc", output = base + ".tiled.cc";
  refuse_to_overwrite(file, {script, output});
  std::vector<std::string> last = last_mode_domains(*this);
  std::string text = script_text(*this, schedules, last);
  write_or_stop(script, text);
  std::cout << "Iscc codegen..." << std::endl;
  IsccNest nest = run_iscc(text);
  if (nest.outcome == IsccNest::Outcome::kCodegenOverBudget) stop(std::cout, over_budget(*this));
  if (nest.outcome == IsccNest::Outcome::kEvaluationOverBudget) stop(std::cerr, evaluation_over_budget(*this, file));
  bool last_mode = nest.outcome == IsccNest::Outcome::kLastMode;
  check_nest(*this, nest.text);
  std::string head = output_head(*this, last_mode, last);
  std::string named = rename_clashing_iterators(with_input_names(nest.text), head);
  write_or_stop(output, head + in_long_long(named, int_parameters()) + "}\n");
  warn_of_supersets(*this, last_mode, last, file);
}
