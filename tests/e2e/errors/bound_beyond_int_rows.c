// stderr: bound_beyond_int_rows.c:11: error: the value 2147483649 is too large for the bounds and conditions on this line: the constraint rows hold int values only
// C computes 2147483646 - M + 3 within int for M >= 2, but the model's row
// of the bound gathers the constants into 2147483649, beyond its int
// entries: wrapped, it would bound i by -2147483647 - M.
int M;
int a[8];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 2147483640; i < 2147483646 - M + 3; i++) {
#pragma schedule[i]
    a[i - 2147483640] = a[i - 2147483640] + 1;
  }
#pragma end_scop
}
