// stderr: tile_counter_name.c:5: error: 'tile_counter_0' is reserved: the tiled code names its tile counters tile_counter_<k>
// The statement macro takes the tile counter as its parameter: the
// variable read in the statement would silently become the tile index.
int N;
int tile_counter_0;
int A[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    A[i] = A[i] + tile_counter_0 * 2;
  }
#pragma end_scop
}
