// A matrix multiply whose size is a #define, not a parameter: the constant
// bounds become hidden parameters, so the tiling costs what it costs with a
// parameter N, and the tiles do not fit the size.
// params:
// arrays: A B C
// block_sizes: 1 2 3 7 16 33 64 99 100 101 128
// values:
#define N 100
double A[N][N];
double B[N][N];
double C[N][N];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][2]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
