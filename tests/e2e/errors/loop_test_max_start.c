// stderr: loop_test_max_start.c:12: error: the loop test 'j < N && j >= 3' bounds its counter from below by 'j >= 3', which must hold at the start 'max(M, 2)': at one of the max's arguments, a union of cases that the model does not hold
// The loop runs when M >= 3 or 2 >= 3 holds at its start: a union.
int N;
int M;
double A[20];

int max(int a, int b) { return a > b ? a : b; }

void kernel() {
  int j;
#pragma begin_scop
  for (j = max(M, 2); j < N && j >= 3; j++) {
#pragma schedule[j]
    A[j] = A[j] + j + 1;
  }
#pragma end_scop
}
