// A local of a loop body of the part (double t) hides the kernel's local of
// the same declaration: C keeps two objects, and the last loop reads the
// outer t, which the inner one leaves alone.
// params: N
// arrays: A B C
// values: 0 | 1 | 3 | 5
int N;
double A[12];
double B[12];
double C[12];

void kernel() {
  int i;
  double t;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    t = 1.0 + i;
  }
  for (i = 0; i < N; i++) {
    double t;
#pragma schedule[1][i][0]
    t = A[i];
#pragma schedule[1][i][1]
    B[i] = t;
  }
  for (i = 0; i < N; i++) {
#pragma schedule[2][i]
    C[i] = t;
  }
#pragma end_scop
}
