// Column order, the converters between model objects and library records,
// and the tail shared by every tiled domain: read back, cross, coalesce.

#include "ZILWrapper.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Stop.h"
#include "ValueOutOfRange.h"
#include "ZIL.h"

namespace ZILWrapper {

std::vector<int> active_counters;
std::vector<int> active_parameters;

namespace {

// The library computes in 64 bits; a value the model's int rows cannot hold
// would be silently corrupted by a plain cast: it throws ValueOutOfRange.
int narrow(long long value) { return checked_int(value); }

int nb_active_counters() { return static_cast<int>(active_counters.size()); }
int nb_active_parameters() { return static_cast<int>(active_parameters.size()); }

void check_counts(int nb_counters, int nb_parameters, const char* who) {
  if (nb_counters != nb_active_counters() || nb_parameters != nb_active_parameters())
    stop(std::cerr, std::string("ZILWrapper::") + who + ": record counts differ from the active columns");
}

// Rows with flag 1 only: an equality row becomes two opposite inequalities.
Rows inequality_rows(const Rows& rows) {
  Rows result;
  for (std::vector<int> row : rows) {
    int flag = row[0];
    row[0] = 1;
    result.push_back(row);
    if (flag != 0) continue;
    for (size_t k = 1; k < row.size(); k++) row[k] = -row[k];
    result.push_back(row);
  }
  return result;
}

// Whether some modulo row says more than "0 modulo 1".
bool has_modulus_above_1(const polyhedronZIL* record) {
  for (int i = 0; i < record->nConstrMod; i++)
    if (record->modConstr[i][0] != 1) return true;
  return false;
}

// (e mod m) == 0 for the modulo row [m | counters | parameters | constant].
void add_modulo_row(Polyhedron* p, const std::vector<int>& row) {
  if (row[0] == 1) return;
  Expression e(std::vector<int>(row.begin() + 1, row.end()), active_counters, active_parameters);
  Expression modulus(row[0]);
  Expression zero(0);
  Expression rest(MOD, &e, &modulus);
  Inequation c(EQ, &rest, &zero);
  p->add_constraint(&c);
}

}  // namespace

// ---- towards the library ----

long long** to_int64(const Rows& m) {
  long long** result = static_cast<long long**>(std::malloc(m.size() * sizeof(long long*)));
  for (size_t i = 0; i < m.size(); i++) {
    std::vector<int> row = m[i];
    row.resize(m[0].size(), 0);
    result[i] = to_int64(row);
  }
  return result;
}

long long* to_int64(const std::vector<int>& v) {
  long long* result = static_cast<long long*>(std::malloc(v.size() * sizeof(long long)));
  for (size_t k = 0; k < v.size(); k++) result[k] = v[k];
  return result;
}

Rows library_rows(Polyhedron* p) { return inequality_rows(p->to_matrix(active_counters, active_parameters)); }

polyhedronZIL* to_polyhedronZIL(Polyhedron* p) { return to_polyhedronZIL(library_rows(p)); }

polyhedronZIL* to_polyhedronZIL(const Rows& rows) {
  return buildPolyhedron(to_int64(rows), static_cast<int>(rows.size()), nb_active_counters(),
                         nb_active_parameters());
}

affFuncZIL* to_affFuncZIL(IndexFunction* f) { return to_affFuncZIL(f->to_matrix(active_counters, active_parameters)); }

affFuncZIL* to_affFuncZIL(const Rows& m) { return to_affFuncZIL(m, nb_active_counters(), nb_active_parameters()); }

affFuncZIL* to_affFuncZIL(const Rows& m, int nb_counters, int nb_parameters) {
  return buildAffineFunction(to_int64(m), static_cast<int>(m.size()), nb_counters, nb_parameters);
}

// ---- back to the model ----

Rows to_vec_vec(long long** m, int nb_lines, int nb_cols) {
  Rows result;
  for (int i = 0; i < nb_lines; i++) result.push_back(to_vec(m[i], nb_cols));
  return result;
}

std::vector<int> to_vec(long long* v, int nb_lines) {
  std::vector<int> result;
  for (int k = 0; k < nb_lines; k++) result.push_back(narrow(v[k]));
  return result;
}

std::vector<int> to_vec_int(const std::set<int>& s) { return std::vector<int>(s.begin(), s.end()); }

std::set<int> to_set_int(const std::vector<int>& v) { return std::set<int>(v.begin(), v.end()); }

Polyhedron* to_polyhedron(const polyhedronZIL* record) {
  // The library's degenerate pieces (an input without constraints) have no
  // row and counts of their own.
  if (record->nConstr == 0 && !has_modulus_above_1(record)) return new Polyhedron();
  check_counts(record->nInd, record->nParam, "to_polyhedron");
  int width = record->nInd + record->nParam + 2;
  Polyhedron* p = new Polyhedron(to_vec_vec(record->polyScalar, record->nConstr, width), active_counters,
                                 active_parameters);
  for (const std::vector<int>& row : to_vec_vec(record->modConstr, record->nConstrMod, width))
    add_modulo_row(p, row);
  return p;
}

std::pair<Rows, std::vector<int>> to_vec_vec(const affFuncZIL* record) {
  int width = record->nInd + record->nParam + 1;
  return std::make_pair(to_vec_vec(record->affFuncScalar, record->dimOut, width),
                        to_vec(record->divs, record->dimOut));
}

IndexFunction* to_index_function(const affFuncZIL* record) {
  check_counts(record->nInd, record->nParam, "to_index_function");
  std::pair<Rows, std::vector<int>> parts = to_vec_vec(record);
  IndexFunction* f = new IndexFunction(parts.first, active_counters, active_parameters);
  for (size_t i = 0; i < parts.second.size(); i++) {
    if (parts.second[i] == 1) continue;
    Expression divisor(parts.second[i]);
    Expression* quotient = new Expression(DIV, f->index_mapping[i], &divisor);
    delete f->index_mapping[i];
    f->index_mapping[i] = quotient;
  }
  return f;
}

// ---- the shared tail ----

bool CrossingBudget::spend_tests(long long n) {
  tests += n;
  if (tests > most_tests) exceeded = true;
  return !exceeded;
}

bool CrossingBudget::spend_coalescing(long long n) {
  pairs += n * n;
  if (pairs > most_pairs) exceeded = true;
  return !exceeded;
}

namespace {

typedef std::vector<std::vector<Polyhedron*>> Lists;

bool exceeded(const CrossingBudget* budget) { return budget && budget->exceeded; }

// Whether coalescing these unions fits the budget (none: no bound), which
// is charged for them.
bool may_coalesce(const Lists& unions, CrossingBudget* budget) {
  for (const std::vector<Polyhedron*>& u : unions)
    if (budget && !budget->spend_coalescing(static_cast<long long>(u.size()))) return false;
  return true;
}

// Each union of `unions` coalesced within the budget; past it, copies of
// the unions as they stand (the caller drops them). New polyhedra owned by
// the caller; `unions` are kept.
Lists coalesced_each(const Lists& unions, CrossingBudget* budget) {
  if (!may_coalesce(unions, budget)) {
    Lists copies;
    for (const std::vector<Polyhedron*>& u : unions) copies.push_back(clone(u));
    return copies;
  }
  return Polyhedron::coalesce_each(unions);
}

// Consecutive pieces of a cross product share their first choices, and are
// the likeliest to merge: coalescing runs of them first leaves the final
// coalescing (whose cost grows faster than the number of pieces) fewer to
// compare. Each union of `unions` is coalesced so, the runs of all of
// them at once, then their results at once. New polyhedra owned by the
// caller; the unions' pieces are freed.
const size_t coalescing_run = 64;

Lists coalesce_in_runs(Lists& unions, CrossingBudget* budget) {
  Lists runs;
  std::vector<size_t> owner;  // the union of each run
  for (size_t u = 0; u < unions.size(); u++)
    for (size_t first = 0; first < unions[u].size(); first += coalescing_run) {
      runs.emplace_back(unions[u].begin() + first,
                        unions[u].begin() + std::min(unions[u].size(), first + coalescing_run));
      owner.push_back(u);
    }
  Lists coalesced = coalesced_each(runs, budget);
  Lists merged(unions.size());
  for (size_t k = 0; k < coalesced.size(); k++)
    merged[owner[k]].insert(merged[owner[k]].end(), coalesced[k].begin(), coalesced[k].end());
  del(unions);
  unions.clear();
  Lists result = coalesced_each(merged, budget);
  del(merged);
  return result;
}

// The most pieces coalesced once more as a whole after the coalescing by
// last choice.
const size_t whole_coalescing_most = 2 * coalescing_run;

// The pieces of a cross product coalesced apart for each piece of its last
// list (`last[k]`: the index of piece k's choice in that list, of `size`
// pieces). Pieces of two choices of the shortest list seldom merge: they
// differ in the bound of one tiled dimension that neither the other lists
// nor the coalescing of that list could join. Apart, each coalescing
// compares a fraction of the pairs, and the buckets are coalesced at once;
// a union small enough to coalesce cheaply is coalesced once more as a
// whole. New polyhedra owned by the caller; `pieces` are freed.
std::vector<Polyhedron*> coalesce_by_last_choice(std::vector<Polyhedron*>& pieces, const std::vector<size_t>& last,
                                                 size_t size, CrossingBudget* budget) {
  Lists buckets(size);
  for (size_t k = 0; k < pieces.size(); k++) buckets[last[k]].push_back(pieces[k]);
  pieces.clear();
  std::vector<Polyhedron*> result;
  for (const std::vector<Polyhedron*>& coalesced : coalesce_in_runs(buckets, budget))
    result.insert(result.end(), coalesced.begin(), coalesced.end());
  if (size < 2 || result.size() > whole_coalescing_most) return result;
  Lists whole = coalesced_each({result}, budget);
  del(result);
  return whole[0];
}

// Each piece carrying the context's constraints (kept by the caller), if
// there is one: within it, pieces that differ only outside it merge.
void add_context(const std::vector<Polyhedron*>& pieces, Polyhedron* context) {
  if (!context) return;
  for (Polyhedron* piece : pieces) piece->add_constraints(context);
}

// Copies of the pieces of `lists`, each carrying the context's constraints
// if there is one (both kept by the caller).
Lists copies_with_context(const Lists& lists, Polyhedron* context) {
  Lists copies;
  for (const std::vector<Polyhedron*>& list : lists) {
    copies.emplace_back();
    for (Polyhedron* piece : list) copies.back().push_back(new Polyhedron(piece));
    add_context(copies.back(), context);
  }
  return copies;
}

// The pieces of the lists that may hold points within the context, crossed
// within the budget (none: no bound) and coalesced into one list. New
// polyhedra owned by the caller; the lists' pieces are freed.
std::vector<Polyhedron*> crossed_and_coalesced(Lists& group, Polyhedron* context, CrossingBudget* budget) {
  CrossProductOptions options;
  options.context = context;
  options.budget = budget;
  bool single = group.size() == 1;
  std::vector<Polyhedron*> crossed = cross_product(group, 0, options);
  del(group);
  if (single && !context) return crossed;
  add_context(crossed, context);
  Lists coalesced = coalesced_each({crossed}, budget);
  del(crossed);
  return coalesced[0];
}

// The library's lists of one constraint each, in groups over the same
// counters (the bounds of the same tiled dimensions), in the order of
// their first list. `lists` is emptied.
std::vector<Lists> groups_by_counters(Lists& lists) {
  std::vector<std::set<int>> keys;
  std::vector<Lists> groups;
  for (std::vector<Polyhedron*>& list : lists) {
    std::set<int> key = Polyhedron::get_counters(list);
    size_t g = std::find(keys.begin(), keys.end(), key) - keys.begin();
    if (g == keys.size()) {
      keys.push_back(key);
      groups.emplace_back();
    }
    groups[g].push_back(list);
  }
  lists.clear();
  return groups;
}

// Each group crossed and coalesced into one list. Crossing these few short
// lists settles far fewer combinations than crossing the library's own
// and keeps fewer pieces to coalesce; the intersection of the unions stays
// the same. Lists of one piece come first (they narrow every combination),
// then the longest, so that the shortest list of several pieces comes
// last. The groups' pieces are freed.
Lists merged_groups(std::vector<Lists>& groups, Polyhedron* context, CrossingBudget* budget) {
  // A group's crossing keeps within the budget the pieces that its
  // coalescing takes (its time grows fast with them); its tests count
  // apart from those of the cross product.
  std::optional<CrossingBudget> group_budget;
  if (budget) {
    group_budget = *budget;
    group_budget->tests = 0;
    group_budget->most_tests = budget->most_group_tests;
  }
  Lists merged;
  for (Lists& group : groups)
    merged.push_back(crossed_and_coalesced(group, context, group_budget ? &*group_budget : nullptr));
  groups.clear();
  if (budget) {
    budget->pairs = group_budget->pairs;
    budget->exceeded = group_budget->exceeded;
  }
  // (0, 0) for one piece, else (1, -size).
  auto rank = [](const std::vector<Polyhedron*>& list) {
    long long size = static_cast<long long>(list.size());
    return size == 1 ? std::make_pair(0, 0LL) : std::make_pair(1, -size);
  };
  std::stable_sort(merged.begin(), merged.end(),
                   [&rank](const std::vector<Polyhedron*>& a, const std::vector<Polyhedron*>& b) {
                     return rank(a) < rank(b);
                   });
  return merged;
}

// The pieces of the library's lists, converted; the records are freed and
// the lists emptied.
Lists converted(std::list<std::list<polyhedronZIL*>>& lists) {
  Lists vectors;
  for (std::list<polyhedronZIL*>& pieces : lists) {
    vectors.emplace_back();
    for (polyhedronZIL* record : pieces) {
      vectors.back().push_back(to_polyhedron(record));
      freePolyhedron(record);
    }
    pieces.clear();
  }
  lists.clear();
  return vectors;
}

// The intersection of the simple hulls of the lists, within the context if
// there is one: every union of the lists holds the tiled domain, so this
// one polyhedron does too. New, owned by the caller; the lists are kept.
Polyhedron* bounding_polyhedron(const Lists& lists, Polyhedron* context) {
  Polyhedron* bound = context ? new Polyhedron(context) : new Polyhedron();
  for (const std::vector<Polyhedron*>& list : lists) {
    Polyhedron* hull = Polyhedron::simple_hull(list);
    bound->add_constraints(hull);
    delete hull;
  }
  return bound;
}

// The exact tiled domain of the lists (freed); see to_tiled_domain.
std::vector<Polyhedron*> crossed_domain(Lists& vectors, bool progress, Polyhedron* context, CrossingBudget* budget,
                                        Lists* factors) {
  CrossProductOptions options;
  options.context = context;
  options.budget = budget;
  options.progress = progress;
  // Lists all over the same counters are crossed as they come, within the
  // budget, and coalesced in runs.
  std::vector<Lists> groups = groups_by_counters(vectors);
  bool grouped = groups.size() > 1;
  Lists crossing = grouped ? merged_groups(groups, context, budget) : groups.empty() ? Lists() : groups[0];
  if (factors) *factors = copies_with_context(crossing, context);
  std::vector<size_t> last;
  if (grouped) options.last_choices = &last;
  std::vector<Polyhedron*> crossed = cross_product(crossing, 0, options);
  size_t last_size = grouped ? crossing.back().size() : 0;
  del(crossing);
  if (progress) std::cout << "  Coalescing..." << std::endl;
  add_context(crossed, context);
  if (grouped) return coalesce_by_last_choice(crossed, last, last_size, budget);
  Lists whole = {crossed};
  return coalesce_in_runs(whole, budget)[0];
}

}  // namespace

std::vector<Polyhedron*> to_tiled_domain(std::list<std::list<polyhedronZIL*>>& lists, bool progress,
                                         Polyhedron* context, CrossingBudget* budget, Lists* factors) {
  Lists vectors = converted(lists);
  // The superset is taken before the crossing frees the lists.
  Polyhedron* superset = budget ? bounding_polyhedron(vectors, context) : nullptr;
  std::vector<Polyhedron*> pieces;
  if (!exceeded(budget)) pieces = crossed_domain(vectors, progress, context, budget, factors);
  for (std::vector<Polyhedron*>& list : vectors) del(list);
  if (!exceeded(budget)) {
    delete superset;
    return pieces;
  }
  del(pieces);
  if (factors) {
    for (std::vector<Polyhedron*>& factor : *factors) del(factor);
    factors->clear();
  }
  return {superset};
}

}  // namespace ZILWrapper
