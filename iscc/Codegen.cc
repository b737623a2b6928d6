#include "Codegen.h"

#include <cstdlib>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include <isl/ast.h>
#include <isl/ast_build.h>
#include <isl/ctx.h>
#include <isl/options.h>
#include <isl/map.h>
#include <isl/printer.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>

#include "CounterDates.h"
#include "DateParts.h"
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

// Generates the nest of `schedule` (taken) with `isolated` (taken; may be
// null) running apart, as a whole; see generate_nest.
bool generate_whole(isl_union_map* schedule, isl_union_map* isolated, std::string& nest) {
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

// From this many pieces on, a schedule is generated in parts (see
// generate_nest). Below it, which covers the tests and examples, one nest
// is generated as a whole.
const isl_size kPartsFrom = 129;

// The number of pieces of the statements of `schedule` (kept).
isl_size count_pieces(isl_union_map* schedule) {
  isl_size pieces = 0;
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  isl_size n = isl_map_list_size(maps);
  for (isl_size k = 0; k < n; ++k) {
    isl_map* map = isl_map_list_get_at(maps, k);
    pieces += isl_map_n_basic_map(map);
    isl_map_free(map);
  }
  isl_map_list_free(maps);
  return pieces;
}

// The text of `map` (taken), as isl reads it back.
std::string text_of(isl_union_map* map) {
  char* chars = isl_union_map_to_str(map);
  isl_union_map_free(map);
  std::string text = chars ? chars : "";
  free(chars);
  return text;
}

// One part of a schedule, generated in an isl context of its own so that
// the parts can be generated at the same time: its schedule and isolated
// instances as text (no isolated text: none), and the resulting nest.
struct PartJob {
  std::string schedule;
  std::string isolated;
  std::string nest;
  bool ok = false;
};

void run_part(PartJob& job) {
  isl_ctx* ctx = isl_ctx_alloc();
  if (!ctx) return;
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  isl_union_map* schedule = isl_union_map_read_from_str(ctx, job.schedule.c_str());
  isl_union_map* isolated = nullptr;
  if (!job.isolated.empty()) isolated = isl_union_map_read_from_str(ctx, job.isolated.c_str());
  if (schedule && (isolated || job.isolated.empty())) {
    job.ok = generate_whole(schedule, isolated, job.nest);
  } else {
    isl_union_map_free(schedule);
    isl_union_map_free(isolated);
  }
  isl_ctx_free(ctx);
}

// Generates the nest of each of `parts` (kept), with the instances of
// `isolated` (kept; may be null) at its dates, and stores the nests one
// after the other in `nest`.
bool generate_parts(const std::vector<DatePart>& parts, isl_union_map* isolated, std::string& nest) {
  std::vector<PartJob> jobs(parts.size());
  // isl prints no object as an empty text.
  for (size_t k = 0; k < parts.size(); ++k) {
    jobs[k].schedule = text_of(isl_union_map_copy(parts[k].schedule));
    if (jobs[k].schedule.empty()) return false;
    if (!isolated) continue;
    isl_union_set* dates = isl_union_set_from_set(isl_set_copy(parts[k].first_dates));
    jobs[k].isolated = text_of(isl_union_map_intersect_range(isl_union_map_copy(isolated), dates));
    if (jobs[k].isolated.empty()) return false;
  }
  std::vector<std::thread> threads;
  for (PartJob& job : jobs) {
    try {
      threads.emplace_back(run_part, std::ref(job));
    } catch (const std::system_error&) {
      run_part(job);  // no thread to be had: this one does the work
    }
  }
  for (std::thread& thread : threads) thread.join();
  nest.clear();
  for (const PartJob& job : jobs) {
    if (!job.ok) return false;
    nest += job.nest;
  }
  return true;
}

}  // namespace

bool generate_nest(isl_union_map* schedule, isl_union_map* isolated, std::string& nest) {
  std::vector<DatePart> parts;
  if (count_pieces(schedule) >= kPartsFrom) parts = first_date_parts(schedule);
  if (parts.empty()) return generate_whole(schedule, isolated, nest);
  bool ok = generate_parts(parts, isolated, nest);
  free_parts(parts);
  isl_union_map_free(schedule);
  isl_union_map_free(isolated);
  return ok;
}

}  // namespace iscc
