#include "integer_form.h"

#include <climits>
#include <map>

#include "fail.h"

namespace {

using Big = __int128;

int dim(isl_ctx *ctx, isl_aff *aff, isl_dim_type type) {
  isl_size n = isl_aff_dim(aff, type);
  if (n < 0) pip_fail_isl(ctx);
  return n;
}

// v (borrowed) as a 64-bit integer; *exact becomes false when it is none.
long long integer(isl_ctx *ctx, isl_val *v, bool *exact) {
  if (!isl_checked(ctx, isl_val_is_int(v)) || isl_val_cmp_si(v, LONG_MAX) > 0 ||
      isl_val_cmp_si(v, LONG_MIN) < 0) {
    *exact = false;
    return 0;
  }
  return isl_val_get_num_si(v);
}

// The coefficient of (type, pos) in aff (borrowed) times scale, as integer().
long long scaled(isl_ctx *ctx, isl_aff *aff, isl_dim_type type, int pos, isl_val *scale,
                 bool *exact) {
  Isl<isl_val> v(ctx, type == isl_dim_cst ? isl_aff_get_constant_val(aff)
                                          : isl_aff_get_coefficient_val(aff, type, pos));
  v = Isl<isl_val>(ctx, isl_val_mul(v.take(), isl_val_copy(scale)));
  return integer(ctx, v.get(), exact);
}

// sum of terms[k] * values[k] plus constant; false on overflow.
bool affine(const std::vector<long long> &terms, const Big *values, long long constant,
            Big *out) {
  Big sum = constant;
  for (size_t k = 0; k < terms.size(); ++k) {
    Big product;
    if (__builtin_mul_overflow(static_cast<Big>(terms[k]), values[k], &product) ||
        __builtin_add_overflow(sum, product, &sum))
      return false;
  }
  *out = sum;
  return true;
}

// The name of the term with the given coefficients over names.
std::string term_name(const std::vector<long long> &num, const std::vector<std::string> &names,
                      long long constant, long long den) {
  std::string text = "floor((";
  for (size_t k = 0; k < num.size(); ++k)
    if (num[k] != 0) text += std::to_string(num[k]) + "*" + names[k] + "+";
  return text + std::to_string(constant) + ")/" + std::to_string(den) + ")";
}

// The terms written out, each times sign (1 or -1).
std::string text_of(const std::map<std::string, Big> &terms, int sign) {
  std::string text;
  for (const auto &term : terms)
    if (term.second != 0)
      text += std::to_string(static_cast<long long>(sign * term.second)) + "*" + term.first + ";";
  return text;
}

}  // namespace

__int128 pip_floor_div(__int128 a, __int128 d) {
  __int128 q = a / d;
  return (a % d != 0 && a < 0) ? q - 1 : q;
}

PipIntegerForm::PipIntegerForm(isl_ctx *ctx, isl_aff *aff) {
  int np = dim(ctx, aff, isl_dim_param);
  int nd = dim(ctx, aff, isl_dim_div);
  Isl<isl_val> one(ctx, isl_val_one(ctx));
  for (int k = 0; k < nd; ++k) {
    // isl writes division k as floor(q) with q = e/m over the parameters
    // and the divisions before it.
    Isl<isl_aff> q(ctx, isl_aff_get_div(aff, k));
    Isl<isl_val> m(ctx, isl_aff_get_denominator_val(q.get()));
    Division d{{}, scaled(ctx, q.get(), isl_dim_cst, 0, m.get(), &exact_),
               integer(ctx, m.get(), &exact_)};
    for (int i = 0; i < np; ++i)
      d.num.push_back(scaled(ctx, q.get(), isl_dim_param, i, m.get(), &exact_));
    for (int j = 0; j < k; ++j)
      d.num.push_back(scaled(ctx, q.get(), isl_dim_div, j, m.get(), &exact_));
    divisions_.push_back(d);
  }
  for (int i = 0; i < np; ++i)
    coefficients_.push_back(scaled(ctx, aff, isl_dim_param, i, one.get(), &exact_));
  for (int k = 0; k < nd; ++k)
    coefficients_.push_back(scaled(ctx, aff, isl_dim_div, k, one.get(), &exact_));
  constant_ = scaled(ctx, aff, isl_dim_cst, 0, one.get(), &exact_);
  std::vector<std::string> names;
  for (int i = 0; i < np; ++i) names.push_back("p" + std::to_string(i));
  for (const Division &d : divisions_) names.push_back(term_name(d.num, names, d.constant, d.den));
  std::map<std::string, Big> terms;
  for (size_t k = 0; k < coefficients_.size(); ++k) terms[names[k]] += coefficients_[k];
  for (const auto &term : terms)
    if (term.second > LLONG_MAX || term.second < -LLONG_MAX) exact_ = false;
  terms_ = text_of(terms, 1);
  opposite_terms_ = text_of(terms, -1);
}

bool PipIntegerForm::excludes(const PipIntegerForm &other) const {
  return exact_ && other.exact_ && static_cast<Big>(constant_) + other.constant_ < 0 &&
         terms_ == other.opposite_terms_;
}

bool PipIntegerForm::implies(const PipIntegerForm &other) const {
  return exact_ && other.exact_ && other.constant_ >= constant_ && terms_ == other.terms_;
}

void PipIntegerForm::mark_directions(std::vector<int> *directions) const {
  for (size_t i = 0; i < directions->size(); ++i) {
    int marks = 0;
    if (!exact_) marks = 3;
    if (exact_ && coefficients_[i] > 0) marks |= 1;
    if (exact_ && coefficients_[i] < 0) marks |= 2;
    for (const Division &d : divisions_)
      if (d.num[i] != 0) marks = 3;
    (*directions)[i] |= marks;
  }
}

bool PipIntegerForm::sign_at(const PipPoint &point, int *sign) const {
  if (!exact_) return false;
  // The parameters, then each division's value; on the stack for the
  // usual sizes (the tree builder asks this very often).
  size_t n = point.size() + divisions_.size();
  Big on_stack[32];
  std::vector<Big> on_heap(n > 32 ? n : 0);
  Big *values = n > 32 ? on_heap.data() : on_stack;
  size_t known = 0;
  for (long long x : point) values[known++] = x;
  for (const Division &d : divisions_) {
    Big e;
    if (!affine(d.num, values, d.constant, &e)) return false;
    values[known++] = pip_floor_div(e, d.den);
  }
  Big v;
  if (!affine(coefficients_, values, constant_, &v)) return false;
  *sign = v > 0 ? 1 : v < 0 ? -1 : 0;
  return true;
}

bool pip_point_of(isl_ctx *ctx, isl_point *point, int np, PipPoint *out) {
  out->clear();
  for (int i = 0; i < np; ++i) {
    Isl<isl_val> v(ctx, isl_point_get_coordinate_val(point, isl_dim_param, i));
    if (isl_val_cmp_si(v.get(), LONG_MAX) > 0 || isl_val_cmp_si(v.get(), LONG_MIN) < 0) return false;
    out->push_back(isl_val_get_num_si(v.get()));
  }
  return true;
}
