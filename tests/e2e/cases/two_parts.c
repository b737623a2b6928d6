// Several static control parts: two in one function with a declaration
// between them, and one in a second function. tiled_kernel() runs them in
// file order, as the calls below do.
// params: N
// arrays: A B
// values: 0 | 1 | 4 | 7
// call: (kernel(), kernel2())
int N;
int A[8];
int B[8];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    A[i] = A[i] + i;
  }
#pragma end_scop
  int k;
#pragma begin_scop
  for (k = 0; k < N; k++) {
#pragma schedule[1][k]
    B[k] = B[k] * 2 + A[k];
  }
#pragma end_scop
}

void kernel2() {
  int j;
#pragma begin_scop
  for (j = 1; j < N; j++) {
#pragma schedule[2][j]
    A[j] = A[j - 1] + B[j];
  }
#pragma end_scop
}
