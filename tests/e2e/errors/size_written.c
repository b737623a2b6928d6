// stdout: Program::from_Sage: M is written in the static control part, which takes it for a constant of its loop bounds, conditions, subscripts and directives: M = N + 2
int N;
int M;
int a[100];

void kernel() {
  int i;
#pragma begin_scop
#pragma schedule[0][0]
  M = N + 2;
  for (i = 0; i < M; i++) {
#pragma schedule[1][i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
