#include "formulas.h"

#include <isl/mat.h>
#include <isl/space.h>

#include "fail.h"

namespace {

struct RawPiece {
  Isl<isl_set> domain;
  Isl<isl_multi_aff> value;
};

// A basic set of a piece's domain with the index of the formula it
// currently belongs to and of the piece it came from.
struct BasicPiece {
  Isl<isl_basic_set> domain;
  int piece;
  int formula;
};

struct Collect {
  isl_ctx *ctx;
  std::vector<RawPiece> pieces;
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

// The integer points of a rational basic set: same constraints, integer
// set. isl leaves gaps between rational pieces at non-integer parameters,
// and only integer parameter points matter.
Isl<isl_basic_set> integer_points(isl_ctx *ctx, const Isl<isl_basic_set> &bset) {
  isl_size divs = isl_basic_set_dim(bset.get(), isl_dim_div);
  if (divs < 0) pip_fail_isl(ctx);
  if (divs > 0) pip_fail("internal error: division in a rational answer");
  isl_dim_type order[] = {isl_dim_cst, isl_dim_param, isl_dim_set, isl_dim_div};
  isl_mat *eq = isl_basic_set_equalities_matrix(bset.get(), order[0], order[1],
                                                order[2], order[3]);
  isl_mat *ineq = isl_basic_set_inequalities_matrix(bset.get(), order[0], order[1],
                                                    order[2], order[3]);
  return Isl<isl_basic_set>(
      ctx, isl_basic_set_from_constraint_matrices(isl_basic_set_get_space(bset.get()),
                                                  eq, ineq, order[0], order[1],
                                                  order[2], order[3]));
}

// The basic pieces of the optimum, empty ones left out.
std::vector<BasicPiece> split_pieces(isl_ctx *ctx, const std::vector<RawPiece> &raw,
                                     bool integer) {
  std::vector<BasicPiece> out;
  for (size_t i = 0; i < raw.size(); ++i) {
    Isl<isl_set> domain(ctx, integer ? isl_set_compute_divs(raw[i].domain.copy())
                                     : raw[i].domain.copy());
    for (Isl<isl_basic_set> &bset : basic_sets(ctx, domain.get())) {
      if (!integer) bset = integer_points(ctx, bset);
      if (isl_checked(ctx, isl_basic_set_is_empty(bset.get()))) continue;
      out.push_back({std::move(bset), static_cast<int>(i), static_cast<int>(i)});
    }
  }
  return out;
}

// Whether value a equals value b at every integer point of domain. Each
// output is compared through the zero set of the difference: comparing the
// graphs instead would find two rational values equal wherever neither is
// an integer.
bool equal_on(isl_ctx *ctx, const Isl<isl_basic_set> &domain,
              const Isl<isl_multi_aff> &a, const Isl<isl_multi_aff> &b) {
  isl_size n = isl_multi_aff_size(a.get());
  if (n < 0) pip_fail_isl(ctx);
  Isl<isl_set> where(ctx, isl_set_from_basic_set(domain.copy()));
  for (int i = 0; i < n; ++i) {
    Isl<isl_aff> diff(ctx, isl_aff_sub(isl_multi_aff_get_at(a.get(), i),
                                       isl_multi_aff_get_at(b.get(), i)));
    Isl<isl_set> zero(ctx, isl_set_from_basic_set(isl_aff_zero_basic_set(diff.take())));
    if (!isl_checked(ctx, isl_set_is_subset(where.get(), zero.get()))) return false;
  }
  return true;
}

// Drops formula f when every basic piece it holds has the value of another
// live formula there, moving each piece to the first such formula. Trying
// the formulas in order makes two formulas equal everywhere collapse into
// the later one, and a lower-dimensional piece join a formula that holds
// next to it.
void try_drop_formula(isl_ctx *ctx, int f, const std::vector<RawPiece> &raw,
                      std::vector<BasicPiece> &pieces, std::vector<bool> &alive) {
  std::vector<int> target(pieces.size(), -1);
  for (size_t p = 0; p < pieces.size(); ++p) {
    if (pieces[p].formula != f) continue;
    for (size_t g = 0; g < raw.size() && target[p] < 0; ++g)
      if (alive[g] && static_cast<int>(g) != f &&
          equal_on(ctx, pieces[p].domain, raw[pieces[p].piece].value, raw[g].value))
        target[p] = static_cast<int>(g);
    if (target[p] < 0) return;
  }
  for (size_t p = 0; p < pieces.size(); ++p)
    if (target[p] >= 0) pieces[p].formula = target[p];
  alive[f] = false;
}

// Union of the basic pieces of formula f with implicit equalities made
// explicit (so that an equality piece next to an inequality piece
// coalesces into one), divisions known.
Isl<isl_set> formula_domain(isl_ctx *ctx, int f, const std::vector<BasicPiece> &pieces,
                            isl_space *space) {
  Isl<isl_set> domain(ctx, isl_set_empty(isl_space_copy(space)));
  for (const BasicPiece &p : pieces)
    if (p.formula == f)
      domain = Isl<isl_set>(ctx, isl_set_union(domain.take(),
                                               isl_set_from_basic_set(p.domain.copy())));
  domain = Isl<isl_set>(ctx, isl_set_detect_equalities(domain.take()));
  domain = Isl<isl_set>(ctx, isl_set_coalesce(domain.take()));
  return Isl<isl_set>(ctx, isl_set_compute_divs(domain.take()));
}

// The optimum of set (taken) on the parameter points of universe (the
// integer or rational universe of the parameters, like set). On a set of
// one basic set this uses the basic set's own parametric solver: on some
// rational sets isl 0.25's set-level optimum, and its basic set solver
// under a bounded or integer domain, trip an internal assertion or merge
// pieces wrongly.
Isl<isl_pw_multi_aff> lexopt(isl_ctx *ctx, isl_set *set, const Isl<isl_basic_set> &universe,
                             bool maximize) {
  Isl<isl_set> whole(ctx, set);
  std::vector<Isl<isl_basic_set>> parts = basic_sets(ctx, whole.get());
  if (parts.size() != 1)
    return Isl<isl_pw_multi_aff>(ctx, maximize ? isl_set_lexmax_pw_multi_aff(whole.take())
                                               : isl_set_lexmin_pw_multi_aff(whole.take()));
  isl_basic_set *points = parts[0].take();
  return Isl<isl_pw_multi_aff>(
      ctx, maximize
               ? isl_basic_set_partial_lexmax_pw_multi_aff(points, universe.copy(), nullptr)
               : isl_basic_set_partial_lexmin_pw_multi_aff(points, universe.copy(), nullptr));
}

}  // namespace

std::vector<PipFormula> pip_optimum_formulas(isl_ctx *ctx, isl_set *set,
                                             const Isl<isl_basic_set> &universe,
                                             bool maximize, bool integer) {
  Isl<isl_set> params(ctx, isl_set_params(isl_set_copy(set)));
  Isl<isl_pw_multi_aff> optimum = lexopt(ctx, set, universe, maximize);
  Collect raw{ctx, {}};
  if (isl_pw_multi_aff_foreach_piece(optimum.get(), collect_piece, &raw) < 0)
    pip_fail_isl(ctx);
  std::vector<BasicPiece> pieces = split_pieces(ctx, raw.pieces, integer);
  std::vector<bool> alive(raw.pieces.size(), true);
  for (size_t f = 0; f < raw.pieces.size(); ++f)
    try_drop_formula(ctx, static_cast<int>(f), raw.pieces, pieces, alive);
  isl_space *space = isl_checked(ctx, isl_set_get_space(params.get()));
  std::vector<PipFormula> out;
  for (size_t f = 0; f < raw.pieces.size(); ++f) {
    if (!alive[f]) continue;
    Isl<isl_set> domain = formula_domain(ctx, static_cast<int>(f), pieces, space);
    if (isl_checked(ctx, isl_set_is_empty(domain.get()))) continue;
    out.push_back({Isl<isl_multi_aff>(raw.pieces[f].value.copy()), std::move(domain)});
  }
  isl_space_free(space);
  return out;
}
