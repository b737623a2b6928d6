// stderr: loop_test_or.c:9: error: the loop test 'j < N || j >= M' holds 'j < N || j >= M': a loop test is read as comparisons (<, <=, >, >=, ==) joined by &&
int N;
int M;
double A[20];

void kernel() {
  int j;
#pragma begin_scop
  for (j = 0; j < N || j >= M; j++) {
#pragma schedule[j]
    A[j] = A[j] + j + 1;
  }
#pragma end_scop
}
