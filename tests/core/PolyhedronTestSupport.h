#ifndef TARVEX_TESTS_POLYHEDRON_TEST_SUPPORT_H
#define TARVEX_TESTS_POLYHEDRON_TEST_SUPPORT_H

// Helpers of the polyhedron tests: a fresh registry, a child-process runner
// that captures both standard streams, and row-set comparison. They name no
// Polyhedron, so the PolyLib adapter's test (whose PolyLib headers define a
// type of that name) can use them; PolyhedronBuilders.h has the rest.

#include <functional>
#include <set>
#include <string>
#include <vector>

// A fresh registry holding the given true counters and parameters, in rank
// order; emptied again on destruction. Declared as a fixture's first member
// so that the expression members after it see the names.
struct FreshRegistry {
  FreshRegistry(const std::vector<std::string>& counters,
                const std::vector<std::string>& parameters);
  ~FreshRegistry();
};

struct ChildRun {
  int status;       // exit status, or -1 when the child did not exit
  std::string out;  // everything written on standard output
  std::string err;  // everything written on standard error
};

// Runs `body` in a forked child; a body that returns exits with status 0.
ChildRun run_in_child(const std::function<void()>& body);

// The text of `print`ing into a string stream.
std::string text_of(const std::function<void(std::ostream&)>& print);

// Rows as a set, for comparisons that ignore row order.
std::set<std::vector<int>> row_set(const std::vector<std::vector<int>>& rows);

#endif
