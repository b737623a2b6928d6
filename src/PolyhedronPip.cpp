// Parametric integer programming on polyhedra: null-column compaction, the
// solver problems and their answers as quasts.
//
// The solver's sign conventions: a maximum leaves the unknowns free; a
// minimum takes them >= 0 unless Urs_unknowns is set; parameters are >= 0
// unless Urs_parms is set.

#include <algorithm>
#include <functional>
#include <iostream>

#include "IndexFunction.h"
#include "Matrix.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Rank.h"
#include "Schedule.h"
#include "Stop.h"
#include "pip.h"

typedef std::vector<std::vector<int>> Rows;
typedef std::pair<Rows, Rows> RowPair;

// ---------------------------------------------------------------------------
// Null-column compaction

namespace {

int column_is_null(const Rows& m, int j) {
  for (const std::vector<int>& row : m)
    if (row[j] != 0) return 0;
  return 1;
}

// The walk shared by every form. context may be null (plain forms); its
// rows are [flag | parameters | constant] and it is compacted alongside.
RowPair compact_columns(const Rows* context, const Rows& m, int d) {
  actual_counter.clear();
  actual_parameter.clear();
  RowPair result;
  result.second.assign(m.size(), std::vector<int>());
  if (context != nullptr)
    for (const std::vector<int>& row : *context) result.first.push_back({row[0]});
  if (m.empty()) return result;
  int nbC = get_nb_counters();
  int last = static_cast<int>(m[0].size()) - 1;
  int first_parameter = d + nbC + 1;
  for (int j = 0; j <= last; j++) {
    int null = column_is_null(m, j);
    if (context != nullptr && j >= first_parameter && j < last)
      null = null && column_is_null(*context, j - nbC - d);
    if (null && j != 0 && j != last) continue;
    if (j > d && j < first_parameter) {
      int k = static_cast<int>(actual_counter.size());
      actual_counter[k] = j - 1 - d;
    } else if (j >= first_parameter && j < last) {
      int k = static_cast<int>(actual_parameter.size());
      actual_parameter[k] = j - nbC - 1 - d;
    }
    for (size_t i = 0; i < m.size(); i++) result.second[i].push_back(m[i][j]);
    if (context != nullptr && j >= first_parameter)
      for (size_t i = 0; i < context->size(); i++)
        result.first[i].push_back((*context)[i][j - nbC - d]);
  }
  return result;
}

// Without domain rows, the context is compacted over its own columns: the
// problem has no unknown and is solved under that context alone.
Rows compact_context_alone(const Rows& context) {
  actual_counter.clear();
  actual_parameter.clear();
  if (context.empty()) return context;
  int last = static_cast<int>(context[0].size()) - 1;
  Rows result(context.size(), std::vector<int>());
  for (int j = 0; j <= last; j++) {
    if (j != 0 && j != last && column_is_null(context, j)) continue;
    if (j != 0 && j != last) {
      int k = static_cast<int>(actual_parameter.size());
      actual_parameter[k] = j - 1;
    }
    for (size_t i = 0; i < context.size(); i++) result[i].push_back(context[i][j]);
  }
  return result;
}

}  // namespace

Rows Polyhedron::remove_null_columns(Rows M) { return compact_columns(nullptr, M, 0).second; }

Rows Polyhedron::remove_null_columns(Rows M, int d) { return compact_columns(nullptr, M, d).second; }

RowPair Polyhedron::remove_null_columns(RowPair CD) { return remove_null_columns(CD, 0); }

RowPair Polyhedron::remove_null_columns(RowPair CD, int d) {
  if (CD.second.empty()) return RowPair(compact_context_alone(CD.first), Rows());
  return compact_columns(&CD.first, CD.second, d);
}

Rows Polyhedron::compact(Rows M, int nb_counters, int nb_parameters, std::set<int> counters,
                         std::set<int> parameters) {
  Rows result;
  for (const std::vector<int>& row : M) {
    std::vector<int> r(1, row[0]);
    for (int c : counters) r.push_back(row[c + 1]);
    for (int p : parameters) r.push_back(row[nb_counters + p + 1]);
    r.push_back(row[nb_counters + nb_parameters + 1]);
    result.push_back(r);
  }
  return result;
}

Rows Polyhedron::deflat(Rows compacted, int nb_counters, int nb_parameters, std::set<int> counters,
                        std::set<int> parameters) {
  Rows result;
  for (const std::vector<int>& row : compacted) {
    std::vector<int> r(nb_counters + nb_parameters + 2, 0);
    r[0] = row[0];
    size_t k = 1;
    for (int c : counters) r[c + 1] = row[k++];
    for (int p : parameters) r[nb_counters + p + 1] = row[k++];
    r.back() = row[k];
    result.push_back(r);
  }
  return result;
}

// ---------------------------------------------------------------------------
// Solving

namespace {

enum Sign { kDefault, kMaximize, kMaximizeFreeParameters, kFreeUnknowns, kAllFree };

PipMatrix* to_pip(const Rows& rows, int width) {
  PipMatrix* m = pip_matrix_alloc(static_cast<unsigned>(rows.size()), static_cast<unsigned>(width));
  for (size_t i = 0; i < rows.size(); i++)
    for (int j = 0; j < width; j++) m->p[i][j] = rows[i][j];
  return m;
}

// Solves compacted rows (n date columns ahead of the unknowns) under the
// compacted context and decodes the answer with make, all before any other
// compaction can refill the maps.
Quast* solve(const Rows& problem, const Rows& context, int n, Sign sign,
             const std::function<Quast*(PipQuast*)>& make) {
  int nb_parameters = static_cast<int>(actual_parameter.size());
  PipMatrix* pip_problem = to_pip(problem, static_cast<int>(actual_counter.size()) + nb_parameters + 2 + n);
  PipMatrix* pip_context = to_pip(context, nb_parameters + 2);
  PipOptions* options = pip_options_init();
  options->Maximize = sign == kMaximize || sign == kMaximizeFreeParameters;
  options->Urs_unknowns = sign == kFreeUnknowns || sign == kAllFree;
  options->Urs_parms = sign == kAllFree || sign == kMaximizeFreeParameters;
  PipQuast* answer = pip_solve(pip_problem, pip_context, -1, options);
  pip_options_free(options);
  pip_matrix_free(pip_problem);
  pip_matrix_free(pip_context);
  Quast* q = make(answer);
  pip_quast_free(answer);
  return q;
}

Quast* untagged(PipQuast* answer) { return new Quast(answer); }

// The optimum over the domain rows, the context rows split off, with leaves
// tagged by the counters and stmt.
Quast* tagged_optimum(Polyhedron* p, const std::vector<int>& counters, int stmt, Sign sign) {
  RowPair cd = Polyhedron::remove_null_columns(p->to_matrix_context());
  return solve(cd.second, cd.first, 0, sign,
               [&](PipQuast* answer) { return new Quast(counters, stmt, answer); });
}

}  // namespace

Rows Polyhedron::scheduled_rows(const Rows& m, const Rows& t) {
  int n = static_cast<int>(t.size());
  int width = n + get_nb_counters() + get_nb_parameters() + 2;
  Rows rows = null_matrix(2 * n + static_cast<int>(m.size()), width);
  for (int k = 0; k < n; k++) {
    rows[2 * k][0] = rows[2 * k + 1][0] = 1;
    rows[2 * k][k + 1] = -1;
    rows[2 * k + 1][k + 1] = 1;
    for (size_t j = 0; j < t[k].size(); j++) {
      rows[2 * k][n + 1 + j] = t[k][j];
      rows[2 * k + 1][n + 1 + j] = -t[k][j];
    }
  }
  for (size_t i = 0; i < m.size(); i++) {
    rows[2 * n + i][0] = m[i][0];
    for (size_t j = 1; j < m[i].size(); j++) rows[2 * n + i][n + j] = m[i][j];
  }
  return rows;
}

Quast* Polyhedron::max_lex() {
  Rows problem = remove_null_columns(to_matrix());
  return solve(problem, Rows(), 0, kMaximize, untagged);
}

Quast* Polyhedron::min_lex_no_context_extraction() {
  Rows problem = remove_null_columns(to_matrix());
  return solve(problem, Rows(), 0, kAllFree, untagged);
}

Quast* Polyhedron::min_lex() {
  RowPair cd = remove_null_columns(to_matrix_context());
  return solve(cd.second, cd.first, 0, kFreeUnknowns, untagged);
}

Quast* Polyhedron::min_lex(std::vector<int> counters, int stmt) {
  return tagged_optimum(this, counters, stmt, kFreeUnknowns);
}

Quast* Polyhedron::min_lex_free_parameters(std::vector<int> counters, int stmt) {
  return tagged_optimum(this, counters, stmt, kAllFree);
}

Quast* Polyhedron::max_lex_free_parameters(std::vector<int> counters, int stmt) {
  return tagged_optimum(this, counters, stmt, kMaximizeFreeParameters);
}

Quast* Polyhedron::max_lex(std::vector<int> counters, int stmt) {
  return tagged_optimum(this, counters, stmt, kMaximize);
}

namespace {

Quast* scheduled_optimum(Polyhedron* p, Schedule* theta, Sign sign) {
  Rows t = theta->to_matrix();
  int n = static_cast<int>(t.size());
  Rows problem = Polyhedron::remove_null_columns(Polyhedron::scheduled_rows(p->to_matrix(), t), n);
  return solve(problem, Rows(), n, sign, [n](PipQuast* answer) { return new Quast(answer, n); });
}

// The vector members: statement stmt's schedule, the context split off.
Quast* scheduled_optimum(Polyhedron* p, std::vector<Schedule*> theta, int stmt, Sign sign,
                         const std::function<Quast*(PipQuast*, int)>& make) {
  Rows t = theta[stmt]->to_matrix();
  int n = static_cast<int>(t.size());
  RowPair cd = p->to_matrix_context();
  cd.second = Polyhedron::scheduled_rows(cd.second, t);
  cd = Polyhedron::remove_null_columns(cd, n);
  return solve(cd.second, cd.first, n, sign, [&](PipQuast* answer) { return make(answer, n); });
}

}  // namespace

Quast* Polyhedron::min_lex(Schedule* theta) { return scheduled_optimum(this, theta, kDefault); }

Quast* Polyhedron::max_lex(Schedule* theta) { return scheduled_optimum(this, theta, kMaximize); }

Quast* Polyhedron::min_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt) {
  return scheduled_optimum(this, theta, stmt, kDefault, [&](PipQuast* answer, int n) {
    return new Quast(counters, stmt, answer, n);
  });
}

Quast* Polyhedron::min_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt,
                           int read_rank) {
  return scheduled_optimum(this, theta, stmt, kDefault, [&](PipQuast* answer, int n) {
    return new Quast(counters, stmt, answer, n, read_rank);
  });
}

Quast* Polyhedron::max_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt) {
  return scheduled_optimum(this, theta, stmt, kMaximize, [&](PipQuast* answer, int n) {
    return new Quast(counters, stmt, answer, n);
  });
}

Quast* Polyhedron::min_lex(std::vector<Schedule*> theta, int max_dim, std::vector<int> counters, int stmt,
                           int read_rank) {
  std::vector<Schedule*> cut;
  for (Schedule* s : theta) {
    int kept = std::max(0, std::min(max_dim, s->dimension()));
    std::vector<Expression*> first(s->schedule->index_mapping.begin(),
                                   s->schedule->index_mapping.begin() + kept);
    IndexFunction f(s->schedule->surrounding_counters, first);
    cut.push_back(new Schedule(&f));
  }
  Quast* q = min_lex(cut, counters, stmt, read_rank);
  del(cut);
  return q;
}

pipquast* Polyhedron::raw_pip(Rows M, int nb_parameters) {
  if (M.empty()) stop(std::cout, "Polyhedron::raw_pip: empty matrix");
  PipMatrix* problem = to_pip(M, static_cast<int>(M[0].size()));
  PipMatrix* context = pip_matrix_alloc(0, static_cast<unsigned>(nb_parameters + 2));
  PipOptions* options = pip_options_init();
  PipQuast* answer = pip_solve(problem, context, -1, options);
  pip_options_free(options);
  pip_matrix_free(problem);
  pip_matrix_free(context);
  return answer;
}
