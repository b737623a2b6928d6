// The first statement of the heat equation in 3-D as the usual benchmark
// suite writes it (time steps 1 to TSTEPS), under rectangular parametric
// tiling along the time-skewed hyperplanes (t, 2t + i, 2t + j, 2t + k):
// about 13500 combinations of the pieces of its constraints, of which the
// cross product keeps 462.
// params: TSTEPS N
// arrays: A B
// block_sizes: 1 2 3 5
// values: 0 0 | 1 3 | 2 4 | 3 6 | 2 7 | 4 10
int TSTEPS;
int N;
double A[10][10][10];
double B[10][10][10];

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
  }
#pragma end_scop
}
