// "-min-block-size 4": block_size is at least 4 at every run.
// options: -min-block-size 4
// params: N
// arrays: A
// block_sizes: 4 5 8 16 20
// values: 0 | 1 | 3 | 4 | 9 | 13 | 16
int N;
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 1; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j - 1] + A[i][j] + i;
    }
#pragma end_scop
}
