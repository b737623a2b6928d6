#include "Codegen.h"

#include <cstdlib>

#include <isl/ast.h>
#include <isl/ast_build.h>
#include <isl/ctx.h>
#include <isl/map.h>
#include <isl/printer.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>

#include "CounterDates.h"
#include "Isolation.h"

namespace iscc {
namespace {

// Adds to `options` (taken, returned) the option "separate" for every
// dimension of the date space `dates` (taken), as
// { [d] -> separate[k] : d_(k+1) >= d_k }. The builder reads the option of
// date k with the later dates eliminated, which leaves every date, so the
// constraint does not change where the option applies. It makes the
// option depend on the dates, and isl looks for strides shared by shifted
// statements only at dates no option depends on: that search pairs every
// piece of a statement with every piece of another, which took seconds
// on tiled statements of a few hundred pieces, and finds nothing in tiled
// dates (the nests of the tests and examples came out unchanged).
isl_union_map* add_separate(isl_union_map* options, isl_space* dates) {
  isl_size n = isl_space_dim(dates, isl_dim_set);
  isl_space* kind = isl_space_set_from_params(isl_space_params(isl_space_copy(dates)));
  kind = isl_space_add_dims(kind, isl_dim_set, 1);
  kind = isl_space_set_tuple_name(kind, isl_dim_set, "separate");
  isl_map* universe = isl_map_universe(isl_space_map_from_domain_and_range(dates, kind));
  for (isl_size k = 0; k < n; ++k) {
    isl_map* option = isl_map_fix_si(isl_map_copy(universe), isl_dim_out, 0, k);
    if (k + 1 < n) option = isl_map_order_ge(option, isl_dim_in, k + 1, isl_dim_in, k);
    options = isl_union_map_add_map(options, option);
  }
  isl_map_free(universe);
  return options;
}

// The build options: "separate" on every dimension of every date space of
// `schedule` (kept). The caller owns the result.
isl_union_map* separate_every_dimension(isl_union_map* schedule) {
  isl_union_set* dates = isl_union_map_range(isl_union_map_copy(schedule));
  isl_union_map* options = isl_union_map_empty(isl_union_set_get_space(dates));
  isl_union_set_foreach_set(
      dates,
      [](isl_set* set, void* user) {
        auto* options = static_cast<isl_union_map**>(user);
        *options = add_separate(*options, isl_set_get_space(set));
        isl_set_free(set);
        return *options ? isl_stat_ok : isl_stat_error;
      },
      &options);
  isl_union_set_free(dates);
  return options;
}

}  // namespace

bool generate_nest(isl_union_map* schedule, isl_union_map* isolated, std::string& nest) {
  isl_ctx* ctx = isl_union_map_get_ctx(schedule);
  isl_union_map* dates = counter_dates(schedule);
  schedule = redate(schedule, dates);
  if (isolated) schedule = isolate_instances(schedule, redate(isolated, dates));
  isl_union_map_free(dates);
  if (!schedule) return false;
  isl_space* space = isl_union_map_get_space(schedule);
  isl_ast_build* build = isl_ast_build_from_context(isl_set_universe(isl_space_params(space)));
  build = isl_ast_build_set_options(build, separate_every_dimension(schedule));
  // The schedule is consumed even when the build is missing.
  isl_ast_node* tree = isl_ast_build_node_from_schedule_map(build, schedule);
  isl_ast_build_free(build);
  if (!tree) return false;
  isl_printer* p = isl_printer_to_str(ctx);
  p = isl_printer_set_output_format(p, ISL_FORMAT_C);
  p = isl_printer_print_ast_node(p, tree);
  char* text = isl_printer_get_str(p);
  isl_printer_free(p);
  isl_ast_node_free(tree);
  if (!text) return false;
  nest = text;
  free(text);
  return true;
}

}  // namespace iscc
