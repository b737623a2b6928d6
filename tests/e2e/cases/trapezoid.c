// Trapezoidal domain i + j < N; the second statement tiles along [j][i]
// with other sizes.
// params: N
// arrays: A cnt
// values: 0 | 1 | 2 | 3 | 5 | 8 | 13 | 16
int N;
int A[16][16];
int cnt[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; i + j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[4][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j][0]
      cnt[i][j] = cnt[i][j] + 1;
#pragma tile_group[1]
#pragma tile_size[5][2]
#pragma tile_hyperplans[j][i]
#pragma schedule[__T][__T][i][j][1]
      A[i][j] = A[i][j] * 2 + i - 3 * j;
    }
#pragma end_scop
}
