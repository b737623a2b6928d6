// Heat equation in 3-D as the usual benchmark suite writes it (time steps
// 1 to TSTEPS, two arrays, two statements per step) under rectangular
// parametric tiling along the time-skewed hyperplanes (t, 2t + i, 2t + j,
// 2t + k), the second statement's shifted by one. The nest of its last
// time tile, with its full tiles apart, takes most of the code generator's
// budget.
// params: TSTEPS N
// sizes: 20 120
// arrays: A B
int TSTEPS;
int N;
double A[120][120][120];
double B[120][120][120];

void kernel() {
  int t, i, j, k;
#pragma begin_scop
  for (t = 1; t <= TSTEPS; t++) {
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
