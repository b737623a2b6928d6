// Symmetric rank-k update C = C + A A^T on the lower triangle, loops i,
// j <= i, k, tiled along i, j and k in that order.
// params: N M
// sizes: 1536 1536
// arrays: A C
int N;
int M;
double A[1536][1536];
double C[1536][1536];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j <= i; j++)
      for (k = 0; k < M; k++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * A[j][k];
      }
#pragma end_scop
}
