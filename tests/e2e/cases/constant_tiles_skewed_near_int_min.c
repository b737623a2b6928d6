// Constant tiles along the skewed [i + j][j] of loops that start at a
// parameter near INT_MIN or INT_MAX: the hyperplane i + j and its tile
// counters leave int, while the statement's own values stay in it.
// params: M
// arrays: A
// values: -2147483648 | -2147483643 | 2147483640 | 0 | -7 | 1073741824 | -1073741825
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int M;
int A[5][6];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = M; i < M + 5; i++)
    for (j = M + 1; j < M + 7; j++) {
#pragma tile_group[0]
#pragma tile_size[4][3]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[__T][__T][i][j]
      A[i - M][j - M - 1] = A[i - M][j - M - 1] * 3 + (i - M) - 2 * (j - M) + 1;
    }
#pragma end_scop
}
