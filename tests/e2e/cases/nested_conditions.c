// Nested ifs, an equality condition, and an else after 2 * j > i + 1,
// under constant tiling with two parameters.
// params: N M
// arrays: A B C
// values: 0 0 | 1 1 | 2 3 | 5 4 | 8 8 | 12 3 | 3 12 | 12 12
int N;
int M;
int A[12][12];
int B[12][12];
int C[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
      if (i + j < N) {
        if (i >= 2 && j <= M - 3) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
          A[i][j] = A[i][j] * 2 + i;
        }
      } else {
#pragma tile_group[1]
#pragma tile_size[2][5]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
        B[i][j] = B[i][j] - j + A[i][j];
      }
      if (i == j) {
#pragma schedule[2][i][j][0][0]
        C[i][j] = C[i][j] + 100;
      }
      if (2 * j > i + 1) {
#pragma schedule[3][i][j][0][0]
        C[i][j] = C[i][j] * 3;
      } else {
#pragma schedule[4][i][j][0][0]
        C[i][j] = C[i][j] - 1;
      }
    }
#pragma end_scop
}
