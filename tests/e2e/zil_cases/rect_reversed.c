// Rectangular ZIL along [-i][-j] and [N - 1 - i]: tiles run backwards;
// no dependence.
// params: N M
// arrays: A B
// block_sizes: 1 2 3 4 5 8 20
// values: 0 0 | 1 1 | 2 3 | 5 5 | 9 2 | 16 16 | 3 16
int N;
int M;
int A[16][16];
int B[16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[-i][-j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 2 + i - 5 * j;
    }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_ratio[3]
#pragma tile_hyperplans[N - 1 - i]
#pragma schedule[1][__T][i][0]
    B[i] = B[i] * 2 + 1 + i;
  }
#pragma end_scop
}
