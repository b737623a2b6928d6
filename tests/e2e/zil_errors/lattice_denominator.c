// Box tiles on origins b·(1/2, 0) apart along i overlap: the lattice with
// denominators does not fit this shape.
// stderr: ZILWrapper::get_general_tiled_domain: the tile shape does not tile the space with the lattice (block size 2)
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_lattice[1][0][0][1][2][1]
#pragma tile_shape[i][block_size - 1 - i][j][block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = 0;
    }
#pragma end_scop
}
