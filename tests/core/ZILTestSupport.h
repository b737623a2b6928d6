#ifndef TARVEX_TESTS_ZIL_TEST_SUPPORT_H
#define TARVEX_TESTS_ZIL_TEST_SUPPORT_H

// Helpers of the parametric tiling tests: polyhedra from rows over named
// variables, and the brute-force oracle: the integer points of a tiled
// union at fixed parameter values, mapped back through a tiling's
// substitution, must be the points of the original domain, each once.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "CoreTest.h"

class Expression;
class Polyhedron;

typedef std::vector<int> Point;
typedef std::vector<std::vector<int>> Rows;
typedef std::map<int, int> Values;  // registry rank -> value

// New polyhedron of rows [flag | counters | parameters | constant] over the
// named variables, registered (true counters, parameters) when new.
Polyhedron* rows_over(const Rows& rows, const std::vector<std::string>& counters,
                      const std::vector<std::string>& parameters);

// The points of the union of `pieces` over `counters` (in order) inside the
// box [low, high], every parameter fixed by `parameters` (absent ones 0).
// A piece over another counter fails the calling test.
std::set<Point> union_points(const std::vector<Polyhedron*>& pieces, const std::vector<int>& counters,
                             const Values& parameters, const Point& low, const Point& high);

// The points in the box that lie in the union of every list of `factors`
// (as union_points reads them).
std::set<Point> common_points(const std::vector<std::vector<Polyhedron*>>& factors, const std::vector<int>& counters,
                              const Values& parameters, const Point& low, const Point& high);

// "" when `substitution` (domain counter -> expression over the tiled
// counters and the parameters) maps the tiled points one to one onto the
// original points (coordinates in `domain_counters` order); else what
// went wrong.
std::string bijection_failure(const std::set<Point>& tiled, const std::vector<int>& tiled_counters,
                              const Values& parameters, const std::map<int, Expression*>& substitution,
                              const std::vector<int>& domain_counters, const std::set<Point>& original);

// The parameter values of a run: every size parameter, its outer_ and
// inner_ parts for block size b, and block_size.
Values split_values(const std::map<std::string, int>& sizes, int b);

// prefix0, prefix1, ... (n names).
std::vector<std::string> numbered(const std::string& prefix, int n);
// The registry ranks of the named counters, respectively parameters.
std::vector<int> counter_ranks(const std::vector<std::string>& names);
std::vector<int> parameter_ranks(const std::vector<std::string>& names);

// A random unimodular n x n matrix, a product of elementary operations,
// with a constant and a parameter term (p of 0 or 1) in every row: rows
// [n coefficients | p | constant].
Rows random_unimodular(std::mt19937& g, int n, int p);

// `statement` stops the run with `text` on standard error and nothing on
// standard output (a stop before anything is printed or passed to the
// tiling library).
template <class F>
void expect_silent_stop(F statement, const std::string& text) {
  EXPECT_STOP_ON_STDERR(statement(), text);
  EXPECT_EXIT(
      {
        check_stdout_only();
        statement();
      },
      ::testing::ExitedWithCode(1), "^$");
}

#endif
