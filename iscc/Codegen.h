// The loop nest that isl's AST builder generates for a schedule, printed
// in C.
#ifndef ISCC_CODEGEN_H
#define ISCC_CODEGEN_H

#include <string>

#include <isl/union_map.h>

namespace iscc {

// Generates the nest that runs the domain of `schedule` (taken) in the
// order of its dates, with isl's option "separate" on every date
// dimension: a loop is split where the pieces of the domain that it runs
// change, rather than testing inside it which piece a point belongs to.
// The instances of `isolated` (taken; may be null), a part of the
// schedule, run apart from the other instances of their statements (see
// isolate_instances): given the full tiles of a tiled domain, these get
// loops of their own, apart from the partial tiles. Dates are first
// rewritten as counters where the order allows (see counter_dates), so
// that the loops over a tile run over its own box. A schedule of many
// pieces whose first dates fall in groups that follow each other (see
// first_date_parts) gets one nest per group, in that order: isl's work
// grows with the square of the pieces it is given at once, and the groups
// are generated at the same time, each in an isl context of its own.
// Stores the C text in `nest` (the caller's) and returns true; returns
// false when isl fails.
bool generate_nest(isl_union_map* schedule, isl_union_map* isolated, std::string& nest);

}  // namespace iscc

#endif
