// Column order, the converters between model objects and library records,
// and the tail shared by every tiled domain: read back, cross, coalesce.

#include "ZILWrapper.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <optional>
#include <set>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Stop.h"
#include "ZIL.h"

namespace ZILWrapper {

std::vector<int> active_counters;
std::vector<int> active_parameters;

namespace {

// The library computes in 64 bits; a value the model cannot hold would be
// silently corrupted by a plain cast.
int narrow(long long value) {
  if (value < INT_MIN || value > INT_MAX) stop(std::cerr, "ZILWrapper: value out of int range");
  return static_cast<int>(value);
}

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

namespace {

typedef std::vector<std::vector<Polyhedron*>> Lists;

// Consecutive pieces of a cross product share their first choices, and are
// the likeliest to merge: coalescing runs of them first leaves the final
// coalescing (whose cost grows faster than the number of pieces) fewer to
// compare. Each union of `unions` is coalesced so, the runs of all of
// them at once, then their results at once. New polyhedra owned by the
// caller; the unions' pieces are freed.
const size_t coalescing_run = 64;

Lists coalesce_in_runs(Lists& unions) {
  Lists runs;
  std::vector<size_t> owner;  // the union of each run
  for (size_t u = 0; u < unions.size(); u++)
    for (size_t first = 0; first < unions[u].size(); first += coalescing_run) {
      runs.emplace_back(unions[u].begin() + first,
                        unions[u].begin() + std::min(unions[u].size(), first + coalescing_run));
      owner.push_back(u);
    }
  Lists coalesced = Polyhedron::coalesce_each(runs);
  Lists merged(unions.size());
  for (size_t k = 0; k < coalesced.size(); k++)
    merged[owner[k]].insert(merged[owner[k]].end(), coalesced[k].begin(), coalesced[k].end());
  del(unions);
  unions.clear();
  Lists result = Polyhedron::coalesce_each(merged);
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
                                                 size_t size) {
  Lists buckets(size);
  for (size_t k = 0; k < pieces.size(); k++) buckets[last[k]].push_back(pieces[k]);
  pieces.clear();
  std::vector<Polyhedron*> result;
  for (const std::vector<Polyhedron*>& coalesced : coalesce_in_runs(buckets))
    result.insert(result.end(), coalesced.begin(), coalesced.end());
  if (size < 2 || result.size() > whole_coalescing_most) return result;
  std::vector<Polyhedron*> whole = Polyhedron::coalesce(result);
  del(result);
  return whole;
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
// within `limit` (none: no limit) and coalesced into one list. New
// polyhedra owned by the caller; the lists' pieces are freed.
std::vector<Polyhedron*> crossed_and_coalesced(Lists& group, Polyhedron* context, const PieceLimit* limit) {
  CrossProductOptions options;
  options.context = context;
  options.limit = limit;
  bool single = group.size() == 1;
  std::vector<Polyhedron*> crossed = cross_product(group, 0, options);
  del(group);
  if (single && !context) return crossed;
  add_context(crossed, context);
  std::vector<Polyhedron*> coalesced = Polyhedron::coalesce(crossed);
  del(crossed);
  return coalesced;
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
Lists merged_groups(std::vector<Lists>& groups, Polyhedron* context, const PieceLimit* limit) {
  // A group's crossing keeps within the limit the pieces that its
  // coalescing takes (its time grows fast with them); its few short lists
  // need no bound on their tests.
  std::optional<PieceLimit> kept_only;
  if (limit) {
    kept_only = *limit;
    kept_only->most_tests = std::numeric_limits<long long>::max();
  }
  Lists merged;
  for (Lists& group : groups)
    merged.push_back(crossed_and_coalesced(group, context, kept_only ? &*kept_only : nullptr));
  groups.clear();
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

}  // namespace

std::vector<Polyhedron*> to_tiled_domain(std::list<std::list<polyhedronZIL*>>& lists, bool progress,
                                         Polyhedron* context, const PieceLimit* limit, Lists* factors) {
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
  CrossProductOptions options;
  options.context = context;
  options.limit = limit;
  options.progress = progress;
  // Lists all over the same counters are crossed as they come, within the
  // limit, and coalesced in runs.
  std::vector<Lists> groups = groups_by_counters(vectors);
  bool grouped = groups.size() > 1;
  Lists crossing = grouped ? merged_groups(groups, context, limit) : groups.empty() ? Lists() : groups[0];
  if (factors) *factors = copies_with_context(crossing, context);
  std::vector<size_t> last;
  if (grouped) options.last_choices = &last;
  std::vector<Polyhedron*> crossed = cross_product(crossing, 0, options);
  size_t last_size = grouped ? crossing.back().size() : 0;
  del(crossing);
  if (progress) std::cout << "  Coalescing..." << std::endl;
  add_context(crossed, context);
  if (grouped) return coalesce_by_last_choice(crossed, last, last_size);
  Lists whole = {crossed};
  return coalesce_in_runs(whole)[0];
}

}  // namespace ZILWrapper
