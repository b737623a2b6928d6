// stderr: condition_beyond_int_rows.c:13: error: the value -2147483649 is too large for the bounds and conditions on this line: the constraint rows hold int values only
// j < -2147483647 - 1 never holds; over the integers it is
// -2147483648 - j - 1 >= 0, whose constant is beyond the int rows of the
// model (wrapped, the condition would always hold).
int N;
int a[8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    for (j = -2147483647; j < -2147483647 + 8; j++) {
      if (j < -2147483647 - 1) {
#pragma schedule[i][j]
        a[j + 2147483647] = a[j + 2147483647] + i;
      }
    }
  }
#pragma end_scop
}
