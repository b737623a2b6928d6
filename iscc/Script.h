// The iscc script subset that tarvex's back end writes: assignments of
// isl sets and maps combined with "+" and "*", and "codegen", which prints
// the C loop nest that isl's AST builder generates for a schedule.
// "codegen S isolating P else L else B within N;", each clause optional,
// in this order: "isolating P" runs the instances of P, a part of the
// schedule S, in loops apart from the other instances of their statements
// (the full tiles of a tiled statement apart from its partial tiles);
// "else L" gives a schedule of the same statements whose nest is printed
// when the nests of S exceed their budgets; a second "else B" gives their
// box form, whose nest is printed when that of L exceeds its budget too
// (see generate_nest); "within N", N a positive decimal
// integer, is the budget in operations of each nest of S, in place of the
// run's (see run_script).
// "bounds S(x1,...,xn) "lo" <= "value" <= "hi";" says that for every
// instance of statement S that a nest runs, the C value over the macro's
// arguments x1..xn lies between the C bounds over the parameters ("" for
// no bound on a side); each later codegen clamps a loop whose calls all
// have bounds to the counter values that some call may run (see
// print_clamped). "bounds else S..." holds in the nests of the else
// schedule and of the box form only.
// The loop counters of every nest are named apart from every identifier
// of the script: c<k> for date k, else the first of c<k>_0, c<k>_1, ...
// that the script does not hold (see generate_nest).
#ifndef ISCC_SCRIPT_H
#define ISCC_SCRIPT_H

#include <iosfwd>
#include <string>

#include "Codegen.h"

namespace iscc {

// Runs the script `text` statement by statement. Each successful codegen
// writes its loop nest to `out`; each failing statement writes one line
// "iscc: line <L>: <what>" to `err` and the run goes on with the next
// statement, but for one whose operands exceeded their budget of work
// (`budget.evaluation`, see ScriptEvaluation), which ends the run with
// status 4. Each codegen works within `budget` (see generate_nest); one
// whose isolated instances exceeded their budget, generated with every
// instance together, or one that printed its else schedule or its box
// form says so on `err` on a line of the same form.
// Returns the exit status: 4 as said; 1 when a statement failed other than
// by exceeding its budget, or `out` did not take everything written to it;
// else 2 when a codegen exceeded its budget; else 3 when a codegen printed
// its else schedule or its box form; else 0. The streams stay the caller's.
int run_script(const std::string& text, std::ostream& out, std::ostream& err,
               const CodegenBudget& budget = kCodegenBudget);

}  // namespace iscc

#endif
