// A statement of a few instances (18 at most) under a 3-D rectangular tiling
// of ratios 4 whose domain has pieces: in the last mode it scans their hull
// tile by tile, its loops clamped by the ranges of its original counters, so
// that block_size 16384 (tiles 2^16 wide) runs in milliseconds rather than
// scanning whole tiles, here eight of them where the domain meets their
// corner.
// params: N K
// arrays: A
// block_sizes: 1 2 3 16384
// values: 5 2 | 0 7 | 1 1 | 9 3
// runs: 16384 65537 65536 | 16384 65538 65535
// warning: superset_scan_rect_3d.c:28: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int K;
long A[3][3][2];
int min(int a, int b) { return a < b ? a : b; }

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = K - 1; i < min(K + 2, N); i++)
    for (j = N - 2; j <= N; j++)
      for (k = K - 1; k <= K; k++) {
#pragma tile_group[0]
#pragma tile_ratio[4][4][4]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[0][__T][__T][__T][i][j][k]
        A[i - K + 1][j - N + 2][k - K + 1] = A[i - K + 1][j - N + 2][k - K + 1] * 3 + i - j + k + 1;
      }
#pragma end_scop
}
