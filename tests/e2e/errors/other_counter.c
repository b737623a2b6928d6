// stdout: Program::from_Sage: unsupported for loop: for (i = 0; i < N; j++)
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; j++) {
#pragma schedule[i]
    a[i] = 0;
  }
#pragma end_scop
}
