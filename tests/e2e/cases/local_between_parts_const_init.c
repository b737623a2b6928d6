// Locals initialised from constants after a part has started: between two
// parts (kernel's s) and ahead of the part of a later function (kernel2's s
// and u). C gives each its initialiser on every call, and kernel2's s is
// another object than kernel's, which an earlier part has changed.
// params: N
// arrays: A B C
// values: 0 | 1 | 3 | 5
// call: (kernel(), kernel2())
int N;
double A[12];
double B[12];
double C[12];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + 1.0;
  }
#pragma end_scop
  double s = 2.0;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    s = s + A[i];
#pragma schedule[i][1]
    B[i] = s;
  }
#pragma end_scop
}

void kernel2() {
  int i;
  double s = 2.0;
  double u = 1.0;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    s = s * 0.5 + B[i];
#pragma schedule[i][1]
    u = u + s;
#pragma schedule[i][2]
    C[i] = u;
  }
#pragma end_scop
}
