// stderr: block_size_not_int.c:4: error: 'block_size' is reserved: the tiled code's tile size, an int its caller provides, which the input may declare only as `int block_size;`, not as `double block_size;`
// The tile size declared with another type than int.
int N;
double block_size;
double A[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] * block_size;
  }
#pragma end_scop
}
