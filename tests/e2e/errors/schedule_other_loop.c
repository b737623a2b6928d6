// stderr: Tiling::apply: statement #1: the schedule uses a counter outside the statement's loops
int N;
int a[10];
void kernel() {
  int i, j;
#pragma begin_scop
  for (j = 0; j < N; j++) {
#pragma schedule[0][j]
    a[j] = 1;
  }
  for (i = 0; i < N; i++) {
#pragma schedule[1][j]
    a[i] = 0;
  }
#pragma end_scop
}
