// General parametric tiling by sheared tiles 0 <= i + j < b, 0 <= j < b on
// the lattice rows (1 -1), (0 1), the tiles of the hyperplanes [i + j][j],
// on a wavefront kernel whose dependences these tiles respect.
// params: N M
// arrays: A
// block_sizes: 1 2 3 4 7 20
// values: 0 0 | 1 1 | 2 5 | 5 2 | 9 3 | 12 12
int N;
int M;
int A[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][-1][0][1]
#pragma tile_shape[i + j][block_size - 1 - i - j][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = (A[i - 1][j] * 2 - A[i][j - 1] + 1) % 1001;
    }
#pragma end_scop
}
