// stdout: Program::from_Sage: the loop counter i is declared 'unsigned i;'; a loop counter must have a signed integer type, as its bounds and conditions are read in integer arithmetic
// An unsigned counter makes C compare and subtract in unsigned arithmetic
// (i - 5 >= 0 always holds), which the model, over the integers, does not.
int N;
double A[10];

void kernel() {
  unsigned i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = i - 5;
  }
#pragma end_scop
}
