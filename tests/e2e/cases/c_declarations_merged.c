// Declarations that C merges and C++ refuses as redefinitions: a
// tentative definition followed by the definition (`int K; int K = 4;`,
// static too, and an array whose size the definition gives) or following
// it (`int M = 3; int M;`); and an old-style declaration `int g();`, which
// C++ reads as taking no argument, called with one before the file
// defines g.
// params: N
// arrays: A
// values: 0 | 7 | 13
int N;
double A[20];
int K;
int K = 4;
static int L;
static int L = 5;
int M = 3;
int M;
double B[];
double B[5] = {1.5, 2.5};
int g();
int h(int x) { return g(x) + 1; }
int g(int x) { return 2 * x; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + K + L + M + B[1] + h(i);
  }
#pragma end_scop
}
