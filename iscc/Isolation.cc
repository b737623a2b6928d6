#include "Isolation.h"

#include <isl/ctx.h>
#include <isl/id.h>
#include <isl/map.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>

#include "DisjointSets.h"

namespace iscc {
namespace {

// Tells the tuple of an isolated part from the statement's own tuple, which
// carries no user data: isl keeps two statements apart when their tuple
// identifiers differ, and prints only the name.
char isolated_tag;

// Whether `map` (kept) runs one instance per date. A map inside an
// injective affine relation is injective: its affine hull, one piece, is
// tested first, since the test on a map of many pieces compares every
// piece with every other.
isl_bool is_injective(isl_map* map) {
  isl_map* hull = isl_map_from_basic_map(isl_map_affine_hull(isl_map_copy(map)));
  isl_bool injective = isl_map_is_injective(hull);
  isl_map_free(hull);
  return injective == isl_bool_false ? isl_map_is_injective(map) : injective;
}

// Whether no date of `dates` (kept) is a date of `other` (kept).
isl_bool apart_from(isl_set* dates, isl_map* other) {
  isl_set* others = isl_map_range(isl_map_copy(other));
  isl_space* space = isl_set_get_space(dates);
  isl_space* other_space = isl_set_get_space(others);
  isl_bool same = isl_space_is_equal(space, other_space);
  isl_space_free(space);
  isl_space_free(other_space);
  isl_bool apart = same == isl_bool_true ? are_disjoint(dates, others) : isl_bool_not(same);
  isl_set_free(others);
  return apart;
}

// Whether no instance of `schedule` (kept) other than those of `map` (kept,
// one of its statements) runs at a date of `map`, and `map` itself runs
// one instance per date.
isl_bool has_own_dates(isl_map* map, isl_union_map* schedule) {
  isl_bool own = is_injective(map);
  if (own != isl_bool_true) return own;
  isl_set* dates = isl_map_range(isl_map_copy(map));
  isl_space* space = isl_map_get_space(map);
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  isl_size n = isl_map_list_size(maps);
  if (n < 0) own = isl_bool_error;
  for (isl_size k = 0; k < n && own == isl_bool_true; ++k) {
    isl_map* other = isl_map_list_get_at(maps, k);
    isl_space* other_space = isl_map_get_space(other);
    isl_bool itself = isl_space_is_equal(space, other_space);
    isl_space_free(other_space);
    if (itself == isl_bool_error) own = isl_bool_error;
    if (itself == isl_bool_false) own = apart_from(dates, other);
    isl_map_free(other);
  }
  isl_map_list_free(maps);
  isl_space_free(space);
  isl_set_free(dates);
  return own;
}

// Up to this many pieces, a statement less its isolated part is coalesced
// whole, which may merge pieces that tarvex's coalescing left apart (a
// tiled Seidel 2-D, 54 pieces, loses a quarter of its loops). Past it, the
// quadratic cost of coalescing dominates (seconds at 200 pieces), so only
// what is left of the pieces that meet the part is coalesced: the AST
// builder coalesces the whole schedule once more anyway.
const isl_size kWholeCoalescing = 64;

// `map` (taken) less `inside` (kept); null when isl fails. What is left of
// the cut pieces comes first, where a subtraction of the whole map puts
// it: isl's coalescing depends on the order of the pieces.
isl_map* subtract_part(isl_map* map, isl_map* inside) {
  isl_size n = isl_map_n_basic_map(map);
  if (n <= kWholeCoalescing) return isl_map_coalesce(isl_map_subtract(map, isl_map_copy(inside)));
  isl_basic_map_list* pieces = isl_map_get_basic_map_list(map);
  isl_map* kept = isl_map_empty(isl_map_get_space(map));
  isl_map* cut = isl_map_empty(isl_map_get_space(map));
  isl_map_free(map);
  for (isl_size k = 0; k < n && kept; ++k) {
    isl_map* piece = isl_map_from_basic_map(isl_basic_map_list_get_at(pieces, k));
    isl_bool apart = isl_map_is_disjoint(piece, inside);
    if (apart == isl_bool_error) kept = isl_map_free(kept);
    if (apart == isl_bool_true)
      kept = isl_map_union(kept, piece);
    else
      cut = isl_map_union(cut, piece);
  }
  isl_basic_map_list_free(pieces);
  cut = isl_map_coalesce(isl_map_subtract(cut, isl_map_copy(inside)));
  return isl_map_union(cut, kept);
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
  isl_map* others = subtract_part(map, inside);
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
