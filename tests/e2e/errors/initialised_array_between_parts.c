// stderr: initialised_array_between_parts.c:16: error: acc is initialised once in the tiled code, not on every call, and a static control part writes it: double acc[2] = {0.5, 0};
// An initialised array declared between two parts, which the second part
// writes: the original starts every call from the initialiser, the hoisted
// array only the first one.
int N;
double a[20];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] * 2;
  }
#pragma end_scop
  double acc[2] = {0.5, 0};
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    acc[0] = acc[0] + a[i];
#pragma schedule[i][1]
    a[i] = acc[0];
  }
#pragma end_scop
}
