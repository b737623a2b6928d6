// stdout: Program::from_Sage: floor or ceil in a subscript unhandled: floor(i / 2)
// The model reads floor() as its own quotient, which the statement macro
// would print as the call floor(i,2), and C's floor of an int quotient is
// the truncated quotient anyway.
#include <math.h>
int N;
double A[10], B[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = B[(int)floor(i / 2)];
  }
#pragma end_scop
}
