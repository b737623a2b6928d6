#include "Codegen.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include <isl/arg.h>
#include <isl/ast.h>
#include <isl/ast_build.h>
#include <isl/constraint.h>
#include <isl/ctx.h>
#include <isl/id.h>
#include <isl/map.h>
#include <isl/options.h>
#include <isl/printer.h>
#include <isl/set.h>
#include <isl/space.h>
#include <isl/union_set.h>
#include <isl/val.h>

#include "Clamps.h"
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

// How a nest is printed: its loops clamped by `bounds`, its loop counters
// and the other names it declares apart from every name of `taken` (see
// counter_ids and print_clamped). Both are the caller's; a null `bounds`
// clamps nothing.
struct Printing {
  const StatementBounds* bounds = nullptr;
  const std::set<std::string>* taken = nullptr;
};

// The names of the loop counters of `schedule` (kept), one per date of its
// widest date space: c<k> for date k, apart from `taken`. isl's own names avoid the
// schedule's parameters only, while a clamp copies the C texts of the
// script's bounds, which may read a parameter named like a counter.
isl_id_list* counter_ids(isl_union_map* schedule, const std::set<std::string>& taken) {
  isl_ctx* ctx = isl_union_map_get_ctx(schedule);
  isl_size dates = 0;
  isl_map_list* maps = isl_union_map_get_map_list(schedule);
  isl_size n = isl_map_list_size(maps);
  for (isl_size k = 0; k < n; ++k) {
    isl_map* map = isl_map_list_get_at(maps, k);
    dates = std::max(dates, isl_map_dim(map, isl_dim_out));
    isl_map_free(map);
  }
  isl_map_list_free(maps);
  isl_id_list* ids = isl_id_list_alloc(ctx, dates);
  for (isl_size k = 0; k < dates; ++k)
    ids = isl_id_list_add(ids, isl_id_alloc(ctx, name_apart("c" + std::to_string(k), taken).c_str(), nullptr));
  return ids;
}

// The tree of the nest of `schedule` (taken) with `isolated` (taken; may
// be null) running apart, as a whole, with "separate" on every date
// dimension when `separate`, its loop counters named apart from `taken`;
// null when isl fails. The caller owns it.
isl_ast_node* build_tree(isl_union_map* schedule, isl_union_map* isolated, bool separate,
                         const std::set<std::string>& taken) {
  isl_union_map* dates = counter_dates(schedule);
  schedule = redate(schedule, dates);
  if (isolated) schedule = isolate_instances(schedule, redate(isolated, dates));
  isl_union_map_free(dates);
  if (!schedule) return nullptr;
  isl_space* space = isl_union_map_get_space(schedule);
  isl_ast_build* build = isl_ast_build_from_context(isl_set_universe(isl_space_params(space)));
  build = isl_ast_build_set_iterators(build, counter_ids(schedule, taken));
  if (separate) build = isl_ast_build_set_options(build, separate_every_dimension(schedule));
  // The schedule is consumed even when the build is missing.
  isl_ast_node* tree = isl_ast_build_node_from_schedule_map(build, schedule);
  isl_ast_build_free(build);
  return tree;
}

// Coefficients are counted up to this value.
const long kLargeCoefficient = 1000000000;

// Raises the long at `user` to the absolute coefficient of every variable
// of `constraint` (taken).
isl_stat widen_to_coefficients(isl_constraint* constraint, void* user) {
  long& largest = *static_cast<long*>(user);
  for (isl_dim_type type : {isl_dim_param, isl_dim_in, isl_dim_out, isl_dim_div}) {
    isl_size n = isl_constraint_dim(constraint, type);
    for (isl_size k = 0; k < n; ++k) {
      isl_val* v = isl_val_abs(isl_constraint_get_coefficient_val(constraint, type, k));
      if (isl_val_cmp_si(v, kLargeCoefficient) > 0) largest = kLargeCoefficient;
      else largest = std::max(largest, isl_val_get_num_si(v));
      isl_val_free(v);
    }
  }
  isl_constraint_free(constraint);
  return isl_stat_ok;
}

// The largest absolute coefficient of a variable in the constraints of
// `schedule` (kept), at least 1.
long largest_coefficient(isl_union_map* schedule) {
  long largest = 1;
  isl_union_map_foreach_map(
      schedule,
      [](isl_map* map, void* user) {
        isl_stat stat = isl_map_foreach_basic_map(
            map,
            [](isl_basic_map* piece, void* user) {
              isl_stat each = isl_basic_map_foreach_constraint(piece, widen_to_coefficients, user);
              isl_basic_map_free(piece);
              return each;
            },
            user);
        isl_map_free(map);
        return stat;
      },
      &largest);
  return largest;
}

// `operations` for a schedule whose largest coefficient is `coefficient`:
// isl's tableaux hold the constraints' coefficients, and each operation
// on large ones (large tile ratios, lattices with large multiples) works
// on larger numbers. Measured on tiled statements, an operation takes
// about a tenth of the coefficient times as long as on small ones.
unsigned long scaled(unsigned long operations, long coefficient) {
  if (coefficient <= 10) return operations;
  return std::max(1UL, operations / static_cast<unsigned long>(coefficient) * 10);
}

// Whether `ctx` used up its operations: a small computation then fails.
// (isl's last error may not tell: a reading that ran out of operations
// reports a syntax error.)
bool used_up(isl_ctx* ctx) {
  if (isl_ctx_last_error(ctx) == isl_error_quota) return true;
  isl_set* probe = isl_set_read_from_str(ctx, "{ [x, y] : x >= 5 and y >= 3 and x + y <= 100 }");
  bool failed = isl_set_is_empty(probe) == isl_bool_error;
  isl_set_free(probe);
  return failed;
}

// Sets whether isl's integer sampling in `ctx` uses generalized basis
// reduction (see set_codegen_options). isl sets this option from its
// command-line form only.
void set_basis_reduction(isl_ctx* ctx, bool reduce) {
  char name[] = "iscc";
  char always[] = "--gbr=always";
  char never[] = "--gbr=never";
  char* argv[] = {name, reduce ? always : never, nullptr};
  isl_ctx_parse_options(ctx, 2, argv, ISL_ARG_ALL);
}

// The text of `map` (taken), as isl reads it back; "" when isl fails (isl
// prints no object as an empty text).
std::string text_of(isl_union_map* map) {
  char* chars = isl_union_map_to_str(map);
  isl_union_map_free(map);
  std::string text = chars ? chars : "";
  free(chars);
  return text;
}

// A schedule generated in an isl context of its own, so that several can
// be generated at the same time: its schedule and isolated instances as
// text (no isolated text: none), whether it is a box form (see
// generate_nest), and the resulting nest.
struct Job {
  std::string schedule;
  std::string isolated;
  bool box = false;
  std::string nest;
  Generated outcome = Generated::kFailed;
  Printing printing;
  unsigned long stop_after = 0;  // see CodegenBudget::stop_jobs_after

  // Runs `build` in `ctx`, whose work a stop then aborts, unless the job
  // was stopped already; whether it was not stopped by the end. From then
  // on a stop only marks the job, whose caller drops what it makes: no isl
  // call but freeing runs in an aborted context.
  bool abortable(isl_ctx* ctx, const std::function<void()>& build) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (stopped_) return false;
      running_ = ctx;
    }
    build();
    std::lock_guard<std::mutex> hold(lock_);
    running_ = nullptr;
    return !stopped_;
  }
  // Stops the job, once its nest is not needed: isl aborts the build in its
  // context, which then fails as past its budget.
  void stop() {
    std::lock_guard<std::mutex> hold(lock_);
    stopped_ = true;
    if (running_) isl_ctx_abort(running_);
  }
  // Stops the job when `ctx`, its context, used up its operations; the
  // probe runs only in a context not aborted.
  void stop_if_used_up(isl_ctx* ctx) {
    bool over;
    {
      std::lock_guard<std::mutex> hold(lock_);
      over = !stopped_ && used_up(ctx);
    }
    if (over) stop();
  }

 private:
  std::mutex lock_;
  isl_ctx* running_ = nullptr;
  bool stopped_ = false;
};

// Where a nest is built: in `ctx`, within `operations`, as the abortable
// work of `job` (null: none, nothing stops it).
struct Work {
  isl_ctx* ctx;
  unsigned long operations;
  Job* job;
};

// Runs `generate` (true when it made its result) with isl's operations on
// `work.ctx` bounded by `work.operations`, stopped with `work.job`. isl may
// run out of them inside a computation, recover and still return a result:
// the caller drops whatever was computed once they ran out or once the job
// was stopped (kOverBudget), whose context then serves only to free it.
// With CodegenBudget::stop_jobs_after below the operations, the job gets
// that many and is stopped once they run out.
Generated bounded(const Work& work, const std::function<bool()>& generate) {
  isl_ctx* ctx = work.ctx;
  isl_ctx_reset_error(ctx);
  isl_ctx_reset_operations(ctx);
  bool stops = work.job && work.job->stop_after && work.job->stop_after < work.operations;
  isl_ctx_set_max_operations(ctx, stops ? work.job->stop_after : work.operations);
  bool made = false;
  auto run = [&] {
    made = generate();
    if (stops) work.job->stop_if_used_up(ctx);
  };
  if (!work.job) run();
  else if (!work.job->abortable(ctx, run)) return Generated::kOverBudget;
  bool over = used_up(ctx);
  isl_ctx_set_max_operations(ctx, 0);
  if (over) {
    isl_ctx_reset_error(ctx);
    return Generated::kOverBudget;
  }
  return made ? Generated::kNest : Generated::kFailed;
}

// Generates the nest of `schedule` (taken) with `isolated` (taken; may be
// null) running apart, as a whole, with "separate" on every date dimension
// when `separate`, printed as `printing` says; see generate_nest. Only its
// tree is built within `work`: the tree of a nest that fits is printed with
// no bound on the operations, for printing is linear in the tree, and
// isl's printer does not survive a failing allocation.
Generated generate_whole(const Work& work, isl_union_map* schedule, isl_union_map* isolated, std::string& nest,
                         const Printing& printing, bool separate = true) {
  isl_ast_node* tree = nullptr;
  Generated outcome = bounded(work, [&] {
    tree = build_tree(std::exchange(schedule, nullptr), std::exchange(isolated, nullptr), separate, *printing.taken);
    return tree != nullptr;
  });
  // Not taken when the job was stopped before the build.
  isl_union_map_free(schedule);
  isl_union_map_free(isolated);
  if (outcome == Generated::kNest) {
    std::optional<std::string> text =
        print_clamped(tree, printing.bounds ? *printing.bounds : StatementBounds(), *printing.taken);
    if (text) nest = *text;
    else outcome = Generated::kFailed;
  }
  isl_ast_node_free(tree);
  return outcome;
}

void run_job(Job& job, const CodegenBudget& budget);

// Runs every job of `jobs` at the same time, each in a thread of its own
// when one can be had, and waits for them.
void run_jobs(std::vector<Job>& jobs, const CodegenBudget& budget) {
  std::vector<std::thread> threads;
  for (Job& job : jobs) {
    try {
      threads.emplace_back(run_job, std::ref(job), std::cref(budget));
    } catch (const std::system_error&) {
      run_job(job, budget);  // no thread to be had: this one does the work
    }
  }
  for (std::thread& thread : threads) thread.join();
}

// Runs `job` within `budget` in a thread of its own while `first` (the
// outcome of a nest it stores in `nest`) runs in this one, so that both
// end within the time of the longer; the job is stopped as soon as `first`
// ends within its budget. When `first` exceeded its budget,
// stores the job's nest in `nest` instead and returns its outcome, with
// `fallback` for a nest made; otherwise returns first's.
Generated unless_over_budget(Job& job, const CodegenBudget& budget, Generated fallback, std::string& nest,
                             const std::function<Generated()>& first) {
  job.stop_after = budget.stop_jobs_after;
  std::thread other;
  try {
    other = std::thread(run_job, std::ref(job), std::cref(budget));
  } catch (const std::system_error&) {
  }
  Generated outcome = first();
  if (outcome != Generated::kOverBudget) job.stop();
  bool started = other.joinable();
  if (started) other.join();
  if (outcome != Generated::kOverBudget) return outcome;
  if (!started) run_job(job, budget);  // no thread to be had: only now is it needed
  nest = job.nest;
  return job.outcome == Generated::kNest ? fallback : job.outcome;
}

// Generates the nest of `schedule` (taken) within `budget`, with
// `isolated` (taken; may be null) apart when that fits its share, as the
// work of `job` (null: none; see Work); see generate_nest. Both nests are
// generated at the same time, the one with every instance together in a
// context of its own, so that a nest ends within the time of the larger
// share rather than of both.
Generated generate_within(isl_union_map* schedule, isl_union_map* isolated, std::string& nest,
                          const CodegenBudget& budget, const Printing& printing, Job* job = nullptr) {
  isl_ctx* ctx = isl_union_map_get_ctx(schedule);
  long coefficient = largest_coefficient(schedule);
  if (!isolated)
    return generate_whole({ctx, scaled(budget.together, coefficient), job}, schedule, nullptr, nest, printing);
  Job together;
  together.printing = printing;
  together.schedule = text_of(isl_union_map_copy(schedule));
  if (together.schedule.empty()) {
    isl_union_map_free(schedule);
    isl_union_map_free(isolated);
    return Generated::kFailed;
  }
  return unless_over_budget(together, budget, Generated::kTogether, nest, [&] {
    return generate_whole({ctx, scaled(budget.isolated, coefficient), job}, schedule, isolated, nest, printing);
  });
}

void run_job(Job& job, const CodegenBudget& budget) {
  isl_ctx* ctx = isl_ctx_alloc();
  if (!ctx) return;
  set_codegen_options(ctx);
  isl_union_map* schedule = isl_union_map_read_from_str(ctx, job.schedule.c_str());
  isl_union_map* isolated = nullptr;
  if (!job.isolated.empty()) isolated = isl_union_map_read_from_str(ctx, job.isolated.c_str());
  if (schedule && job.box) {
    job.outcome = generate_whole({ctx, budget.box, &job}, schedule, nullptr, job.nest, job.printing, false);
  } else if (schedule && (isolated || job.isolated.empty())) {
    job.outcome = generate_within(schedule, isolated, job.nest, budget, job.printing, &job);
  } else {
    isl_union_map_free(schedule);
    isl_union_map_free(isolated);
  }
  isl_ctx_free(ctx);
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

// Generates the nest of each of `parts` (kept), with the instances of
// `isolated` (kept; may be null) at its dates, each within `budget`, and
// stores the nests one after the other in `nest`. A part that fails
// outweighs one over budget, which outweighs one with every instance
// together.
Generated generate_parts(const std::vector<DatePart>& parts, isl_union_map* isolated, std::string& nest,
                         const CodegenBudget& budget, const Printing& printing) {
  std::vector<Job> jobs(parts.size());
  for (size_t k = 0; k < parts.size(); ++k) {
    jobs[k].printing = printing;
    jobs[k].schedule = text_of(isl_union_map_copy(parts[k].schedule));
    if (jobs[k].schedule.empty()) return Generated::kFailed;
    if (!isolated) continue;
    isl_union_set* dates = isl_union_set_from_set(isl_set_copy(parts[k].first_dates));
    jobs[k].isolated = text_of(isl_union_map_intersect_range(isl_union_map_copy(isolated), dates));
    if (jobs[k].isolated.empty()) return Generated::kFailed;
  }
  run_jobs(jobs, budget);
  nest.clear();
  Generated outcome = Generated::kNest;
  for (const Job& job : jobs) {
    if (job.outcome == Generated::kFailed) return Generated::kFailed;
    if (job.outcome == Generated::kOverBudget || outcome == Generated::kNest) outcome = job.outcome;
    nest += job.nest;
  }
  if (outcome == Generated::kOverBudget) nest.clear();
  return outcome;
}

// The work that cutting a schedule into parts may take: the tests,
// examples and benchmarks take at most 320000 operations; a schedule of
// 579 pieces whose nest exceeded its budgets took 11.7 million, 19 s.
const unsigned long kPartsOperations = 2000000;

// Generates the nest of `schedule` (taken) with `isolated` (taken; may be
// null) apart, in parts when it has many pieces; see generate_nest. A
// schedule whose parts exceed the budget of their search exceeds the
// budgets of its nests too, and gets none.
Generated generate_exact(isl_union_map* schedule, isl_union_map* isolated, std::string& nest,
                         const CodegenBudget& budget, const Printing& printing) {
  std::vector<DatePart> parts;
  if (count_pieces(schedule) >= kPartsFrom) {
    Generated search = bounded({isl_union_map_get_ctx(schedule), kPartsOperations, nullptr}, [&] {
      parts = first_date_parts(schedule);
      return true;
    });
    if (search == Generated::kOverBudget) {
      free_parts(parts);
      isl_union_map_free(schedule);
      isl_union_map_free(isolated);
      return Generated::kOverBudget;
    }
  }
  if (parts.empty()) return generate_within(schedule, isolated, nest, budget, printing);
  Generated outcome = generate_parts(parts, isolated, nest, budget, printing);
  free_parts(parts);
  isl_union_map_free(schedule);
  isl_union_map_free(isolated);
  return outcome;
}

// generate_nest without the box form.
Generated generate_with_else(isl_union_map* schedule, isl_union_map* isolated, isl_union_map* last,
                             std::string& nest, const CodegenBudget& budget, const NestBounds& bounds,
                             const std::set<std::string>& taken) {
  const Printing exact = {&bounds.exact, &taken};
  if (!last) return generate_exact(schedule, isolated, nest, budget, exact);
  // A schedule that isl cannot print leaves the job's text empty, which
  // its context then fails to read: a failure only when the nest is needed.
  Job job;
  job.schedule = text_of(last);
  job.printing = {&bounds.last, &taken};
  // Without isolated instances, a job's nest takes the budget of the nest
  // with every instance together.
  CodegenBudget last_budget = budget;
  last_budget.isolated = last_budget.together = budget.last;
  return unless_over_budget(job, last_budget, Generated::kLast, nest,
                            [&] { return generate_exact(schedule, isolated, nest, budget, exact); });
}

}  // namespace

const CodegenBudget kCodegenBudget = {8000000, 12000000, 10000000};

void set_codegen_options(isl_ctx* ctx) {
  isl_options_set_on_error(ctx, ISL_ON_ERROR_CONTINUE);
  // The loops count in long long: their counters and bounds are sums of
  // tile counters, block sizes and split sizes that the original program
  // never forms (2 * block_size, outer_N + outer_K + 2), which an int
  // would not hold near INT_MAX.
  isl_options_set_ast_iterator_type(ctx, "long long");
  // Generalized basis reduction makes isl's integer sampling robust on
  // long thin sets, but on tiled domains, whose constraints hold the tile
  // ratios and the parameters' splits, it took most of the code
  // generator's time (a diamond tiling of 390 pieces: over 200 s with it,
  // 43 s without) and changed no nest of the tests, examples and
  // benchmarks.
  set_basis_reduction(ctx, false);
}

ScriptEvaluation::ScriptEvaluation(isl_ctx* ctx, unsigned long operations) : ctx_(ctx) {
  set_basis_reduction(ctx, true);
  isl_ctx_reset_operations(ctx);
  isl_ctx_set_max_operations(ctx, operations);
}

ScriptEvaluation::~ScriptEvaluation() {
  isl_ctx_set_max_operations(ctx_, 0);
  set_basis_reduction(ctx_, false);
}

bool ScriptEvaluation::exceeded() const { return used_up(ctx_); }

Generated generate_nest(isl_union_map* schedule, isl_union_map* isolated, isl_union_map* last,
                        isl_union_map* box, std::string& nest, const CodegenBudget& budget,
                        const NestBounds& bounds, const std::set<std::string>& taken) {
  if (!box) return generate_with_else(schedule, isolated, last, nest, budget, bounds, taken);
  Job job;
  job.schedule = text_of(box);
  job.box = true;
  job.printing = {&bounds.last, &taken};
  return unless_over_budget(job, budget, Generated::kBox, nest,
                            [&] { return generate_with_else(schedule, isolated, last, nest, budget, bounds, taken); });
}

}  // namespace iscc
