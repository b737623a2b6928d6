// Bounds and conditions near INT_MIN written with -2147483648, the negation
// of a long literal: it is an int, and j > -2147483648 is the int row
// j + 2147483647 >= 0. A long literal within int (6L) is an int as well.
// params: N
// arrays: A
// block_sizes: 1 2 3 7 1073741824
// values: 4 | 0 | 1 | 8 | 3
// cxxflags: -fsanitize=signed-integer-overflow -fno-sanitize-recover
int N;
int A[8][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    for (j = -2147483648 + 1; j < -2147483648 + 6L; j++) {
      if (j > -2147483648) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[-j][i]
#pragma schedule[__T][__T][i][j]
        A[i][j + 2147483647] = A[i][j + 2147483647] + 3 * i + (j + 2147483647) + 1;
      }
    }
  }
#pragma end_scop
}
