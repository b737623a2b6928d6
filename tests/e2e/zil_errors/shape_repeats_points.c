// A 2b x b brick on the origins b * z: neighbouring bricks overlap, so half
// of the iterations would run twice.
// stderr: ZILWrapper::get_general_tiled_domain: the tile shape does not tile the space with the lattice (block size 1)
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
