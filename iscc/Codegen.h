// The loop nest that isl's AST builder generates for a schedule, printed
// in C.
#ifndef ISCC_CODEGEN_H
#define ISCC_CODEGEN_H

#include <set>
#include <string>

#include <isl/ctx.h>
#include <isl/union_map.h>

#include "Clamps.h"

namespace iscc {

// The work that building one nest may take, in isl's operations: isl
// counts one per pivot of its simplex tableaux and one per allocation, the
// same count on every machine, so that the nest generated never depends on
// the machine or on its load. Printing a nest that fits is not counted: its
// work is linear in the nest.
struct CodegenBudget {
  unsigned long isolated;  // the nest with the isolated instances apart
  unsigned long together;  // the nest with every instance together
  unsigned long last;      // the nest of the else schedule
  unsigned long box = 10000000;  // the nest of the box form
  // The evaluation of one statement's operands (reading its literals and
  // combining them), before any nest is built (see ScriptEvaluation): the
  // statements of the tests, examples and benchmarks take at most 4
  // million operations (reading a domain of 573 pieces, 2 s); 20 million
  // took 7 s on the long thin set of ScriptEvaluation, sampled without
  // basis reduction.
  unsigned long evaluation = 20000000;
  // For tests only: the build of each later nest (with every instance
  // together, of the else schedule, of the box form) that may take more
  // operations than this is stopped once it has taken this many, as when
  // an earlier nest fits then; 0: never.
  unsigned long stop_jobs_after = 0;
};

// 8 million operations with the isolated instances apart, 12 million
// together, 10 million for the else schedule and 10 million for the box
// form, all generated at the same time. An operation took from 0.6 to 4.6 microseconds on the tiled
// statements measured (a slower one on large coefficients, which scale the
// budgets down), so that a nest is generated or given up within about 40
// seconds, and the else schedule (one convex polyhedron per statement,
// about a second) leaves the run within the minute. With their full tiles
// apart, the nests of the tests and examples take at most 8 million
// operations (per part); the time-skewed heat stencils of the benchmarks
// run their full tiles with the partial ones (11 million), and a diamond
// tiling of 620 pieces runs its else schedule.
extern const CodegenBudget kCodegenBudget;

// kTogether: a nest made with every instance together, the isolated
// instances having exceeded their budget in it (or in some of its parts).
// kLast: the nest of the else schedule, the schedule's own nests having
// exceeded their budgets. kBox: the nest of the box form, the else
// schedule having exceeded its budget too.
enum class Generated { kNest, kTogether, kLast, kBox, kFailed, kOverBudget };

// Sets the options of an isl context that nests are generated in: a
// failing call returns an error rather than ending the process, and
// sampling does without generalized basis reduction.
void set_codegen_options(isl_ctx* ctx);

// The settings of `ctx` (the caller's, set up by set_codegen_options)
// while the operands of a script's statement are evaluated, for the life
// of this object: at most `operations` of isl's operations, and integer
// sampling with generalized basis reduction, which decides whether a long
// thin set is empty in a few steps (a box of 14 values of j within a
// constant tile of 100000000, -99999999 + j <= 100000000t <= j), where
// sampling without it walks the width of the set for minutes. The code
// generator's settings come back at its end.
class ScriptEvaluation {
 public:
  ScriptEvaluation(isl_ctx* ctx, unsigned long operations);
  ~ScriptEvaluation();
  ScriptEvaluation(const ScriptEvaluation&) = delete;
  ScriptEvaluation& operator=(const ScriptEvaluation&) = delete;
  // Whether the evaluation used up its operations: what it computed is
  // then to be dropped, and no isl call but freeing made in the context
  // (isl's printer does not survive an operation past its quota).
  bool exceeded() const;

 private:
  isl_ctx* ctx_;
};

// Generates the nest that runs the domain of `schedule` (taken) in the
// order of its dates, with isl's option "separate" on every date
// dimension: a loop is split where the pieces of the domain that it runs
// change, rather than testing inside it which piece a point belongs to.
// The instances of `isolated` (taken; may be null), a part of the
// schedule, run apart from the other instances of their statements (see
// isolate_instances): given the full tiles of a tiled domain, these get
// loops of their own, apart from the partial tiles. Dates are first
// rewritten as counters where the order allows (see counter_dates), so
// that the loops over a tile run over its own box. A schedule of many
// pieces whose first dates fall in groups that follow each other (see
// first_date_parts) gets one nest per group, in that order: isl's work
// grows with the square of the pieces it is given at once, and the groups
// are generated at the same time, each in an isl context of its own. The
// search for the groups has a budget of its own; past it, the schedule's
// nests count as past theirs.
//
// Each nest is built within `budget`, divided by a tenth of the largest
// coefficient of the schedule's constraints when that is above 10, and
// printed only when it fits.
// With isolated instances, the nest is also generated with every instance
// together, at the same time (isolating the full tiles costs most of the
// work on statements of many pieces): the nest with the instances apart
// is kept when it fits its budget, else the other when it fits its own.
//
// The else schedule `last` (taken; may be null), a schedule of the same
// statements, is the last resort: its nest, with every instance together
// and not cut in parts, is generated within its own budget, in an isl
// context and a thread of its own, at the same time as the others, and
// stopped as soon as they fit theirs. It is kept only when the schedule's
// own nests exceed their budgets (in one part or more). Likewise, the nest
// with every instance together is stopped once the nest with the isolated
// instances apart fits its budget. A stop aborts a nest's build; a nest
// already built is printed whole and dropped.
//
// The box form `box` (taken; may be null), a schedule of the same
// statements whose domains are boxes (or others as simple), comes after
// the else schedule: its nest, generated at the same time as the others
// in a context of its own, is kept only when the else schedule exceeds
// its budget too (or there is none). It is generated without "separate":
// the code generator's work on a few boxes is small whatever their
// shapes, while separating the loops of boxes of different bounds costs
// the more the more they differ. Its budget is not scaled down by large
// coefficients, which a box's few constraints hold no more than the
// programs that the code generator must take.
//
// The loops of the schedule's nests are clamped by `bounds.exact`, those
// of the else schedule's and the box form's by `bounds.last` (see
// print_clamped). The loop counter of date k is named c<k>, or the first
// of c<k>_0, c<k>_1, ... that `taken` does not hold when it holds c<k>:
// given every identifier of the script, a counter's name then means
// nothing else in the nest, where a clamp copies the C texts of bounds.
//
// Stores the C text in `nest` (the caller's) and returns kNest, kTogether,
// kLast or kBox; kFailed when isl fails on a nest that is needed,
// kOverBudget when no nest fits its budget.
struct NestBounds {
  StatementBounds exact;  // the bounds that hold in every nest
  StatementBounds last;   // those that hold in the nests of the last resorts
};
Generated generate_nest(isl_union_map* schedule, isl_union_map* isolated, isl_union_map* last,
                        isl_union_map* box, std::string& nest, const CodegenBudget& budget = kCodegenBudget,
                        const NestBounds& bounds = NestBounds(), const std::set<std::string>& taken = {});

}  // namespace iscc

#endif
