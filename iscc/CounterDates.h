// Dates rewritten as the statement's own counters, in the same order: a
// tiled statement's dates inside a tile are often the original loop
// counters, which skewed hyperplanes write as combinations of the counters
// that locate a point in its tile (t, (t + i) - t, ...). Where an earlier
// date of the statement fixes part of such a combination, the date can be
// the remaining counter itself; the loops over a tile then run over the
// tile's own box (0 to below s * block_size), which compilers optimise
// better than skewed bounds.
#ifndef ISCC_COUNTER_DATES_H
#define ISCC_COUNTER_DATES_H

#include <isl/union_map.h>

namespace iscc {

// For every statement of `schedule` (kept) whose dates can be rewritten,
// the map from all its instances to its new dates. Date k of a statement
// becomes +-c, c one of its counters, when date k less an integer
// combination of its earlier dates (each one counter, up to a term in the
// parameters) and a term in the parameters is +-c. Two instances of the
// statement then compare as before, since each new date differs from the
// old one by a function of the dates before it. A statement is rewritten
// only when no other statement shares the dates before its first rewritten
// one: the comparisons with other statements are then decided by dates
// left as they were. The caller owns the result; null when isl fails.
isl_union_map* counter_dates(isl_union_map* schedule);

// `part` (taken), a part of the schedule, with the instances of each
// statement that `dates` (kept) rewrites at their new dates. The caller
// owns the result.
isl_union_map* redate(isl_union_map* part, isl_union_map* dates);

}  // namespace iscc

#endif
