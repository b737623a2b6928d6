// stderr: carried_function_generated_name.c:7: error: 'tile_counter_0' is reserved: the tiled code names its tile counters tile_counter_<k>
// The statement calls a function named like the tile counter: carried into
// the tiled code, its call would name the counter the statement macro takes.
int N;
int A[10];

int tile_counter_0(int x) { return x + 1; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    A[i] = tile_counter_0(A[i]);
  }
#pragma end_scop
}
