// stderr: Tiling::apply: statement #0: 'k' is not declared
int N;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][k + j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = 0;
    }
#pragma end_scop
}
