// Statements at depths 1 and 2 sharing one rectangular tile group, the
// deeper one interleaved between the tiles ([__T][1][__T][i][j]).
// params: N M
// arrays: A s u
// block_sizes: 1 2 3 4 11
// values: 0 0 | 1 0 | 0 1 | 1 1 | 5 9 | 9 5 | 10 10
int N;
int M;
int A[10][10];
int s[10];
int u[10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][0][i][0][0]
    s[i] = s[i] * 2 + i;
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][1][__T][i][j]
      A[i][j] = A[i][j] + s[i] - j;
    }
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][2][i][0][0]
    u[i] = u[i] + A[i][0] * s[i];
  }
#pragma end_scop
}
