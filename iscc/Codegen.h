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
// A tiled domain's full tiles thus get loops of their own, apart from the
// partial tiles. Stores the C text in `nest` (the caller's) and returns
// true; returns false when isl fails.
bool generate_nest(isl_union_map* schedule, std::string& nest);

}  // namespace iscc

#endif
