// stdout: Program::from_Sage: unsupported for loop: for (i = 0; i < N; i += 2)
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i += 2) {
#pragma schedule[i]
    a[i] = 0;
  }
#pragma end_scop
}
