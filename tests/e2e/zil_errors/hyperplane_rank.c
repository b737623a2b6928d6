// stderr: Tiling::apply: statement #0: the tiling hyperplanes must have one independent loop-counter part per loop: rank 1 for 2 loops
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      if (j == i) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][j]
        a[i][j] = 0;
      }
#pragma end_scop
}
