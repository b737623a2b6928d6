#ifndef TARVEX_TESTS_POINT_SETS_H
#define TARVEX_TESTS_POINT_SETS_H

// Brute-force oracles over integer points: constraint rows [flag | vars |
// constant] (flag 0: == 0, otherwise >= 0) checked point by point in a box.

#include <random>
#include <set>
#include <vector>

typedef std::vector<std::vector<int>> Rows;
typedef std::vector<int> Point;

bool satisfies(const Rows& m, const Point& x);
// The points of [-bound, bound]^dim that satisfy m.
std::set<Point> points(const Rows& m, int dim, int bound);
// The points of the box that satisfy some member.
std::set<Point> points(const std::vector<Rows>& members, int dim, int bound);
// Random constraints over dim variables, plus the box -box <= x <= box.
Rows random_polyhedron(std::mt19937& g, int dim, int box);
// The constraint rows of the box -low <= x_k <= high over dim variables.
Rows box_rows(int dim, int low, int high);

#endif
