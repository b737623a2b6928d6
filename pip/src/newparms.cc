#include "newparms.h"

#include "fail.h"
#include "isl_number.h"
#include "records.h"

namespace {

long long checked_add(long long a, long long b) {
  long long sum;
  if (__builtin_add_overflow(a, b, &sum)) pip_fail("answer coefficient outside 64 bits");
  return sum;
}

// The coefficient (borrowed aff) of type position pos times scale, as a
// 64-bit integer.
long long scaled_coefficient(isl_ctx *ctx, isl_aff *aff, isl_dim_type type, int pos,
                             long long scale) {
  Isl<isl_val> v(ctx, type == isl_dim_cst ? isl_aff_get_constant_val(aff)
                                          : isl_aff_get_coefficient_val(aff, type, pos));
  v = Isl<isl_val>(ctx, isl_val_mul(v.take(), isl_val_int_from_si(ctx, scale)));
  return pip_val_integer(ctx, v.get());
}

int dim(isl_ctx *ctx, isl_aff *aff, isl_dim_type type) {
  isl_size n = isl_aff_dim(aff, type);
  if (n < 0) pip_fail_isl(ctx);
  return n;
}

void add_at(std::vector<long long> &num, int column, long long value) {
  if (static_cast<int>(num.size()) <= column) num.resize(column + 1, 0);
  num[column] = checked_add(num[column], value);
}

}  // namespace

void NewparmScope::add_integer_term(isl_ctx *ctx, isl_aff *aff, long long scale,
                                    PipRow &row, std::vector<int> &columns,
                                    PipNewparm **chain) {
  for (int i = 0; i < np_; ++i)
    add_at(row.num, i, scaled_coefficient(ctx, aff, isl_dim_param, i, scale));
  int divs = dim(ctx, aff, isl_dim_div);
  for (int j = 0; j < divs; ++j) {
    if (isl_aff_coefficient_sgn(aff, isl_dim_div, j) == 0) continue;
    int column = column_of_div(ctx, aff, j, columns, chain);
    add_at(row.num, column, scaled_coefficient(ctx, aff, isl_dim_div, j, scale));
  }
  row.constant_num =
      checked_add(row.constant_num, scaled_coefficient(ctx, aff, isl_dim_cst, 0, scale));
}

int NewparmScope::column_of_div(isl_ctx *ctx, isl_aff *aff, int div,
                                std::vector<int> &columns, PipNewparm **chain) {
  if (columns[div] >= 0) return columns[div];
  // isl writes the division as floor(e/m) and returns e/m over the same
  // local space, so e may use earlier divisions: they are defined first.
  Isl<isl_aff> quotient(ctx, isl_aff_get_div(aff, div));
  Isl<isl_val> m(ctx, isl_aff_get_denominator_val(quotient.get()));
  long long deno = pip_val_integer(ctx, m.get());
  PipRow e;
  add_integer_term(ctx, quotient.get(), deno, e, columns, chain);
  Definition d{e.num, e.constant_num, deno};
  int index = find(d);
  if (index < 0) {
    index = static_cast<int>(defs_.size());
    int rank = np_ + index;
    d.num.resize(rank, 0);
    defs_.push_back(d);
    PipVector *v = pip_vector_new(rank + 1);
    for (int c = 0; c < rank; ++c) v->the_vector[c] = d.num[c];
    v->the_vector[rank] = d.constant;
    PipNewparm **tail = chain;
    while (*tail) tail = &(*tail)->next;
    *tail = pip_newparm_new(rank, v, deno);
  }
  columns[div] = np_ + index;
  return columns[div];
}

int NewparmScope::find(const Definition &d) const {
  for (size_t i = 0; i < defs_.size(); ++i) {
    const Definition &known = defs_[i];
    size_t own = np_ + i;  // a new parameter uses only the columns before it
    if (known.deno != d.deno || known.constant != d.constant) continue;
    bool same = true;
    for (size_t c = 0; c < d.num.size() && same; ++c)
      same = d.num[c] == (c < own ? known.num[c] : 0);
    if (same) return static_cast<int>(i);
  }
  return -1;
}

PipRow NewparmScope::integer_row(isl_ctx *ctx, isl_aff *aff, PipNewparm **chain) {
  Isl<isl_val> den(ctx, isl_aff_get_denominator_val(aff));
  if (!isl_checked(ctx, isl_val_is_one(den.get())))
    pip_fail("internal error: fractional integer form");
  std::vector<int> columns(dim(ctx, aff, isl_dim_div), -1);
  PipRow row;
  add_integer_term(ctx, aff, 1, row, columns, chain);
  row.den.assign(row.num.size(), 1);
  return row;
}

PipRow NewparmScope::rational_row(isl_ctx *ctx, isl_aff *aff) const {
  int divs = dim(ctx, aff, isl_dim_div);
  for (int j = 0; j < divs; ++j)
    if (isl_aff_coefficient_sgn(aff, isl_dim_div, j) != 0)
      pip_fail("internal error: division in a rational answer");
  PipRow row;
  row.num.resize(np_);
  row.den.resize(np_);
  for (int i = 0; i < np_; ++i) {
    Isl<isl_val> v(ctx, isl_aff_get_coefficient_val(aff, isl_dim_param, i));
    pip_val_fraction(ctx, v.get(), &row.num[i], &row.den[i]);
  }
  Isl<isl_val> c(ctx, isl_aff_get_constant_val(aff));
  pip_val_fraction(ctx, c.get(), &row.constant_num, &row.constant_den);
  return row;
}

PipVector *NewparmScope::vector(const PipRow &row) const {
  int n = width();
  PipVector *v = pip_vector_new(n);
  for (int c = 0; c < n - 1 && c < static_cast<int>(row.num.size()); ++c) {
    v->the_vector[c] = row.num[c];
    if (c < static_cast<int>(row.den.size())) v->the_deno[c] = row.den[c];
  }
  v->the_vector[n - 1] = row.constant_num;
  v->the_deno[n - 1] = row.constant_den;
  return v;
}

PipVector *NewparmScope::unbounded_marker() const {
  PipVector *v = pip_vector_new(width());
  for (int c = 0; c < v->nb_elements; ++c) v->the_deno[c] = 0;
  return v;
}
