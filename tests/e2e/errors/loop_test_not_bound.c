// stderr: loop_test_not_bound.c:10: error: the loop test 'j < N && j - 2 * (j / 2) >= 1' holds the part 'j-(2*(j/2)) >= 1', which is neither a lower nor an upper bound on the counter j: the loop stops at the first counter that fails its test, which the model cannot tell
// C runs no iteration (j = 0 is even); read as a constraint, the test
// would run every odd j below N.
int N;
double A[20];

void kernel() {
  int j;
#pragma begin_scop
  for (j = 0; j < N && j - 2 * (j / 2) >= 1; j++) {
#pragma schedule[j]
    A[j] = A[j] + j + 1;
  }
#pragma end_scop
}
