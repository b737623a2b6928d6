// stderr: Tiling::apply: the input declares 'inner_i', a name the tiled code uses for its own
// The general tiling names the index of i inside its tile inner_i.
int N;
int inner_i[10];
int A[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[__T][i]
    A[i] = A[i] + inner_i[i] * 2;
  }
#pragma end_scop
}
