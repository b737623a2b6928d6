// Constant tiles of 2147483647 along skewed hyperplanes, beside an untiled
// statement in one date space: the exact nests and the else schedule
// exceed their budgets on the tiles' large coefficients, and the box form,
// each point of the box of the original counters in its tile, fits.
// params: K M
// arrays: W0 R0 W1 R1
// values: 0 -2 | -2 -4 | 4 2147483644 | 4 1073741822 | -2147483640 0 | 1073741820 4 | -4 -2147483643
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
// original_prelude: #define min(x, y) ((x) < (y) ? (x) : (y))
// original_prelude: #define max(x, y) ((x) < (y) ? (y) : (x))
// warning: constant_tiles_of_int_max_skewed.c:32: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int K;
int M;
int W0[3][2][5];
int R0[5];
int W1[3][2][5];
int R1[5];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = -K; i <= -K + 2; i++) {
    for (j = max(-M, i + 1); j <= i + 2; j++) {
      for (k = 1; k < min(6, -M); k++) {
#pragma schedule[1][i][j][k]
        W0[i + K][j - i - 1][k - 1] = W0[i + K][j - i - 1][k - 1] * 5 + 4 * (i + K) + 13 * (j - i - 1) + R0[k - 1] + k % 5 + 6;
        if (k - j + 2 * i + K <= K + 3) {
#pragma tile_group[1]
#pragma tile_size[2147483647][7][1]
#pragma tile_hyperplans[-i - j + 2 * k][i - j + 2 * k][-i + j + k]
#pragma schedule[0][__T][__T][__T][i][j][k]
          W1[i + K][j - i - 1][k - 1] = W1[i + K][j - i - 1][k - 1] * 5 + 5 * (i + K) + R1[k - 1] + K % 7 + 9;
        }
      }
    }
  }
#pragma end_scop
}
