// Matrix multiply C = C + A B, loops i, j, k, under rectangular parametric
// tiling along i, j and k; inside a tile the loops keep that order, so the
// innermost loop is the reduction along k.
// params: N
// sizes: 1536
// arrays: A B C
int N;
double A[1536][1536];
double B[1536][1536];
double C[1536][1536];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
