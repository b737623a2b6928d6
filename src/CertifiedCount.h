#ifndef TARVEX_CERTIFIED_COUNT_H
#define TARVEX_CERTIFIED_COUNT_H

// Ehrhart counts that are checked before they are returned.
//
// PolyLib counts the integer points of a parametric polytope chamber by
// chamber, and its quasi-polynomials are now and then wrong (where a chamber
// holds too few points for its interpolation, and on the boundary that two
// chambers share), or it ends its process on a 64-bit overflow. On every
// face of a chamber (its relative interior, its facets, ... down to its
// vertices) the true count is one quasi-polynomial whose degree is at most
// the dimension of the polytope and whose period in each parameter divides
// the denominators of the chamber's parametric vertices. So the count is
// compared with exact counts (isl) at parameter points that determine such
// a quasi-polynomial on the face: a simplex grid of each residue class where
// one fits, else the face cut into parallel slices. Where PolyLib's
// quasi-polynomial is wrong, or PolyLib failed, the count of the face is
// interpolated from those exact counts. Each chamber loses the points of
// the chambers before it, so no two pieces share a parameter point.

#include <vector>

#include "PolylibWrapper.h"

struct CountPiece {
  std::vector<std::vector<int>> domain;  // rows [flag | parameters | constant]
  YEB_evalue* value;                     // owned by the receiver of the piece
};

// The number of integer points of the bounded, non-empty polyhedron m
// ([flag | nb_counters counters | every registered parameter | constant]),
// as pieces without a common integer point, for parameter values of either
// sign. A count that cannot be certified stops the run with
// "Polyhedron::volume: count not certified: " and the reason on standard
// error.
std::vector<CountPiece> certified_count(const std::vector<std::vector<int>>& m, int nb_counters);

#endif
