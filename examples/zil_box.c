// General parametric (ZIL) tiling: square tiles 0 <= i, j < block_size
// (tile_shape, one expression >= 0 per constraint) placed at the origins
// block_size * (a, b) of the identity lattice (tile_lattice, row by row).
// params: N
// arrays: A
// block_sizes: 1 2 3 4 7 16 40
// values: 0 | 1 | 6 | 17 | 32 | 40
int N;
int A[40][40];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = (A[i - 1][j] + A[i][j - 1] + A[i][j]) % 1009;
    }
#pragma end_scop
}
