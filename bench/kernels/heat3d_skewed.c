// Heat equation in 3-D (two arrays, two statements per time step) under
// rectangular parametric tiling along the time-skewed hyperplanes
// (t, 2t + i, 2t + j, 2t + k); the second statement's hyperplanes are
// shifted by one so that every dependence keeps its tiles in order.
// params: N T
// arrays: A B
// block_sizes: 1 2 3 5
// values: 0 0 | 3 1 | 4 2 | 6 3 | 7 2
int N;
int T;
double A[8][8][8];
double B[8][8][8];

void kernel() {
  int t, i, j, k;
#pragma begin_scop
  for (t = 0; t < T; t++) {
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++)
        for (k = 1; k < N - 1; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1][1]
#pragma tile_hyperplans[t][2 * t + i][2 * t + j][2 * t + k]
#pragma schedule[__T][__T][__T][__T][t][0][i][j][k]
          B[i][j][k] = 0.125 * (A[i + 1][j][k] - 2.0 * A[i][j][k] + A[i - 1][j][k]) +
                       0.125 * (A[i][j + 1][k] - 2.0 * A[i][j][k] + A[i][j - 1][k]) +
                       0.125 * (A[i][j][k + 1] - 2.0 * A[i][j][k] + A[i][j][k - 1]) + A[i][j][k];
        }
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++)
        for (k = 1; k < N - 1; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1][1]
#pragma tile_hyperplans[t][2 * t + i + 1][2 * t + j + 1][2 * t + k + 1]
#pragma schedule[__T][__T][__T][__T][t][1][i][j][k]
          A[i][j][k] = 0.125 * (B[i + 1][j][k] - 2.0 * B[i][j][k] + B[i - 1][j][k]) +
                       0.125 * (B[i][j + 1][k] - 2.0 * B[i][j][k] + B[i][j - 1][k]) +
                       0.125 * (B[i][j][k + 1] - 2.0 * B[i][j][k] + B[i][j][k - 1]) + B[i][j][k];
        }
  }
#pragma end_scop
}
