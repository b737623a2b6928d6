#ifndef TARVEX_ISCC_PROCESS_H
#define TARVEX_ISCC_PROCESS_H

// The run of the external iscc program on a script.

#include <string>

// What iscc made of a script: a loop nest, from the else schedule of its
// codegen or not (the last mode: exit status 3), or no nest, the work of
// its code generation (exit status 2) or of its evaluation of the script's
// operands, before any code generation (exit status 4), having exceeded
// its budget.
struct IsccNest {
  enum class Outcome { kNest, kLastMode, kCodegenOverBudget, kEvaluationOverBudget };
  Outcome outcome = Outcome::kNest;
  std::string text;  // the nest printed, for kNest and kLastMode
};

// Runs iscc with `script` on its standard input and returns what it made
// of it, with what it printed on standard output; its standard error
// passes through. The script is handed over from memory, never read back
// from a file that another run could be rewriting. iscc is the one next to
// the running tarvex, else the first along PATH, and it ends with tarvex
// (killed, tarvex leaves no iscc at work). Stops the run when iscc cannot
// be started or exits with another status than 0, 2, 3 or 4.
IsccNest run_iscc(const std::string& script);

#endif
