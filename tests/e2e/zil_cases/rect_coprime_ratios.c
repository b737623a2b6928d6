// Tile ratios that the longer does not divide: the last tiles along i and
// j differ in the remainders of N / block_size modulo 5 and of M /
// block_size modulo 4, 30 pieces.
// params: N M
// arrays: A
// block_sizes: 1 2 3 4 7
// values: 0 0 | 1 5 | 6 2 | 9 11 | 12 12 | 11 3
int N;
int M;
double A[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[5][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * 0.5 + i - j;
    }
#pragma end_scop
}
