// A hyperplane over a name declared nowhere (k for the counter j) would be
// read as a size parameter, leaving the tiled code without a variable k.
// stderr: Tiling::apply: statement #0: 'k' is not declared
int N;
int a[10][10];
void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][k]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
