#include "ISLWrapper.h"

#include <isl/aff.h>
#include <isl/ast.h>
#include <isl/ast_build.h>
#include <isl/constraint.h>
#include <isl/ctx.h>
#include <isl/id.h>
#include <isl/local_space.h>
#include <isl/map.h>
#include <isl/mat.h>
#include <isl/options.h>
#include <isl/printer.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>
#include <isl/val.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <numeric>
#include <optional>
#include <set>
#include <system_error>
#include <thread>

#include "MatrixPrinter.h"
#include "Stop.h"
#include "ValueOutOfRange.h"

namespace {

typedef std::vector<std::vector<int>> IntRows;

const char kOutOfIntRange[] = "ISLWrapper: value out of int range";

// A context whose errors end the process: isl never returns a half-built
// answer to us.
isl_ctx* aborting_context() {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_ABORT);
  return ctx;
}

// The isl matrix of the given constraint rows, each without its flag.
isl_mat* constraint_matrix(isl_ctx* ctx, const std::vector<const std::vector<int>*>& rows, int width) {
  isl_mat* mat = isl_mat_alloc(ctx, rows.size(), width);
  for (size_t i = 0; i < rows.size(); ++i)
    for (int j = 0; j < width; ++j) mat = isl_mat_set_element_si(mat, i, j, (*rows[i])[j + 1]);
  return mat;
}

// Appends the rows of mat, each behind the flag, to r; mat is freed.
void append_rows(IntRows& r, int flag, isl_mat* mat) {
  for (int i = 0; i < isl_mat_rows(mat); ++i) {
    std::vector<int> row{flag};
    for (int j = 0; j < isl_mat_cols(mat); ++j) row.push_back(to_int(isl_mat_get_element_val(mat, i, j)));
    r.push_back(row);
  }
  isl_mat_free(mat);
}

isl_union_set* union_of(isl_ctx* ctx, isl_space* space, const std::vector<IntRows>& members) {
  isl_union_set* u = isl_union_set_empty(isl_space_copy(space));
  for (const auto& m : members) u = isl_union_set_union(u, isl_union_set_from_set(from_vec_vec(ctx, space, m)));
  return u;
}

// The union of the members as one set.
isl_set* set_of(isl_ctx* ctx, isl_space* space, const std::vector<IntRows>& members) {
  isl_set* s = isl_set_empty(isl_space_copy(space));
  for (const auto& m : members) s = isl_set_union(s, from_vec_vec(ctx, space, m));
  return s;
}

// Whether a and b (kept) share an integer point.
bool meets(isl_set* a, isl_set* b) {
  isl_set* both = isl_set_intersect(isl_set_copy(a), isl_set_copy(b));
  bool empty = isl_set_is_empty(both) == isl_bool_true;
  isl_set_free(both);
  return !empty;
}

// Whether a and b (kept) have the same points in context (kept).
bool same_within(isl_set* a, isl_set* b, isl_set* context) {
  isl_set* a_within = isl_set_intersect(isl_set_copy(a), isl_set_copy(context));
  isl_set* b_within = isl_set_intersect(isl_set_copy(b), isl_set_copy(context));
  bool same = isl_set_is_equal(a_within, b_within) == isl_bool_true;
  isl_set_free(a_within);
  isl_set_free(b_within);
  return same;
}

// Runs a binary union-set operation over the two unions and reads back the
// part of the answer in the set space.
std::vector<IntRows> union_operation(const std::vector<IntRows>& a, const std::vector<IntRows>& b,
                                     int nb_counters, int nb_parameters,
                                     isl_union_set* (*operation)(isl_union_set*, isl_union_set*)) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, nb_parameters, nb_counters);
  isl_union_set* first = union_of(ctx, space, a);
  isl_union_set* second = union_of(ctx, space, b);
  isl_union_set* result = operation(first, second);
  isl_set* s = isl_union_set_extract_set(result, isl_space_copy(space));
  std::vector<IntRows> r = to_vec_vec_vec(s);
  isl_set_free(s);
  isl_union_set_free(result);
  isl_space_free(space);
  isl_ctx_free(ctx);
  return r;
}

// Whether every element of `mat` (taken) fits an int.
bool fits_int(isl_mat* mat) {
  bool fits = true;
  for (int i = 0; fits && i < isl_mat_rows(mat); ++i)
    for (int j = 0; fits && j < isl_mat_cols(mat); ++j) {
      isl_val* v = isl_mat_get_element_val(mat, i, j);
      fits = isl_val_cmp_si(v, INT_MIN) >= 0 && isl_val_cmp_si(v, INT_MAX) <= 0;
      isl_val_free(v);
    }
  isl_mat_free(mat);
  return fits;
}

// Whether every coefficient of `s` (kept) fits an int.
bool fits_int(isl_set* s) {
  isl_basic_set_list* list = isl_set_get_basic_set_list(s);
  bool fits = true;
  for (int i = 0; fits && i < isl_basic_set_list_n_basic_set(list); ++i) {
    isl_basic_set* b = isl_basic_set_list_get_basic_set(list, i);
    bool ineqs = fits_int(isl_basic_set_inequalities_matrix(b, isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst));
    bool eqs = fits_int(isl_basic_set_equalities_matrix(b, isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst));
    fits = ineqs && eqs;
    isl_basic_set_free(b);
  }
  isl_basic_set_list_free(list);
  return fits;
}

// The members of `domain` coalesced, stored in `coalesced`; false (nothing
// stored) when a coefficient of the result does not fit an int. Ends no
// run, so that it may run in a worker thread.
bool coalesce_into(const std::vector<IntRows>& domain, int nb_counters, int nb_parameters,
                   std::vector<IntRows>& coalesced) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, nb_parameters, nb_counters);
  isl_set* s = isl_set_coalesce(set_of(ctx, space, domain));
  bool fits = fits_int(s);
  if (fits) coalesced = to_vec_vec_vec(s);
  isl_set_free(s);
  isl_space_free(space);
  isl_ctx_free(ctx);
  return fits;
}

// The rows as inequalities: an equality row becomes itself and its opposite.
IntRows inequalities(const IntRows& m) {
  IntRows r;
  for (const std::vector<int>& row : m) {
    std::vector<int> at_least(row);
    at_least[0] = 1;
    r.push_back(at_least);
    if (row[0] != 0) continue;
    for (size_t k = 1; k < at_least.size(); k++) at_least[k] = -at_least[k];
    r.push_back(at_least);
  }
  return r;
}

// The inequality row negated over the integers: "row < 0" is
// "-row - 1 >= 0".
std::vector<int> negation(const std::vector<int>& row) {
  std::vector<int> outside{1};
  for (size_t k = 1; k < row.size(); k++) outside.push_back(-row[k]);
  outside.back() -= 1;
  return outside;
}

// Whether every integer point of the rows within the context (kept) also
// satisfies row: no point of the rows and the context lies outside it.
bool implied(isl_ctx* ctx, isl_space* space, const IntRows& rows, const std::vector<int>& row, isl_set* context) {
  for (const std::vector<int>& half : inequalities({row})) {
    IntRows outside = rows;
    outside.push_back(negation(half));
    isl_set* s = from_vec_vec(ctx, space, outside);
    bool met = meets(s, context);
    isl_set_free(s);
    if (met) return false;
  }
  return true;
}

// The gist of one member in the context (kept), computed without isl's
// own gist, which crashes in isl 0.25 on some inputs: the rows are looked
// at one by one, and a row that the context and the rows still kept imply
// is dropped. An equality is dropped whole or kept as it is.
IntRows without_implied(isl_ctx* ctx, isl_space* space, IntRows kept, isl_set* context) {
  for (size_t k = 0; k < kept.size();) {
    IntRows others = kept;
    others.erase(others.begin() + k);
    if (implied(ctx, space, others, kept[k], context)) kept = others;
    else ++k;
  }
  return kept;
}

IntRows to_rows(isl_mat* mat) {
  IntRows r(isl_mat_rows(mat), std::vector<int>(isl_mat_cols(mat)));
  for (size_t i = 0; i < r.size(); ++i)
    for (size_t j = 0; j < r[i].size(); ++j) r[i][j] = to_int(isl_mat_get_element_val(mat, i, j));
  return r;
}

}  // namespace

isl_set* from_vec_vec(isl_ctx* ctx, isl_space* space, const IntRows& m) {
  int width = isl_space_dim(space, isl_dim_set) + isl_space_dim(space, isl_dim_param) + 1;
  std::vector<const std::vector<int>*> equalities, inequalities;
  // isl aborts on a bad width, so the rows are checked here first.
  for (const auto& row : m) {
    if (static_cast<int>(row.size()) != width + 1) stop(std::cerr, "ISLWrapper::from_vec_vec: lines are not consistent");
    (row[0] == 0 ? equalities : inequalities).push_back(&row);
  }
  isl_basic_set* b = isl_basic_set_from_constraint_matrices(
      isl_space_copy(space), constraint_matrix(ctx, equalities, width), constraint_matrix(ctx, inequalities, width),
      isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst);
  return isl_set_from_basic_set(b);
}

std::vector<IntRows> to_vec_vec_vec(isl_set* s) {
  std::vector<IntRows> r;
  isl_basic_set_list* list = isl_set_get_basic_set_list(s);
  for (int i = 0; i < isl_basic_set_list_n_basic_set(list); ++i) {
    isl_basic_set* b = isl_basic_set_list_get_basic_set(list, i);
    IntRows m;
    append_rows(m, 1, isl_basic_set_inequalities_matrix(b, isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst));
    append_rows(m, 0, isl_basic_set_equalities_matrix(b, isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst));
    r.push_back(m);
    isl_basic_set_free(b);
  }
  isl_basic_set_list_free(list);
  return r;
}

// The entry `v` (taken) of a row of the model, whose rows are int: a value
// beyond int throws ValueOutOfRange, which refuses the input at the line
// of the statement being tiled.
int to_int(isl_val* v) {
  long n = isl_val_get_num_si(v);
  isl_val_free(v);
  return checked_int(n);
}

void print_set(isl_ctx* ctx, isl_set* s) {
  isl_printer* p = isl_printer_to_file(ctx, stdout);
  p = isl_printer_print_set(p, s);
  isl_printer_free(p);
}

void print_union_set(isl_ctx* ctx, isl_union_set* s) {
  isl_printer* p = isl_printer_to_file(ctx, stdout);
  p = isl_printer_print_union_set(p, s);
  isl_printer_free(p);
}

std::vector<IntRows> ISLWrapper::coalesce(std::vector<IntRows> domain, int nb_counters, int nb_parameters) {
  std::vector<IntRows> r;
  if (!coalesce_into(domain, nb_counters, nb_parameters, r)) stop(std::cerr, kOutOfIntRange);
  return r;
}

void ISLWrapper::coalesce_all(std::vector<CoalescingJob>& jobs) {
  // The jobs are independent: each worker takes the next one left, and
  // every coalescing has its isl context to itself. A worker ends no run:
  // a value beyond an int stops it here, in the calling thread.
  std::vector<char> in_range(jobs.size(), 1);
  std::atomic<size_t> next(0);
  auto work = [&jobs, &in_range, &next] {
    for (size_t k; (k = next++) < jobs.size();)
      in_range[k] = coalesce_into(jobs[k].domain, jobs[k].nb_counters, jobs[k].nb_parameters, jobs[k].coalesced);
  };
  size_t most = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (size_t w = 1; w < std::min(most, jobs.size()); w++) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: fewer workers share the jobs
    }
  }
  work();
  for (std::thread& worker : workers) worker.join();
  for (char fits : in_range)
    if (!fits) stop(std::cerr, kOutOfIntRange);
}

namespace {

// The rows of the simple hull of s (taken) without existential variables,
// or rows without integer point for an empty s; space and ctx are freed.
IntRows hull_rows(isl_ctx* ctx, isl_space* space, isl_set* s) {
  int width = isl_space_dim(space, isl_dim_set) + isl_space_dim(space, isl_dim_param) + 2;
  isl_set* hull = isl_set_from_basic_set(isl_basic_set_remove_divs(isl_set_simple_hull(s)));
  std::vector<IntRows> pieces = to_vec_vec_vec(hull);
  isl_set_free(hull);
  isl_space_free(space);
  isl_ctx_free(ctx);
  if (!pieces.empty()) return pieces[0];
  // isl drops an empty basic set from its set: -1 >= 0 has no point.
  std::vector<int> none(width, 0);
  none.front() = 1;
  none.back() = -1;
  return {none};
}

}  // namespace

IntRows ISLWrapper::simple_hull(std::vector<IntRows> domain, int nb_counters, int nb_parameters) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, nb_parameters, nb_counters);
  // The members have no existential variable, nor has their hull: removing
  // them (an overapproximation) only guards the reading of the rows.
  return hull_rows(ctx, space, set_of(ctx, space, domain));
}

IntRows ISLWrapper::project(const IntRows& m, const std::set<int>& kept, int nb_counters, int nb_parameters) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, nb_parameters, nb_counters);
  isl_set* s = from_vec_vec(ctx, space, m);
  for (int c = 0; c < nb_counters; ++c)
    if (!kept.count(c)) s = isl_set_eliminate(s, isl_dim_set, c, 1);
  // The elimination leaves existential variables where a counter sat in an
  // equality; removing them (Fourier-Motzkin) leaves the rational projection.
  return hull_rows(ctx, space, s);
}

std::vector<IntRows> ISLWrapper::subtract(std::vector<IntRows> domain1, std::vector<IntRows> domain2,
                                          int nb_counters, int nb_parameters) {
  return union_operation(domain1, domain2, nb_counters, nb_parameters, isl_union_set_subtract);
}

std::vector<IntRows> ISLWrapper::gist(std::vector<IntRows> domain, std::vector<IntRows> context, int nb_counters,
                                      int nb_parameters) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, nb_parameters, nb_counters);
  isl_set* within = set_of(ctx, space, context);
  isl_set* simplified = isl_set_empty(isl_space_copy(space));
  for (const auto& m : domain) {
    isl_set* member = from_vec_vec(ctx, space, m);
    // A member without a point in the context adds nothing to the gist.
    if (meets(member, within)) {
      isl_set* kept = from_vec_vec(ctx, space, without_implied(ctx, space, m, within));
      // Every row was dropped on an exact emptiness test, so the check
      // holds unless isl answered one wrongly; then the member stays whole.
      if (!same_within(kept, member, within)) {
        isl_set_free(kept);
        kept = isl_set_copy(member);
      }
      simplified = isl_set_union(simplified, kept);
    }
    isl_set_free(member);
  }
  std::vector<IntRows> r = to_vec_vec_vec(simplified);
  isl_set_free(simplified);
  isl_set_free(within);
  isl_space_free(space);
  isl_ctx_free(ctx);
  return r;
}

int ISLWrapper::is_empty(const IntRows& rows, int nb_variables) {
  isl_ctx* ctx = aborting_context();
  isl_space* space = isl_space_set_alloc(ctx, 0, nb_variables);
  isl_set* s = from_vec_vec(ctx, space, rows);
  int answer = isl_set_is_empty(s) == isl_bool_true;
  isl_set_free(s);
  isl_space_free(space);
  isl_ctx_free(ctx);
  return answer;
}

std::vector<IntRows> ISLWrapper::disjoint_subtract(const IntRows& a, const IntRows& b, int nb_variables) {
  IntRows kept = a;
  std::vector<IntRows> pieces;
  for (const std::vector<int>& row : inequalities(b)) {
    if (is_empty(kept, nb_variables)) break;
    IntRows piece = kept;
    piece.push_back(negation(row));
    if (!is_empty(piece, nb_variables)) pieces.push_back(piece);
    kept.push_back(row);
  }
  return pieces;
}

IntRows ISLWrapper::right_inverse(IntRows m) {
  if (m.empty()) return m;
  if (m[0].empty()) stop(std::cout, "ISLWrapper: dim 0 input space");
  for (const auto& row : m)
    if (row.size() != m[0].size()) stop(std::cerr, "ISLWrapper::right_inverse: lines are not consistent");
  // isl's default error mode: a matrix without right inverse is reported by
  // isl and answered with NULL, which is tested below.
  isl_ctx* ctx = isl_ctx_alloc();
  isl_mat* mat = isl_mat_alloc(ctx, m.size(), m[0].size());
  for (size_t i = 0; i < m.size(); ++i)
    for (size_t j = 0; j < m[i].size(); ++j) mat = isl_mat_set_element_si(mat, i, j, m[i][j]);
  isl_mat_print_internal(mat, stdout, 0);
  isl_mat* inverse = isl_mat_right_inverse(mat);
  if (!inverse) {
    isl_ctx_free(ctx);
    stop(std::cerr, "ISLWrapper::right_inverse: no right inverse");
  }
  isl_mat_print_internal(inverse, stdout, 0);
  IntRows r = to_rows(inverse);
  isl_mat_free(inverse);
  isl_ctx_free(ctx);
  std::cout << "right-inverse(" << m << ") = " << std::endl << r << std::endl;
  return r;
}

namespace {

// `hull` (kept) with every set dimension but `kept` eliminated, rationally:
// the bounds of that dimension in the parameters. The constraints on the
// parameters alone are dropped: they bound no dimension, and each one that
// the boxes of several statements differ by is a case that the code
// generator tells apart. The caller owns it.
isl_set* dimension_bounds(isl_basic_set* hull, int kept) {
  isl_basic_set* b = isl_basic_set_copy(hull);
  isl_size n = isl_basic_set_dim(b, isl_dim_set);
  for (int j = 0; j < n; j++)
    if (j != kept) b = isl_basic_set_eliminate(b, isl_dim_set, j, 1);
  b = isl_basic_set_drop_constraints_not_involving_dims(isl_basic_set_remove_divs(b), isl_dim_set, kept, 1);
  return isl_set_from_basic_set(b);
}

const char* c_operator(isl_ast_expr_op_type type) {
  switch (type) {
    case isl_ast_expr_op_add: return " + ";
    case isl_ast_expr_op_sub: return " - ";
    case isl_ast_expr_op_mul: return " * ";
    case isl_ast_expr_op_div: case isl_ast_expr_op_pdiv_q: return " / ";
    case isl_ast_expr_op_pdiv_r: case isl_ast_expr_op_zdiv_r: return " % ";
    case isl_ast_expr_op_and: case isl_ast_expr_op_and_then: return " && ";
    case isl_ast_expr_op_or: case isl_ast_expr_op_or_else: return " || ";
    case isl_ast_expr_op_eq: return " == ";
    case isl_ast_expr_op_le: return " <= ";
    case isl_ast_expr_op_lt: return " < ";
    case isl_ast_expr_op_ge: return " >= ";
    case isl_ast_expr_op_gt: return " > ";
    default: return nullptr;
  }
}

bool print_long_long(std::ostream& out, isl_ast_expr* e);

// The least (`compare` " < ") or the largest (" > ") of `args` (kept) from
// `first` on, as nested conditional expressions; false for an argument
// without a C form.
bool print_extremum(std::ostream& out, const char* compare, const std::vector<isl_ast_expr*>& args, size_t first) {
  if (first + 1 == args.size()) return print_long_long(out, args[first]);
  std::ostringstream a, b;
  if (!print_long_long(a, args[first]) || !print_extremum(b, compare, args, first + 1)) return false;
  out << "(" << a.str() << compare << b.str() << " ? " << a.str() << " : " << b.str() << ")";
  return true;
}

// The operation `e` (kept); false for one without a C form here.
bool print_operation(std::ostream& out, isl_ast_expr* e) {
  isl_ast_expr_op_type type = isl_ast_expr_op_get_type(e);
  isl_size n = isl_ast_expr_op_get_n_arg(e);
  std::vector<isl_ast_expr*> args;
  for (isl_size k = 0; k < n; k++) args.push_back(isl_ast_expr_op_get_arg(e, k));
  bool printed = true;
  auto arg = [&](int k) { printed = print_long_long(out, args[k]) && printed; };
  if ((type == isl_ast_expr_op_min || type == isl_ast_expr_op_max) && n >= 2) {
    printed = print_extremum(out, type == isl_ast_expr_op_min ? " < " : " > ", args, 0);
  } else if (type == isl_ast_expr_op_minus && n == 1) {
    out << "(-", arg(0), out << ")";
  } else if (type == isl_ast_expr_op_fdiv_q && n == 2) {
    // isl's divisor is a positive constant.
    out << "(", arg(0), out << " / ", arg(1), out << " - (", arg(0), out << " % ", arg(1), out << " < 0))";
  } else if ((type == isl_ast_expr_op_select || type == isl_ast_expr_op_cond) && n == 3) {
    out << "(", arg(0), out << " ? ", arg(1), out << " : ", arg(2), out << ")";
  } else if (c_operator(type) && n == 2) {
    out << "(", arg(0), out << c_operator(type), arg(1), out << ")";
  } else {
    printed = false;
  }
  for (isl_ast_expr* a : args) isl_ast_expr_free(a);
  return printed;
}

// `e` (kept) in C, computed in long long: each name cast, each integer
// suffixed, and min, max and floor divisions written out, for they must
// not take the program's own min (on int) in place of the prelude's.
// False for an expression without a C form here.
bool print_long_long(std::ostream& out, isl_ast_expr* e) {
  if (isl_ast_expr_get_type(e) == isl_ast_expr_id) {
    isl_id* id = isl_ast_expr_get_id(e);
    out << "((long long)" << isl_id_get_name(id) << ")";
    isl_id_free(id);
    return true;
  }
  if (isl_ast_expr_get_type(e) == isl_ast_expr_int) {
    isl_val* v = isl_ast_expr_get_val(e);
    char* text = isl_val_to_str(v);
    out << "(" << text << "LL)";
    free(text);
    isl_val_free(v);
    return true;
  }
  return isl_ast_expr_get_type(e) == isl_ast_expr_op && print_operation(out, e);
}

// `bound` (taken) as a C text over the parameters, simplified where the
// set `context` (taken) holds; "" when isl fails or the bound is infinite.
std::string bound_text(isl_pw_aff* bound, isl_set* context) {
  std::string text;
  if (bound && isl_pw_aff_involves_nan(bound) == isl_bool_false) {
    isl_ast_build* build = isl_ast_build_from_context(context);
    context = nullptr;
    isl_ast_expr* e = isl_ast_build_expr_from_pw_aff(build, isl_pw_aff_copy(bound));
    std::ostringstream out;
    if (e && print_long_long(out, e)) text = out.str();
    isl_ast_expr_free(e);
    isl_ast_build_free(build);
  }
  isl_set_free(context);
  isl_pw_aff_free(bound);
  return text;
}

// The least and the largest value of the set dimension at `position` of
// `set` (taken), as C texts over the parameters simplified where `context`
// (taken) holds.
std::pair<std::string, std::string> set_dimension_range(isl_set* set, int position, isl_set* context) {
  std::pair<std::string, std::string> range;
  range.first = bound_text(isl_set_dim_min(isl_set_copy(set), position), isl_set_copy(context));
  range.second = bound_text(isl_set_dim_max(set, position), context);
  return range;
}

// The combinations that the constraints of a hull name (see
// combination_ranges): the dimensions they may name, the largest
// coefficient kept, and those found.
struct Directions {
  const std::set<int>* kept;
  long long largest;
  std::set<std::vector<long long>> found;
};

// The coefficients of `c` (kept) on its set dimensions; nothing for one
// beyond an int.
std::optional<std::vector<long long>> set_coefficients(isl_constraint* c) {
  std::vector<long long> w(std::max(isl_constraint_dim(c, isl_dim_set), 0));
  for (size_t k = 0; k < w.size(); k++) {
    isl_val* v = isl_constraint_get_coefficient_val(c, isl_dim_set, static_cast<int>(k));
    bool fits =
        isl_val_is_int(v) == isl_bool_true && isl_val_cmp_si(v, INT_MAX) <= 0 && isl_val_cmp_si(v, INT_MIN) >= 0;
    if (fits) w[k] = isl_val_get_num_si(v);
    isl_val_free(v);
    if (!fits) return std::nullopt;
  }
  return w;
}

// Adds the combination that `c` (taken) names to the Directions `user`.
isl_stat add_direction(isl_constraint* c, void* user) {
  Directions& directions = *static_cast<Directions*>(user);
  std::optional<std::vector<long long>> w = set_coefficients(c);
  isl_constraint_free(c);
  if (!w) return isl_stat_ok;
  long long divisor = 0, sign = 0;
  int named = 0;
  for (size_t k = 0; k < w->size(); k++) {
    if (!(*w)[k]) continue;
    if (!directions.kept->count(static_cast<int>(k))) return isl_stat_ok;
    named++;
    divisor = std::gcd(divisor, std::llabs((*w)[k]));
    if (!sign) sign = (*w)[k] > 0 ? 1 : -1;
  }
  if (named < 2) return isl_stat_ok;
  for (long long& x : *w) {
    x = x / divisor * sign;
    if (std::llabs(x) > directions.largest) return isl_stat_ok;
  }
  directions.found.insert(*w);
  return isl_stat_ok;
}

// The least and largest value of the combination `w` of the set
// dimensions of `set` (kept) over it, as set_dimension_range gives them.
std::pair<std::string, std::string> combination_range(isl_set* set, const std::vector<long long>& w) {
  isl_aff* aff = isl_aff_zero_on_domain(isl_local_space_from_space(isl_set_get_space(set)));
  for (size_t k = 0; k < w.size(); k++)
    aff = isl_aff_set_coefficient_si(aff, isl_dim_in, static_cast<int>(k), static_cast<int>(w[k]));
  isl_set* image = isl_set_apply(isl_set_copy(set), isl_map_from_aff(aff));
  return set_dimension_range(image, 0, isl_set_params(isl_set_copy(set)));
}

}  // namespace

std::vector<ISLWrapper::CombinationRange> ISLWrapper::combination_ranges(const std::string& domain,
                                                                         const std::set<int>& kept,
                                                                         long long largest_coefficient,
                                                                         unsigned long operations) {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_set* set = isl_set_read_from_str(ctx, domain.c_str());
  isl_ctx_set_max_operations(ctx, operations);
  Directions directions{&kept, largest_coefficient, {}};
  isl_basic_set* hull = isl_basic_set_remove_divs(isl_set_simple_hull(isl_set_copy(set)));
  if (isl_basic_set_foreach_constraint(hull, add_direction, &directions) != isl_stat_ok) directions.found.clear();
  // A hull computed once the operations ran out may miss constraints, but
  // each combination it names is ranged over the set itself.
  std::vector<CombinationRange> ranges;
  for (const std::vector<long long>& w : directions.found) {
    isl_ctx_reset_error(ctx);
    isl_ctx_reset_operations(ctx);
    std::pair<std::string, std::string> range = combination_range(set, w);
    // A bound computed once the operations ran out may be wrong: dropped.
    if (isl_ctx_last_error(ctx) == isl_error_none) ranges.push_back({w, range});
  }
  isl_basic_set_free(hull);
  isl_set_free(set);
  isl_ctx_free(ctx);
  return ranges;
}

std::pair<std::string, std::string> ISLWrapper::dimension_range(const std::string& domain, int position,
                                                               unsigned long operations) {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_set* set = isl_set_read_from_str(ctx, domain.c_str());
  isl_ctx_set_max_operations(ctx, operations);
  std::pair<std::string, std::string> range;
  isl_bool empty = isl_set_is_empty(set);
  if (empty == isl_bool_true) range = {"1", "0"};
  else if (empty == isl_bool_false)
    range = set_dimension_range(isl_set_copy(set), position, isl_set_params(isl_set_copy(set)));
  // A bound computed once the operations ran out may be wrong: dropped.
  if (isl_ctx_last_error(ctx) != isl_error_none) range = {"", ""};
  isl_set_free(set);
  isl_ctx_free(ctx);
  return range;
}

std::optional<std::string> ISLWrapper::box_within(const std::string& domain, const std::string& cell,
                                                  const std::vector<int>& kept, unsigned long operations) {
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  // Both are read first: isl leaks the token it is reading when it runs
  // out of operations inside a reading.
  isl_set* whole = isl_set_read_from_str(ctx, domain.c_str());
  isl_set* within = isl_set_read_from_str(ctx, cell.c_str());
  isl_ctx_set_max_operations(ctx, operations);
  isl_basic_set* hull = isl_basic_set_remove_divs(isl_set_simple_hull(whole));
  isl_set* box = isl_set_universe(isl_basic_set_get_space(hull));
  for (int k : kept) box = isl_set_intersect(box, dimension_bounds(hull, k));
  box = isl_set_intersect(box, within);
  // A result computed once the operations ran out may be wrong: dropped.
  char* text = isl_ctx_last_error(ctx) == isl_error_none ? isl_set_to_str(box) : nullptr;
  std::optional<std::string> result;
  if (text) result = text;
  free(text);
  isl_basic_set_free(hull);
  isl_set_free(box);
  isl_ctx_free(ctx);
  return result;
}

bool ISLWrapper::may_have_points(const std::string& text) {
  // A text isl refuses is answered, not fatal: the caller only narrows what
  // it may require with the answer.
  isl_ctx* ctx = isl_ctx_alloc();
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_union_set* set = isl_union_set_read_from_str(ctx, text.c_str());
  bool empty = set && isl_union_set_is_empty(set) == isl_bool_true;
  isl_union_set_free(set);
  isl_ctx_free(ctx);
  return !empty;
}

void ISLWrapper::set_from_iscc(std::stringstream& script) {
  {
    std::ofstream input("input.iscc", std::ios::trunc);
    input << script.str();
    if (!input) stop(std::cerr, "ISLWrapper::set_from_iscc: cannot write input.iscc");
  }
  std::cout.flush();
  int status = std::system("iscc < input.iscc > output.iscc");
  if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    stop(std::cerr, "ISLWrapper::set_from_iscc: iscc failed");
  std::exit(0);
}
