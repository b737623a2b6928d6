// Skewed hyperplanes: [i + j][j] on a wavefront kernel, and the
// time-skewed in-place stencil [t][t + i]; both respect the dependences.
// params: N T
// arrays: A s
// block_sizes: 1 2 3 4 5 8 20
// values: 0 0 | 1 1 | 3 2 | 5 4 | 9 3 | 16 5 | 16 1 | 2 7
int N;
int T;
int A[16][16];
int s[16];

void kernel() {
  int i, j, t;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i - 1][j] - A[i][j - 1] + 1;
    }
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[1]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[t][t + i]
#pragma schedule[1][__T][__T][t][i]
      s[i] = (s[i - 1] + 2 * s[i] - s[i + 1]) % 101;
    }
#pragma end_scop
}
