// The iscc script subset that tarvex's back end writes: assignments of
// isl sets and maps combined with "+" and "*", and "codegen", which prints
// the C loop nest that isl's AST builder generates for a schedule.
// "codegen S isolating P within N;", each clause optional, in this order:
// "isolating P" runs the instances of P, a part of the schedule S, in
// loops apart from the other instances of their statements (the full
// tiles of a tiled statement apart from its partial tiles); "within N", N
// a positive decimal integer, is the budget in operations of each nest of
// S, in place of the run's (see run_script).
#ifndef ISCC_SCRIPT_H
#define ISCC_SCRIPT_H

#include <iosfwd>
#include <string>

#include "Codegen.h"

namespace iscc {

// Runs the script `text` statement by statement. Each successful codegen
// writes its loop nest to `out`; each failing statement writes one line
// "iscc: line <L>: <what>" to `err` and the run goes on with the next
// statement. Each codegen works within `budget` (see generate_nest); one
// whose isolated instances exceeded their budget, generated with every
// instance together, says so on `err` on a line of the same form.
// Returns the exit status: 0 when every statement succeeded and `out` took
// everything written to it, 2 when the only failures are codegens that
// exceeded their budget, 1 otherwise. The streams stay the caller's.
int run_script(const std::string& text, std::ostream& out, std::ostream& err,
               const CodegenBudget& budget = kCodegenBudget);

}  // namespace iscc

#endif
