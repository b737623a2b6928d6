// Two loops over the same counter name fused by their schedules: the
// second statement of iteration i runs right after the first one.
// params: N
// arrays: A B C
// values: 0 | 1 | 5 | 24
int N;
int A[24];
int B[24];
int C[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    A[i] = B[i] + i;
  }
  for (i = 0; i < N; i++) {
#pragma schedule[i][1]
    C[i] = A[i] * 2 + C[i] - i;
  }
#pragma end_scop
}
