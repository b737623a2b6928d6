// Gauss-Seidel in 2-D (nine-point, in place) under rectangular parametric
// tiling along the hyperplanes (t, t + i, 2t + i + j).
// params: N T
// arrays: A
// block_sizes: 1 2 3 5 8
// values: 0 0 | 3 1 | 5 2 | 9 4 | 12 3
int N;
int T;
double A[12][12];

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
