// Carried functions that convert malloc's void * to another pointer
// implicitly, as C does and C++ does not: in an initialiser, an assignment
// and a return; and a statement that assigns realloc's void * to a pointer.
// params: N
// arrays: A
// values: 0 | 7 | 13
#include <stdlib.h>
int N;
double A[20];
double *Q;

double *cells(int n) { return malloc(n * sizeof(double)); }
double spread(double x) {
  double *pair = malloc(2 * sizeof(double));
  double *more;
  double sum;
  more = cells(3);
  pair[0] = x;
  pair[1] = x / 2;
  more[0] = pair[0] + pair[1];
  sum = more[0];
  free(pair);
  free(more);
  return sum;
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    A[i] = spread(A[i]);
#pragma schedule[i][1]
    Q = realloc(Q, (i + 1) * 8);
  }
#pragma end_scop
}
