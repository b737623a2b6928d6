// Time-skewed in-place 1-D stencil under rectangular parametric (ZIL)
// tiling along the hyperplanes t and t + i: every dependence distance
// (0, 1), (1, -1), (1, 0) of (t, i) becomes non-negative in (t, t + i), so
// the tiles may run one after the other.
// params: N T
// arrays: s
// block_sizes: 1 2 3 5 8 16 64
// values: 0 0 | 1 4 | 10 3 | 33 7 | 64 10 | 64 1
int N;
int T;
int s[64];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[t][t + i]
#pragma schedule[__T][__T][t][i]
      s[i] = (s[i - 1] + 2 * s[i] + s[i + 1]) % 1009;
    }
#pragma end_scop
}
