#ifndef TARVEX_TESTS_CHILD_RUN_H
#define TARVEX_TESTS_CHILD_RUN_H

#include <functional>
#include <string>

// What a child process did: its exit status (128 + signal number when a
// signal ended it) and everything it wrote on standard output and error.
struct ChildResult {
  int status;
  std::string out;
  std::string err;
};

// Runs body in a forked child whose standard streams go to temporary files;
// a body that returns normally exits with status 0.
ChildResult run_in_child(const std::function<void()>& body);

#endif
