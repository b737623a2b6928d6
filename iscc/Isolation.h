// Running chosen instances of a statement apart from its others: the full
// tiles of a tiled statement get loops of their own, with none of the tests
// that its partial tiles need.
#ifndef ISCC_ISOLATION_H
#define ISCC_ISOLATION_H

#include <isl/union_map.h>

namespace iscc {

// The schedule `schedule` (taken) with every statement that has instances
// in `part` (taken, a part of the schedule: statement instance -> date)
// split in two statements that bear its name: its instances in `part` and
// the others. The AST builder then generates them as two statements, and
// its option "separate" gives each its own loops, while both still call
// the statement by its name.
//
// A statement is split only when no other instance, of it or of another
// statement, shares the date of one of its instances: the nest runs
// instances in the order of their dates, and only instances of equal dates
// could come out in another order once split. It is split in two parts
// only: isl 0.25 ran instances out of date order once each disjoint piece
// of a tiled stencil's domain was a statement of its own. The caller owns
// the result; null when isl fails.
isl_union_map* isolate_instances(isl_union_map* schedule, isl_union_map* part);

}  // namespace iscc

#endif
