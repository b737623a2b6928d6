// A tile ratio of 100 on skewed hyperplanes: the bounds of t + i, crossed
// with one another before the rest, already give more than 2000 pieces,
// whose coalescing alone ran for minutes. The crossing stops at its budget
// and the statement scans one convex superset of its pieces, each point
// tested against its domain.
// params: N T
// arrays: s
// block_sizes: 1 2 3 7
// values: 0 0 | 1 5 | 5 1 | 17 9 | 64 12
// warning: ratio_skewed_group.c:24: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int T;
int s[64];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1][100]
#pragma tile_hyperplans[t][t + i]
#pragma schedule[__T][__T][t][i]
      s[i] = (s[i - 1] + 2 * s[i] + s[i + 1]) % 1009;
    }
#pragma end_scop
}
