#include "DateParts.h"

#include <cstddef>
#include <utility>

#include <isl/aff.h>
#include <isl/constraint.h>
#include <isl/map.h>
#include <isl/space.h>
#include <isl/union_set.h>

namespace iscc {
namespace {

// Past this many groups, the schedule is not split: ordering them costs a
// test for every pair, and each part takes a thread (see generate_nest).
// Tiled statements have a handful: the tiles that leave the first date
// free and those that fix it to the last tile.
const size_t kMaxParts = 8;

// The pieces whose first date is `value` (null: pieces that leave it
// free), by statement, in the order of the schedule. Owns its objects.
struct Group {
  isl_aff* value;
  std::vector<std::vector<isl_basic_map*>> pieces;  // one list per statement
};

void free_group(Group& group) {
  isl_aff_free(group.value);
  for (auto& list : group.pieces)
    for (isl_basic_map* piece : list) isl_basic_map_free(piece);
}

// The first dates of `piece` (kept), over the parameters, or more: the
// projection drops the constraints that need existential variables. The
// parts are formed only when these first dates are ordered, so that
// larger ones only cost a split that could have been made.
isl_basic_set* first_dates_of(isl_basic_map* piece) {
  isl_basic_set* dates = isl_basic_map_range(isl_basic_map_copy(piece));
  isl_size n = isl_basic_set_dim(dates, isl_dim_set);
  if (n < 1) return isl_basic_set_free(dates);
  return isl_basic_set_remove_divs(isl_basic_set_project_out(dates, isl_dim_set, 1, n - 1));
}

// The value to which `piece` (kept) fixes its first date, as an expression
// of the parameters; null when it leaves the date free or isl fails.
isl_aff* fixed_first_date(isl_basic_map* piece) {
  isl_basic_set* first = first_dates_of(piece);
  isl_constraint* equality = nullptr;
  isl_bool fixed = isl_basic_set_has_defining_equality(first, isl_dim_set, 0, &equality);
  isl_basic_set_free(first);
  isl_aff* value = fixed == isl_bool_true ? isl_constraint_get_bound(equality, isl_dim_set, 0) : nullptr;
  isl_constraint_free(equality);
  return value;
}

// The group of `groups` for the first date `value` (taken), added when new.
Group& group_of(std::vector<Group>& groups, isl_aff* value, size_t statements) {
  for (Group& group : groups) {
    bool same = !group.value && !value;
    if (group.value && value) same = isl_aff_plain_is_equal(group.value, value) == isl_bool_true;
    if (!same) continue;
    isl_aff_free(value);
    return group;
  }
  groups.push_back(Group{value, std::vector<std::vector<isl_basic_map*>>(statements)});
  return groups.back();
}

// Sorts the pieces of `maps` (kept) into groups by their first date.
std::vector<Group> group_pieces(isl_map_list* maps) {
  std::vector<Group> groups;
  isl_size n = isl_map_list_size(maps);
  for (isl_size s = 0; s < n; ++s) {
    isl_map* map = isl_map_list_get_at(maps, s);
    isl_basic_map_list* pieces = isl_map_get_basic_map_list(map);
    isl_map_free(map);
    isl_size m = isl_basic_map_list_size(pieces);
    for (isl_size k = 0; k < m; ++k) {
      isl_basic_map* piece = isl_basic_map_list_get_at(pieces, k);
      group_of(groups, fixed_first_date(piece), n).pieces[s].push_back(piece);
    }
    isl_basic_map_list_free(pieces);
  }
  return groups;
}

// The union of `pieces[lo, hi)` (kept), in their order; halves are joined
// so that the equality test of each union stays on few pieces.
isl_map* union_of(const std::vector<isl_basic_map*>& pieces, size_t lo, size_t hi) {
  if (hi - lo == 1) return isl_map_from_basic_map(isl_basic_map_copy(pieces[lo]));
  size_t mid = lo + (hi - lo) / 2;
  return isl_map_union(union_of(pieces, lo, mid), union_of(pieces, mid, hi));
}

// The part of `group` (kept): its schedule and its first dates.
DatePart part_of(const Group& group) {
  isl_union_map* schedule = nullptr;
  isl_set* first = nullptr;
  isl_size n = 0;
  for (const auto& list : group.pieces) {
    if (list.empty()) continue;
    n = isl_basic_map_dim(list[0], isl_dim_out);
    isl_map* map = union_of(list, 0, list.size());
    isl_set* dates = isl_set_from_basic_set(first_dates_of(list[0]));
    for (size_t k = 1; k < list.size(); ++k)
      dates = isl_set_union(dates, isl_set_from_basic_set(first_dates_of(list[k])));
    dates = isl_set_coalesce(dates);
    first = first ? isl_set_coalesce(isl_set_union(first, dates)) : dates;
    schedule = schedule ? isl_union_map_add_map(schedule, map) : isl_union_map_from_map(map);
  }
  // Every date but the first is left free.
  first = isl_set_add_dims(first, isl_dim_set, n - 1);
  return DatePart{schedule, first};
}

// Whether every first date of `a` comes before every first date of `b`
// (both kept) for equal parameters.
isl_bool runs_before(const DatePart& a, const DatePart& b) {
  isl_map* later = isl_map_from_domain_and_range(isl_set_copy(a.first_dates), isl_set_copy(b.first_dates));
  later = isl_map_order_ge(later, isl_dim_in, 0, isl_dim_out, 0);
  isl_bool none = isl_map_is_empty(later);
  isl_map_free(later);
  return none;
}

// Puts `parts` in the order they run: each next part is one that runs
// before all the others left. False when there is none such (two parts
// are not ordered, or isl fails).
bool sort_parts(std::vector<DatePart>& parts) {
  for (size_t next = 0; next < parts.size(); ++next) {
    size_t first = next;
    for (; first < parts.size(); ++first) {
      bool before_all = true;
      for (size_t other = next; other < parts.size() && before_all; ++other)
        before_all = other == first || runs_before(parts[first], parts[other]) == isl_bool_true;
      if (before_all) break;
    }
    if (first == parts.size()) return false;
    std::swap(parts[next], parts[first]);
  }
  return true;
}

// Whether every statement of `schedule` (kept) runs at dates of one space
// of at least one dimension.
bool one_date_space(isl_union_map* schedule) {
  isl_union_set* dates = isl_union_map_range(isl_union_map_copy(schedule));
  isl_set_list* sets = isl_union_set_get_set_list(dates);
  isl_union_set_free(dates);
  bool one = isl_set_list_size(sets) == 1;
  if (one) {
    isl_set* set = isl_set_list_get_at(sets, 0);
    one = isl_set_dim(set, isl_dim_set) > 0;
    isl_set_free(set);
  }
  isl_set_list_free(sets);
  return one;
}

}  // namespace

std::vector<DatePart> first_date_parts(isl_union_map* schedule) {
  std::vector<DatePart> parts;
  if (!one_date_space(schedule)) return parts;
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  std::vector<Group> groups = group_pieces(maps);
  isl_map_list_free(maps);
  if (groups.size() > 1 && groups.size() <= kMaxParts)
    for (const Group& group : groups) parts.push_back(part_of(group));
  for (Group& group : groups) free_group(group);
  if (parts.size() > 1 && !sort_parts(parts)) free_parts(parts);
  return parts;
}

void free_parts(std::vector<DatePart>& parts) {
  for (DatePart& part : parts) {
    isl_union_map_free(part.schedule);
    isl_set_free(part.first_dates);
  }
  parts.clear();
}

}  // namespace iscc
