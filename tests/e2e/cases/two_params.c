// Two parameters and a rectangular iteration space, tiles of 3 by 5.
// params: N M
// arrays: A B
// values: 0 0 | 1 7 | 7 1 | 2 3 | 9 10 | 15 20
int N;
int M;
int A[15][20];
int B[15][20];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_size[3][5]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      B[i][j] = A[i][j] - B[i][j] * j;
    }
#pragma end_scop
}
