// Rectangular ZIL on a triangle j <= i (ratios 2, 1) and a trapezoid
// i + j < N (ratios 1, 3).
// params: N
// arrays: A cnt
// block_sizes: 1 2 3 4 5 8 20
// values: 0 | 1 | 2 | 3 | 5 | 7 | 11 | 16
int N;
int A[16][16];
int cnt[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = (A[i][j] * 2 + (j > 0 ? A[i][j - 1] : 1) + (i > 0 ? A[i - 1][j] : 0)) % 1009;
    }
  for (i = 0; i < N; i++)
    for (j = 0; i + j < N; j++) {
#pragma tile_group[1]
#pragma tile_ratio[1][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
      cnt[i][j] = cnt[i][j] + 1 + i;
    }
#pragma end_scop
}
