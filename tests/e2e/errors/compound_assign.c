// stdout: Program::from_Sage: unsupported statement in the static control part: a[i] += b[i];
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] += b[i];
  }
#pragma end_scop
}
