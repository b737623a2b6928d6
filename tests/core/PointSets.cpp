#include "PointSets.h"

bool satisfies(const Rows& m, const Point& x) {
  for (const auto& row : m) {
    long v = row.back();
    for (size_t k = 0; k < x.size(); ++k) v += static_cast<long>(row[k + 1]) * x[k];
    if (row[0] == 0 ? v != 0 : v < 0) return false;
  }
  return true;
}

std::set<Point> points(const std::vector<Rows>& members, int dim, int bound) {
  std::set<Point> r;
  Point x(dim, -bound);
  while (true) {
    for (const auto& m : members)
      if (satisfies(m, x)) {
        r.insert(x);
        break;
      }
    int k = dim - 1;
    while (k >= 0 && x[k] == bound) x[k--] = -bound;
    if (k < 0) break;
    ++x[k];
  }
  return r;
}

std::set<Point> points(const Rows& m, int dim, int bound) { return points(std::vector<Rows>{m}, dim, bound); }

Rows box_rows(int dim, int low, int high) {
  Rows r;
  for (int k = 0; k < dim; ++k) {
    std::vector<int> lo(dim + 2, 0), hi(dim + 2, 0);
    lo[0] = hi[0] = 1;
    lo[k + 1] = 1;
    lo.back() = low;
    hi[k + 1] = -1;
    hi.back() = high;
    r.push_back(lo);
    r.push_back(hi);
  }
  return r;
}

Rows random_polyhedron(std::mt19937& g, int dim, int box) {
  std::uniform_int_distribution<int> coef(-2, 2), cst(-3, 3), count(1, 3), eq(0, 5);
  Rows r = box_rows(dim, box, box);
  for (int n = count(g); n > 0; --n) {
    std::vector<int> row{eq(g) == 0 ? 0 : 1};
    for (int k = 0; k < dim; ++k) row.push_back(coef(g));
    row.push_back(cst(g));
    r.push_back(row);
  }
  return r;
}
