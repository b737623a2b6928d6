// stderr: void_pointer_to_element.c:9: error: fresh assigns a void * to rows[0], which C converts implicitly and the tiled code, in C++, cannot name the type of; assign it to a pointer variable first
// A called function assigns malloc's void * to an array element.
#include <stdlib.h>
int N;
double A[10];
double *rows[2];

double fresh(double x) {
  rows[0] = malloc(sizeof(double));
  rows[0][0] = x;
  return rows[0][0];
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = fresh(A[i]);
  }
#pragma end_scop
}
