// General parametric tiling: boxes on the skewed lattice [1][1][0][1], and
// parallelograms 0 <= i < b, 0 <= j - i < b on the lattice rows (1 0),
// (1 1); the kernels have no dependence.
// params: N
// arrays: A B
// block_sizes: 1 2 3 4 5 8 20
// values: 0 | 1 | 2 | 3 | 5 | 9 | 13 | 16
int N;
int A[16][16];
int B[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 3 + i - j;
    }
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][0][1][1]
#pragma tile_shape[i][block_size - 1 - i][j - i][block_size - 1 - j + i]
#pragma schedule[1][__T][__T][i][j]
      B[i][j] = B[i][j] + 2 * i * j + 1;
    }
#pragma end_scop
}
