// Matrix multiply, rectangular parametric tiling along i, j and k.
int N;
double A[512][512];
double B[512][512];
double C[512][512];

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
