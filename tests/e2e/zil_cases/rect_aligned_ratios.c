// "-aligned-parameters" with ratios 2 and 3: N and M are multiples of
// block_size but not of the tile sides.
// options: -aligned-parameters
// params: N M
// arrays: A
// runs: 1 0 0 | 1 3 5 | 2 6 4 | 2 2 10 | 3 9 3 | 3 15 12 | 4 4 12 | 5 15 15 | 16 16 16 | 2 0 6
int N;
int M;
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = i; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = (A[i][j] + (i > 0 ? A[i - 1][j] : 3) * 2 - (j > 0 ? A[i][j - 1] : 1)) % 1013;
    }
#pragma end_scop
}
