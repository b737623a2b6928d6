#include "box_points.h"

#include <isl/ilp.h>
#include <isl/local_space.h>
#include <isl/space.h>

#include <climits>
#include <utility>

namespace {

// The largest value of coordinate i on set (borrowed, parameters moved to
// set dimensions), times sign; NaN when set is empty, infinite when
// unbounded.
Isl<isl_val> extreme(isl_ctx *ctx, isl_basic_set *set, int i, int sign) {
  isl_local_space *ls =
      isl_local_space_from_space(isl_checked(ctx, isl_basic_set_get_space(set)));
  Isl<isl_aff> coordinate(ctx, isl_aff_var_on_domain(ls, isl_dim_set, i));
  if (sign < 0) coordinate = Isl<isl_aff>(ctx, isl_aff_neg(coordinate.take()));
  return Isl<isl_val>(ctx, isl_basic_set_max_val(set, coordinate.get()));
}

bool fits(isl_val *v) {
  return isl_val_is_int(v) == isl_bool_true && isl_val_cmp_si(v, LLONG_MAX / 4) < 0 &&
         isl_val_cmp_si(v, -LLONG_MAX / 4) > 0;
}

// A constraint as a form, with whether it is an equality.
struct Constraints {
  isl_ctx *ctx;
  std::vector<std::pair<PipIntegerForm, bool>> forms;
};

isl_stat collect_constraint(isl_constraint *c, void *user) {
  Constraints *out = static_cast<Constraints *>(user);
  Isl<isl_constraint> constraint(c);
  Isl<isl_aff> aff(out->ctx, isl_constraint_get_aff(c));
  bool equality = isl_checked(out->ctx, isl_constraint_is_equality(c));
  out->forms.emplace_back(PipIntegerForm(out->ctx, aff.get()), equality);
  return isl_stat_ok;
}

}  // namespace

bool pip_box_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                    const std::function<PipKeep(const PipPoint &)> &keep,
                    std::vector<PipPoint> *out) {
  out->clear();
  // Without its divisions (a rational projection) the set only grows, and
  // so does its box.
  Isl<isl_basic_set> relaxed(ctx, isl_basic_set_remove_divs(isl_basic_set_copy(set)));
  relaxed = Isl<isl_basic_set>(
      ctx, isl_basic_set_move_dims(relaxed.take(), isl_dim_set, 0, isl_dim_param, 0, np));
  PipPoint low(np), high(np);
  double volume = 1;
  for (int i = 0; i < np; ++i) {
    Isl<isl_val> hi = extreme(ctx, relaxed.get(), i, 1);
    if (isl_checked(ctx, isl_val_is_nan(hi.get()))) return true;
    Isl<isl_val> lo = extreme(ctx, relaxed.get(), i, -1);
    if (!fits(hi.get()) || !fits(lo.get())) return false;
    high[i] = isl_val_get_num_si(hi.get());
    low[i] = -isl_val_get_num_si(lo.get());
    volume *= static_cast<double>(high[i] - low[i] + 1);
    if (volume > limit) return false;
  }
  PipPoint point = low;
  while (true) {
    PipKeep verdict = keep(point);
    if (verdict == PipKeep::kUndecided) return false;
    if (verdict == PipKeep::kKeep) out->push_back(point);
    int i = np - 1;
    while (i >= 0 && point[i] == high[i]) point[i] = low[i], --i;
    if (i < 0) return true;
    ++point[i];
  }
}

bool pip_list_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                     std::vector<PipPoint> *out) {
  Constraints constraints{ctx, {}};
  if (isl_basic_set_foreach_constraint(set, collect_constraint, &constraints) < 0)
    pip_fail_isl(ctx);
  auto in_set = [&constraints](const PipPoint &point) {
    for (const auto &c : constraints.forms) {
      int sign;
      if (!c.first.sign_at(point, &sign)) return PipKeep::kUndecided;
      if (sign < 0 || (c.second && sign != 0)) return PipKeep::kDrop;
    }
    return PipKeep::kKeep;
  };
  return pip_box_points(ctx, set, np, limit, in_set, out);
}

Isl<isl_point> pip_point_at(isl_ctx *ctx, isl_space *space, const PipPoint &coordinates) {
  Isl<isl_point> point(ctx, isl_point_zero(space));
  for (size_t i = 0; i < coordinates.size(); ++i)
    point = Isl<isl_point>(
        ctx, isl_point_set_coordinate_val(point.take(), isl_dim_param, static_cast<int>(i),
                                          isl_val_int_from_si(ctx, coordinates[i])));
  return point;
}
