#include "fail.h"

#include <cstdio>
#include <cstdlib>

void pip_fail(const char *reason) {
  fprintf(stderr, "pip_solve: %s\n", reason);
  exit(1);
}
