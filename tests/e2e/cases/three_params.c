// Three parameters and tile sizes 2, 5, 3 on a 3-D nest.
// params: N M P
// arrays: A
// values: 0 0 0 | 1 1 1 | 2 5 3 | 7 3 6 | 8 8 8 | 5 1 8
int N;
int M;
int P;
int A[8][8][8];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++)
      for (k = 0; k < P; k++) {
#pragma tile_group[0]
#pragma tile_size[2][5][3]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        A[i][j][k] = (A[i][j][k] + (i > 0 ? A[i-1][j][k] : 1) * 2 + (k > 0 ? A[i][j][k-1] : 3)) % 1013;
      }
#pragma end_scop
}
