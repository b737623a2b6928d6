// stderr: tile_date_loop_counter.c:15: error: statement #0: the tiled date '__T+i' uses loop counters beside __T, which a parametric tiling reads inside a tile, not as the statement's own
// The dates of a parametric tiling are written over the points inside a
// tile: i beside __T would not be the loop's i.
int N;
int A[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T + i][i]
    A[i + 1] = (A[i] * 3 + i) % 1009;
  }
#pragma end_scop
}
