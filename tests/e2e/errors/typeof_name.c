// stdout: Program::from_Sage: the tiled code, in C++, cannot declare typeof at file scope (a keyword of GNU C++): double typeof[10];
// A valid C name that g++, compiling GNU C++ by default, reads as a keyword.
int N;
double typeof[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    typeof[i] = typeof[i] + 1;
  }
#pragma end_scop
}
