// Constant tiling of a matrix multiply along i, j and k (tiles of 4).
// params: N
// arrays: A B C
// values: 0 | 1 | 3 | 4 | 7 | 8 | 13 | 16
int N;
double A[16][16];
double B[16][16];
double C[16][16];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_size[4][4][4]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
