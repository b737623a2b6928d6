// stdout: Program::from_Sage: k is written in the static control part, which takes it for a constant of its loop bounds, conditions, subscripts and directives: k = a[i]
int N;
int k;
int a[100];
int b[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    b[i + k] = a[i];
#pragma schedule[i][1]
    k = a[i];
  }
#pragma end_scop
}
