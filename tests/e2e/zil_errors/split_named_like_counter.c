// stderr: split_named_like_counter.c:5: error: 'time_0' is reserved: its splits outer_time_0 and inner_time_0 would be named like the counters of rectangular tilings
// The size time_0 would split into outer_time_0, the name of the first
// tile counter: the code generator would pin that counter to
// time_0 / block_size and drop every other tile.
int time_0;
int A[8];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < time_0; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    A[i] = A[i] + i;
  }
#pragma end_scop
}
