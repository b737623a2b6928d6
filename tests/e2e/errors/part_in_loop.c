// stdout: Program::from_Sage: a static control part inside a loop or an if statement, which tiled_kernel() would run once, unconditionally
// The original runs the part three times.
int N;
double A[10];

void kernel() {
  int i, t;
  for (t = 0; t < 3; t++) {
#pragma begin_scop
    for (i = 0; i < N; i++) {
#pragma schedule[i]
      A[i] = A[i] * 2 + 1;
    }
#pragma end_scop
  }
}
