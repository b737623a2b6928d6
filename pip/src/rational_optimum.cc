// For each unknown j in turn, with the earlier unknowns fixed at their
// optimum (affine in the parameters on a piece), the projection of the set
// onto unknown j is an interval whose bounds are affine in the parameters:
// its optimum is the minimum of the upper bounds (maximum of the lower
// bounds), split into pieces by isl over the integer parameter points.
// Projections are exact over the rationals (elimination by isl on rational
// sets); everything about the parameters is integer.
#include "rational_optimum.h"

#include <isl/mat.h>

#include <climits>
#include <string>

#include "fail.h"
#include "isl_number.h"
#include "isl_text.h"

namespace {

using Big = __int128;

// (num . p + constant) / den, den > 0.
struct Form {
  std::vector<long long> num;
  long long constant;
  long long den;
};

// x . unknowns + p . parameters + c, "= 0" or ">= 0".
struct Row {
  std::vector<Big> x, p;
  Big c;
  bool eq;
};

long long narrow(Big v) {
  if (v > LLONG_MAX || v < LLONG_MIN) pip_fail("answer coefficient outside 64 bits");
  return static_cast<long long>(v);
}

// Products and sums of substituted rows: a wrapped 128-bit value could
// pass the 64-bit check of the answer and give a wrong one.
Big mul(Big a, Big b) {
  Big r;
  if (__builtin_mul_overflow(a, b, &r)) pip_fail("answer coefficient outside 64 bits");
  return r;
}

Big add(Big a, Big b) {
  Big r;
  if (__builtin_add_overflow(a, b, &r)) pip_fail("answer coefficient outside 64 bits");
  return r;
}

Big gcd(Big a, Big b) {
  a = a < 0 ? -a : a;
  b = b < 0 ? -b : b;
  while (b) {
    Big t = a % b;
    a = b;
    b = t;
  }
  return a;
}

void normalize(Row &r) {
  Big g = r.c;
  for (Big v : r.x) g = gcd(g, v);
  for (Big v : r.p) g = gcd(g, v);
  if (g <= 1) return;
  for (Big &v : r.x) v /= g;
  for (Big &v : r.p) v /= g;
  r.c /= g;
}

std::vector<std::string> names(char prefix, int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(pip_name(prefix, i));
  return out;
}

std::vector<long long> narrow_all(const std::vector<Big> &v) {
  std::vector<long long> out;
  for (Big b : v) out.push_back(narrow(b));
  return out;
}

std::string row_text(const Row &r, int first_x) {
  std::vector<long long> coefs = narrow_all(
      std::vector<Big>(r.x.begin() + first_x, r.x.end()));
  std::vector<std::string> vars = names('x', coefs.size());
  std::vector<long long> p = narrow_all(r.p);
  coefs.insert(coefs.end(), p.begin(), p.end());
  std::vector<std::string> pv = names('p', p.size());
  vars.insert(vars.end(), pv.begin(), pv.end());
  return pip_constraint_text(coefs, vars, narrow(r.c), r.eq);
}

std::string form_text(const Form &f) {
  return "(" + pip_affine_text(f.num, names('p', f.num.size()), f.constant) + ")/" +
         std::to_string(f.den);
}

long long element(isl_ctx *ctx, isl_mat *m, int i, int j) {
  Isl<isl_val> v(ctx, isl_mat_get_element_val(m, i, j));
  return pip_val_integer(ctx, v.get());
}

// The constraints of a basic set without divisions over nx unknowns.
std::vector<Row> rows_of(isl_ctx *ctx, isl_basic_set *bset, int nx, int np) {
  std::vector<Row> out;
  for (bool eq : {true, false}) {
    Isl<isl_mat> m(ctx, eq ? isl_basic_set_equalities_matrix(bset, isl_dim_set, isl_dim_param,
                                                             isl_dim_cst, isl_dim_div)
                           : isl_basic_set_inequalities_matrix(bset, isl_dim_set, isl_dim_param,
                                                               isl_dim_cst, isl_dim_div));
    if (isl_mat_cols(m.get()) != nx + np + 1)
      pip_fail("internal error: division in a rational answer");
    for (int i = 0; i < isl_mat_rows(m.get()); ++i) {
      Row r{{}, {}, element(ctx, m.get(), i, nx + np), eq};
      for (int j = 0; j < nx; ++j) r.x.push_back(element(ctx, m.get(), i, j));
      for (int j = 0; j < np; ++j) r.p.push_back(element(ctx, m.get(), i, nx + j));
      out.push_back(r);
    }
  }
  return out;
}

// The single basic set of a rational set (none when it is empty).
std::vector<Row> single_rows(isl_ctx *ctx, isl_set *set, int nx, int np, bool *empty) {
  Isl<isl_set> s(ctx, isl_set_coalesce(isl_set_copy(set)));
  *empty = isl_checked(ctx, isl_set_is_empty(s.get()));
  if (*empty) return {};
  if (isl_set_n_basic_set(s.get()) != 1) pip_fail("internal error: rational set not convex");
  Isl<isl_basic_set> b(ctx, isl_set_simple_hull(s.take()));
  return rows_of(ctx, b.get(), nx, np);
}

// rows with unknowns 0 .. vals.size()-1 replaced by their values.
std::vector<Row> substitute(std::vector<Row> rows, const std::vector<Form> &vals) {
  for (Row &r : rows) {
    for (size_t i = 0; i < vals.size(); ++i) {
      Big e = r.x[i];
      if (e == 0) continue;
      const Form &f = vals[i];
      for (Big &v : r.x) v = mul(v, f.den);
      for (Big &v : r.p) v = mul(v, f.den);
      r.c = add(mul(r.c, f.den), mul(e, f.constant));
      for (size_t k = 0; k < r.p.size(); ++k) r.p[k] = add(r.p[k], mul(e, f.num[k]));
      r.x[i] = 0;
      normalize(r);
    }
  }
  return rows;
}

Isl<isl_set> parameter_set(isl_ctx *ctx, const std::vector<Row> &rows, int np) {
  std::vector<std::string> constraints;
  for (const Row &r : rows) {
    bool only_params = true;
    for (Big v : r.x) only_params = only_params && v == 0;
    if (only_params) constraints.push_back(row_text(r, r.x.size()));
  }
  return pip_read_set(ctx, pip_param_prefix(np), false, "", constraints);
}

struct State {
  Isl<isl_set> domain;
  std::vector<Form> vals;
};

Form form_of(isl_ctx *ctx, isl_aff *aff, int np) {
  Isl<isl_val> den(ctx, isl_aff_get_denominator_val(aff));
  Form f{{}, 0, pip_val_integer(ctx, den.get())};
  for (int k = 0; k <= np; ++k) {
    Isl<isl_val> v(ctx, k < np ? isl_aff_get_coefficient_val(aff, isl_dim_param, k)
                               : isl_aff_get_constant_val(aff));
    v = Isl<isl_val>(ctx, isl_val_mul(v.take(), den.copy()));
    long long n = pip_val_integer(ctx, v.get());
    if (k < np)
      f.num.push_back(n);
    else
      f.constant = n;
  }
  return f;
}

struct PieceSink {
  isl_ctx *ctx;
  int np;
  const std::vector<Form> *vals;
  std::vector<State> *out;
};

isl_stat take_piece(isl_set *set, isl_aff *aff, void *user) {
  PieceSink *s = static_cast<PieceSink *>(user);
  Isl<isl_aff> value(aff);
  State st{Isl<isl_set>(s->ctx, isl_set_params(set)), *s->vals};
  st.vals.push_back(form_of(s->ctx, value.get(), s->np));
  s->out->push_back(std::move(st));
  return isl_stat_ok;
}

// Optimum of unknown j on the state's domain, one new state per piece.
void optimise_unknown(isl_ctx *ctx, const std::vector<Row> &rows, int nx, int np, int j,
                      bool maximize, State &st, std::vector<State> &out) {
  std::vector<Row> fixed = substitute(rows, st.vals);
  std::vector<std::string> constraints;
  for (const Row &r : fixed) constraints.push_back(row_text(r, j));
  Isl<isl_set> rest = pip_read_set(ctx, pip_param_prefix(np), true, pip_tuple('x', nx - j),
                                   constraints);
  rest = Isl<isl_set>(ctx, isl_set_project_out(rest.take(), isl_dim_set, 1, nx - j - 1));
  bool empty;
  std::vector<Row> interval = single_rows(ctx, rest.get(), 1, np, &empty);
  if (empty) return;
  Isl<isl_set> where(ctx, isl_set_intersect(st.domain.copy(),
                                            parameter_set(ctx, interval, np).take()));
  Isl<isl_pw_aff> best;
  for (const Row &r : interval) {
    Big a = r.x[0];
    if (a == 0 || (!r.eq && (maximize ? a > 0 : a < 0))) continue;
    // a x + p.P + c >= 0 (or = 0): x bounded by -(p.P + c) / a.
    Form bound{narrow_all(r.p), narrow(r.c), narrow(a < 0 ? -a : a)};
    if (a > 0) {
      for (long long &v : bound.num) v = -v;
      bound.constant = -bound.constant;
    }
    std::string text = pip_param_prefix(np) + "{ [" + form_text(bound) + "] }";
    Isl<isl_pw_aff> piece(ctx, isl_pw_aff_intersect_params(
                                   isl_pw_aff_from_aff(isl_aff_read_from_str(ctx, text.c_str())),
                                   where.copy()));
    if (!best.get()) {
      best = std::move(piece);
      continue;
    }
    best = Isl<isl_pw_aff>(ctx, maximize ? isl_pw_aff_min(best.take(), piece.take())
                                         : isl_pw_aff_max(best.take(), piece.take()));
  }
  if (!best.get()) pip_fail("internal error: unbounded rational optimum");
  PieceSink sink{ctx, np, &st.vals, &out};
  if (isl_pw_aff_foreach_piece(best.get(), take_piece, &sink) < 0) pip_fail_isl(ctx);
}

}  // namespace

std::vector<PipPiece> pip_rational_optimum(isl_ctx *ctx, isl_set *set, int np,
                                           bool maximize) {
  isl_size nx = isl_set_dim(set, isl_dim_set);
  if (nx < 0) pip_fail_isl(ctx);
  bool empty;
  std::vector<Row> rows = single_rows(ctx, set, nx, np, &empty);
  if (empty) return {};
  std::vector<State> states;
  states.push_back({pip_read_set(ctx, pip_param_prefix(np), false, "", {}), {}});
  for (int j = 0; j < nx; ++j) {
    std::vector<State> next;
    for (State &st : states) optimise_unknown(ctx, rows, nx, np, j, maximize, st, next);
    states = std::move(next);
  }
  std::vector<PipPiece> out;
  for (State &st : states) {
    Isl<isl_set> domain(ctx, isl_set_intersect(
                                 st.domain.take(),
                                 parameter_set(ctx, substitute(rows, st.vals), np).take()));
    if (isl_checked(ctx, isl_set_is_empty(domain.get()))) continue;
    std::string text = pip_param_prefix(np) + "{ [";
    for (size_t i = 0; i < st.vals.size(); ++i) text += (i ? ", " : "") + form_text(st.vals[i]);
    text += "] }";
    out.push_back({std::move(domain),
                   Isl<isl_multi_aff>(ctx, isl_multi_aff_read_from_str(ctx, text.c_str()))});
  }
  return out;
}
