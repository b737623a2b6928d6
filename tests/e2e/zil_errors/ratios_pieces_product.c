// Moderate ratios that differ from one dimension to the next: few pieces
// per constraint, too many after the cross product.
// stderr: Tiling::apply: statement #0: tile_ratio[5][4][3] would split the domain into about 120 pieces, more than the limit of 100
// not on stdout:   ZIL...
int N;
double A[8][8][8];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[5][4][3]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        A[i][j][k] = A[i][j][k] * 2;
      }
#pragma end_scop
}
