// Constant tile sizes far larger than their loops (1000000, 100000000 and
// INT_MAX: one tile each), beside a rectangular parametric tiling. Their
// tiles are long thin sets, whose emptiness the code generator decides
// while it reads the script.
// params: N
// arrays: A B C D
// block_sizes: 1 3 16
// values: 0 | 1 | 5 | 16
// warning: constant_tiles_past_their_loops.c:28: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: constant_tiles_past_their_loops.c:35: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: constant_tiles_past_their_loops.c:43: warning: statement #2 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: constant_tiles_past_their_loops.c:50: warning: statement #3 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int A[16][16];
int B[18];
int C[16];
int D[16][14];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < 14; j++) {
#pragma tile_group[0]
#pragma tile_size[4][1000000]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      A[i][j] = A[i][j] * 3 + B[j + 2] - 16;
    }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_size[100000000]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i]
    C[i] = C[i] * 2 + A[i][0];
  }
  for (i = 0; i < N; i++)
    for (j = 0; j < 14; j++) {
#pragma tile_group[2]
#pragma tile_size[2147483647][2147483647]
#pragma tile_hyperplans[i][j]
#pragma schedule[2][__T][__T][i][j]
      D[i][j] = D[i][j] + C[i] * j;
    }
  for (i = 0; i < N; i++) {
#pragma tile_group[3]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[3][__T][i]
    B[i] = B[i] + C[i] + D[i][3];
  }
#pragma end_scop
}
