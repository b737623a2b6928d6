// In-place 9-point Gauss-Seidel sweeps over a 2-D grid, T time steps,
// tiled along the time-skewed hyperplanes t, t + i and 2t + i + j: every
// dependence distance of (t, i, j) has non-negative components along them.
// params: T N
// sizes: 100 2500
// arrays: A
int T;
int N;
double A[2500][2500];

void kernel() {
  int t, i, j;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[t][t + i][2 * t + i + j]
#pragma schedule[__T][__T][__T][t][i][j]
        A[i][j] = (A[i - 1][j - 1] + A[i - 1][j] + A[i - 1][j + 1] + A[i][j - 1] + A[i][j] +
                   A[i][j + 1] + A[i + 1][j - 1] + A[i + 1][j] + A[i + 1][j + 1]) / 9.0;
      }
#pragma end_scop
}
