// stdout: Program::from_Sage: a statement between two static control parts, which tiled_kernel() runs one after the other: s = s + 100
// The update of s would be lost between the two parts.
int N;
int s;
int B[12];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    B[i] = B[i] + s;
  }
#pragma end_scop
  s = s + 100;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[1][i]
    B[i] = B[i] * 2 + s;
  }
#pragma end_scop
}
