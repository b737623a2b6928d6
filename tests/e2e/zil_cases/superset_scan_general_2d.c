// A statement of a few instances (6 at most) under a skewed general tiling
// whose domain has pieces: in the last mode it scans their hull, tile by
// tile, and its loops are clamped by the ranges of its original counters,
// so that block_size 16384 runs in milliseconds.
// params: N K
// arrays: A
// block_sizes: 1 2 3 16384
// values: 5 2 | 0 7 | 1 1 | 9 3
int N;
int K;
long A[3][3];
int min(int a, int b) { return a < b ? a : b; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = K; i < min(K + 3, N); i++)
    for (j = N - 2; j <= N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][i + j]
#pragma schedule[0][__T][__T][i][j]
      A[i - K][j - N + 2] = A[i - K][j - N + 2] * 3 + i - j + 1;
    }
#pragma end_scop
}
