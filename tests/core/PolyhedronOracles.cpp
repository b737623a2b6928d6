#include "PolyhedronOracles.h"

#include <algorithm>
#include <numeric>

#include "Polyhedron.h"

void IJLeavesTest::SetUp() {
  CoreTest::SetUp();
  register_names({"i", "j"}, {});
  i = new Expression(std::string("i"));
  j = new Expression(std::string("j"));
}

void IJLeavesTest::TearDown() { del(std::vector<Expression*>{i, j}); }

Rows random_ij_rows(std::mt19937& g) {
  std::uniform_int_distribution<int> coef(-2, 2), cst(-3, 3), count(1, 3), eq(0, 6);
  Rows r = box_rows(2, 4, 4);
  for (int n = count(g); n > 0; --n) r.push_back({eq(g) == 0 ? 0 : 1, coef(g), coef(g), cst(g)});
  return r;
}

Polyhedron* random_ijn(std::mt19937& g, bool with_parameter, int low_n) {
  std::uniform_int_distribution<int> par(-1, 1);
  Rows r = random_ij_rows(g);
  for (size_t k = 0; k < r.size(); k++) r[k].insert(r[k].end() - 1, k < 4 || !with_parameter ? 0 : par(g));
  if (with_parameter) {
    r.push_back({1, 0, 0, 1, -low_n});
    r.push_back({1, 0, 0, -1, 8});
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

Rational rational(long long n, long long d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  long long g = std::gcd(n < 0 ? -n : n, d);
  return Rational(n / g, d / g);
}

std::set<Vertex> brute_vertices(const Rows& rows) {
  std::set<Vertex> r;
  for (size_t a = 0; a < rows.size(); a++)
    for (size_t b = a + 1; b < rows.size(); b++) {
      const std::vector<int>& u = rows[a];
      const std::vector<int>& w = rows[b];
      long long det = (long long)u[1] * w[2] - (long long)w[1] * u[2];
      if (det == 0) continue;
      long long in = (long long)u[2] * w[3] - (long long)w[2] * u[3];
      long long jn = (long long)u[3] * w[1] - (long long)w[3] * u[1];
      bool inside = true;
      for (const std::vector<int>& row : rows) {
        long long s = (row[1] * in + row[2] * jn + row[3] * det) * (det > 0 ? 1 : -1);
        if (row[0] == 0 ? s != 0 : s < 0) inside = false;
      }
      if (inside) r.insert(Vertex(rational(in, det), rational(jn, det)));
    }
  return r;
}
