// Nested max/min in both bounds of both loops, with constants and N.
// params: N
// arrays: A B
// values: 0 | 1 | 2 | 3 | 4 | 7 | 10 | 16
int N;
int A[16][16];
int B[16][16];
int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a < b ? b : a; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = max(1, N - 10); i < min(N, 14); i++)
    for (j = max(0, i - 3); j <= min(N - 1, i + 3); j++) {
#pragma tile_group[0]
#pragma tile_size[3][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i - 1][j] + A[i][j] * 2 + 1;
    }
  for (i = 0; i < N; i++)
    for (j = max(max(0, i - 2), N - 12); j < min(min(N, i + 5), 2 * i + 1); j++) {
#pragma schedule[1][i][j][0][0]
      B[i][j] = B[i][j] + A[i][j] - j;
    }
#pragma end_scop
}
