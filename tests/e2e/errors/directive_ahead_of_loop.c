// stderr: directive_ahead_of_loop.c:10: error: a directive that no statement of the part follows: #pragma schedule[i][1]
// A directive ahead of a loop belongs to no statement: the step
// i = i + 1 is no statement of the part.
int N;
double A[20];

void kernel() {
  int i;
#pragma begin_scop
#pragma schedule[i][1]
  for (i = 0; i < N; i = i + 1) {
#pragma schedule[i][0]
    A[i] = A[i] + i + 1;
  }
#pragma end_scop
}
