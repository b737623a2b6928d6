// Parameters in the dates of general, constant and rectangular tilings,
// ahead of the tiled dimension, and a hyperplane M - i.
// params: N M
// arrays: a b c
// block_sizes: 1 2 3 5 8
// values: 0 0 | 1 4 | 4 0 | 9 2 | 16 7
int N;
int M;
int a[16];
int b[16];
int c[16];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[M][__T][N - i]
    a[i] = a[i] * 2 + i;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_size[3]
#pragma tile_hyperplans[i]
#pragma schedule[M + 1][__T][M - i]
    b[i] = b[i] * 3 + a[i] - M;
  }
  for (i = 0; i < M; i++) {
#pragma tile_group[2]
#pragma tile_ratio[3]
#pragma tile_hyperplans[M - i]
#pragma schedule[M + 2][__T][i]
    c[i] = c[i] * 3 + b[i] - N;
  }
#pragma end_scop
}
