#include "CertifiedCount.h"

#include <isl/aff.h>
#include <isl/ctx.h>
#include <isl/ilp.h>
#include <isl/local_space.h>
#include <isl/mat.h>
#include <isl/options.h>
#include <isl/point.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/val.h>
#include <isl/val_gmp.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <numeric>
#include <set>
#include <string>

#include "ISLWrapper.h"
#include "QuasiPolynomial.h"
#include "Rank.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> IntRows;
typedef std::vector<mpz_class> Vector;
typedef std::vector<mpz_class> Row;  // [flag | variables | constant]
typedef std::vector<Row> Rows;

const char kFailure[] = "Polyhedron::volume: count not certified: ";
// The exact counts one count may take, and the slices one face may be cut
// into: beyond them the check would take too long.
const long kMaxPoints = 200000;
const long kMaxSlices = 20000;

[[noreturn]] void uncertified(const std::string& reason) { stop(std::cerr, kFailure + reason); }

// A period beyond the points a check may take could not be checked.
long period_lcm(long a, long b) {
  long l = a / std::gcd(a, b);
  if (l > kMaxPoints / b) uncertified("too many parameter points to check");
  return l * b;
}

mpz_class dot(const Row& row, const Vector& y) {
  mpz_class sum = 0;
  for (size_t k = 0; k < y.size(); ++k) sum += row[k + 1] * y[k];
  return sum;
}

bool zero_linear_part(const Row& row) {
  for (size_t k = 1; k + 1 < row.size(); ++k)
    if (row[k] != 0) return false;
  return true;
}

mpz_class from_isl(isl_val* v) {
  mpz_class z;
  isl_val_get_num_gmp(v, z.get_mpz_t());
  isl_val_free(v);
  return z;
}

// The integer points of rows over unnamed variables, through one isl
// context whose errors end the process.
class IntegerPoints {
 public:
  IntegerPoints() : ctx(isl_ctx_alloc()) { isl_options_set_on_error(ctx, ISL_ON_ERROR_ABORT); }
  ~IntegerPoints() { isl_ctx_free(ctx); }
  IntegerPoints(const IntegerPoints&) = delete;
  IntegerPoints& operator=(const IntegerPoints&) = delete;

  bool empty(const Rows& rows, int n) {
    isl_set* s = set_of(rows, n);
    bool answer = isl_set_is_empty(s) == isl_bool_true;
    isl_set_free(s);
    return answer;
  }

  // Some integer point of the rows; false when they have none.
  bool sample(const Rows& rows, int n, Vector& y) {
    isl_point* p = isl_set_sample_point(set_of(rows, n));
    bool found = isl_point_is_void(p) == isl_bool_false;
    y.clear();
    for (int k = 0; found && k < n; ++k) y.push_back(from_isl(isl_point_get_coordinate_val(p, isl_dim_set, k)));
    isl_point_free(p);
    return found;
  }

  // The equalities of the affine hull of the integer points (rows with flag
  // 0); the points must exist.
  Rows hull(const Rows& rows, int n) {
    isl_basic_set* h = isl_set_affine_hull(set_of(rows, n));
    if (isl_basic_set_dim(h, isl_dim_div) != 0) uncertified("an affine hull with existential variables");
    isl_mat* eq = isl_basic_set_equalities_matrix(h, isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst);
    Rows r;
    for (int i = 0; i < isl_mat_rows(eq); ++i) {
      Row row{0};
      for (int j = 0; j < isl_mat_cols(eq); ++j) row.push_back(from_isl(isl_mat_get_element_val(eq, i, j)));
      r.push_back(row);
    }
    isl_mat_free(eq);
    isl_basic_set_free(h);
    return r;
  }

  // Every integer point of the rows, when they are bounded and hold at most
  // `most` of them; false otherwise.
  bool all_points(const Rows& rows, int n, size_t most, std::vector<Vector>& all) {
    isl_set* s = set_of(rows, n);
    bool few = isl_set_is_bounded(s) == isl_bool_true;
    struct Walk {
      int n;
      size_t most;
      std::vector<Vector>* all;
    } walk{n, most, &all};
    all.clear();
    auto take = [](isl_point* p, void* user) {
      Walk* w = static_cast<Walk*>(user);
      w->all->emplace_back();
      for (int k = 0; k < w->n; ++k) w->all->back().push_back(from_isl(isl_point_get_coordinate_val(p, isl_dim_set, k)));
      isl_point_free(p);
      return w->all->size() > w->most ? isl_stat_error : isl_stat_ok;
    };
    few = few && isl_set_foreach_point(s, take, &walk) == isl_stat_ok;
    isl_set_free(s);
    return few;
  }

  // The least and the greatest w . y over the integer points; false when
  // either is unbounded.
  bool extent(const Rows& rows, int n, const Vector& w, mpz_class& low, mpz_class& high) {
    isl_set* s = set_of(rows, n);
    isl_aff* a = isl_aff_zero_on_domain(isl_local_space_from_space(isl_set_get_space(s)));
    for (int k = 0; k < n; ++k) a = isl_aff_set_coefficient_val(a, isl_dim_in, k, val(w[k]));
    isl_val* lo = isl_set_min_val(s, a);
    isl_val* hi = isl_set_max_val(s, a);
    bool bounded = isl_val_is_int(lo) == isl_bool_true && isl_val_is_int(hi) == isl_bool_true;
    if (bounded) {
      low = from_isl(lo);
      high = from_isl(hi);
    } else {
      isl_val_free(lo);
      isl_val_free(hi);
    }
    isl_aff_free(a);
    isl_set_free(s);
    return bounded;
  }

  isl_ctx* const ctx;

 private:
  isl_val* val(const mpz_class& x) {
    mpz_class copy(x);
    return isl_val_int_from_gmp(ctx, copy.get_mpz_t());
  }

  isl_mat* matrix(const Rows& rows, int flag, int n) {
    int nb = std::count_if(rows.begin(), rows.end(), [&](const Row& r) { return (r[0] == 0) == (flag == 0); });
    isl_mat* mat = isl_mat_alloc(ctx, nb, n + 1);
    int i = 0;
    for (const Row& r : rows) {
      if ((r[0] == 0) != (flag == 0)) continue;
      for (int j = 0; j <= n; ++j) mat = isl_mat_set_element_val(mat, i, j, val(r[j + 1]));
      ++i;
    }
    return mat;
  }

  isl_set* set_of(const Rows& rows, int n) {
    isl_space* space = isl_space_set_alloc(ctx, 0, n);
    return isl_set_from_basic_set(isl_basic_set_from_constraint_matrices(
        space, matrix(rows, 0, n), matrix(rows, 1, n), isl_dim_set, isl_dim_div, isl_dim_param, isl_dim_cst));
  }
};

// The number of integer points of the polytope at given parameter values,
// exactly (isl enumerates them).
class ExactCounts {
 public:
  ExactCounts(isl_ctx* ctx, const IntRows& m, int nb_counters) : ctx(ctx) {
    isl_space* space = isl_space_set_alloc(ctx, get_nb_parameters(), nb_counters);
    polytope = from_vec_vec(ctx, space, m);
    isl_space_free(space);
  }
  ~ExactCounts() { isl_set_free(polytope); }
  ExactCounts(const ExactCounts&) = delete;
  ExactCounts& operator=(const ExactCounts&) = delete;

  mpz_class at(const ParameterPoint& p) {
    auto found = known.find(p);
    if (found != known.end()) return found->second;
    isl_set* s = isl_set_copy(polytope);
    for (size_t j = 0; j < p.size(); ++j) s = isl_set_fix_val(s, isl_dim_param, j, isl_val_int_from_si(ctx, p[j]));
    mpz_class count = from_isl(isl_set_count_val(s));
    isl_set_free(s);
    return known[p] = count;
  }

 private:
  isl_ctx* ctx;
  isl_set* polytope;
  std::map<ParameterPoint, mpz_class> known;
};

// The parameter values p = origin + basis . y of the coordinates y of a
// face's lattice.
struct Lattice {
  Vector origin;
  std::vector<Vector> basis;  // one row per parameter, one column per y

  static Lattice identity(size_t n) {
    Lattice r{Vector(n, 0), std::vector<Vector>(n, Vector(n, 0))};
    for (size_t k = 0; k < n; ++k) r.basis[k][k] = 1;
    return r;
  }

  Vector at(const Vector& y) const {
    Vector p = origin;
    for (size_t i = 0; i < p.size(); ++i)
      for (size_t k = 0; k < y.size(); ++k) p[i] += basis[i][k] * y[k];
    return p;
  }

  // The lattice of y = y0 + kernel . z.
  Lattice then(const Vector& y0, const std::vector<Vector>& kernel) const {
    Lattice r{at(y0), {}};
    for (const Vector& row : basis) {
      Vector combined(kernel.empty() ? 0 : kernel[0].size(), 0);
      for (size_t k = 0; k < row.size(); ++k)
        for (size_t c = 0; c < combined.size(); ++c) combined[c] += row[k] * kernel[k][c];
      r.basis.push_back(combined);
    }
    return r;
  }
};

// A basis of the integer solutions y of the equalities' linear parts (one
// row per variable, one column per basis vector) that spans every integer
// solution: unimodular column operations make the equalities
// lower-triangular, and the columns past the rank are the kernel.
std::vector<Vector> integer_kernel(const Rows& equalities, int n) {
  Rows a;
  for (const Row& row : equalities) a.emplace_back(row.begin() + 1, row.begin() + 1 + n);
  std::vector<Vector> v(n, Vector(n, 0));
  for (int k = 0; k < n; ++k) v[k][k] = 1;
  auto combine = [&](int c, int j, const mpz_class& s, const mpz_class& t, const mpz_class& u, const mpz_class& w) {
    for (auto* m : {&a, &v})
      for (Vector& row : *m) {
        mpz_class x = row[c], y = row[j];
        row[c] = s * x + t * y;
        row[j] = u * x + w * y;
      }
  };
  int rank = 0;
  for (size_t i = 0; i < a.size() && rank < n; ++i) {
    for (int j = rank + 1; j < n; ++j) {
      if (a[i][j] == 0) continue;
      mpz_class g, s, t, x = a[i][rank], y = a[i][j];
      mpz_gcdext(g.get_mpz_t(), s.get_mpz_t(), t.get_mpz_t(), x.get_mpz_t(), y.get_mpz_t());
      combine(rank, j, s, t, -y / g, x / g);
    }
    if (a[i][rank] != 0) ++rank;
  }
  std::vector<Vector> kernel(n);
  for (int k = 0; k < n; ++k) kernel[k].assign(v[k].begin() + rank, v[k].end());
  return kernel;
}

// The rows over z where y = y0 + kernel . z; rows left without a variable
// (they hold at y0, a point of the rows) are dropped.
Rows substituted(const Rows& rows, const Vector& y0, const std::vector<Vector>& kernel) {
  Rows r;
  size_t k = kernel.empty() ? 0 : kernel[0].size();
  for (const Row& row : rows) {
    Row z{row[0]};
    for (size_t c = 0; c < k; ++c) {
      mpz_class sum = 0;
      for (size_t i = 0; i < y0.size(); ++i) sum += row[i + 1] * kernel[i][c];
      z.push_back(sum);
    }
    z.push_back(dot(row, y0) + row.back());
    if (!zero_linear_part(z)) r.push_back(z);
  }
  return r;
}

// The corners of the hull of a grid: the box of one residue per class plus
// the simplex of `degree` periods along each variable.
std::vector<Vector> grid_corners(const std::vector<long>& periods, int degree) {
  std::set<Vector> corners{Vector(periods.size(), 0)};
  for (size_t k = 0; k < periods.size(); ++k) {
    std::set<Vector> wider = corners;
    for (Vector c : corners) {
      c[k] = periods[k] - 1;
      wider.insert(c);
    }
    corners = wider;
  }
  std::set<Vector> all = corners;
  for (size_t k = 0; k < periods.size(); ++k)
    for (Vector c : corners) {
      c[k] += degree * periods[k];
      all.insert(c);
    }
  return std::vector<Vector>(all.begin(), all.end());
}

// The rows over y0 saying that every corner shifted by y0 lies in `rows`.
Rows grid_room(const Rows& rows, const std::vector<Vector>& corners) {
  Rows r;
  for (const Vector& c : corners)
    for (Row row : rows) {
      row.back() += dot(row, c);
      r.push_back(row);
    }
  return r;
}

// One residue per variable, every combination.
std::vector<Vector> residues(const std::vector<long>& periods) {
  std::vector<Vector> all{Vector()};
  for (long p : periods) {
    std::vector<Vector> longer;
    for (const Vector& r : all)
      for (long x = 0; x < p; ++x) {
        longer.push_back(r);
        longer.back().push_back(x);
      }
    all = longer;
  }
  return all;
}

Row equality(const Vector& w, const mpz_class& t) {
  Row row{0};
  row.insert(row.end(), w.begin(), w.end());
  row.push_back(-t);
  return row;
}

struct Chamber {
  IntRows rows;                  // [flag | parameters | constant]
  const YEB_evalue* candidate;   // PolyLib's count there, or null
};

// The checked pieces of a count, chamber after chamber.
class Certifier {
 public:
  Certifier(const IntRows& m, int nb_counters, int degree, const PolylibWrapper::ParametricDomains& structure)
      : counts(points.ctx, m, nb_counters), degree(degree), structure(structure) {
    for (int j = 0; j < get_nb_parameters(); ++j) {
      bool occurs = false;
      for (const auto& row : m) occurs = occurs || row[1 + nb_counters + j] != 0;
      for (const IntRows& chamber : structure.chambers)
        for (const auto& row : chamber) occurs = occurs || row[1 + j] != 0;
      if (occurs) active.push_back(j);
    }
  }

  // The chamber's count, checked face by face; where PolyLib's is wrong on
  // a face, that face gets its own piece and an interpolated count. The
  // points of the earlier chambers are left out of the pieces.
  void add(const Chamber& chamber, const std::vector<IntRows>& earlier, std::vector<CountPiece>& out) {
    std::vector<long> truth = vertex_periods(chamber.rows), check = truth;
    if (chamber.candidate) {
      std::vector<long> own = periods_of(chamber.candidate, get_nb_parameters());
      for (size_t k = 0; k < active.size(); ++k) check[k] = period_lcm(check[k], own[active[k]]);
    }
    std::vector<Face> faces;
    bool all_right = chamber.candidate != nullptr;
    for (const Rows& region : relative_interiors(active_rows(chamber.rows))) {
      faces.push_back(checked(region, chamber.candidate, check));
      all_right = all_right && faces.back().right;
    }
    if (all_right) {
      for (const IntRows& piece : outside(chamber.rows, earlier)) out.push_back({piece, copy_evalue(chamber.candidate)});
      return;
    }
    for (const Face& f : faces) {
      std::vector<IntRows> pieces = outside(full_rows(f.region), earlier);
      if (pieces.empty()) continue;
      YEB_evalue* value = f.right ? copy_evalue(chamber.candidate) : interpolated(f.at, f.count, truth);
      for (size_t k = 0; k < pieces.size(); ++k) out.push_back({pieces[k], k == 0 ? value : copy_evalue(value)});
    }
  }

 private:
  // Per active parameter, the period the count may have on the chamber: the
  // lcm, over the vertices of PolyLib's chambers that meet it, of the
  // denominators of their coefficients of that parameter.
  std::vector<long> vertex_periods(const IntRows& chamber) {
    std::vector<long> periods(active.size(), 1);
    bool met = false;
    for (size_t c = 0; c < structure.chambers.size(); ++c) {
      IntRows both = chamber;
      both.insert(both.end(), structure.chambers[c].begin(), structure.chambers[c].end());
      if (ISLWrapper::is_empty(both, get_nb_parameters())) continue;
      met = true;
      for (const IntRows& vertex : structure.vertices[c])
        for (const auto& row : vertex) {
          long d = std::abs(static_cast<long>(row.back()));
          for (size_t k = 0; k < active.size(); ++k)
            periods[k] = period_lcm(periods[k], d / std::gcd(d, long(row[active[k]])));
        }
    }
    if (!met) uncertified("a chamber without parametric vertices");
    return periods;
  }

  struct Face {
    Rows region;
    std::vector<ParameterPoint> at;  // points that determine the count there
    std::vector<mpz_class> count;    // their exact counts
    bool right;                      // PolyLib's count takes them all
  };

  Face checked(const Rows& region, const YEB_evalue* candidate, const std::vector<long>& periods) {
    Face f{region, {}, {}, candidate != nullptr};
    std::vector<Vector> grid;
    if (!determine(region, active.size(), periods, Lattice::identity(active.size()), grid))
      uncertified("too many parameter points to check");
    for (const Vector& p : grid) {
      f.at.push_back(full_point(p));
      f.count.push_back(counts.at(f.at.back()));
      f.right = f.right && value_at(candidate, f.at.back()) == f.count.back();
    }
    return f;
  }

  // The pieces of the region (rows over every parameter) outside the
  // earlier chambers.
  std::vector<IntRows> outside(const IntRows& region, const std::vector<IntRows>& earlier) {
    std::vector<IntRows> pieces;
    if (!ISLWrapper::is_empty(region, get_nb_parameters())) pieces.push_back(region);
    for (const IntRows& before : earlier) {
      std::vector<IntRows> next;
      for (const IntRows& piece : pieces)
        for (const IntRows& rest : ISLWrapper::disjoint_subtract(piece, before, get_nb_parameters()))
          next.push_back(rest);
      pieces = next;
    }
    return pieces;
  }

  YEB_evalue* interpolated(const std::vector<ParameterPoint>& at, const std::vector<mpz_class>& count,
                           const std::vector<long>& periods) {
    QuasiPolynomial q(active, periods, degree);
    if (!q.fit(at, count)) uncertified("no quasi-polynomial of the count's degree and period takes the exact counts");
    std::string failure = std::string(kFailure) + "a coefficient beyond 64 bits";
    return q.to_evalue(failure.c_str());
  }

  // The faces of the piece by the set of its inequalities that are tight
  // there: each region holds the points where exactly that set is tight,
  // so the regions share no point and together hold every point.
  std::vector<Rows> relative_interiors(const Rows& piece) {
    Rows equalities, inequalities;
    for (const Row& row : piece) (row[0] == 0 ? equalities : inequalities).push_back(row);
    std::vector<Rows> regions;
    std::vector<bool> tight(inequalities.size(), false);
    visit_faces(equalities, inequalities, tight, 0, regions);
    return regions;
  }

  void visit_faces(const Rows& equalities, const Rows& inequalities, std::vector<bool>& tight, size_t next,
                   std::vector<Rows>& regions) {
    Rows strict = equalities;
    for (size_t i = 0; i < inequalities.size(); ++i) {
      Row row = inequalities[i];
      if (tight[i]) row[0] = 0;
      else row.back() -= 1;
      strict.push_back(row);
    }
    int n = active.size();
    if (!points.empty(strict, n)) regions.push_back(strict);
    for (size_t j = next; j < inequalities.size(); ++j) {
      tight[j] = true;
      Rows face = equalities;
      for (size_t i = 0; i < inequalities.size(); ++i) {
        face.push_back(inequalities[i]);
        if (tight[i]) face.back()[0] = 0;
      }
      if (!points.empty(face, n)) visit_faces(equalities, inequalities, tight, j + 1, regions);
      tight[j] = false;
    }
  }

  // Points of the region (rows over n variables y, mapped to the parameters
  // by `lattice`) that determine a quasi-polynomial of the count's degree
  // with the given period in each y on the region's integer points; false
  // when there would be too many of them.
  bool determine(const Rows& region, int n, const std::vector<long>& periods, const Lattice& lattice,
                 std::vector<Vector>& out) {
    Vector y0;
    if (!points.sample(region, n, y0)) return true;
    Rows hull = points.hull(region, n);
    if (!hull.empty()) {
      // Down to the lattice of the integer points' affine hull, where a
      // class of the parameters is a union of classes of the new variables
      // modulo the lcm of the periods.
      std::vector<Vector> kernel = integer_kernel(hull, n);
      size_t k = kernel.empty() ? 0 : kernel[0].size();
      if (k == 0) {
        emit(lattice.at(y0), out);
        return spent <= kMaxPoints;
      }
      long common = 1;
      for (long p : periods) common = period_lcm(common, p);
      return determine(substituted(region, y0, kernel), k, std::vector<long>(k, common), lattice.then(y0, kernel),
                       out);
    }
    // Where the region holds no more points than a grid would, all of them.
    std::vector<Vector> all;
    std::vector<std::vector<int>> steps = exponent_vectors(n, degree);
    long grid_size = steps.size();
    for (long p : periods) grid_size = std::min(grid_size * p, kMaxPoints + 1);
    if (points.all_points(region, n, grid_size, all)) {
      for (const Vector& y : all) emit(lattice.at(y), out);
      return spent <= kMaxPoints;
    }
    if (!points.sample(grid_room(region, grid_corners(periods, degree)), n, y0))
      return slices(region, n, periods, lattice, out);
    if (spent + grid_size > kMaxPoints) return false;
    // In each residue class r, the points y0 + r + period * s for the steps
    // s of a simplex of side `degree`: they determine a polynomial of that
    // degree, and the hull of them all lies in the region.
    for (const Vector& r : residues(periods))
      for (const std::vector<int>& s : steps) {
        Vector y = y0;
        for (int k = 0; k < n; ++k) y[k] += r[k] + periods[k] * s[k];
        emit(lattice.at(y), out);
      }
    return true;
  }

  // The region cut into the slices w . y = t along its narrowest bounded
  // direction among its constraints, the axes and the directions its
  // recession cone does not span; each slice is determined on its own.
  bool slices(const Rows& region, int n, const std::vector<long>& periods, const Lattice& lattice,
              std::vector<Vector>& out) {
    std::vector<Vector> directions;
    for (const Row& row : region) directions.emplace_back(row.begin() + 1, row.end() - 1);
    for (int k = 0; k < n; ++k) {
      directions.emplace_back(n, 0);
      directions.back()[k] = 1;
    }
    Rows cone = region;
    for (Row& row : cone) row.back() = 0;
    for (const Row& row : points.hull(cone, n)) directions.emplace_back(row.begin() + 1, row.end() - 1);
    bool found = false;
    Vector best;
    mpz_class best_low, best_high;
    for (const Vector& w : directions) {
      mpz_class low, high;
      if (std::all_of(w.begin(), w.end(), [](const mpz_class& x) { return x == 0; })) continue;
      if (!points.extent(region, n, w, low, high) || (found && high - low >= best_high - best_low)) continue;
      found = true;
      best = w;
      best_low = low;
      best_high = high;
    }
    if (!found || best_high - best_low >= kMaxSlices) return false;
    for (mpz_class t = best_low; t <= best_high; ++t) {
      Rows slice = region;
      slice.push_back(equality(best, t));
      if (!determine(slice, n, periods, lattice, out)) return false;
    }
    return true;
  }

  void emit(const Vector& p, std::vector<Vector>& out) {
    out.push_back(p);
    ++spent;
  }

  Rows active_rows(const IntRows& rows) {
    Rows r;
    for (const auto& row : rows) {
      Row a{row[0]};
      for (int j : active) a.push_back(row[1 + j]);
      a.push_back(row.back());
      r.push_back(a);
    }
    return r;
  }

  IntRows full_rows(const Rows& rows) {
    IntRows r;
    for (const Row& row : rows) {
      std::vector<int> full(get_nb_parameters() + 2, 0);
      full[0] = row[0].get_si();
      for (size_t k = 0; k < active.size(); ++k) full[1 + active[k]] = checked_int(row[1 + k]);
      full.back() = checked_int(row.back());
      r.push_back(full);
    }
    return r;
  }

  ParameterPoint full_point(const Vector& p) {
    ParameterPoint full(get_nb_parameters(), 0);
    for (size_t k = 0; k < active.size(); ++k) {
      if (!p[k].fits_slong_p()) uncertified("parameter values beyond 64 bits");
      full[active[k]] = p[k].get_si();
    }
    return full;
  }

  static int checked_int(const mpz_class& x) {
    if (!x.fits_sint_p()) uncertified("a constraint coefficient beyond int");
    return x.get_si();
  }

  IntegerPoints points;
  ExactCounts counts;
  int degree;
  const PolylibWrapper::ParametricDomains& structure;
  std::vector<int> active;  // the parameters that occur
  long spent = 0;           // points emitted so far
};

// The dimension bound of the count's degree: the counters less the rank of
// the counter columns of the equalities.
int degree_bound(const IntRows& equalities, int nb_counters) {
  std::vector<std::vector<mpq_class>> a;
  for (const auto& row : equalities) a.emplace_back(row.begin() + 1, row.begin() + 1 + nb_counters);
  int rank = 0;
  for (int c = 0; c < nb_counters && rank < static_cast<int>(a.size()); ++c) {
    size_t p = rank;
    while (p < a.size() && a[p][c] == 0) ++p;
    if (p == a.size()) continue;
    std::swap(a[p], a[rank]);
    for (size_t r = rank + 1; r < a.size(); ++r) {
      mpq_class factor = a[r][c] / a[rank][c];
      for (int k = c; k < nb_counters; ++k) a[r][k] -= factor * a[rank][k];
    }
    ++rank;
  }
  return nb_counters - rank;
}

}  // namespace

std::vector<CountPiece> certified_count(const IntRows& m, int nb_counters) {
  PolylibWrapper::ParametricDomains structure = PolylibWrapper::parametric_domains(m, nb_counters);
  if (!structure.computed) uncertified("PolyLib failed on its parametric vertices");
  YEB_Enumeration* e = PolylibWrapper::volume(m, nb_counters);
  std::vector<Chamber> chambers;
  for (YEB_Enumeration* cell = e; cell; cell = cell->next) {
    IntRows rows;
    for (int r = 0; r < cell->nb_row; ++r)
      rows.emplace_back(cell->ValidityDomain[r], cell->ValidityDomain[r] + cell->nb_col);
    chambers.push_back({rows, cell->EP});
  }
  // Without PolyLib's counts, its chambers are counted afresh.
  if (!e)
    for (const IntRows& rows : structure.chambers) chambers.push_back({rows, nullptr});
  Certifier certifier(m, nb_counters, degree_bound(structure.equalities, nb_counters), structure);
  std::vector<CountPiece> pieces;
  std::vector<IntRows> earlier;
  for (const Chamber& chamber : chambers) {
    certifier.add(chamber, earlier, pieces);
    earlier.push_back(chamber.rows);
  }
  free_enumeration(e);
  return pieces;
}
