// A random valid program: a constant tiling, a 3-D general tiling on a
// lattice of halves whose pieces (3739 once crossed) exceed the crossing's
// budget, and an untiled loop. The tiled statement scans one convex
// superset of its pieces, each point tested.
// params: N M K
// arrays: A B C D
// block_sizes: 2 3 4 6 8 16
// values: 0 0 0 | 1 2 2 | 1 3 0 | 1 2 8 | 8 0 5 | 8 8 8
// original_prelude: #define min(x,y) ((x)<(y)?(x):(y))
// refusals: checked
// warning: lattice_halves_thousands.c:42: warning: statement #1 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int K;
int A[4][5];
int B[11][9];
long C[10][9][9];
int D[8];

void kernel() {
  int i, j, k, l;
  int nm = M;
#pragma begin_scop
  for (i = N - 1; i < min(10, 2); i++) {
    for (j = 0; j < i + 1; j++) {
      if (2 * K <= 0 && nm + 3 > 0) {
#pragma tile_group[0]
#pragma tile_size[1][5]
#pragma tile_hyperplans[i][-i + j]
#pragma schedule[1][__T][__T][j][i]
        A[j + 2][i - nm + 3] = A[j + 2][i - nm + 3] + 17 * i + 1 * j + B[i + 9][j] + B[i + 6][i] + min(i, j) + 1;
      }
    }
  }
  for (i = 0; i < K + 1; i++) {
    for (j = i + 1; j <= M; j++) {
      for (k = 0; k < min(M, 2 * nm + 4); k++) {
#pragma tile_group[1]
#pragma tile_lattice[4][0][0][3][1][1][1][1][-1][2][2][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j + k][block_size - 1 - j - k][j - k][2 * block_size - 1 - j + k]
#pragma schedule[3][__T][__T][__T][i][j][k]
        C[k][i][i] = C[k][i][i] + 17 * i + 31 * j + 7 * k + M + B[k - K + 8][i + 1] + D[k] + 1;
      }
    }
  }
  for (i = 3; i <= M; i++) {
#pragma schedule[5][i]
    C[i + 1][i][i] = C[i + 1][i][i] + 13 * i + 1;
  }
#pragma end_scop
}
