// stderr: literal_beyond_int_rows.c:12: error: the value 4294967296 is too large for the bounds and conditions on this line: the constraint rows hold int values only
// The model's rows are int: a long literal beyond int in a condition is
// refused with its value (j < 4294967296L always holds for an int j, but
// the row has no room for the constant).
int N;
int a[8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    if (i < 4294967296L) {
#pragma schedule[i]
      a[i] = 0;
    }
  }
#pragma end_scop
}
