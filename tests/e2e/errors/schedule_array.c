// stdout: Program::from_Sage: schedule is the name of a directive, which the input may not declare: int schedule[20][2];
// Directives are read as assignments to arrays named after them: this
// statement writing schedule would be read as the next one's schedule, and
// dropped from the tiled code.
int N;
int schedule[20][2];
int a[20];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
    schedule[i][1] = 7;
    a[i] = a[i] * 2 + schedule[i][1];
  }
#pragma end_scop
}
