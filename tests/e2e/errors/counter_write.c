// stdout: Program::from_Sage: unsupported statement in the static control part: i = i + 2;
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    i = i + 2;
  }
#pragma end_scop
}
