// Nine instances at most under a ratio tiling whose points are scanned
// along skewed dates (i + j, then j): in the last mode, and in its box
// form, the loop on i + j is clamped through the range of j, which the
// loop inside it runs, so that block_size 2^30 runs a few dates per tile
// rather than the three billion of a tile's diagonal. The runs at 2^30
// hold no instance: the nest tarvex chooses, isl's exact one, runs those
// three billion dates whenever an instance lies in the tile (seconds a
// call).
// params: N K
// arrays: A
// block_sizes: 1 3 1048576
// values: 3 1 | 7 0 | 9 4 | 6 6 | 1 3
// runs: 1048576 2147483646 2147483644 | 1073741824 1 3 | 1073741824 0 7 | 1073741824 6 6
int N;
int K;
long A[3][3];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = K; i < K + 3 && i < N; i++)
    for (j = N - 2; j <= N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i + j][j]
      A[i - K][j - N + 2] = A[i - K][j - N + 2] * 3 + i - j + 1;
    }
#pragma end_scop
}
