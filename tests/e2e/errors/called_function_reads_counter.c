// stderr: called_function_reads_counter.c:16: error: f, called here, reads i: i is a loop counter of the static control part, which the tiled loops replace by counters of their own
// f() reads the global counter i, which the tiled loops never set; g's
// parameter i is its own.
int N;
int i;
double A[20];

double g(int i) { return i * 3; }

double f() { return i * 2; }

void kernel() {
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + g(i) + f();
  }
#pragma end_scop
}
