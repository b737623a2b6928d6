// stderr: Tiling::apply: statement #1: 'jj' is not declared
int N;
int a[10][10];
void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i][0]
    a[i][0] = 0;
    for (j = 0; j < N; j++) {
#pragma schedule[1][i][jj]
      a[i][j] = a[i][j] + 1;
    }
  }
#pragma end_scop
}
