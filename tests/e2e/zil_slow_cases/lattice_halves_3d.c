// A random valid program: a 3-D general tiling on a lattice of halves over
// a domain bounded by max and min, then two statements sharing 1-D general
// tiles. The crossing of the first statement's pieces exceeds its budget:
// it scans one convex superset of them, each point tested.
// params: N M
// arrays: A B C D
// block_sizes: 2 3 4 6 8 16
// values: 0 0 | 2 1 | 4 4 | 5 4 | 1 9 | 0 5 | 7 8
// original_prelude: #define min(x,y) ((x)<(y)?(x):(y))
// original_prelude: #define max(x,y) ((x)<(y)?(y):(x))
// refusals: checked
// warning: lattice_halves_3d.c:30: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int A[20][21][21];
int B[20];
int C[58];
double D[20];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 0; i < min(M - 1, N + 2); i++) {
    for (j = 1; j < M - i + 1; j++) {
      for (k = max(0, N + 2 * i + 2); k < min(10, N + 4); k++) {
#pragma tile_group[0]
#pragma tile_lattice[2][0][0][-1][1][1][1][1][-1][2][2][2]
#pragma tile_shape[i][block_size - 1 - i][j + k][block_size - 1 - j - k][j - k][block_size - 1 - j + k]
#pragma schedule[1][__T][__T][__T][i][j][k]
        A[i][k + 3][j + 1] = A[i][k + 3][j + 1] + 17 * i + 17 * j + 7 * k + M + 1;
      }
    }
  }
  for (i = 0; i < 2 * M + 2; i++) {
#pragma tile_group[1]
#pragma tile_lattice[-1]
#pragma tile_shape[-i][block_size - 1 + i]
#pragma schedule[2][__T][i][0]
    A[i][i][i] = A[i][i][i] + 11 * i + B[i] + C[3 * i] + 1;
#pragma tile_group[1]
#pragma tile_lattice[-1]
#pragma tile_shape[-i][block_size - 1 + i]
#pragma schedule[2][__T][i][1]
    A[2][i + 1][i + 1] = A[2][i + 1][i + 1] + 7 * i + N + (int)(D[i] * 7) + 1;
  }
#pragma end_scop
}
