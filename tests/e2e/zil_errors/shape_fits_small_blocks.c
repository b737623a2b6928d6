// 0 <= i < block_size with i <= 5 tiles the line only while block_size <= 6.
// A general tiling runs with every block size, -min-block-size bounding the
// rectangular tilings only: the check covers 1 to 5, then finds the fault at
// the power of two 8.
// options: -min-block-size 4
// stderr: ZILWrapper::get_general_tiled_domain: the tile shape does not tile the space with the lattice (block size 8)
int N;
int a[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i][5 - i]
#pragma schedule[__T][i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
