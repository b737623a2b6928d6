#include "ZILTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

#include "Expression.h"
#include "GeneratedName.h"
#include "Polyhedron.h"
#include "Rank.h"

namespace {

// Rows [flag | counters | constant] with the parameters folded in.
std::vector<std::vector<int>> fixed_rows(Polyhedron* p, const std::vector<int>& counters,
                                         const Values& parameters) {
  std::vector<int> all;
  for (int q = 0; q < get_nb_parameters(); q++) all.push_back(q);
  std::vector<std::vector<int>> result;
  for (const std::vector<int>& row : p->to_matrix(counters, all)) {
    std::vector<int> fixed(row.begin(), row.begin() + 1 + counters.size());
    int constant = row.back();
    for (size_t q = 0; q < all.size(); q++) {
      auto value = parameters.find(all[q]);
      if (value != parameters.end()) constant += row[1 + counters.size() + q] * value->second;
    }
    fixed.push_back(constant);
    result.push_back(fixed);
  }
  return result;
}

bool satisfies(const std::vector<std::vector<int>>& rows, const Point& x) {
  for (const std::vector<int>& row : rows) {
    long long v = row.back();
    for (size_t k = 0; k < x.size(); k++) v += static_cast<long long>(row[k + 1]) * x[k];
    if (row[0] == 0 ? v != 0 : v < 0) return false;
  }
  return true;
}

}  // namespace

Polyhedron* rows_over(const Rows& rows, const std::vector<std::string>& counters,
                      const std::vector<std::string>& parameters) {
  std::vector<int> c, p;
  for (const std::string& name : counters) {
    declare_counter(name);
    c.push_back(get_counter_rank(name));
  }
  for (const std::string& name : parameters) {
    declare_parameter(name);
    p.push_back(get_parameter_rank(name));
  }
  return new Polyhedron(rows, c, p);
}

std::set<Point> union_points(const std::vector<Polyhedron*>& pieces, const std::vector<int>& counters,
                             const Values& parameters, const Point& low, const Point& high) {
  std::vector<std::vector<std::vector<int>>> members;
  std::set<int> listed(counters.begin(), counters.end());
  for (Polyhedron* p : pieces) {
    for (int c : p->get_counters()) EXPECT_TRUE(listed.count(c)) << "piece over counter " << c;
    members.push_back(fixed_rows(p, counters, parameters));
  }
  std::set<Point> result;
  Point x = low;
  while (true) {
    for (const auto& rows : members)
      if (satisfies(rows, x)) {
        result.insert(x);
        break;
      }
    size_t k = 0;
    while (k < x.size() && x[k] == high[k]) x[k] = low[k], k++;
    if (k == x.size()) break;
    x[k]++;
  }
  return result;
}

std::set<Point> common_points(const std::vector<std::vector<Polyhedron*>>& factors, const std::vector<int>& counters,
                              const Values& parameters, const Point& low, const Point& high) {
  std::set<Point> common;
  for (size_t f = 0; f < factors.size(); f++) {
    std::set<Point> points = union_points(factors[f], counters, parameters, low, high), both;
    for (const Point& x : points)
      if (f == 0 || common.count(x)) both.insert(x);
    common = both;
  }
  return common;
}

std::string bijection_failure(const std::set<Point>& tiled, const std::vector<int>& tiled_counters,
                              const Values& parameters, const std::map<int, Expression*>& substitution,
                              const std::vector<int>& domain_counters, const std::set<Point>& original) {
  std::set<Point> seen;
  for (const Point& t : tiled) {
    Values at;
    for (size_t k = 0; k < t.size(); k++) at[tiled_counters[k]] = t[k];
    Point image;
    for (int c : domain_counters) image.push_back(substitution.at(c)->evaluate_int(at, parameters));
    std::ostringstream why;
    for (int v : image) why << " " << v;
    if (!original.count(image)) return "extra iteration" + why.str();
    if (!seen.insert(image).second) return "duplicated iteration" + why.str();
  }
  if (seen.size() != original.size())
    return "lost " + std::to_string(original.size() - seen.size()) + " iterations";
  return "";
}

Values split_values(const std::map<std::string, int>& sizes, int b) {
  Values values;
  for (const auto& size : sizes) {
    values[get_parameter_rank(size.first)] = size.second;
    if (parameter_rank.count(split_name(true, size.first))) {
      values[get_parameter_rank(split_name(true, size.first))] = size.second / b;
      values[get_parameter_rank(split_name(false, size.first))] = size.second % b;
    }
  }
  values[get_parameter_rank("block_size")] = b;
  return values;
}

std::vector<std::string> numbered(const std::string& prefix, int n) {
  std::vector<std::string> result;
  for (int k = 0; k < n; k++) result.push_back(prefix + std::to_string(k));
  return result;
}

std::vector<int> counter_ranks(const std::vector<std::string>& names) {
  std::vector<int> ranks;
  for (const std::string& name : names) ranks.push_back(get_counter_rank(name));
  return ranks;
}

std::vector<int> parameter_ranks(const std::vector<std::string>& names) {
  std::vector<int> ranks;
  for (const std::string& name : names) ranks.push_back(get_parameter_rank(name));
  return ranks;
}

Rows random_unimodular(std::mt19937& g, int n, int p) {
  std::uniform_int_distribution<int> pick(0, n - 1), factor(-1, 1), constant(-2, 2);
  Rows h(n, std::vector<int>(n + p + 1, 0));
  for (int k = 0; k < n; k++) h[k][k] = 1;
  for (int step = 0; step < 4; step++) {
    int a = pick(g), b = pick(g);
    if (a == b) {
      for (int q = 0; q < n; q++) h[a][q] = -h[a][q];
      continue;
    }
    int f = factor(g);
    for (int q = 0; q < n; q++) h[a][q] += f * h[b][q];
  }
  for (int k = 0; k < n; k++) {
    if (p) h[k][n] = factor(g);
    h[k].back() = constant(g);
  }
  return h;
}
