// stdout: Preprocessor::extract_schedules: missing schedule for assignment #1
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    a[i] = 0;
    b[i] = 1;
  }
#pragma end_scop
}
