// A statement of a few instances (6 at most) under a rectangular tiling
// of ratios 8 whose domain has pieces: in the last mode, which its exact
// nests reach past their budget unforced, it scans their hull,
// tile by tile, and its loops are clamped by the ranges of its original
// counters, so that block_size 16384 (tiles 2^17 wide) runs in milliseconds
// rather than scanning whole tiles, here four of them where the domain meets
// their corner.
// params: N K
// arrays: A
// block_sizes: 1 2 3 16384
// values: 5 2 | 0 7 | 1 1 | 9 3
// runs: 16384 131073 131071 | 16384 16385 16383
// warning: superset_scan_rect_2d.c:28: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
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
#pragma tile_ratio[8][8]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i - K][j - N + 2] = A[i - K][j - N + 2] * 3 + i - j + 1;
    }
#pragma end_scop
}
