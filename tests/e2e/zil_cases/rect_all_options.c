// The three options together, two parameters both multiples of block_size.
// options: -aligned-parameters -min-block-size 2 -positive-parameters
// params: N M
// arrays: A
// runs: 2 0 0 | 2 4 2 | 2 16 16 | 3 12 6 | 4 8 16 | 5 15 10 | 8 16 8 | 16 16 16
int N;
int M;
int A[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = (A[i][j] + (i > 0 ? A[i - 1][j] : 3) * 2 - (j > 0 ? A[i][j - 1] : 1)) % 1013;
    }
#pragma end_scop
}
