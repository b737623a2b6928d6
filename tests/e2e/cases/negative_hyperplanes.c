// Hyperplanes with negative coefficients ([-i][j - i]), an offset
// (2 * i + 1) and [i + j][i] on a dependence-carrying stencil.
// params: N
// arrays: A B cnt
// values: 0 | 1 | 2 | 3 | 5 | 8 | 13 | 16
int N;
int A[16][16];
int B[16];
int cnt[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[3][4]
#pragma tile_hyperplans[-i][j - i]
#pragma schedule[0][__T][__T][i][j]
      cnt[i][j] = cnt[i][j] + 1 + i * 16 + j;
    }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_size[4]
#pragma tile_hyperplans[2 * i + 1]
#pragma schedule[1][__T][i][0]
    B[i] = B[i] * 2 + i;
  }
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[2]
#pragma tile_size[2][5]
#pragma tile_hyperplans[i + j][i]
#pragma schedule[2][__T][__T][i][j]
      A[i][j] = (A[i - 1][j] + A[i][j - 1] * 3) % 1001;
    }
#pragma end_scop
}
