// stdout: Program::from_Sage: X stands in a loop bound, condition, subscript or directive, which takes int variables only; it is declared 'double X;'
// A double bound would be split with int arithmetic by a parametric tiling,
// and an array named in a directive compared as an address.
double X;
double A[100], B[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < X; i++) {
#pragma schedule[i]
    B[i] = A[i] + 1;
  }
#pragma end_scop
}
