// A random valid program: tile_ratio[2][1][2] on skewed hyperplanes with
// aligned parameters, beside a constant tiling along one hyperplane of two
// loops. The crossing of the first statement's pieces exceeds its budget:
// it scans one convex superset of them, each point tested.
// params: S1 tile_group2 inner
// arrays: A B C
// block_sizes: 1 2 3 5 8
// values: 0 0 0 | 2 2 2 | 1 8 8 | 5 1 5 | 7 2 5 | 3 7 0 | 1 8 3 | 8 6 7
// options: -aligned-parameters
// original_prelude: #define min(x,y) ((x)<(y)?(x):(y))
// refusals: checked
// warning: ratios_skewed_aligned.c:31: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int S1;
int tile_group2;
int inner;
long A[35][9];
int B[5][9];
int C[8][4];

void kernel() {
  int t, ii, c, jj;
#pragma begin_scop
  for (t = 0; t < 5; t++) {
    for (ii = 0; ii < S1 + 1; ii++) {
      for (c = 0; c < min(inner, inner + 1); c++) {
        if (tile_group2 + 5 > 1) {
#pragma tile_group[0]
#pragma tile_ratio[2][1][2]
#pragma tile_hyperplans[t][2 * ii + c][2 * t + ii + c]
#pragma schedule[__T][__T][__T][t][ii][c][0]
          A[t + 2 * c][ii] = A[t + 2 * c][ii] + 7 * t + 31 * ii + 3 * c + tile_group2 + B[t][ii] + min(t, ii) + 1;
        }
      }
    }
  }
  for (t = 0; t < min(7, 4); t++) {
    for (ii = 5; ii < min(t + 3, 2 * t + 1); ii++) {
#pragma tile_group[1]
#pragma tile_size[3]
#pragma tile_hyperplans[t + inner]
#pragma schedule[__T][t][ii]
      C[ii + 2][t] = C[ii + 2][t] + 31 * t + 11 * ii + 1;
    }
  }
#pragma end_scop
}
