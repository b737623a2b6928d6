// Tile origins b·(1/65536, 0) and b·(0, 1/65537) are integer points only
// for block sizes that are multiples of 65536·65537, beyond int.
// stderr: ZILWrapper::get_general_tiled_domain: the lattice denominators ask for a block size multiple of more than 2147483647
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1][65536][65537]
#pragma tile_shape[65536 * i][block_size - 1 - 65536 * i][65537 * j][block_size - 1 - 65537 * j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = 0;
    }
#pragma end_scop
}
