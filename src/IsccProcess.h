#ifndef TARVEX_ISCC_PROCESS_H
#define TARVEX_ISCC_PROCESS_H

// The run of the external iscc program on a script.

#include <optional>
#include <string>

// A loop nest that iscc printed, and whether it comes from the else
// schedule of its codegen (the last mode: exit status 3).
struct IsccNest {
  std::string text;
  bool last_mode = false;
};

// Runs iscc with `script` on its standard input and returns what it printed
// on standard output; its standard error passes through. The script is
// handed over from memory, never read back from a file that another run
// could be rewriting. iscc is the one next to the running tarvex, else the
// first along PATH. Returns nothing when iscc's code generation exceeded
// its budget of work (exit status 2); stops the run when iscc cannot be
// started or exits with another status than 0 or 3.
std::optional<IsccNest> run_iscc(const std::string& script);

#endif
