#include "formulas.h"

#include <isl/ilp.h>
#include <isl/mat.h>
#include <isl/space.h>

#include "integer_form.h"
#include "listed_points.h"
#include "rational_optimum.h"
#include "widen.h"

namespace {

// A basic set of a piece's domain with known integer points of it (a
// sample first, then points where a compared formula differs from the
// piece's own), all its integer points when it is small enough to list
// them (listed), the index of the formula it currently belongs to and of
// the piece it came from.
struct BasicPiece {
  Isl<isl_basic_set> domain;
  std::vector<Isl<isl_point>> points;
  bool listed;
  std::vector<PipPoint> all;
  int piece;
  int formula;
};

struct Collect {
  isl_ctx *ctx;
  std::vector<PipPiece> pieces;
};

isl_stat collect_piece(isl_set *set, isl_multi_aff *ma, void *user) {
  Collect *c = static_cast<Collect *>(user);
  c->pieces.push_back({Isl<isl_set>(set), Isl<isl_multi_aff>(ma)});
  return isl_stat_ok;
}

isl_stat collect_basic_set(isl_basic_set *bset, void *user) {
  static_cast<std::vector<Isl<isl_basic_set>> *>(user)->emplace_back(bset);
  return isl_stat_ok;
}

std::vector<Isl<isl_basic_set>> basic_sets(isl_ctx *ctx, isl_set *set) {
  std::vector<Isl<isl_basic_set>> out;
  if (isl_set_foreach_basic_set(set, collect_basic_set, &out) < 0) pip_fail_isl(ctx);
  return out;
}

// The basic pieces of the optimum over np parameters, empty ones left out.
std::vector<BasicPiece> split_pieces(isl_ctx *ctx, const std::vector<PipPiece> &raw, int np) {
  std::vector<BasicPiece> out;
  for (size_t i = 0; i < raw.size(); ++i) {
    Isl<isl_set> domain(ctx, isl_set_compute_divs(raw[i].domain.copy()));
    for (Isl<isl_basic_set> &bset : basic_sets(ctx, domain.get())) {
      BasicPiece piece{{}, {}, false, {}, static_cast<int>(i), static_cast<int>(i)};
      piece.listed = pip_list_points(ctx, bset.get(), np, kPipMaxScanned, &piece.all);
      Isl<isl_point> sample;
      if (!piece.listed)
        sample = Isl<isl_point>(ctx, isl_basic_set_sample_point(bset.copy()));
      else if (!piece.all.empty())
        sample = pip_point_at(ctx, isl_checked(ctx, isl_basic_set_get_space(bset.get())),
                              piece.all[0]);
      if (!sample.get() || isl_checked(ctx, isl_point_is_void(sample.get()))) continue;
      piece.domain = std::move(bset);
      piece.points.push_back(std::move(sample));
      out.push_back(std::move(piece));
    }
  }
  return out;
}

// Whether the outputs of a and b differ at point (borrowed).
bool differ_at(isl_ctx *ctx, isl_point *point, const Isl<isl_multi_aff> &a,
               const Isl<isl_multi_aff> &b, int n) {
  for (int i = 0; i < n; ++i) {
    Isl<isl_aff> diff(ctx, isl_aff_sub(isl_multi_aff_get_at(a.get(), i),
                                       isl_multi_aff_get_at(b.get(), i)));
    Isl<isl_val> at(ctx, isl_aff_eval(diff.take(), isl_point_copy(point)));
    if (!isl_checked(ctx, isl_val_is_zero(at.get()))) return true;
  }
  return false;
}

// A point of bset (taken) where num * sign >= 1, or NULL when there is
// none; num (borrowed) is integral at integer points.
Isl<isl_point> point_beyond(isl_ctx *ctx, isl_basic_set *bset, isl_aff *num, int sign) {
  isl_aff *below = isl_aff_copy(num);
  if (sign > 0) below = isl_aff_neg(below);
  Isl<isl_basic_set> where(
      ctx, isl_basic_set_intersect(bset, isl_aff_neg_basic_set(below)));
  Isl<isl_point> point(ctx, isl_basic_set_sample_point(where.take()));
  if (isl_checked(ctx, isl_point_is_void(point.get()))) return Isl<isl_point>();
  return point;
}

// Whether num (borrowed, integral at integer points) is zero at every
// listed point of the piece: 1 or 0, or -1 when a value is beyond
// PipIntegerForm.
int zero_at_listed(isl_ctx *ctx, const BasicPiece &piece, isl_aff *num) {
  PipIntegerForm form(ctx, num);
  for (const PipPoint &point : piece.all) {
    int sign;
    if (!form.sign_at(point, &sign)) return -1;
    if (sign != 0) return 0;
  }
  return 1;
}

// Whether value a equals value b at every integer point of the piece. Each
// output is compared through the numerator of the difference, integral at
// integer points. A listed piece is checked point by point. Otherwise the
// piece's known points refute most unequal pairs cheaply, and the
// numerator is zero on the piece when the piece holds no integer point
// where it is >= 1 or <= -1 (comparing the graphs instead would find two
// rational values equal wherever neither is an integer); a point found
// there is kept to refute later pairs.
bool equal_on(isl_ctx *ctx, BasicPiece &piece, const Isl<isl_multi_aff> &a,
              const Isl<isl_multi_aff> &b) {
  if (isl_checked(ctx, isl_multi_aff_plain_is_equal(a.get(), b.get()))) return true;
  isl_size n = isl_multi_aff_size(a.get());
  if (n < 0) pip_fail_isl(ctx);
  if (!piece.listed)
    for (const Isl<isl_point> &point : piece.points)
      if (differ_at(ctx, point.get(), a, b, n)) return false;
  for (int i = 0; i < n; ++i) {
    Isl<isl_aff> diff(ctx, isl_aff_sub(isl_multi_aff_get_at(a.get(), i),
                                       isl_multi_aff_get_at(b.get(), i)));
    if (isl_checked(ctx, isl_aff_plain_is_zero(diff.get()))) continue;
    isl_val *den = isl_aff_get_denominator_val(diff.get());
    Isl<isl_aff> num(ctx, isl_aff_scale_val(diff.take(), den));
    int zero = piece.listed ? zero_at_listed(ctx, piece, num.get()) : -1;
    if (zero == 0) return false;
    if (zero == 1) continue;
    for (int sign : {1, -1}) {
      Isl<isl_point> point = point_beyond(ctx, piece.domain.copy(), num.get(), sign);
      if (!point.get()) continue;
      piece.points.push_back(std::move(point));
      return false;
    }
  }
  return true;
}

// Whether the value of piece p's own formula equals that of formula g on
// it, each pair compared once.
class EqualOn {
 public:
  EqualOn(isl_ctx *ctx, const std::vector<PipPiece> &raw, std::vector<BasicPiece> &pieces)
      : ctx_(ctx), raw_(raw), pieces_(pieces),
        known_(pieces.size(), std::vector<signed char>(raw.size(), -1)) {}

  bool operator()(size_t p, size_t g) {
    signed char &known = known_[p][g];
    if (known < 0)
      known = equal_on(ctx_, pieces_[p], raw_[pieces_[p].piece].value, raw_[g].value);
    return known != 0;
  }

 private:
  isl_ctx *ctx_;
  const std::vector<PipPiece> &raw_;
  std::vector<BasicPiece> &pieces_;
  std::vector<std::vector<signed char>> known_;
};

// Drops formula f when every basic piece it holds has the value of another
// live formula there, moving each piece to the first such formula. Trying
// the formulas in order makes two formulas equal everywhere collapse into
// the later one, and a lower-dimensional piece join a formula that holds
// next to it.
void try_drop_formula(int f, const std::vector<PipPiece> &raw, std::vector<BasicPiece> &pieces,
                      std::vector<bool> &alive, EqualOn &equal) {
  std::vector<int> target(pieces.size(), -1);
  for (size_t p = 0; p < pieces.size(); ++p) {
    if (pieces[p].formula != f) continue;
    for (size_t g = 0; g < raw.size() && target[p] < 0; ++g)
      if (alive[g] && static_cast<int>(g) != f && equal(p, g))
        target[p] = static_cast<int>(g);
    if (target[p] < 0) return;
  }
  for (size_t p = 0; p < pieces.size(); ++p)
    if (target[p] >= 0) pieces[p].formula = target[p];
  alive[f] = false;
}

// The basic piece with its implicit equalities made explicit: listed
// points spanning the space show that there are none.
Isl<isl_basic_set> with_equalities(isl_ctx *ctx, const BasicPiece &p, int np) {
  if (p.listed && pip_points_span(p.all, np)) return Isl<isl_basic_set>(p.domain.copy());
  return Isl<isl_basic_set>(ctx, isl_basic_set_detect_equalities(p.domain.copy()));
}

// Union of the basic pieces of formula f with implicit equalities made
// explicit (so that an equality piece next to an inequality piece
// coalesces into one), divisions known.
Isl<isl_set> formula_domain(isl_ctx *ctx, int f, const std::vector<BasicPiece> &pieces,
                            isl_space *space, int np) {
  Isl<isl_set> domain(ctx, isl_set_empty(isl_space_copy(space)));
  for (const BasicPiece &p : pieces)
    if (p.formula == f)
      domain = Isl<isl_set>(
          ctx, isl_set_union(domain.take(),
                             isl_set_from_basic_set(with_equalities(ctx, p, np).take())));
  domain = Isl<isl_set>(ctx, isl_set_coalesce(domain.take()));
  return Isl<isl_set>(ctx, isl_set_compute_divs(domain.take()));
}

// The integer optimum of set (taken), and in *empty the parameter points
// where set has no point, when isl gives them (unchanged otherwise); NULL
// when isl needs more than max_operations of its operations (0: no bound).
// On a set of one basic set this calls the basic set's parametric solver
// directly: isl 0.25's set-level optimum adds a pass that makes pieces
// disjoint, which tripped an internal assertion on some small inputs.
isl_pw_multi_aff *lexopt(isl_ctx *ctx, isl_set *set, bool maximize,
                         unsigned long max_operations, Isl<isl_set> *empty) {
  Isl<isl_set> whole(ctx, set);
  std::vector<Isl<isl_basic_set>> parts = basic_sets(ctx, whole.get());
  isl_ctx_reset_operations(ctx);
  isl_ctx_set_max_operations(ctx, max_operations);
  isl_pw_multi_aff *optimum;
  isl_set *none = nullptr;
  if (parts.size() != 1) {
    optimum = maximize ? isl_set_lexmax_pw_multi_aff(whole.take())
                       : isl_set_lexmin_pw_multi_aff(whole.take());
  } else {
    isl_basic_set *all = isl_basic_set_universe(
        isl_space_params(isl_checked(ctx, isl_basic_set_get_space(parts[0].get()))));
    isl_set **no_point = empty ? &none : nullptr;
    optimum = maximize ? isl_basic_set_partial_lexmax_pw_multi_aff(parts[0].take(), all, no_point)
                       : isl_basic_set_partial_lexmin_pw_multi_aff(parts[0].take(), all, no_point);
  }
  isl_ctx_set_max_operations(ctx, 0);
  // isl may recover from running out of operations inside a computation
  // and still return a result; any result computed past the bound is
  // dropped.
  if (isl_ctx_last_error(ctx) == isl_error_quota) {
    isl_ctx_reset_error(ctx);
    isl_pw_multi_aff_free(optimum);
    isl_set_free(none);
    return nullptr;
  }
  isl_checked(ctx, optimum);
  if (none) *empty = Isl<isl_set>(ctx, isl_set_compute_divs(none));
  return optimum;
}

// The parameter points of space (borrowed) in none of the domains.
Isl<isl_set> outside(isl_ctx *ctx, isl_space *space, const std::vector<PipFormula> &formulas) {
  Isl<isl_set> rest(ctx, isl_set_universe(isl_space_copy(space)));
  for (const PipFormula &f : formulas)
    rest = Isl<isl_set>(ctx, isl_set_subtract(rest.take(), f.domain.copy()));
  return rest;
}

// The formulas of the pieces of raw, pieces equal on another's domain
// merged, over the parameter space space (borrowed).
std::vector<PipFormula> merged(isl_ctx *ctx, const Collect &raw, int np, isl_space *space) {
  std::vector<BasicPiece> pieces = split_pieces(ctx, raw.pieces, np);
  std::vector<bool> alive(raw.pieces.size(), true);
  EqualOn equal(ctx, raw.pieces, pieces);
  for (size_t f = 0; f < raw.pieces.size(); ++f)
    try_drop_formula(static_cast<int>(f), raw.pieces, pieces, alive, equal);
  std::vector<PipFormula> out;
  for (size_t f = 0; f < raw.pieces.size(); ++f) {
    if (!alive[f]) continue;
    Isl<isl_set> domain = formula_domain(ctx, static_cast<int>(f), pieces, space, np);
    if (isl_checked(ctx, isl_set_is_empty(domain.get()))) continue;
    out.push_back({Isl<isl_multi_aff>(raw.pieces[f].value.copy()), std::move(domain), 0});
  }
  return out;
}

}  // namespace

bool pip_optimum_formulas(isl_ctx *ctx, isl_set *set, int np, bool maximize, bool integer,
                          unsigned long max_operations, Isl<isl_set> *no_solution,
                          std::vector<PipFormula> *out) {
  Isl<isl_set> params(ctx, isl_set_params(isl_set_copy(set)));
  Collect raw{ctx, {}};
  if (integer) {
    isl_pw_multi_aff *optimum = lexopt(ctx, set, maximize, max_operations, no_solution);
    if (!optimum) return false;
    Isl<isl_pw_multi_aff> owned(optimum);
    if (isl_pw_multi_aff_foreach_piece(owned.get(), collect_piece, &raw) < 0) pip_fail_isl(ctx);
  } else {
    Isl<isl_set> points(ctx, set);
    raw.pieces = pip_rational_optimum(ctx, points.get(), np, maximize);
  }
  isl_space *space = isl_checked(ctx, isl_set_get_space(params.get()));
  *out = merged(ctx, raw, np, space);
  if (!no_solution->get()) *no_solution = outside(ctx, space, *out);
  *no_solution = pip_widen_within(ctx, std::move(*no_solution));
  isl_space_free(space);
  return true;
}

bool pip_sliced_optimum_formulas(isl_ctx *ctx, isl_set *set, int np, bool maximize,
                                 unsigned long max_operations, std::vector<PipFormula> *out) {
  std::vector<Isl<isl_basic_set>> parts = basic_sets(ctx, set);
  if (parts.size() != 1) return false;
  isl_size nn = isl_set_dim(set, isl_dim_set);
  if (nn < 0) pip_fail_isl(ctx);
  if (nn == 0) return false;
  Isl<isl_val> low(ctx, isl_set_dim_min_val(isl_set_copy(set), 0));
  Isl<isl_val> high(ctx, isl_set_dim_max_val(isl_set_copy(set), 0));
  // Infinite (or NaN for an empty set) bounds are not integers.
  if (!isl_checked(ctx, isl_val_is_int(low.get())) || !isl_checked(ctx, isl_val_is_int(high.get())))
    return false;
  // The values are kept far within a long.
  constexpr long kMaxValue = 1L << 40;
  Isl<isl_val> count(ctx, isl_val_add_ui(isl_val_sub(high.copy(), low.copy()), 1));
  if (isl_val_cmp_si(count.get(), kPipMaxSlices) > 0 || isl_val_cmp_si(low.get(), -kMaxValue) < 0 ||
      isl_val_cmp_si(high.get(), kMaxValue) > 0)
    return false;
  long lo = isl_val_get_num_si(low.get()), hi = isl_val_get_num_si(high.get());
  isl_space *space = isl_space_params(isl_checked(ctx, isl_set_get_space(set)));
  std::vector<PipFormula> all;
  bool within = true;
  for (long k = 0; k <= hi - lo; ++k) {
    long v = maximize ? hi - k : lo + k;
    isl_basic_set *slice = isl_basic_set_fix_si(parts[0].copy(), isl_dim_set, 0, v);
    Collect raw{ctx, {}};
    isl_pw_multi_aff *optimum =
        lexopt(ctx, isl_set_from_basic_set(slice), maximize, max_operations, nullptr);
    within = optimum != nullptr;
    if (!within) break;
    Isl<isl_pw_multi_aff> owned(optimum);
    if (isl_pw_multi_aff_foreach_piece(owned.get(), collect_piece, &raw) < 0) pip_fail_isl(ctx);
    for (PipFormula &f : merged(ctx, raw, np, space)) {
      f.rank = static_cast<int>(k);
      all.push_back(std::move(f));
    }
  }
  isl_space_free(space);
  if (within) *out = std::move(all);
  return within;
}
