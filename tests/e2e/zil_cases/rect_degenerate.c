// A one-iteration inner loop (j = i) tiled along [i][j - i], and a loop
// with constant bounds 3..7 beside a parametric one.
// params: N
// arrays: A B
// block_sizes: 1 2 3 5
// values: 0 | 1 | 2 | 6 | 9
int N;
int A[10][10];
int B[10][10];
int min(int a, int b) { return a < b ? a : b; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < min(N, 7); i++)
    for (j = i; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j - i]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 2 + (i > 0 ? A[i - 1][j - 1] : 7);
    }
  for (i = 3; i < 8; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[1]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
      B[i][j] = (B[i][j] * 2 + (j > 0 ? B[i][j - 1] : 1) + (i > 3 ? B[i - 1][j] : 5)) % 1009;
    }
#pragma end_scop
}
