// The input's own #include lines are carried, so that the names their
// headers declare (INT_MAX, strlen) mean in the tiled code what they mean
// in the original. Under <tgmath.h>, sqrt of a float computes in float in
// C, as C++'s overload does: the argument keeps its type.
// params: N
// arrays: A F
// values: 0 | 7 | 13
#include <limits.h>
#include <string.h>
#include <tgmath.h>
int N;
double A[20];
float F[20];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + (INT_MAX > 0) + strlen("four") + sqrt(F[i] * F[i] + 2);
  }
#pragma end_scop
}
