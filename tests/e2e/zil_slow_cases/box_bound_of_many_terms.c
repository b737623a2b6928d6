// Three statements of a random program, with names near the generated ones,
// under constant tiles and a tile ratio past its crossing budget: with the
// box form forced, a lower bound of the nest is the max of 21 terms, nested
// calls that must compile as written.
// warning: box_bound_of_many_terms.c:40: warning: statement #2 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// params: inner theta
// arrays: A B C D
// block_sizes: 1 2 3 5 8 16 64
// values: 0 0 | 2 1 | 1 9 | 3 7 | 2 0 | 9 8
// original_prelude: #define min(x, y) ((x) < (y) ? (x) : (y))
// original_prelude: #define max(x, y) ((x) < (y) ? (y) : (x))
int inner;
int theta;
int A[10][30][18];
long B[9][3][20];
double C[18][18];
int D[9][9];

void kernel() {
  int c2, c0_1, c1, c3_0;
  int nk_ = theta + 1;
#pragma begin_scop
  for (c2 = 0; c2 < inner; c2++) {
    for (c0_1 = -c2 + 2; c0_1 <= min(2 * c2 + 3, nk_ + 3); c0_1++) {
      for (c1 = max(5, -c0_1 + 2); c1 < min(theta, -inner + 2 * c2 + 2); c1++) {
#pragma tile_group[0]
#pragma tile_size[3][4][1]
#pragma tile_hyperplans[c2 + c0_1 + 2 * c1][-c0_1 - c1][2 * c2 + c0_1]
#pragma schedule[1][__T][__T][__T][-c2][c0_1][c1]
        A[c2 + 1][c2 + 2 * c1 + 7][c1 + 7] = A[c2 + 1][c2 + 2 * c1 + 7][c1 + 7] ^ (3 * c2 + 31 * c0_1 + 31 * c1 + (c2 > c1 ? 1 : 2));
#pragma tile_group[1]
#pragma tile_size[2][4][7]
#pragma tile_hyperplans[-c2 + c0_1 + c1][c1][c2]
#pragma schedule[2][__T][__T][__T][c0_1][c1][c2]
        B[c2][-c2 + c1 + 3][c0_1 + 2 * c1 - nk_ + 2] = B[c2][-c2 + c1 + 3][c0_1 + 2 * c1 - nk_ + 2] ^ (17 * c2 + 1 * c0_1 + 11 * c1 + (int)(C[c0_1 + 5][c0_1 + 5] * 7) + (c2 > c1 ? 1 : 2));
#pragma tile_group[2]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[c2 + 2 * c0_1][c2 + 3 * c0_1][c2 + 3 * c0_1 + c1 + 1]
#pragma schedule[3][__T][__T][__T][c2][-c1 + inner][c0_1]
        A[c2][c0_1 + 5][c0_1 + 5] = A[c2][c0_1 + 5][c0_1 + 5] ^ (17 * c2 + 3 * c0_1 + 1 * c1 + D[c2][c2]);
      }
    }
  }
#pragma end_scop
}
