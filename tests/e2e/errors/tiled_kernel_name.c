// stdout: Program::from_Sage: the tiled code, in C++, cannot declare tiled_kernel at file scope (its own function): int tiled_kernel;
// The variable would clash with the function the output defines.
int N;
int tiled_kernel;
double A[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + tiled_kernel;
  }
#pragma end_scop
}
