// A constant tiling along skewed hyperplanes and a rectangular one share a
// date whose values lie near 2147483000 for one and near -1073741822 for
// the other: the last mode's loop on it jumps between the two spans rather
// than running the three billion values between them.
// params: N
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// refusals: checked
// original_prelude: #define min(x, y) ((x) < (y) ? (x) : (y))
// arrays: A B C
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 2147483643 | -2147483600 | 1073741824 | -2147483000 | -2147483641 | 1 | 2 | 7
// warning: far_apart_dates_in_scans.c:29: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: far_apart_dates_in_scans.c:34: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
long A[3][2][2];
int B[6][5];
long C[3][3];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = N; i < N + 3; i++) {
    for (j = 2147483000; j < 2147483000 + 6; j++) {
      for (k = 1073741820; k < min(1073741820 + 3, 2147483647); k++) {
#pragma tile_group[0]
#pragma tile_size[7][4][2]
#pragma tile_hyperplans[-j + 2 * k][-i - k][i + j + 2 * k]
#pragma schedule[i][j][j + k][__T][__T][__T]
        A[i - N][1][1] = A[i - N][1][1] ^ (11 * (i - N) + 7 * (j - 2147483000) + 3 * (k - 1073741820) + N % 13 + B[j - 2147483000 - 1 + 1][k - 1073741820]);
#pragma tile_group[1]
#pragma tile_ratio[1][1][1]
#pragma tile_hyperplans[i + j][-k][i + 2]
#pragma schedule[__T][__T][__T][-i][j][k]
        C[i - N][k - 1073741820] = C[i - N][k - 1073741820] + 7 * (i - N) + 11 * (j - 2147483000) + (k - 1073741820) + N % 13 + B[i - N - 1 + 1][k - 1073741820 + 2] + 1;
      }
    }
  }
#pragma end_scop
}
