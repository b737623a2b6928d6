#ifndef TARVEX_TESTS_ZIL_TEST_SUPPORT_H
#define TARVEX_TESTS_ZIL_TEST_SUPPORT_H

// Helpers of the parametric tiling tests: polyhedra from rows over named
// variables, and the brute-force oracle: the integer points of a tiled
// union at fixed parameter values, mapped back through a tiling's
// substitution, must be the points of the original domain, each once.

#include <gtest/gtest.h>

#include <map>
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
