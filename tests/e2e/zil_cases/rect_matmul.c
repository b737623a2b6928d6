// Rectangular parametric tiling of a matrix multiply.
// params: N
// arrays: A B C
// block_sizes: 1 2 3 4 5 8 16
// values: 0 | 1 | 2 | 3 | 5 | 7 | 11 | 12
int N;
double A[12][12];
double B[12][12];
double C[12][12];

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
