// stderr: Tiling::apply: statement #0: __T may only mark a schedule dimension
// Read as a size parameter, the marker would reach the tiled code, which
// never declares it.
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j - __T]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + i;
    }
#pragma end_scop
}
