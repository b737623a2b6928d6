// General parametric tiling by boxes with the identity lattice, in 1-D and
// 2-D.
// params: N
// arrays: a A
// block_sizes: 1 2 3 4 5 8 20
// values: 0 | 1 | 2 | 3 | 5 | 9 | 13 | 16
int N;
int a[16];
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[0][__T][i][0]
    a[i] = a[i - 1] + a[i];
  }
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[1][__T][__T][i][j]
      A[i][j] = A[i - 1][j] - A[i][j - 1] + a[i];
    }
#pragma end_scop
}
