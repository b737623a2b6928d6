// Affine bounds written with negated constants (-2 * N, M * -1) and min/max
// nested in either argument, under constant tiling.
// params: N M
// arrays: C
// values: 0 0 | 3 -2 | -4 5 | 2 2 | 5 -3 | -1 -1
int N, M;
int C[24][24];
int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a < b ? b : a; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = max(-12, -2 * N - 1); i < min(11, min(M * -1 + 6, 3 * 3)); i++)
    for (j = max(max(-12, i - 4), max(M * -2, -N)); j <= min(11, -i + 2 * 2); j++) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i - 2 * j][j]
#pragma schedule[__T][__T][i][j]
      C[i + 12][j + 12] = C[i + 12][j + 12] + i - 2 * j;
    }
#pragma end_scop
}
