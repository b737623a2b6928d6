// stdout: Program::from_Sage: unknown pragma: omp parallel for
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
#pragma omp parallel for
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = 0;
  }
#pragma end_scop
}
