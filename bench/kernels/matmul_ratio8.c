// Matrix multiply under rectangular parametric tiling with a long third
// tile side (tile_ratio[1][1][8]).
// params: N
// arrays: A B C
// block_sizes: 1 2 3
// values: 0 | 1 | 5 | 12 | 17
int N;
double A[17][17];
double B[17][17];
double C[17][17];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][8]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
