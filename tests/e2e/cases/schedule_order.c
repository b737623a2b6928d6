// Statement order in the body differs from schedule order; reversed loop; constants.
// params: N M
// arrays: A B C s
// values: 0 0 | 1 1 | 2 3 | 5 4 | 8 8 | 3 0 | 0 5
int N;
int M;
int A[8][8];
int B[8][8];
int C[8];
int s[1];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    for (j = 0; j < M; j++) {
#pragma schedule[1][N - 1 - i][j][1]
      A[i][j] = A[i][j] * 2 + (i * N - j) + M;
#pragma schedule[1][N - 1 - i][j][0]
      B[i][j] = B[i][j] * 2 - j * M + N;
    }
#pragma schedule[0][N - i]
    C[i] = C[i] + i - N;
#pragma schedule[2][i]
    s[0] = s[0] * 3 - C[i] / 2 + C[i] % 3;
  }
#pragma end_scop
}
