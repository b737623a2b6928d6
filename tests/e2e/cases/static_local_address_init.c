// Static locals initialised with an address and a size of a variable: C
// initialises each once, before the first call, so the second call goes on
// from where the first left them; kernel2's p is another object than
// kernel's.
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
  static double *p = A;
  static int k = sizeof(A) / sizeof(A[0]);
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    p = p + 1;
#pragma schedule[i][1]
    k = k - 1;
#pragma schedule[i][2]
    B[i] = p[0] + k;
  }
#pragma end_scop
}

void kernel2() {
  int i;
  static double *p = A;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    p = p + 1;
#pragma schedule[i][1]
    C[i] = p[0];
  }
#pragma end_scop
}
