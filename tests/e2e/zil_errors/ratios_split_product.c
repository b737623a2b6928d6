// Ratios each within the limit of one constraint, too many pieces after the
// cross product of four tiled loops.
// stderr: Tiling::apply: statement #0: tile_ratio[11][11][11][11] would split the domain into about 20736 pieces, more than the limit of 10000
// not on stdout:   ZIL...
int N;
double A[8][8][8][8];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++)
        for (l = 0; l < N; l++) {
#pragma tile_group[0]
#pragma tile_ratio[11][11][11][11]
#pragma tile_hyperplans[i][j][k][l]
#pragma schedule[__T][__T][__T][__T][i][j][k][l]
          A[i][j][k][l] = A[i][j][k][l] * 2;
        }
#pragma end_scop
}
