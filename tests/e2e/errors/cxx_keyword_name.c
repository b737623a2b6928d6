// stdout: Program::from_Sage: the tiled code, in C++, cannot declare new at file scope (a C++ keyword): double new[10];
// A valid C name that the C++ output could not declare.
int N;
double old[10];
double new[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 1; i < N; i++) {
#pragma schedule[i]
    new[i] = old[i] + old[i - 1];
  }
#pragma end_scop
}
