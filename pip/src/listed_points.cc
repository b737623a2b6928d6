#include "listed_points.h"

#include <isl/space.h>

#include <utility>

namespace {

using Big = __int128;

// Coefficients of the scan stay below this, so that no bound computed
// from them leaves 127 bits.
constexpr long long kMaxCoefficient = 1LL << 40;
constexpr Big kMaxCoordinate = static_cast<Big>(1) << 40;

// An inequality row . (x_0, ..., x_k, 1) >= 0 of the scan at level k,
// row[k] != 0.
typedef std::vector<long long> Row;

struct Rows {
  isl_ctx *ctx;
  int level;
  bool exact;
  std::vector<Row> rows;
};

long long value_si(isl_ctx *ctx, isl_val *v, bool *exact) {
  if (!isl_checked(ctx, isl_val_is_int(v)) || isl_val_cmp_si(v, kMaxCoefficient) > 0 ||
      isl_val_cmp_si(v, -kMaxCoefficient) < 0) {
    *exact = false;
    return 0;
  }
  return isl_val_get_num_si(v);
}

isl_stat collect_row(isl_constraint *c, void *user) {
  Rows *out = static_cast<Rows *>(user);
  Isl<isl_constraint> constraint(c);
  Row row;
  for (int i = 0; i <= out->level; ++i) {
    Isl<isl_val> v(out->ctx, isl_constraint_get_coefficient_val(c, isl_dim_set, i));
    row.push_back(value_si(out->ctx, v.get(), &out->exact));
  }
  Isl<isl_val> v(out->ctx, isl_constraint_get_constant_val(c));
  row.push_back(value_si(out->ctx, v.get(), &out->exact));
  if (row[out->level] == 0) return isl_stat_ok;
  out->rows.push_back(row);
  if (isl_checked(out->ctx, isl_constraint_is_equality(c))) {
    for (long long &r : row) r = -r;
    out->rows.push_back(row);
  }
  return isl_stat_ok;
}

// Whether the rows bound x_k from below and from above. They are taken
// level by level from the last coordinate, so an unbounded set (the usual
// case near the root of a tree) is told before most of the work.
bool bounds_both_ways(const std::vector<Row> &rows, int k) {
  bool below = false, above = false;
  for (const Row &row : rows) (row[k] > 0 ? below : above) = true;
  return below && above;
}

// Scans the points of a polyhedron level by level, each coordinate between
// the bounds its level's rows give once the earlier ones are fixed.
class Scan {
 public:
  Scan(std::vector<std::vector<Row>> levels, double limit,
       const std::function<PipKeep(const PipPoint &)> &keep, std::vector<PipPoint> *out)
      : levels_(std::move(levels)), budget_(limit), keep_(keep), out_(out),
        point_(levels_.size()) {}

  // false when a level is unbounded, more than limit points are visited,
  // or keep leaves a point undecided.
  bool run(size_t k) {
    if (k == levels_.size()) {
      PipKeep verdict = keep_(point_);
      if (verdict == PipKeep::kKeep) out_->push_back(point_);
      return verdict != PipKeep::kUndecided;
    }
    Big low = 0, high = 0;
    bool has_low = false, has_high = false;
    for (const Row &row : levels_[k]) {
      Big rest = row.back();
      for (size_t i = 0; i < k; ++i) rest += static_cast<Big>(row[i]) * point_[i];
      // row[k] * x_k + rest >= 0
      if (row[k] > 0) {
        Big b = -pip_floor_div(rest, row[k]);
        if (!has_low || b > low) low = b;
        has_low = true;
      } else {
        Big b = pip_floor_div(rest, -row[k]);
        if (!has_high || b < high) high = b;
        has_high = true;
      }
    }
    if (!has_low || !has_high || low < -kMaxCoordinate || high > kMaxCoordinate) return false;
    for (Big x = low; x <= high; ++x) {
      if (--budget_ < 0) return false;
      point_[k] = static_cast<long long>(x);
      if (!run(k + 1)) return false;
    }
    return true;
  }

 private:
  std::vector<std::vector<Row>> levels_;
  double budget_;
  const std::function<PipKeep(const PipPoint &)> &keep_;
  std::vector<PipPoint> *out_;
  PipPoint point_;
};

// *v minus times * row; false on overflow.
bool subtract(std::vector<Big> *v, Big times, const std::vector<Big> &row) {
  for (size_t i = 0; i < v->size(); ++i) {
    Big product;
    if (__builtin_mul_overflow(times, row[i], &product) ||
        __builtin_sub_overflow((*v)[i], product, &(*v)[i]))
      return false;
  }
  return true;
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

bool pip_scan_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                    const std::function<PipKeep(const PipPoint &)> &keep,
                    std::vector<PipPoint> *out) {
  out->clear();
  // Without its divisions (a rational projection) the set only grows.
  Isl<isl_basic_set> relaxed(ctx, isl_basic_set_remove_divs(isl_basic_set_copy(set)));
  relaxed = Isl<isl_basic_set>(
      ctx, isl_basic_set_move_dims(relaxed.take(), isl_dim_set, 0, isl_dim_param, 0, np));
  if (isl_checked(ctx, isl_basic_set_plain_is_empty(relaxed.get()))) return true;
  // Level k bounds x_k by the rows left once x_{k+1}.. are eliminated
  // (rationally: again the set only grows).
  std::vector<std::vector<Row>> levels(np);
  for (int k = np - 1; k >= 0; --k) {
    isl_size divs = isl_basic_set_dim(relaxed.get(), isl_dim_div);
    if (divs < 0) pip_fail_isl(ctx);
    if (divs > 0) return false;
    Rows rows{ctx, k, true, {}};
    if (isl_basic_set_foreach_constraint(relaxed.get(), collect_row, &rows) < 0)
      pip_fail_isl(ctx);
    if (!rows.exact || !bounds_both_ways(rows.rows, k)) return false;
    levels[k] = std::move(rows.rows);
    // isl may eliminate through an equality with a new division: that is
    // removed too.
    relaxed = Isl<isl_basic_set>(
        ctx, isl_basic_set_remove_divs(
                 isl_basic_set_eliminate(relaxed.take(), isl_dim_set, k, 1)));
  }
  return Scan(std::move(levels), limit, keep, out).run(0);
}

bool pip_may_be_bounded(const std::vector<int> &directions) {
  for (int marks : directions)
    if (marks != 3) return false;
  return true;
}

bool pip_list_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                     std::vector<PipPoint> *out) {
  Constraints constraints{ctx, {}};
  if (isl_basic_set_foreach_constraint(set, collect_constraint, &constraints) < 0)
    pip_fail_isl(ctx);
  std::vector<int> directions(np, 0);
  for (const auto &c : constraints.forms) {
    std::vector<int> marks(np, 0);
    c.first.mark_directions(&marks);
    // An equality bounds its parameters both ways.
    for (int i = 0; i < np; ++i) directions[i] |= c.second && marks[i] ? 3 : marks[i];
  }
  if (!pip_may_be_bounded(directions)) return false;
  auto in_set = [&constraints](const PipPoint &point) {
    for (const auto &c : constraints.forms) {
      int sign;
      if (!c.first.sign_at(point, &sign)) return PipKeep::kUndecided;
      if (sign < 0 || (c.second && sign != 0)) return PipKeep::kDrop;
    }
    return PipKeep::kKeep;
  };
  return pip_scan_points(ctx, set, np, limit, in_set, out);
}

Isl<isl_point> pip_point_at(isl_ctx *ctx, isl_space *space, const PipPoint &coordinates) {
  Isl<isl_point> point(ctx, isl_point_zero(space));
  for (size_t i = 0; i < coordinates.size(); ++i)
    point = Isl<isl_point>(
        ctx, isl_point_set_coordinate_val(point.take(), isl_dim_param, static_cast<int>(i),
                                          isl_val_int_from_si(ctx, coordinates[i])));
  return point;
}

bool pip_points_span(const std::vector<PipPoint> &points, int np) {
  if (points.empty()) return false;
  // Differences to the first point, reduced to echelon form: row r has its
  // first non-zero entry at pivot[r].
  std::vector<std::vector<Big>> rows;
  std::vector<int> pivot;
  for (size_t k = 1; k < points.size() && static_cast<int>(rows.size()) < np; ++k) {
    std::vector<Big> v(np);
    for (int i = 0; i < np; ++i) v[i] = static_cast<Big>(points[k][i]) - points[0][i];
    for (size_t r = 0; r < rows.size(); ++r) {
      Big a = v[pivot[r]], b = rows[r][pivot[r]];
      if (a == 0) continue;
      // v * b - row * a clears the pivot entry.
      for (Big &x : v)
        if (__builtin_mul_overflow(x, b, &x)) return false;
      if (!subtract(&v, a, rows[r])) return false;
    }
    int first = 0;
    while (first < np && v[first] == 0) ++first;
    if (first == np) continue;
    rows.push_back(std::move(v));
    pivot.push_back(first);
  }
  return static_cast<int>(rows.size()) == np;
}
