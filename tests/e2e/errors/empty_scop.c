// stdout: Error: no statement between #pragma begin_scop and #pragma end_scop
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
  }
#pragma end_scop
}
