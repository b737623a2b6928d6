// A large schedule cut into parts that run one after the other: the parts
// split along the first date, so that each can get a loop nest of its own
// and the nests, run in order, run every instance in date order.
#ifndef ISCC_DATE_PARTS_H
#define ISCC_DATE_PARTS_H

#include <vector>

#include <isl/set.h>
#include <isl/union_map.h>

namespace iscc {

// One part: its pieces of the schedule, and the dates whose first date is
// one that these pieces take (the other dates are free). Both are owned by
// the part's holder.
struct DatePart {
  isl_union_map* schedule;
  isl_set* first_dates;
};

// The parts of `schedule` (kept) in the order they run: the pieces of its
// statements are grouped by the value of their first date, each group
// being either the pieces that fix the first date to one expression of the
// parameters or those that leave it free; the groups are parts when, for
// every value of the parameters, every first date of a group comes before
// every first date of the next one. A time-tiled statement splits in this
// way into its last, partial time tile and the tiles before it. Empty when
// the schedule does not split in two to eight parts, when its statements
// do not share one date space, or when isl fails. The caller owns the
// parts.
std::vector<DatePart> first_date_parts(isl_union_map* schedule);

// Frees every object of `parts`.
void free_parts(std::vector<DatePart>& parts);

}  // namespace iscc

#endif
