// General ZIL with boxes 2b x b and b x 3b on diagonal lattices, the
// second over a triangle, both on kernels with dependences.
// params: N M
// arrays: A B
// block_sizes: 1 2 3 4 5 8
// values: 0 0 | 1 1 | 3 2 | 5 7 | 9 4 | 12 12
int N;
int M;
int A[12][12];
int B[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[2][0][0][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = (A[i][j] + (i > 0 ? A[i - 1][j] : 1) * 2 + (j > 0 ? A[i][j - 1] : 0)) % 1013;
    }
  for (i = 1; i < N; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][0][0][3]
#pragma tile_shape[i][block_size - 1 - i][j][3 * block_size - 1 - j]
#pragma schedule[1][__T][__T][i][j]
      B[i][j] = (B[i][j] * 2 + B[i - 1][j] + i) % 1013;
    }
#pragma end_scop
}
