// LU with the update tiled in three dimensions (k, i, j); legal since the
// tiles along k are of size 1 in this test: the row scaling stays untiled first.
// params: N
// arrays: A
// values: 0 | 1 | 2 | 3 | 7 | 10
int N;
double A[10][10];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (k = 0; k < N; k++) {
    for (j = k + 1; j < N; j++) {
#pragma tile_group[1]
#pragma tile_size[1][4]
#pragma tile_hyperplans[k][j]
#pragma schedule[__T][0][__T][k][0][j]
      A[k][j] = A[k][j] / (A[k][k] + 100.0);
    }
    for (i = k + 1; i < N; i++)
      for (j = k + 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[1][3][2]
#pragma tile_hyperplans[k][i][j]
#pragma schedule[__T][1][__T][__T][k][i][j]
        A[i][j] = A[i][j] - A[i][k] * A[k][j];
      }
  }
#pragma end_scop
}
