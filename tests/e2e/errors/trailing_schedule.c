// stderr: trailing_schedule.c:12: error: a directive that no statement of the part follows: #pragma schedule[i][1]
int N;
int a[10];
int b[10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    a[i] = 0;
#pragma schedule[i][1]
  }
#pragma end_scop
}
