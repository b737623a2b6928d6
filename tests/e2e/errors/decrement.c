// stdout: Program::from_Sage: unsupported for loop: for (i = N; i > 0; i--)
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = N; i > 0; i--) {
#pragma schedule[i]
    a[i] = 0;
  }
#pragma end_scop
}
