// stdout: Expression::from_Sage: a division in floating point has no integer form: N / 2.0
// C divides N by 2.0 in floating point (i < 2.5 lets i reach 2 for N = 5),
// while the model's quotient is an integer one.
int N;
double A[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N / 2.0; i++) {
#pragma schedule[i]
    A[i] = A[i] + 1;
  }
#pragma end_scop
}
