// stderr: skewed_bound_beyond_int_rows.c:22: error: the value 2147483650 is too large for the bounds and conditions on this line: the constraint rows hold int values only
// A rectangular tiling of loops near INT_MAX whose check of the tiling
// simplifies a domain into a row beyond int: refused at the statement's
// line, not with a message of neither file nor line.
int K;
int N;
int W0[3][1][5];
int R0[5];
int W1[3][1][5];
int R1[5];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = K; i <= min(K + 2, K + N - 1); i++) {
    for (j = max(2147483646, i + 2); j < min(2147483647, K + 2147483646); j++) {
      for (k = N + K + j; k < N + K + j + 5; k++) {
#pragma tile_group[0]
#pragma tile_ratio[3][3][1]
#pragma tile_hyperplans[i - 1][j][k]
#pragma schedule[0][__T][i][__T][j][__T][k]
        W0[i - K][j - 2147483646][k - N - K - j] = W0[i - K][j - 2147483646][k - N - K - j] * -1 + R0[k - N - K - j] + K % 7 + 5;
#pragma tile_group[1]
#pragma tile_size[1][3]
#pragma tile_hyperplans[i + j + k][i - j]
#pragma schedule[1][__T][__T][i][j][k]
        W1[i - K][j - 2147483646][k - N - K - j] = W1[i - K][j - 2147483646][k - N - K - j] * 2 + 10 * (j - 2147483646) + 6 * (k - N - K - j) + R1[k - N - K - j] + K % 7 + 9;
      }
    }
  }
#pragma end_scop
}
