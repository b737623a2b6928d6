#ifndef TARVEX_TESTS_QUAST_TEST_SUPPORT_H
#define TARVEX_TESTS_QUAST_TEST_SUPPORT_H

// Helpers of the quast and solver tests: evaluation with floor division
// (the reading of DIV nodes in solver answers), hand-built solver records,
// and random trees over two parameters.

#include <map>
#include <random>
#include <string>
#include <vector>

#include "CoreTest.h"
#include "Quast.h"
#include "pip.h"

class Condition;
class Expression;
class Inequation;
class Polyhedron;

typedef std::map<int, int> Values;

// Value of e for the given counter and parameter values; DIV floors,
// CEIL rounds up.
int floor_value(const Expression* e, const Values& parameters, const Values& counters = {});
// Whether c holds, every constraint of p holds, some member of u holds,
// respectively the condition holds, at the given values.
bool holds_at(const Inequation* c, const Values& parameters, const Values& counters = {});
bool contains_at(Polyhedron* p, const Values& parameters, const Values& counters = {});
bool contains_at(const std::vector<Polyhedron*>& u, const Values& parameters, const Values& counters = {});
bool holds_at(const Condition* c, const Values& parameters);
// The leaf reached at the values (every predicate, extended tests as
// membership in their union), or null at a bottom.
Quast* leaf_at(Quast* q, const Values& parameters, const Values& counters = {});
// What q gives there: "_|_", or the leaf's statement, read rank and point
// values (and "u" for an unbounded leaf).
std::string value_at(Quast* q, const Values& parameters, const Values& counters = {});
// The points M, N in 0 .. 5 (parameter ranks 0 and 1).
std::vector<Values> parameter_box();
// value_at at every point of parameter_box().
std::vector<std::string> values(Quast* q);

// malloc'ed records, freed by pip_quast_free / pip_list_free.
PipVector* pip_vector(const std::vector<long long>& values, long long deno = 1);
PipList* pip_list(const std::vector<PipVector*>& vectors);
PipQuast* pip_node();  // every pointer null: the solver's "no solution"
PipNewparm* pip_newparm(int rank, PipVector* vector, long long deno);

// Counters i, j (ranks 0, 1) and parameters M, N (ranks 0, 1), the tests
// c: M >= 2 and d: N <= 3, and a bottom. Every shared object must be gone
// at the end.
class MNTest : public CoreTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  Inequation* c = nullptr;
  Inequation* d = nullptr;
  Quast bottom;
};

// New constraint row . (i, j, M, N, 1) pred 0, for MNTest.
Inequation* row_constraint(predicate_t pred, std::vector<int> row);
// New tagged leaf of statement stmt (counters {0}) at the constant point
// (a, b), for MNTest.
Quast* constant_leaf(int stmt, int a, int b);

// Random trees for MNTest: tests drawn from a small pool over M and N
// (equal and implying tests, strict ones, a floor division), tagged leaves
// of statements 0 (counters i), 1 (i, j) and 2 (j) with affine or divided
// points, and bottoms.
class RandomQuasts {
 public:
  explicit RandomQuasts(unsigned seed);
  ~RandomQuasts();
  RandomQuasts(const RandomQuasts&) = delete;
  RandomQuasts& operator=(const RandomQuasts&) = delete;
  // New trees of at most depth test levels; extended tests of one or two
  // polyhedra when `extended`.
  Quast* tree(int depth, bool extended = false, bool tagged = true);
  Quast* leaf(bool tagged = true);
  Inequation* test();  // a pool member, owned by the generator
  // A new random condition over the pool, equalities and constants.
  Condition* condition(int depth);
  std::mt19937 g;

 private:
  int pick(int n);
  std::vector<Inequation*> pool;
};

#endif
