// stderr: cxx_keyword_parameter.c:6: error: the tiled code, in C++, cannot carry twice, whose parameter new is a C++ keyword
// A called function, which the tiled code carries, with a parameter named
// like a C++ keyword.
int N;
double A[10];
double twice(double new) { return 2 * new; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = twice(A[i]);
  }
#pragma end_scop
}
