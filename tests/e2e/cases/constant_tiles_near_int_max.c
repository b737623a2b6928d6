// Constant tiles [5][1] along [j][i] of loops that end at 2147483646 and
// 2147483647.
// params: N M K
// arrays: A
// values: 1073741823 2147483647 3 | -1073741825 7 7 | 4 -2147483000 1 | -2147483648 3 7 | 0 -2147483648 5 | 0 4 1 | 2 0 4 | 5 4 4
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int N;
int M;
int K;
int A[7][2];

void kernel() {
  int i, j, k, l;
#pragma begin_scop
  for (i = 2147483646 - K; i < 2147483646; i++) {
    for (j = 2147483647 - K; j < 2147483647; j++) {
#pragma tile_group[0]
#pragma tile_size[5][1]
#pragma tile_hyperplans[j][i]
#pragma schedule[__T][__T][i][j]
      A[j - 2147483647 + K][1] = A[j - 2147483647 + K][1] + 13 * (i - 2147483646 + K) + 3 * (j - 2147483647 + K) + 1;
    }
  }
#pragma end_scop
}
