// A nested loop that reuses the counter of its enclosing loop: the inner
// loop leaves the outer one after a single pass, which the model's two
// independent dimensions cannot express.
// stdout: Program::from_Sage: unsupported for loop: for (i = 0; i < N; i++)
int N;
int A[8][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (i = 0; i < N; i++) {
#pragma schedule[i][j][i]
        A[i][j] = A[i][j] + 1;
      }
#pragma end_scop
}
