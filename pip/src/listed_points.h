// The integer points of a bounded parameter set, listed by scanning the
// integer points of its rational relaxation (divisions eliminated) one
// coordinate after the other. On the small bounded regions the solver
// meets, testing each scanned point with PipIntegerForm costs far less
// than isl's integer point searches, which on sets with several nested
// divisions take milliseconds each.
#ifndef TARVEX_PIP_LISTED_POINTS_H
#define TARVEX_PIP_LISTED_POINTS_H

#include <functional>
#include <vector>

#include "integer_form.h"
#include "isl_handle.h"

// How keep judges a point: kept, dropped, or undecided (a value beyond
// what PipIntegerForm computes).
enum class PipKeep { kKeep, kDrop, kUndecided };

// The solver lists the points of a set only up to this many points scanned
// in its relaxation; past it, isl searches the set.
constexpr double kPipMaxScanned = 1 << 17;

// Whether a set may be bounded, from the marks
// PipIntegerForm::mark_directions left over its np parameters: false when
// one of them is not bounded both ways, and the set is unbounded.
bool pip_may_be_bounded(const std::vector<int> &directions);

// Sets *out to the integer points of the relaxation of set (borrowed: a
// parameter set over np parameters, divisions allowed) that keep keeps, in
// lexicographic order; keep must keep every integer point of set. Returns
// false, *out then unspecified, when the relaxation is unbounded, the scan
// visits more than limit points (on every level), or keep leaves a point
// undecided.
bool pip_scan_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                    const std::function<PipKeep(const PipPoint &)> &keep,
                    std::vector<PipPoint> *out);

// Sets *out to the integer points of set (borrowed, as above), read from
// its own constraints; false as above.
bool pip_list_points(isl_ctx *ctx, isl_basic_set *set, int np, double limit,
                     std::vector<PipPoint> *out);

// Whether the points affinely span the whole space of np parameters (their
// set then has no implicit equality); false too when that cannot be told
// within 127 bits.
bool pip_points_span(const std::vector<PipPoint> &points, int np);

// The point with the given coordinates in the parameter space space
// (taken). The caller owns it.
Isl<isl_point> pip_point_at(isl_ctx *ctx, isl_space *space, const PipPoint &coordinates);

#endif
