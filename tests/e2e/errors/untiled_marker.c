// stderr: Tiling::apply: statement #0: schedule uses __T but the statement is not tiled
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[__T][i]
    a[i] = 0;
  }
#pragma end_scop
}
