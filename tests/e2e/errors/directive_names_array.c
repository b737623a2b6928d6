// stdout: Program::from_Sage: A stands in a loop bound, condition, subscript or directive, which takes int variables only; it is declared 'double A[100];'
int N;
double A[100], B[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][A]
    B[i] = A[i] + 1;
  }
#pragma end_scop
}
