// A loop counter read after its loop, as a subscript: the original writes
// A[N], while the generated loops keep their counters to themselves and the
// statement would read whatever the variable held.
// stdout: Program::from_Sage: loop counter used outside its loops: i in A[i] = 5
int N;
int A[9];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    A[i] = A[i] + 1;
  }
#pragma schedule[1][0]
  A[i] = 5;
#pragma end_scop
}
