// One 2-D nest with an if and an else, each statement under tile_ratio[1][3]
// on the hyperplanes 2i + j + N and i + j + N: 211 and 419 pieces, whose
// nest exceeds the code generator's budget even with every instance
// together; the last mode scans one convex superset of each statement's
// pieces, each point tested.
// params: N M
// arrays: A B
// block_sizes: 1 2 3 5
// values: 0 0 | 1 1 | 5 3 | 12 12 | 7 11 | 3 12
// warning: ratio_skewed_ifelse.c:27: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: ratio_skewed_ifelse.c:33: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
double A[12][12];
double B[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
      if (i + j < M) {
#pragma tile_group[0]
#pragma tile_ratio[1][3]
#pragma tile_hyperplans[2 * i + j + N][i + j + N]
#pragma schedule[__T][__T][i][j][0]
        A[i][j] = A[i][j] * 0.5 + i - j;
      } else {
#pragma tile_group[0]
#pragma tile_ratio[1][3]
#pragma tile_hyperplans[2 * i + j + N][i + j + N]
#pragma schedule[__T][__T][i][j][1]
        B[i][j] = B[i][j] * 0.25 + i + j;
      }
    }
#pragma end_scop
}
