// stderr: Tiling::apply: statement #1: schedule dimension 1 uses a loop counter ahead of a tiled dimension it depends on
// The parametric tiling rewrites i over its index inside the tile; a date
// that orders by i before the tile of i is fixed cannot be kept.
int N;
int M;
int s[10];
int B[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i][0][0][0][0]
    s[i] = s[i] * 2 + i;
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][i][1][__T][__T][j]
      B[i][j] = B[i][j] + s[i];
    }
  }
#pragma end_scop
}
