// stderr: called_function_writes_counter.c:17: error: f, called here, writes i: i is a loop counter of the static control part, which the tiled loops replace by counters of their own
// f() steps the global counter i, so the original loop steps by 2; the
// tiled loops count in counters of their own.
int N;
int i;
double A[20];

double f() {
  i = i + 1;
  return 1.0;
}

void kernel() {
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] + f();
  }
#pragma end_scop
}
