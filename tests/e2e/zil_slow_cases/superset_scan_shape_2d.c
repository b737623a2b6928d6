// A statement of a few instances (9 at most) under a 2-D general tiling of
// diamond tiles on a lattice with a denominator. Its exact nest fits; with
// the last mode forced it scans its superset tile by tile, its loops
// clamped by the ranges of its original counters, so that block_size 16384
// or 2^20 runs in milliseconds rather than scanning whole tiles.
// params: N K
// arrays: A
// block_sizes: 2 4 16 16384 1048576
// values: 5 2 | 0 7 | 1 1 | 9 3 | 40000 3
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
#pragma tile_lattice[1][1][1][-1][2][2]
#pragma tile_shape[i + j][block_size - 1 - i - j][i - j][block_size - 1 - i + j]
#pragma schedule[0][__T][__T][i][j]
      A[i - K][j - N + 2] = A[i - K][j - N + 2] * 3 + i - j + 1;
    }
#pragma end_scop
}
