// "-aligned-parameters": N is a multiple of block_size at every run.
// options: -aligned-parameters
// params: N
// arrays: A
// runs: 1 0 | 1 5 | 2 0 | 2 4 | 2 16 | 3 12 | 4 8 | 4 16 | 8 16 | 16 16 | 5 15
int N;
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 1; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i - 1][j] + A[i][j] - j;
    }
#pragma end_scop
}
