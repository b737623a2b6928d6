// stderr: initialised_array_written.c:9: error: acc is initialised once in the tiled code, not on every call, and a static control part writes it: double acc[4] = {0.5, 0, 0, 0};
// The original starts every call from the initialiser, the hoisted array
// only the first one.
int N;
double a[20];

void kernel() {
  int i;
  double acc[4] = {0.5, 0, 0, 0};
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    acc[0] = acc[0] + a[i];
#pragma schedule[i][1]
    a[i] = acc[0];
  }
#pragma end_scop
}
