// Gauss-Seidel in 3-D (seven-point, in place, one statement) under
// rectangular parametric tiling along the time-skewed hyperplanes
// (t, 2t + i, 2t + j, 2t + k).
// params: N T
// arrays: A
// block_sizes: 1 2 3 5
// values: 0 0 | 3 1 | 4 2 | 6 3 | 7 2
int N;
int T;
double A[8][8][8];

void kernel() {
  int t, i, j, k;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++)
        for (k = 1; k < N - 1; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1][1]
#pragma tile_hyperplans[t][2 * t + i][2 * t + j][2 * t + k]
#pragma schedule[__T][__T][__T][__T][t][i][j][k]
          A[i][j][k] = (A[i - 1][j][k] + A[i + 1][j][k] + A[i][j - 1][k] + A[i][j + 1][k] +
                        A[i][j][k - 1] + A[i][j][k + 1] + A[i][j][k]) / 7.0;
        }
#pragma end_scop
}
