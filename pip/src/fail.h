// Fatal failures of the solver: a message "pip_solve: <reason>" on
// standard error and exit status 1. A failure is never reported as an
// answer, since callers read a NULL answer as "no solution".
#ifndef TARVEX_PIP_FAIL_H
#define TARVEX_PIP_FAIL_H

[[noreturn]] void pip_fail(const char *reason);

#endif
