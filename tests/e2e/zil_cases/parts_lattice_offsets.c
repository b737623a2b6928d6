// Two static control parts with the same dates, the first under a lattice
// with denominators (diamonds), the second under the identity lattice: they
// share no tile loop, since the parts run one after the other, so the
// offset dates of the first part are compared with nothing of the second.
// params: N
// arrays: a b
// block_sizes: 2 4 6
// values: 0 | 1 | 3 | 8
int N;
int a[8][8];
int b[8][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + i - j;
    }
#pragma end_scop
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      b[i][j] = b[i][j] * 2 + a[N - 1 - i][N - 1 - j];
    }
#pragma end_scop
}
