// stdout: Program::from_Sage: ELSE not handled: i < N && i > 2
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 10; i++) {
    if (i < N && i > 2) {
#pragma schedule[i][0]
      a[i] = 1;
    } else {
#pragma schedule[i][1]
      b[i] = 2;
    }
  }
#pragma end_scop
}
