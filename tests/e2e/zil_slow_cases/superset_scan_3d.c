// A statement of at most 40 instances on the superset path, under a 3-D general
// tiling: its loops are clamped by the ranges of its original counters, so
// that block_size 16384 runs in milliseconds rather than scanning whole tiles.
// params: N K
// arrays: A
// block_sizes: 1 2 16 1024 16384
// values: 5 2 | 0 7 | 1 7
// warning: superset_scan_3d.c:25: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int K;
long A[2][5];
int min(int a, int b) { return a < b ? a : b; }
void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = K - N; i < K - N + 2; i++) {
    if (3 + i <= 2) {
      for (j = 0; j < min(N, 4); j++) {
        for (k = i; k < min(i + 5, N + 4); k++) {
          if (j - K + K >= K) {
#pragma tile_group[0]
#pragma tile_lattice[-1][0][0][-1][-2][-1][1][1][0]
#pragma tile_shape[-i][block_size - 1 + i][2 * i + 2 * k][2 * block_size - 1 - 2 * i - 2 * k][-j - k][block_size - 1 + j + k]
#pragma schedule[0][__T][__T][__T][k][j][i][0]
            A[i - K + N][k - i] = A[i - K + N][k - i] ^ (13 * (i - K + N) + (j) + 11 * (k - i) + K % 1000);
          }
        }
      }
    }
  }
#pragma end_scop
}
