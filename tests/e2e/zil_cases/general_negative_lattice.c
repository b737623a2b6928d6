// General parametric tiling with negative lattice coefficients: boxes on
// the lattice rows (-1 0), (0 1), and the sheared tiles 0 <= i < b,
// 0 <= i + j < b on the rows (1 0), (-1 1); the kernels have no dependence.
// params: N M
// arrays: A B
// block_sizes: 1 2 3 4 7 16
// values: 0 0 | 1 1 | 2 5 | 5 2 | 9 3 | 12 12
int N;
int M;
int A[12][12];
long B[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[-1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 3 + i - j;
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][0][-1][1]
#pragma tile_shape[i][block_size - 1 - i][i + j][block_size - 1 - i - j]
#pragma schedule[1][__T][__T][i][j]
      B[i][j] = B[i][j] + 2 * i * j + 1;
    }
#pragma end_scop
}
