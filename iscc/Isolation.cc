#include "Isolation.h"

#include <isl/ctx.h>
#include <isl/id.h>
#include <isl/map.h>
#include <isl/set.h>
#include <isl/union_set.h>

namespace iscc {
namespace {

// Tells the tuple of an isolated part from the statement's own tuple, which
// carries no user data: isl keeps two statements apart when their tuple
// identifiers differ, and prints only the name.
char isolated_tag;

// Whether no instance of `schedule` (kept) other than those of `map` (kept,
// one of its statements) runs at a date of `map`, and `map` itself runs
// one instance per date.
isl_bool has_own_dates(isl_map* map, isl_union_map* schedule) {
  isl_bool injective = isl_map_is_injective(map);
  if (injective != isl_bool_true) return injective;
  isl_union_map* others =
      isl_union_map_subtract(isl_union_map_copy(schedule), isl_union_map_from_map(isl_map_copy(map)));
  isl_union_set* shared = isl_union_set_intersect(
      isl_union_map_range(others), isl_union_set_from_set(isl_map_range(isl_map_copy(map))));
  isl_bool empty = isl_union_set_is_empty(shared);
  isl_union_set_free(shared);
  return empty;
}

// The instances of the statement `map` (kept) in `part` (kept). A part that
// lies in the statement is taken as it is written: intersecting would cut
// it along every piece of the statement's domain.
isl_map* part_of(isl_map* map, isl_union_map* part) {
  isl_map* inside = isl_union_map_extract_map(part, isl_map_get_space(map));
  isl_bool subset = isl_map_is_subset(inside, map);
  if (subset == isl_bool_error) return isl_map_free(inside);
  if (!subset) inside = isl_map_intersect(inside, isl_map_copy(map));
  return isl_map_coalesce(inside);
}

// Whether `map` (kept) is to be split along `inside` (kept): it must have a
// name to call, instances on both sides, and dates of its own.
isl_bool splits(isl_map* map, isl_map* inside, isl_union_map* schedule) {
  if (!isl_map_has_tuple_name(map, isl_dim_in)) return isl_bool_false;
  isl_bool empty = isl_map_is_empty(inside);
  if (empty != isl_bool_false) return empty == isl_bool_true ? isl_bool_false : empty;
  isl_bool whole = isl_map_is_subset(map, inside);
  if (whole != isl_bool_false) return whole == isl_bool_true ? isl_bool_false : whole;
  return has_own_dates(map, schedule);
}

// Adds the statement `map` (taken) of `schedule` (kept) to `result` (taken,
// returned), split along `part` (kept) when it may be.
isl_union_map* add_statement(isl_union_map* result, isl_map* map, isl_union_map* part,
                             isl_union_map* schedule) {
  isl_map* inside = part_of(map, part);
  isl_bool split = splits(map, inside, schedule);
  if (split != isl_bool_true) {
    isl_map_free(inside);
    if (split == isl_bool_error) {
      isl_map_free(map);
      return isl_union_map_free(result);
    }
    return isl_union_map_add_map(result, map);
  }
  isl_id* id = isl_id_alloc(isl_map_get_ctx(map), isl_map_get_tuple_name(map, isl_dim_in), &isolated_tag);
  isl_map* others = isl_map_coalesce(isl_map_subtract(map, isl_map_copy(inside)));
  result = isl_union_map_add_map(result, others);
  return isl_union_map_add_map(result, isl_map_set_tuple_id(inside, isl_dim_in, id));
}

}  // namespace

isl_union_map* isolate_instances(isl_union_map* schedule, isl_union_map* part) {
  isl_union_map* result = isl_union_map_empty(isl_union_map_get_space(schedule));
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  isl_size n = isl_map_list_size(maps);
  if (n < 0) result = isl_union_map_free(result);
  for (isl_size k = 0; k < n && result; ++k)
    result = add_statement(result, isl_map_list_get_at(maps, k), part, schedule);
  isl_map_list_free(maps);
  isl_union_map_free(part);
  isl_union_map_free(schedule);
  return result;
}

}  // namespace iscc
