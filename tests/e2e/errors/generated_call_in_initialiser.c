// stdout: Program::from_Sage: the tiled code defines a macro S0 for a statement, which would replace this call: S0(N)
// A local of the kernel's function initialised, on entry to the tiled
// kernel, by a call of a function named like a statement macro.
int N;
double A[10];
double S0(int n) { return n / 2.0; }

void kernel() {
  int i;
  double half = S0(N);
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + half;
  }
#pragma end_scop
}
