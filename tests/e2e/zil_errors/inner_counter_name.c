// stderr: inner_counter_name.c:4: error: 'inner_i' is reserved: the tiled code begins the names of its split sizes and of its lattice and inner counters with outer_ or inner_
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
