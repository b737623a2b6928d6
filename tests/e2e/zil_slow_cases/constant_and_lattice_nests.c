// A random valid program: three nests, constant tilings around a general
// tiling of 573 pieces whose nest exceeds the code generator's budgets;
// the last mode scans one convex superset per tiled statement, each point
// tested. Its tiles break the program's dependences for most sizes (the
// first nest's tiles along j + 1 after i + 3, the second's along j, the
// third's schedule that runs k backwards): the sizes below are those for
// which the order of the schedules is the original's, found by running the
// instances in schedule order apart from tarvex.
// params: N M
// arrays: A B C
// block_sizes: 1 2 3 5 8 16 64
// values: 0 2 | 1 2 | 0 3 | 1 3 | 0 9 | 5 -7
// runs: 5 0 0 | 8 1 0 | 64 0 0
// original_prelude: #define min(x,y) ((x)<(y)?(x):(y))
// original_prelude: #define max(x,y) ((x)<(y)?(y):(x))
// refusals: checked
// warning: constant_and_lattice_nests.c:36: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: constant_and_lattice_nests.c:47: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: constant_and_lattice_nests.c:58: warning: statement #2 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
double A[10][9];
double B[12][11];
int C[11][12];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 0; i <= N; i++) {
    for (j = 0; j < min(2 * N + 1, N + i + 1); j++) {
      for (k = i + 2; k < M; k++) {
#pragma tile_group[0]
#pragma tile_size[5][5][2]
#pragma tile_hyperplans[i + 3][k][j + 1]
#pragma schedule[1][__T][__T][__T][i][j][k]
        A[i + 2][k] = A[i + 2][k] * 0.5 + (2 * A[i][k] + 2 * A[i + 3][k] + -1 * A[i][k] + j) * 0.25;
      }
    }
  }
  for (i = 0; i < min(10, M + 4); i++) {
    for (j = M - 2; j < min(M, N + i + 1); j++) {
      for (k = max(0, N + 2 * j + 1); k <= 3; k++) {
#pragma tile_group[1]
#pragma tile_lattice[2][0][0][0][1][0][0][0][1]
#pragma tile_shape[i][2 * block_size - 1 - i][j][block_size - 1 - j][k][block_size - 1 - k]
#pragma schedule[1][__T][__T][__T][i][-i + j][k][1]
        B[j + 3][k + 1] = B[j + 3][k + 1] * 0.5 + (2 * B[j + 2][k + 2] + -1 * B[j + 3][k + 1] + k) * 0.25;
      }
    }
  }
  for (i = M - 3; i < N; i++) {
    for (j = i - 1; j < N; j++) {
      for (k = max(0, -M + 1); k < N; k++) {
#pragma tile_group[2]
#pragma tile_size[3][7][2]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[3][i][-k + N][j][__T][__T][__T]
        B[i + 3][j + 2] = B[i + 3][j + 2] * 0.5 + (C[j + 2][j + 2] + 2 * C[k + 1][j + 3] + i) * 0.25;
      }
    }
  }
#pragma end_scop
}
