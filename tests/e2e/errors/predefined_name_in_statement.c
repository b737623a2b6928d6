// stderr: predefined_name_in_statement.c:12: error: '__func__' is the name of the function it stands in, which changes where the tiled code puts this code (in tiled_kernel() or at file scope of a file of its own)
// The statement reads __func__[0], 'k' in kernel(): copied into
// tiled_kernel(), it would read 't'.
int N;
double A[20];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + __func__[0];
  }
#pragma end_scop
}
