// A loop counter used in the bound of a later loop: its value there is the
// end of the first loop, which the model cannot name.
// stdout: Program::from_Sage: loop counter used outside its loops: i in j = i
int N;
int A[9];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    A[i] = A[i] + 1;
  }
  for (j = i; j < N + 3; j++) {
#pragma schedule[1][j]
    A[j] = A[j] * 2;
  }
#pragma end_scop
}
