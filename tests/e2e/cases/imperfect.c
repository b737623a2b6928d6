// Imperfect nest: a row sum reset before its inner loop.
// params: N M
// arrays: A s
// values: 0 0 | 1 1 | 3 0 | 0 4 | 5 7 | 10 10
int N;
int M;
int A[10][10];
int s[10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0][0]
    s[i] = i;
    for (j = 0; j < M; j++) {
#pragma schedule[i][1][j]
      s[i] = s[i] * 3 + A[i][j];
    }
  }
#pragma end_scop
}
