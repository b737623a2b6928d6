// A lattice that the shape does not fit, in the last statement, is refused
// before the first statement is tiled.
// stderr: ZILWrapper::get_general_tiled_domain: the tile shape does not tile the space with the lattice (block size 1)
// not on stdout:   ZIL...
int N;
int a[10];
int b[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][i]
    a[i] = i;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_lattice[2]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[1][__T][i]
    b[i] = a[i];
  }
#pragma end_scop
}
