// Jacobi in 2-D (two arrays, two statements per time step) under general
// parametric tiling: skewed tiles 0 <= t, 2t + i, 2t + j < block_size on
// the matching lattice; the second statement's tiles are shifted by one
// along i and j so that every dependence keeps its tiles in order.
// params: N T
// arrays: A B
// block_sizes: 1 2 3 5 8
// values: 0 0 | 3 1 | 5 2 | 9 4 | 12 3
int N;
int T;
double A[12][12];
double B[12][12];

void kernel() {
  int t, i, j;
#pragma begin_scop
  for (t = 0; t < T; t++) {
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][-2][1][0][-2][0][1]
#pragma tile_shape[t][block_size - 1 - t][2 * t + i][block_size - 1 - 2 * t - i][2 * t + j][block_size - 1 - 2 * t - j]
#pragma schedule[__T][__T][__T][t][0][i][j]
        B[i][j] = 0.2 * (A[i][j] + A[i][j - 1] + A[i][j + 1] + A[i + 1][j] + A[i - 1][j]);
      }
    for (i = 1; i < N - 1; i++)
      for (j = 1; j < N - 1; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][-2][1][0][-2][0][1]
#pragma tile_shape[t][block_size - 1 - t][2 * t + i + 1][block_size - 2 - 2 * t - i][2 * t + j + 1][block_size - 2 - 2 * t - j]
#pragma schedule[__T][__T][__T][t][1][i][j]
        A[i][j] = 0.2 * (B[i][j] + B[i][j - 1] + B[i][j + 1] + B[i + 1][j] + B[i - 1][j]);
      }
  }
#pragma end_scop
}
