#ifndef TARVEX_TESTS_POLYHEDRON_ORACLES_H
#define TARVEX_TESTS_POLYHEDRON_ORACLES_H

// Brute-force oracles for operations over polyhedra and unions in the
// counters i (rank 0), j (rank 1) and the parameter N (rank 0): points are
// (i, j, N), enumerated for i and j in [-5, 5] and N in [low_n, 8].

#include <random>
#include <set>
#include <vector>

#include "CoreTest.h"
#include "PointSets.h"

class Polyhedron;

// Counters i (rank 0) and j (rank 1) without parameter in a fresh
// registry, with their leaves i and j, which the fixture owns.
class IJLeavesTest : public CoreTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  Expression* i;
  Expression* j;
};

typedef std::vector<Polyhedron*> Union;

// Random rows [flag | i | j | constant]: -4 <= i, j <= 4 and one to three
// further constraints (now and then an equality).
Rows random_ij_rows(std::mt19937& g);
// A new random polyhedron with -4 <= i, j <= 4 and one to three further
// constraints (now and then an equality); with a parameter, N takes part
// and low_n <= N <= 8 bounds it.
Polyhedron* random_ijn(std::mt19937& g, bool with_parameter, int low_n = -3);
// New random polyhedra, `count` of them.
Union random_union(std::mt19937& g, int count, bool with_parameter, int low_n = -3);

// The points of the enumeration box that lie in p, respectively in some
// member of v.
std::set<Point> point_set(Polyhedron* p, int low_n);
std::set<Point> point_set(const Union& v, int low_n);
// The points of a not in b.
std::set<Point> minus(const std::set<Point>& a, const std::set<Point>& b);
// 1 when no point of the box lies in two members of v.
bool pairwise_disjoint(const Union& v, int low_n);

// Exact rationals n / d, d > 0, reduced, and vertices (i, j) of them.
typedef std::pair<long long, long long> Rational;
typedef std::pair<Rational, Rational> Vertex;
Rational rational(long long n, long long d);
// The vertices of rows [flag | i | j | constant]: every pair of rows solved
// as equalities, kept when every row holds there.
std::set<Vertex> brute_vertices(const Rows& rows);

#endif
