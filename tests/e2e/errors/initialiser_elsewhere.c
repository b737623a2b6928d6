// stdout: Program::from_Sage: an initialiser that is not a constant is carried into tiled_kernel() only for a scalar, not const, of the kernel's function ahead of the static control part: int m = N - 1;
int N;
int a[100];

int last() {
  int m = N - 1;
  return a[m];
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
