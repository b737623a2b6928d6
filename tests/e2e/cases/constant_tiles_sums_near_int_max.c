// Constant tiles of a nest whose condition subtracts parameters near
// INT_MAX and INT_MIN: the original's sides stay in int, while the tiled
// nest's bounds add and subtract the parameters themselves (-M + N).
// params: N M
// arrays: A
// values: 2147483000 -2147483000 | 2147483647 -2147483639 | -2147483642 2147483647 | -2147483642 -2147483639 | 0 0 | 5 2 | 2 5 | -2147483000 -2147483003 | 2147483640 2147483646
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int N;
int M;
int A[6][6];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 6; i++)
    for (j = 0; j < 6; j++)
      if (i - N <= j + 3 - M) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
        A[i][j] = A[i][j] * 3 + i - 2 * j + 1;
      }
#pragma end_scop
}
