// 2-D in-place stencil: every dependence goes forward in i and j, so
// rectangular tiles of 4 by 3 keep the results.
// params: N
// arrays: A
// values: 0 | 1 | 2 | 3 | 4 | 9 | 13 | 20
int N;
int A[20][20];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[4][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = (A[i - 1][j] + A[i][j - 1] + A[i][j]) % 1009;
    }
#pragma end_scop
}
