#include "PolyhedronOracles.h"

#include <algorithm>

#include "Polyhedron.h"

Polyhedron* random_ijn(std::mt19937& g, bool with_parameter, int low_n) {
  std::uniform_int_distribution<int> coef(-2, 2), cst(-3, 3), count(1, 3), eq(0, 6), par(-1, 1);
  Rows r = box_rows(2, 4, 4);
  for (auto& row : r) row.insert(row.end() - 1, 0);
  if (with_parameter) {
    r.push_back({1, 0, 0, 1, -low_n});
    r.push_back({1, 0, 0, -1, 8});
  }
  for (int n = count(g); n > 0; --n) {
    std::vector<int> row{eq(g) == 0 ? 0 : 1, coef(g), coef(g), with_parameter ? par(g) : 0, cst(g)};
    r.push_back(row);
  }
  return new Polyhedron(r, std::set<int>{0, 1}, std::set<int>{0});
}

Union random_union(std::mt19937& g, int count, bool with_parameter, int low_n) {
  Union v;
  for (int k = 0; k < count; k++) v.push_back(random_ijn(g, with_parameter, low_n));
  return v;
}

std::set<Point> point_set(const Union& v, int low_n) {
  std::vector<Rows> members;
  for (Polyhedron* p : v) members.push_back(p->to_matrix(std::set<int>{0, 1}, std::set<int>{0}));
  std::set<Point> r;
  for (int i = -5; i <= 5; i++)
    for (int j = -5; j <= 5; j++)
      for (int n = low_n; n <= 8; n++)
        for (const Rows& m : members)
          if (satisfies(m, {i, j, n})) {
            r.insert({i, j, n});
            break;
          }
  return r;
}

std::set<Point> point_set(Polyhedron* p, int low_n) { return point_set(Union{p}, low_n); }

std::set<Point> minus(const std::set<Point>& a, const std::set<Point>& b) {
  std::set<Point> r;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::inserter(r, r.end()));
  return r;
}

bool pairwise_disjoint(const Union& v, int low_n) {
  size_t total = 0;
  std::set<Point> all;
  for (Polyhedron* p : v) {
    std::set<Point> mine = point_set(p, low_n);
    total += mine.size();
    all.insert(mine.begin(), mine.end());
  }
  return total == all.size();
}
