// Ratios each within the limit of one constraint, on five tiled loops over
// three sizes: most combinations of the pieces of the loops hold points,
// and crossing them takes more emptiness tests than the cross product's
// budget of work. Refused during the cross product.
// stderr: Tiling::apply: statement #0: tile_ratio[11][11][11][11][11] takes more than 10000 intersection tests to cross its pieces, more than its budget of work
// not on stdout: Coalescing...
int N;
int M;
int K;
double A[4][4][4][4][4];

void kernel() {
  int i, j, k, l, m;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++)
      for (k = 0; k < N; k++)
        for (l = 0; l < K; l++)
          for (m = 0; m < N; m++) {
#pragma tile_group[0]
#pragma tile_ratio[11][11][11][11][11]
#pragma tile_hyperplans[i][j][k][l][m]
#pragma schedule[__T][__T][__T][__T][__T][i][j][k][l][m]
            A[i][j][k][l][m] = A[i][j][k][l][m] * 2;
          }
#pragma end_scop
}
