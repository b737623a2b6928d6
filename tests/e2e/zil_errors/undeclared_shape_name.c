// A tile shape over bs instead of block_size.
// stderr: Tiling::apply: statement #0: 'bs' is not declared
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][bs - 1 - i][j][bs - 1 - j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = 0;
    }
#pragma end_scop
}
