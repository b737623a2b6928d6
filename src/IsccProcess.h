#ifndef TARVEX_ISCC_PROCESS_H
#define TARVEX_ISCC_PROCESS_H

// The run of the external iscc program on a script.

#include <string>

// Runs iscc with `script` on its standard input and returns what it printed
// on standard output; its standard error passes through. The script is
// handed over from memory, never read back from a file that another run
// could be rewriting. iscc is the one next to the running tarvex, else the
// first along PATH. Stops the run when iscc cannot be started or does not
// exit with status 0.
std::string run_iscc(const std::string& script);

#endif
