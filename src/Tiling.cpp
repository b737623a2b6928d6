#include "Tiling.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <numeric>
#include <sstream>

#include "Domain.h"
#include "Expression.h"
#include "GeneratedName.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "InstanceGuard.h"
#include "KernelAssumptions.h"
#include "Matrix.h"
#include "MatrixPrinter.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Program.h"
#include "Rank.h"
#include "RectangularTile.h"
#include "Schedule.h"
#include "Statement.h"
#include "ValueOutOfRange.h"
#include "Stop.h"
#include "SyntaxTree.h"
#include "ZILWrapper.h"

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

// True when `f` uses a counter that is not in `own`: iscc would read it as
// an unbounded dimension of the statement.
bool uses_foreign_counter(const IndexFunction* f, const std::vector<int>& own) {
  for (int c : Expression::get_counters(f->index_mapping))
    if (std::find(own.begin(), own.end(), c) == own.end()) return true;
  return false;
}

// The declarations of the split parameters. They run at program start,
// before the caller may have set block_size (a plain global is 0 until
// then), so they divide only by a positive block_size; the kernel computes
// the splits again on entry. They are long long: the code generator adds
// them to other sizes and tile counters (outer_N + outer_2147483645_const,
// -inner_N + inner_M), sums that the original never forms and that an int
// would not hold.
std::vector<std::string> split_declarations(const std::map<std::string, std::string>& splits) {
  std::vector<std::string> declarations;
  for (const auto& split : splits)
    declarations.push_back("long long " + split.first + " = block_size > 0 ? " + split.second + " : 0;");
  return declarations;
}

// The input's own declarations in file order (the carriers left out), then
// the tiling's, each text once; block_size is a run-time value of the
// caller of the tiled code.
std::vector<std::string> output_declarations(const std::vector<std::string>& input,
                                             const std::vector<std::string>& tiling) {
  std::vector<std::string> result;
  std::set<std::string> seen = {"int block_size;"};
  for (size_t k = carrier_count; k < input.size(); k++)
    if (seen.insert(input[k]).second) result.push_back(input[k]);
  for (const std::string& declaration : tiling)
    if (seen.insert(declaration).second) result.push_back(declaration);
  return result;
}

std::string pass_message(int i, const std::string& why) {
  return "Tiling::apply: statement #" + std::to_string(i) + ": " + why;
}

[[noreturn]] void pass_stop(int i, const std::string& why) { stop(std::cerr, pass_message(i, why)); }

// The same refusal at the line of the statement's assignment.
[[noreturn]] void statement_stop(const Statement* s, int i, const std::string& why) {
  if (s->location.empty()) pass_stop(i, why);
  stop(std::cerr, s->location + ": error: statement #" + std::to_string(i) + ": " + why);
}

// Runs the work on statement s: a value that the int rows of the model
// cannot hold, or that overflows PolyLib, refuses the input at the line of
// the statement it comes from.
template <typename Work>
void at_statement(const Statement* s, Work work) {
  try {
    work();
  } catch (const ValueOutOfRange& e) {
    stop(std::cerr, out_of_range_message(s->location, e));
  } catch (const PolylibOverflow& e) {
    stop(std::cerr, out_of_range_message(s->location, e));
  }
}

// Bounds on the pieces of the parametric tiling of one statement. The
// pieces of one constraint that can hold points differ in the residue of a
// size parameter modulo the tile ratio (or in the block offset of a
// coefficient). Past the budgets of their crossing and of the code
// generator, a statement scans one convex superset of its pieces (the last
// mode), but the tiling library makes every piece of every constraint
// first, in every mode, and its work grows with their square: refused up
// front, a constraint of more pieces than this (tile_ratio[4000] on one
// loop tiles in 11 s, tile_ratio[10000] would take a minute).
const long long constraint_piece_limit = 4096;

// The crossing of a statement's pieces stops past this many pieces kept by
// one cross product: their nest needs more work than the code generator's
// budget (at least 14000 operations a piece measured, 28 million for 2000
// pieces), and coalescing them alone takes seconds.
const long long kept_piece_limit = 2000;

// It stops past this many emptiness tests of intersections, some seconds
// of work (0.3 to 1.1 ms a test measured); the tests, examples and
// benchmarks need at most 1501.
const long long cross_product_test_limit = 10000;

// It stops past this many pairs of pieces compared by its coalescings
// (the sum of the squares of their sizes): about 15 to 25 isl operations
// a pair, some microseconds each, 300000 pairs a few seconds. The tests,
// examples and benchmarks compare at most 134224 for one statement; the
// coalescings that took minutes compared millions.
const long long coalesced_pair_limit = 300000;

// It stops past this many emptiness tests of the crossings of the
// constraints over the same loops: two lists of s + 1 pieces each for a
// tile ratio s (a ratio of 100 on one loop needs 10203 of them, the other
// tests, examples and benchmarks at most 6092; some seconds for 100000).
const long long group_test_limit = 100000;

// The budget of the exact modes of code generation for a program with a
// constant tiling along hyperplanes that skew the lattice: an isl
// operation took up to 70 microseconds on such tiles (about 1 elsewhere),
// the tests needed at most 234081 operations, and a 4-D box under four
// skewed hyperplanes of determinant 15 ran for minutes.
const unsigned long skewed_constant_operations = 500000;

// The budget of the crossing of one statement's pieces. Past it the
// statement scans one convex superset of its pieces and tests each point.
ZILWrapper::CrossingBudget crossing_budget() {
  return ZILWrapper::CrossingBudget{kept_piece_limit, cross_product_test_limit, coalesced_pair_limit,
                                    group_test_limit};
}

// "[v0][v1]..." of a directive's integer arguments.
std::string subscripts(const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += "[" + std::to_string(v) + "]";
  return text;
}

// The names of the input's own variables, the carriers left out.
std::set<std::string> input_names(const Program* program) {
  std::set<std::string> names;
  const std::vector<std::vector<std::string>>& all = program->declared_names;
  for (size_t k = carrier_count; k < all.size(); k++) names.insert(all[k].begin(), all[k].end());
  return names;
}

std::set<int> parameters_of(const IndexFunction* f) {
  std::set<int> parameters;
  for (Expression* e : f->index_mapping) {
    std::set<int> used = e->get_parameters();
    parameters.insert(used.begin(), used.end());
  }
  return parameters;
}

// A directive name that is no loop counter is read as a size parameter: one
// declared nowhere (often a misspelt counter) would leave the tiled code
// using a variable that does not exist.
void check_declared(int i, const std::set<int>& parameters, const std::set<std::string>& declared,
                    const std::set<std::string>& allowed) {
  for (int p : parameters) {
    const std::string& name = get_parameter_string(p);
    if (!declared.count(name) && !allowed.count(name)) pass_stop(i, "'" + name + "' is not declared");
  }
}

// outer_N = N / block_size and inner_N = N % block_size, of a size
// parameter or a hidden constant.
void declare_split(TilingPass& pass, const std::string& name) {
  pass.splits[split_name(true, name)] = name + " / block_size";
  pass.splits[split_name(false, name)] = name + " % block_size";
  if (!is_hidden_constant(name)) pass.sizes.insert(name);
}

// A parametric tiling rewrites the schedule's dimensions over the inner
// counters only (block_size times a tile counter is not affine). Such a
// dimension orders the points as its loop counters do only when every tile
// counter those loop counters depend on is fixed by an earlier tiled
// dimension; otherwise the tiled code would run in another order than the
// schedule asks. The j-th tiled dimension fixes tile counter j; row k of
// `depends` belongs to counters[k], and its entry j is non-zero when that
// counter's tiled expression uses tile counter j (j < nb_tiles).
void check_tiles_ahead(int i, const IndexFunction* schedule, const std::vector<int>& tile_dimensions,
                       const std::vector<int>& counters, const IntMatrix& depends, size_t nb_tiles) {
  std::set<size_t> fixed;
  for (size_t d = 0; d < schedule->index_mapping.size(); d++) {
    auto marker = std::find(tile_dimensions.begin(), tile_dimensions.end(), static_cast<int>(d));
    if (marker != tile_dimensions.end()) {
      fixed.insert(marker - tile_dimensions.begin());
      continue;
    }
    for (int c : schedule->index_mapping[d]->get_counters()) {
      auto row = std::find(counters.begin(), counters.end(), c);
      if (row == counters.end()) continue;
      for (size_t j = 0; j < nb_tiles; j++)
        if (depends[row - counters.begin()][j] != 0 && !fixed.count(j))
          pass_stop(i, "schedule dimension " + std::to_string(d) +
                           " uses a loop counter ahead of a tiled dimension it depends on");
    }
  }
}

// Whether some invariant factor of the loop-counter parts of `hyperplanes`
// over `loops` exceeds 1 (a determinant other than +-1 for as many
// hyperplanes as loops): the hyperplanes' values then skip integers, and
// isl's work on the tiles runs through strides of large numbers.
bool skews_lattice(IndexFunction* hyperplanes, const std::vector<int>& loops) {
  IntMatrix linear = hyperplanes->to_matrix_linear(loops);
  if (linear.empty() || loops.empty()) return false;
  IntMatrix smith = snf(linear)[1];
  for (size_t k = 0; k < smith.size() && k < loops.size(); k++)
    if (std::abs(smith[k][k]) > 1) return true;
  return false;
}

// The rank of the loop-counter parts of `hyperplanes` over `loops`, their
// parameter and constant terms set aside.
int loop_counter_rank(IndexFunction* hyperplanes, const std::vector<int>& loops) {
  IntMatrix linear = hyperplanes->to_matrix_linear(loops);
  if (linear.empty()) return 0;
  IntMatrix smith = snf(linear)[1];
  int rank = 0;
  for (size_t k = 0; k < smith.size() && k < loops.size(); k++)
    if (smith[k][k] != 0) rank++;
  return rank;
}

// The rank of the marker __T among the parameters, -1 when unregistered.
int marker_rank() {
  auto marker = parameter_rank.find("__T");
  return marker == parameter_rank.end() ? -1 : marker->second;
}

// Sums and differences of counters, parameters and constants, and their
// products by constants: what to_vector() reads.
bool is_affine(const Expression* e) {
  if (e->is_leaf) return !e->is_an_enumeration();
  switch (e->op) {
    case PLUS: case MINUS: return is_affine(e->fg) && is_affine(e->fd);
    case TIMES: return (e->fg->is_constant() && is_affine(e->fd)) || (e->fd->is_constant() && is_affine(e->fg));
    default: return false;
  }
}

// The coefficient of __T in an affine date.
int marker_coefficient(const Expression* date) { return date->to_vector()[get_nb_counters() + marker_rank()]; }

// A copy of `schedule` in which __T stands for counters[j] in the j-th
// tiled dimension dims[j]: a date such as -__T keeps its meaning, the
// tiles in decreasing order of their counter. New function owned by the
// caller.
IndexFunction* mark_tiled_dimensions(IndexFunction* schedule, const std::vector<int>& dims,
                                     const std::vector<Expression*>& counters) {
  IndexFunction* g = schedule->clone();
  for (size_t j = 0; j < dims.size(); j++) {
    Expression* date = g->index_mapping[dims[j]];
    g->index_mapping[dims[j]] = date->substitute_parameters({{marker_rank(), counters[j]}});
    delete date;
  }
  return g;
}

// The smallest block size the tiled code runs with. "-min-block-size"
// bounds the rectangular tilings, whose pieces hold from that value on; a
// general tiling holds for every block size, so that a program without a
// rectangular tiling runs from 1 on.
long long least_block_size(const Tiling& tiling) {
  bool rectangular = std::count(tiling.is_rectangular_ZIL.begin(), tiling.is_rectangular_ZIL.end(), 1) > 0;
  return rectangular && Options::option["min-block-size"] ? std::max(1, Options::min_block_size) : 1;
}

// The least common multiple of the lattice denominators of every general
// tiling: the tiled code runs only with block sizes that are its multiples,
// and at least one of them must fit in an int from `least` on.
long long lattices_block_multiple(const Tiling& tiling, long long least) {
  long long multiple = 1;
  for (size_t i = 0; i < tiling.tile_lattice.size(); i++) {
    if (!tiling.is_general_ZIL[i]) continue;
    multiple = std::lcm(multiple, ZILWrapper::lattice_block_multiple(tiling.tile_lattice[i]));
    if (multiple > INT_MAX) break;
  }
  if (multiple > INT_MAX || (least + multiple - 1) / multiple * multiple > INT_MAX)
    stop(std::cerr, "Tiling::apply: the lattice denominators leave no block size from the minimum block size on "
                    "within int (they ask for a multiple of " +
                        std::to_string(multiple) + ")");
  return multiple;
}

// Tile counter j of a lattice with a denominator above 1 is
// D_j * outer_j + lattice_offset_j: the offset counter follows outer_j in
// the schedule (the j-th tiled dimension dims[j]), so that the pair orders
// the tiles as the lattice counter itself would. A date a * __T + rest
// gives the pair (a * outer_j + rest, a * lattice_offset_j), which orders
// the tiles of the statement as the date itself would. (The single date
// D_j * outer_j + lattice_offset_j would order them alike, but the code
// generator then works through a division and takes minutes.) `written`
// holds the dates as the directive wrote them.
void follow_with_offsets(IndexFunction* schedule, const IndexFunction* written, const std::vector<int>& dims,
                         const std::vector<int>& offsets) {
  std::vector<Expression*>& dates = schedule->index_mapping;
  for (size_t j = dims.size(); j-- > 0;) {
    if (offsets[j] < 0) continue;
    Expression offset(get_counter_string(offsets[j]));
    Expression coefficient(marker_coefficient(written->index_mapping[dims[j]]));
    dates.insert(dates.begin() + dims[j] + 1,
                 coefficient.is_value(1) ? offset.clone() : new Expression(TIMES, &coefficient, &offset));
  }
}

// The reduced denominators of the tiled dimensions of a general tiling,
// all 1 for another kind.
std::vector<int> tiled_denominators(const Tiling& tiling, int i) {
  std::vector<int> result(tiling.tile_dimensions[i].size(), 1);
  if (!tiling.is_general_ZIL[i]) return result;
  std::vector<int> reduced = ZILWrapper::reduced_lattice(tiling.tile_lattice[i]).back();
  for (size_t j = 0; j < result.size(); j++) result[j] = reduced[j];
  return result;
}

bool is_counter_read(const Rhs* tree) { return tree->is_an_array && tree->array_id.empty(); }

// `tree` (taken over, may be null) with every read of a loop counter that
// is not cast yet cast to int; the result is owned by the caller. The
// tiled nest computes the statements' arguments in long long, and a
// statement would read an int counter in that type (against an unsigned,
// or in a variadic call, C then computes otherwise).
Rhs* with_int_counter_reads(Rhs* tree) {
  if (tree && is_counter_read(tree)) {
    Rhs* cast = new Rhs(V_SgCastExp, "int", {tree});
    delete tree;
    return cast;
  }
  if (!tree || !tree->is_op || (tree->op_id == V_SgCastExp && is_counter_read(tree->successor[0]))) return tree;
  for (Rhs*& operand : tree->successor) operand = with_int_counter_reads(operand);
  return tree;
}

// The splits, computed on entry of the kernel: the caller sets the sizes
// and block_size at run time, after the file-scope initialisers ran.
std::vector<std::string> kernel_entry_lines(const std::map<std::string, std::string>& splits) {
  std::vector<std::string> lines;
  for (const auto& split : splits) lines.push_back("  " + split.first + " = " + split.second + ";");
  return lines;
}

}  // namespace

Tiling::~Tiling() {
  for (IndexFunction* f : tile_hyperplans) delete f;
  for (Polyhedron* p : tile_shape) delete p;
  for (IndexFunction* f : schedule) delete f;
  for (Polyhedron* p : tile) delete p;
  for (auto& counter : tile_counter) delete counter.second;
  for (auto& vertices : tile_vertices)
    for (auto& vertex : vertices)
      for (auto& entry : vertex) delete entry.second;
}

// Schedules may use the marker __T besides the declared names, tile shapes
// block_size. The marker anywhere else would be read as a size parameter
// that the tiled code never declares.
void Tiling::check_directive_names(int i, const std::set<std::string>& declared) const {
  auto marker = parameter_rank.find("__T");
  if (marker != parameter_rank.end() && (parameters_of(tile_hyperplans[i]).count(marker->second) ||
                                         tile_shape[i]->get_parameters().count(marker->second)))
    pass_stop(i, "__T may only mark a schedule dimension");
  check_declared(i, parameters_of(tile_hyperplans[i]), declared, {});
  check_declared(i, parameters_of(schedule[i]), declared, {"__T"});
  check_declared(i, tile_shape[i]->get_parameters(), declared, {"block_size"});
}

// Every check of the directives that needs no tiling, for every statement,
// before the first one is tiled: a fault in the directives of the last
// statement stops the run at once, not after the work on the others.
void Tiling::check_directives(Program* program, const std::set<std::string>& declared) const {
  int n = static_cast<int>(program->statement.size());
  for (int i = 0; i < n; i++) check_directive_names(i, declared);
  for (int i = 0; i < n; i++) {
    const Statement* s = program->statement[i];
    if (uses_foreign_counter(schedule[i], s->surrounding_counters))
      pass_stop(i, "the schedule uses a counter outside the statement's loops");
    if (is_constant_tiling[i]) {
      if (uses_foreign_counter(tile_hyperplans[i], s->surrounding_counters))
        pass_stop(i, "a tiling hyperplane uses a counter outside the statement's loops");
    } else if (is_rectangular_ZIL[i]) {
      at_statement(s, [&] { check_rectangular_ZIL(i, s); });
    } else if (is_general_ZIL[i]) {
      at_statement(s, [&] { check_general_ZIL(i, s); });
    } else if (uses_parameter(schedule[i], "__T")) {
      pass_stop(i, "schedule uses __T but the statement is not tiled");
    }
    check_tiled_dates(s, i);
  }
  for (int i = 0; i < n; i++) check_offset_dates(program, i);
}

// A tiled date keeps its expression, __T standing for the tile counter:
// it must be affine in __T with a non-zero coefficient. A parametric tiling
// writes the loop counters of its dates over the points inside a tile, so
// that a loop counter beside __T would not be the statement's own; a
// constant tiling keeps them.
void Tiling::check_tiled_dates(const Statement* s, int i) const {
  for (int d : tile_dimensions[i]) {
    const Expression* date = schedule[i]->index_mapping[d];
    std::ostringstream text;
    date->print(text);
    if (!is_affine(date) || marker_coefficient(date) == 0)
      statement_stop(s, i, "the tiled date '" + text.str() + "' is not affine in __T with a non-zero coefficient");
    if (!is_constant_tiling[i] && !date->get_counters().empty())
      statement_stop(s, i, "the tiled date '" + text.str() + "' uses loop counters beside __T, which a parametric "
                           "tiling reads inside a tile, not as the statement's own");
  }
}

// Whether statements i and k, of the same tiled dimensions, date alike
// those of a denominator above 1 (`denominators`, one per tiled dimension).
bool Tiling::same_offset_dates(int i, int k, const std::vector<int>& denominators) const {
  for (size_t j = 0; j < denominators.size(); j++) {
    int d = tile_dimensions[i][j];
    if (denominators[j] > 1 && schedule[i]->index_mapping[d]->to_vector() != schedule[k]->index_mapping[d]->to_vector())
      return false;
  }
  return true;
}

// The offset dates that follow the tiled dimensions of a lattice with
// denominators shift the later dates of its schedule: a statement that
// shares those loops must get the same dates at the same places, or the
// dates of the two would be compared out of step. Statements of two static
// control parts share no loop: the parts run one after the other.
void Tiling::check_offset_dates(const Program* program, int i) const {
  std::vector<int> own = tiled_denominators(*this, i);
  if (std::count(own.begin(), own.end(), 1) == static_cast<long>(own.size())) return;
  for (size_t k = 0; k < schedule.size(); k++) {
    if (static_cast<int>(k) == i || program->statement[k]->part != program->statement[i]->part ||
        apart(schedule[i], schedule[k], tile_dimensions[i][0]))
      continue;
    if (tile_dimensions[k] != tile_dimensions[i] || tiled_denominators(*this, static_cast<int>(k)) != own)
      pass_stop(i, "statement #" + std::to_string(k) +
                       " shares the tile loops of a lattice with denominators, but not its tiled dimensions and "
                       "denominators");
    if (!same_offset_dates(i, static_cast<int>(k), own))
      statement_stop(program->statement[i], i,
                     "statement #" + std::to_string(k) +
                         " shares the tile loops of a lattice with denominators, but not its dates of the "
                         "dimensions with offsets: the offset dates order the tiles as the dates would only between "
                         "equal dates");
  }
}

// The hyperplanes must give back every loop counter: an integer left
// inverse on the domain, and as many independent loop-counter parts as the
// statement has loops (parameter and constant terms cannot stand for a
// loop: such a tiling would run the statement at the wrong iterations).
void Tiling::check_rectangular_ZIL(int i, const Statement* s) const {
  IndexFunction* hyperplanes = tile_hyperplans[i];
  size_t m = hyperplanes->index_mapping.size();
  if (tile_dimensions[i].size() > m) pass_stop(i, "more tiled schedule dimensions than hyperplanes");
  IntMatrix inverse = ZILWrapper::check_rectangular_tiling(s->iteration_domain, hyperplanes, tile_ratio[i]);
  size_t loops = s->surrounding_counters.size();
  int rank = loop_counter_rank(hyperplanes, s->surrounding_counters);
  if (rank != static_cast<int>(loops))
    pass_stop(i, "the tiling hyperplanes must have one independent loop-counter part per loop: rank " +
                     std::to_string(rank) + " for " + std::to_string(loops) + " loops");
  std::vector<int> counters = ZILWrapper::to_vec_int(s->iteration_domain->get_counters());
  check_tiles_ahead(i, schedule[i], tile_dimensions[i], counters, inverse, m);
}

// Counter k of the domain becomes block_size * (lattice row k . lattice
// counters) + its inner counter.
void Tiling::check_general_ZIL(int i, const Statement* s) const {
  std::vector<int> counters = ZILWrapper::to_vec_int(s->iteration_domain->get_counters());
  if (tile_dimensions[i].size() > counters.size())
    pass_stop(i, "more tiled schedule dimensions than lattice counters");
  ZILWrapper::check_general_tiling(s->iteration_domain, tile_shape[i], tile_lattice[i]);
  check_tiles_ahead(i, schedule[i], tile_dimensions[i], counters, tile_lattice[i], counters.size());
}

// The directive of the parametric tiling of statement i, as written
// ("tile_ratio[1][3]"; a lattice with its denominators when they are not
// all 1).
std::string Tiling::directive_text(int i) const {
  if (is_rectangular_ZIL[i]) return "tile_ratio" + subscripts(tile_ratio[i]);
  const std::vector<int>& denominators = tile_lattice[i].back();
  bool integral = std::count(denominators.begin(), denominators.end(), 1) == static_cast<long>(denominators.size());
  std::string directive = "tile_lattice";
  for (size_t k = 0; k + (integral ? 1 : 0) < tile_lattice[i].size(); k++) directive += subscripts(tile_lattice[i][k]);
  return directive;
}

// The pieces of each constraint of every parametric tiling, counted before
// any statement is tiled: a tiling whose library pieces alone exceed the
// minute, even in the last mode, is refused at once (see
// constraint_piece_limit), and so is a lattice of more offsets than the
// cross product may keep pieces: each offset has pieces of its own, which
// the library makes and even the last mode hulls apart (4096 offsets took
// 41 s).
void Tiling::check_piece_counts(Program* program) const {
  for (int i = 0; i < static_cast<int>(program->statement.size()); i++) {
    Polyhedron* domain = program->statement[i]->iteration_domain;
    std::vector<long long> counts;
    if (!is_rectangular_ZIL[i] && !is_general_ZIL[i]) continue;
    at_statement(program->statement[i], [&] {
      counts = is_rectangular_ZIL[i]
                   ? ZILWrapper::rectangular_piece_counts(domain, tile_hyperplans[i], tile_ratio[i])
                   : ZILWrapper::general_piece_counts(domain, tile_shape[i], tile_lattice[i]);
    });
    long long most = *std::max_element(counts.begin(), counts.end());
    if (most > constraint_piece_limit)
      pass_stop(i, directive_text(i) + " would split a constraint into " + std::to_string(most) +
                       " pieces, more than the limit of " + std::to_string(constraint_piece_limit) +
                       " that even the last mode of code generation takes; use smaller tile ratios or lattice "
                       "entries");
    long long offsets = is_general_ZIL[i] ? ZILWrapper::lattice_offset_count(tile_lattice[i]) : 1;
    if (offsets > kept_piece_limit)
      pass_stop(i, directive_text(i) + " has " + std::to_string(offsets) +
                       " lattice offsets, each with pieces of its own, more than the limit of " +
                       std::to_string(kept_piece_limit) +
                       " that even the last mode of code generation takes; use smaller denominators");
  }
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
  std::vector<Expression*> counters;
  for (const auto& counter : tile_counter) counters.push_back(counter.second);
  IndexFunction* g = mark_tiled_dimensions(schedule[i], tile_dimensions[i], counters);
  delete schedule[i];
  schedule[i] = g;
  std::cout << "Schedule for stmt #" << i << ":\n" << *g << "\n\n";
}

void Tiling::compute_constant_tiling_domains(const std::vector<Statement*>* statements) {
  nb_statements = static_cast<int>(is_tiled.size());
  size_t n = 0;
  for (const std::vector<int>& dims : tile_dimensions) n = std::max(n, dims.size());
  for (size_t k = 0; k < n; k++) create_counter_rank(tile_counter_name(static_cast<int>(k)));
  for (size_t k = 0; k < n; k++) {
    tile_counter.push_back(create_counter(tile_counter_name(static_cast<int>(k)), -1));
    tile_counter_set.insert(tile_counter.back().first);
  }
  tile.assign(nb_statements, nullptr);
  for (int i = 0; i < nb_statements; i++) {
    if (!is_constant_tiling[i]) continue;
    auto build = [&] {
      check_constant_tiling(i);
      build_tile(i);
    };
    if (statements) at_statement((*statements)[i], build);
    else build();
  }
  for (int i = 0; i < nb_statements; i++)
    if (is_constant_tiling[i]) place_tile_counters(i);
}

std::pair<Program*, std::vector<Schedule*>> Tiling::apply(Program* program) {
  if (is_tiled.size() != program->statement.size()) stop(std::cerr, "Tiling::apply: nb_statements mismatch");
  std::set<std::string> declared = input_names(program);
  check_directives(program, declared);
  TilingPass pass;
  pass.least_block_size = least_block_size(*this);
  pass.block_multiple = lattices_block_multiple(*this, pass.least_block_size);
  compute_constant_tiling_domains(&program->statement);
  check_piece_counts(program);
  for (int i = 0; i < static_cast<int>(program->statement.size()); i++) {
    Statement* s = program->statement[i]->clone();
    std::cout << "Tiling stmt #" << i << ": " << *s << "\n";
    pass.used_counters.insert(s->surrounding_counters.begin(), s->surrounding_counters.end());
    if (is_constant_tiling[i]) {
      // Tiles bound every loop counter only along hyperplanes of full rank.
      bool bounded = loop_counter_rank(tile_hyperplans[i], s->surrounding_counters) ==
                     static_cast<int>(s->surrounding_counters.size());
      pass.guards.push_back(bounded ? new InstanceGuard(s->iteration_domain, {}, tile[i]) : nullptr);
      s->iteration_domain->add_constraints(tile[i]);
      for (const auto& counter : tile_counter) {
        s->surrounding_counters.push_back(counter.first);
        pass.used_counters.insert(counter.first);
      }
    } else if ((is_rectangular_ZIL[i] || is_general_ZIL[i]) &&
               (s->iteration_domain->is_domain() || s->iteration_domain->has_div())) {
      pass_stop(i, "an integer division in a loop bound or condition cannot be tiled parametrically");
    } else if (is_rectangular_ZIL[i]) {
      at_statement(s, [&] { apply_rectangular_ZIL(i, s, pass); });
      continue;
    } else if (is_general_ZIL[i]) {
      at_statement(s, [&] { apply_general_ZIL(i, s, pass); });
      continue;
    }
    if (!is_constant_tiling[i]) pass.guards.push_back(nullptr);
    pass.superset.push_back(false);
    pass.tiled.push_back(s);
    pass.schedules.push_back(new Schedule(schedule[i], s->surrounding_counters));
    // A constant tiling leaves one polyhedron per statement, whose nest
    // tests nothing about the tile's kind: only the parametric tilings
    // need their full tiles run apart.
    pass.tiles.push_back(nullptr);
    pass.domain_factors.emplace_back();
  }
  for (Statement* t : pass.tiled) t->rhs = with_int_counter_reads(t->rhs);
  Program* result = new Program(static_cast<int>(pass.used_counters.size()),
                                2 * program->nb_parameters, pass.tiled);
  result->tile = pass.tiles;
  result->domain_factors = pass.domain_factors;
  result->guard = pass.guards;
  result->superset = pass.superset;
  for (int i = 0; i < static_cast<int>(program->statement.size()); i++)
    if (is_constant_tiling[i] && skews_lattice(tile_hyperplans[i], program->statement[i]->surrounding_counters))
      result->exact_mode_operations = skewed_constant_operations;
  result->set_variable_declaration(
      output_declarations(program->get_variable_declaration(), split_declarations(pass.splits)));
  // The input's own initialisations, then the checks of the values the
  // tiling assumed, then the split parameters computed from those values.
  result->kernel_entry = program->kernel_entry;
  result->functions = program->functions;
  result->includes = program->includes;
  bool parametric = std::count(is_rectangular_ZIL.begin(), is_rectangular_ZIL.end(), 1) +
                        std::count(is_general_ZIL.begin(), is_general_ZIL.end(), 1) >
                    0;
  for (const std::string& line :
       assumption_checks(parametric, pass.sizes, pass.aligned_sizes, pass.least_block_size, pass.block_multiple))
    result->kernel_entry.push_back(line);
  for (const std::string& line : kernel_entry_lines(pass.splits)) result->kernel_entry.push_back(line);
  Schedule::order_parts(result->statement, pass.schedules);
  return {result, pass.schedules};
}


// The unions of the lists of pieces `factors` (emptied, their pieces freed),
// owned by the caller.
static std::vector<Domain*> domain_factors(std::vector<std::vector<Polyhedron*>>& factors) {
  std::vector<Domain*> unions;
  for (std::vector<Polyhedron*>& factor : factors) {
    unions.push_back(new Domain(factor));
    del(factor);
  }
  factors.clear();
  return unions;
}

// The domain of a tiled statement from its pieces (freed): their union, or
// past the crossing's budget their simple hull within the cell (kept by
// the caller), where each original point has one tiled point, so that the
// statement may test each point against its original domain.
static Domain* tiled_domain(std::vector<Polyhedron*>& pieces, const ZILWrapper::CrossingBudget& budget,
                            Polyhedron* cell) {
  if (!budget.exceeded) {
    Domain* domain = new Domain(pieces);
    del(pieces);
    return domain;
  }
  std::cout << "  Crossing past its budget of work: one convex superset of the pieces, each point tested"
            << std::endl;
  Polyhedron* hull = Polyhedron::simple_hull(pieces);
  del(pieces);
  hull->add_constraints(cell);
  Domain* domain = new Domain(std::vector<Polyhedron*>{hull});
  delete hull;
  return domain;
}

// The cell of a general tiling: the tile, and each lattice offset counter
// (-1: none) from 0 to below its denominator.
static Polyhedron* lattice_cell(Polyhedron* tile, const std::vector<int>& offsets,
                                const std::vector<int>& denominators) {
  Polyhedron* cell = new Polyhedron(tile);
  Expression zero(0);
  for (size_t c = 0; c < offsets.size(); c++) {
    if (offsets[c] < 0) continue;
    Expression offset(get_counter_string(offsets[c]));
    Expression denominator(denominators[c]);
    Inequation from(GREATER_EQ, &offset, &zero);
    Inequation below(LESS, &offset, &denominator);
    cell->add_constraint(&from);
    cell->add_constraint(&below);
  }
  return cell;
}

void Tiling::apply_rectangular_ZIL(int i, Statement* s, TilingPass& pass) {
  IndexFunction* hyperplanes = tile_hyperplans[i];
  size_t m = hyperplanes->index_mapping.size();
  std::set<int> parameters = ZILWrapper::get_tiling_parameters(s->iteration_domain, hyperplanes);
  std::vector<int> hidden;
  ZILWrapper::CrossingBudget budget = crossing_budget();
  std::vector<std::vector<Polyhedron*>> factors;
  auto tiled = ZILWrapper::get_parallelepipedic_tiled_domain_time_domain(s->iteration_domain, hyperplanes,
                                                                        tile_ratio[i], &hidden, &budget, &factors);
  parameters.insert(hidden.begin(), hidden.end());
  std::vector<int> counters;
  std::vector<Expression*> outer;
  for (size_t j = 0; j < m; j++) {
    counters.push_back(get_counter_rank(time_counter_name(true, static_cast<int>(j))));
    counters.push_back(get_counter_rank(time_counter_name(false, static_cast<int>(j))));
    outer.push_back(new Expression(time_counter_name(true, static_cast<int>(j))));
  }
  std::vector<int> inner;
  for (size_t j = 0; j < m; j++) inner.push_back(counters[2 * j + 1]);
  Polyhedron* cell = rectangular_tile(inner, tile_ratio[i]);
  pass.guards.push_back(new InstanceGuard(s->iteration_domain, tiled.second.first, cell));
  delete s->iteration_domain;
  s->iteration_domain = tiled_domain(tiled.first, budget, cell);
  std::vector<Domain*> factor_unions = domain_factors(factors);

  s->surrounding_counters = counters;
  pass.used_counters.insert(counters.begin(), counters.end());
  Statement* t = s->substitute_counters_ref(tiled.second.first);
  delete s;

  IndexFunction* g = mark_tiled_dimensions(schedule[i], tile_dimensions[i], outer);
  delete schedule[i];
  schedule[i] = g->substitute_counters(tiled.second.second);
  delete g;
  del(outer);
  del(tiled.second.first);
  del(tiled.second.second);

  for (int p : parameters) {
    std::string name = get_parameter_string(p);
    declare_split(pass, name);
    if (Options::option["aligned-parameters"] && !is_hidden_constant(name))
      pass.aligned_sizes.insert(name);
  }
  Polyhedron* split = ZILWrapper::split_constraints(parameters);
  t->iteration_domain->add_constraints(split);
  for (Domain* factor : factor_unions) factor->add_constraints(split);
  delete split;
  pass.domain_factors.push_back(factor_unions);
  pass.superset.push_back(budget.exceeded);
  pass.tiled.push_back(t);
  pass.schedules.push_back(new Schedule(schedule[i], counters));
  pass.tiles.push_back(cell);
}

// New counter list: the lattice counters, their offset counters (-1 for
// none), the inner counters by the rank of their counter, then the
// surrounding counters that were not tiled.
static std::vector<int> general_counters(const ZILWrapper::general_tiling_t& names, const std::vector<int>& offsets,
                                         const std::vector<int>& surrounding) {
  std::vector<int> counters = names.first.first;
  for (int offset : offsets)
    if (offset >= 0) counters.push_back(offset);
  for (const auto& inner : names.first.second) counters.push_back(inner.second);
  for (int c : surrounding)
    if (!names.first.second.count(c)) counters.push_back(c);
  return counters;
}

void Tiling::apply_general_ZIL(int i, Statement* s, TilingPass& pass) {
  std::cout << *s->iteration_domain << "\n" << *tile_shape[i] << "\n" << tile_lattice[i] << "\n";
  std::vector<std::vector<Polyhedron*>> factors;
  ZILWrapper::CrossingBudget budget = crossing_budget();
  auto tiled =
      ZILWrapper::get_general_tiled_domain(s->iteration_domain, tile_shape[i], tile_lattice[i], &factors, &budget);
  const ZILWrapper::general_tiling_t& names = tiled.first.first;
  std::vector<int> offsets = ZILWrapper::lattice_offset_counters(tile_lattice[i]);
  Polyhedron* tile = tile_shape[i]->counters_to_counters(names.first.second);
  Polyhedron* cell = lattice_cell(tile, offsets, ZILWrapper::reduced_lattice(tile_lattice[i]).back());
  pass.guards.push_back(new InstanceGuard(s->iteration_domain, tiled.first.second, cell));
  delete s->iteration_domain;
  s->iteration_domain = tiled_domain(tiled.second, budget, cell);
  delete cell;

  s->surrounding_counters = general_counters(names, offsets, s->surrounding_counters);
  pass.used_counters.insert(s->surrounding_counters.begin(), s->surrounding_counters.end());
  Statement* t = s->substitute_counters_ref(tiled.first.second);
  delete s;
  del(tiled.first.second);

  std::vector<Expression*> lattice_counters;
  for (size_t j = 0; j < tile_dimensions[i].size(); j++)
    lattice_counters.push_back(new Expression(get_counter_string(names.first.first[j])));
  IndexFunction* g = mark_tiled_dimensions(schedule[i], tile_dimensions[i], lattice_counters);
  del(lattice_counters);
  follow_with_offsets(g, schedule[i], tile_dimensions[i], offsets);
  delete schedule[i];
  schedule[i] = g->counters_to_counters(names.first.second);
  delete g;
  pass.superset.push_back(budget.exceeded);
  pass.tiled.push_back(t);
  pass.schedules.push_back(new Schedule(schedule[i], t->surrounding_counters));
  pass.tiles.push_back(tile);
  pass.domain_factors.push_back(domain_factors(factors));
  std::cout << "Schedule for stmt #" << i << " ( " << *t << " ): \n" << *schedule[i] << "\n\n";

  for (const auto& split : names.second) declare_split(pass, get_parameter_string(split.first));
}
