#include "CounterDates.h"

#include <climits>
#include <vector>

#include <isl/aff.h>
#include <isl/ctx.h>
#include <isl/local_space.h>
#include <isl/map.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>
#include <isl/val.h>

#include "DisjointSets.h"

namespace iscc {
namespace {

// The dates of `map` (kept) as one affine function of the instances, or
// null when they are not one (a map that is not a function, or one whose
// dates need integer divisions).
isl_multi_aff* date_function(isl_map* map) {
  isl_map* hull = isl_map_from_basic_map(isl_map_affine_hull(isl_map_copy(map)));
  if (isl_map_is_single_valued(hull) != isl_bool_true) {
    isl_map_free(hull);
    return nullptr;
  }
  isl_pw_multi_aff* function = isl_pw_multi_aff_from_map(hull);
  isl_multi_aff* dates = nullptr;
  if (isl_pw_multi_aff_n_piece(function) == 1)
    isl_pw_multi_aff_foreach_piece(
        function,
        [](isl_set* domain, isl_multi_aff* piece, void* user) {
          isl_set_free(domain);
          *static_cast<isl_multi_aff**>(user) = piece;
          return isl_stat_ok;
        },
        &dates);
  isl_pw_multi_aff_free(function);
  return dates;
}

// The integer coefficients of the counters in `date` (kept); false when
// one is not a small integer or the date divides.
bool counter_coefficients(isl_aff* date, std::vector<long>& coefficients) {
  if (isl_aff_dim(date, isl_dim_div) != 0) return false;
  isl_size n = isl_aff_dim(date, isl_dim_in);
  coefficients.assign(n < 0 ? 0 : n, 0);
  for (isl_size c = 0; c < n; ++c) {
    isl_val* v = isl_aff_get_coefficient_val(date, isl_dim_in, c);
    bool small = isl_val_is_int(v) == isl_bool_true && isl_val_get_num_si(v) > INT_MIN / 2 &&
                 isl_val_get_num_si(v) < INT_MAX / 2;
    coefficients[c] = small ? isl_val_get_num_si(v) : 0;
    isl_val_free(v);
    if (!small) return false;
  }
  return true;
}

// The counter whose coefficient is +-1 when no other coefficient is
// non-zero; -1 when there is none such.
int single_counter(const std::vector<long>& coefficients) {
  int counter = -1;
  for (size_t c = 0; c < coefficients.size(); ++c) {
    if (coefficients[c] == 0) continue;
    if (counter >= 0 || (coefficients[c] != 1 && coefficients[c] != -1)) return -1;
    counter = static_cast<int>(c);
  }
  return counter;
}

// Rewrites the dates `dates` (taken, returned) as described in the header;
// `first` gets the first rewritten date, the number of dates when none is.
isl_multi_aff* rewrite(isl_multi_aff* dates, isl_size& first) {
  isl_size n = isl_multi_aff_size(dates);
  first = n;
  // +-1 for a counter that an earlier date is, up to parameters; else 0.
  std::vector<long> fixed(isl_multi_aff_dim(dates, isl_dim_in), 0);
  for (isl_size k = 0; k < n && dates; ++k) {
    isl_aff* date = isl_multi_aff_get_at(dates, k);
    std::vector<long> coefficients;
    bool known = counter_coefficients(date, coefficients);
    int own = known ? single_counter(coefficients) : -1;
    if (own >= 0) fixed[own] = coefficients[own];
    if (!known || own >= 0) {
      isl_aff_free(date);
      continue;
    }
    for (size_t c = 0; c < coefficients.size(); ++c)
      if (fixed[c]) coefficients[c] = 0;
    int counter = single_counter(coefficients);
    if (counter < 0) {
      isl_aff_free(date);
      continue;
    }
    isl_local_space* space = isl_local_space_from_space(isl_aff_get_domain_space(date));
    isl_aff_free(date);
    isl_aff* simple = isl_aff_var_on_domain(space, isl_dim_set, counter);
    if (coefficients[counter] < 0) simple = isl_aff_neg(simple);
    dates = isl_multi_aff_set_at(dates, k, simple);
    fixed[counter] = coefficients[counter];
    if (first == n) first = k;
  }
  return dates;
}

// The first `k` dates of the instances of `map` (kept).
isl_set* date_prefix(isl_map* map, isl_size k) {
  isl_set* dates = isl_map_range(isl_map_copy(map));
  isl_size n = isl_set_dim(dates, isl_dim_set);
  return isl_set_project_out(dates, isl_dim_set, k, n - k);
}

// Whether no statement of `maps` (kept) but `own` shares its first `k`
// dates with an instance of statement `own`.
isl_bool own_prefix(isl_map_list* maps, isl_size own, isl_size k) {
  isl_map* statement = isl_map_list_get_at(maps, own);
  isl_set* prefix = date_prefix(statement, k);
  isl_map_free(statement);
  isl_bool apart = isl_bool_true;
  isl_size n = isl_map_list_size(maps);
  for (isl_size other = 0; other < n && apart == isl_bool_true; ++other) {
    if (other == own) continue;
    isl_map* map = isl_map_list_get_at(maps, other);
    isl_set* other_prefix = date_prefix(map, k);
    isl_map_free(map);
    apart = are_disjoint(prefix, other_prefix);
    isl_set_free(other_prefix);
  }
  isl_set_free(prefix);
  return apart;
}

// Adds to `result` (taken, returned) the new dates of statement `own` of
// `maps` (kept) when they may be rewritten.
isl_union_map* add_dates(isl_union_map* result, isl_map_list* maps, isl_size own) {
  isl_map* map = isl_map_list_get_at(maps, own);
  isl_multi_aff* dates = date_function(map);
  isl_map_free(map);
  if (!dates) return result;
  isl_size first;
  dates = rewrite(dates, first);
  isl_bool apart = first < isl_multi_aff_size(dates) ? own_prefix(maps, own, first) : isl_bool_false;
  if (apart == isl_bool_error) {
    isl_multi_aff_free(dates);
    return isl_union_map_free(result);
  }
  if (!apart) {
    isl_multi_aff_free(dates);
    return result;
  }
  return isl_union_map_add_map(result, isl_map_from_multi_aff(dates));
}

// Whether every statement of `schedule` (kept) runs at dates of one space:
// the statements are then compared date by date.
bool one_date_space(isl_union_map* schedule) {
  isl_union_set* dates = isl_union_map_range(isl_union_map_copy(schedule));
  isl_size spaces = isl_union_set_n_set(dates);
  isl_union_set_free(dates);
  return spaces == 1;
}

}  // namespace

isl_union_map* counter_dates(isl_union_map* schedule) {
  isl_union_map* result = isl_union_map_empty(isl_union_map_get_space(schedule));
  if (!one_date_space(schedule)) return result;
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  isl_size n = isl_map_list_size(maps);
  if (n < 0) result = isl_union_map_free(result);
  for (isl_size k = 0; k < n && result; ++k) result = add_dates(result, maps, k);
  isl_map_list_free(maps);
  return result;
}

isl_union_map* redate(isl_union_map* part, isl_union_map* dates) {
  isl_union_map* result = isl_union_map_empty(isl_union_map_get_space(part));
  isl_map_list* maps = isl_union_map_get_map_list(part);
  isl_size n = isl_map_list_size(maps);
  if (n < 0) result = isl_union_map_free(result);
  for (isl_size k = 0; k < n && result; ++k) {
    isl_map* map = isl_map_list_get_at(maps, k);
    isl_map* rewritten = isl_union_map_extract_map(dates, isl_map_get_space(map));
    if (isl_map_is_empty(rewritten) == isl_bool_false) {
      isl_map* old = map;
      map = isl_map_intersect_domain(rewritten, isl_map_domain(old));
    } else {
      isl_map_free(rewritten);
    }
    result = isl_union_map_add_map(result, map);
  }
  isl_map_list_free(maps);
  isl_union_map_free(part);
  return result;
}

}  // namespace iscc
