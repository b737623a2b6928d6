// Calls whose arguments C converts to the parameter types of the callee's
// prototype, where C++ would pick another overload: the input's own
// `int abs(int);` on a double (C computes abs(-2.25) as 2, C++'s
// abs(double) 2.25), and sqrt, exp and fabs of a float, which C computes
// in double and C++ in float; in a statement, in a local's initialiser run
// on entry to the kernel, and in a carried function.
// params: N
// arrays: A B F
// values: 0 | 3 | 7
#include <math.h>
int abs(int);
int N;
double A[10];
double B[10];
float F[10];
float g = 2.0f;

double root(float x) { return sqrt(fabs(x)) / 3; }

void kernel() {
  int i;
  double s = exp(g) / 7;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    A[i] = abs(B[i] / 4) + root(F[i]) + s;
#pragma schedule[i][1]
    B[i] = exp(F[i]) / 7 + fabs(F[i] / 3);
  }
#pragma end_scop
}
