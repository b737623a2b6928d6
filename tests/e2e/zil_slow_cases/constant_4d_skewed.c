// Constant tiling of a 4-D box along four skewed hyperplanes of
// determinant 15: isl's code generator alone runs for minutes on its
// exact nest. Past the smaller budget of such tilings, the last mode scans
// the tiles of a box of tile counters, each with all its points tested.
// params: N M K
// arrays: A
// block_sizes: 1
// values: 0 0 0 | 3 2 5 | 9 7 11 | 20 20 20
// refusals: checked
// warning: constant_4d_skewed.c:27: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int K;
int A[100];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 0; i < M; i++)
    for (j = 0; j < K; j++)
      for (k = 0; k < M; k++)
        for (l = 0; l < N; l++) {
#pragma tile_group[0]
#pragma tile_size[5][4][7][4]
#pragma tile_hyperplans[-i + l][2 * j - k + l][2 * i + l][-i + j + 2 * k + 2 * l]
#pragma schedule[__T][__T][__T][__T][i][j][k][l]
          A[i + j + k + l] = A[i + j + k + l] + 1;
        }
#pragma end_scop
}
