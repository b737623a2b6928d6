// stderr: Tiling::apply: statement #0: schedule dimension 1 uses a loop counter ahead of a tiled dimension it depends on
// j comes before the tile of j: ordered by its index inside the tile, the
// dependence along j would be broken.
int N;
int A[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][j][__T][i]
      A[i][j] = A[i][j - 1] * 2 + i;
    }
#pragma end_scop
}
