// stdout: Preprocessor::extract_schedules: missing schedule for assignment #0
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma output a[i]
#pragma schedule[i]
    a[i] = 0;
  }
#pragma end_scop
}
