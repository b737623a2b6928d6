// Ratios of 11 on five tiled loops over three sizes: most combinations of
// the pieces of the loops hold points, and crossing them takes more
// emptiness tests than the crossing's budget. The statement scans one
// convex superset of its pieces and tests each point against its domain.
// params: N M K
// arrays: A
// block_sizes: 1 2 3
// values: 0 0 0 | 4 1 2 | 2 4 3 | 3 3 4
// warning: ratios_split_product.c:27: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
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
