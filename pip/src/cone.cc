#include "cone.h"

#include <string>

int pip_first_unbounded_unknown(isl_ctx *ctx, const PipProblem &pb) {
  // Unknowns bounded below by their sign cannot decrease without end.
  if (!pb.maximize && !pb.free_unknowns) return pb.nn;
  std::string fixed;
  for (int k = 0; k < pb.nn; ++k) {
    // The cone is rational and closed under scaling, so a direction with
    // d_k > 0 exists exactly when an integer one with d_k >= 1 does.
    std::string x = "x" + std::to_string(k);
    std::string step = pb.maximize ? x + " >= 1" : x + " <= -1";
    Isl<isl_set> cone = pip_recession_cone(ctx, pb, fixed + step);
    if (!isl_checked(ctx, isl_set_is_empty(cone.get()))) return k;
    fixed += x + " = 0 and ";
  }
  return pb.nn;
}
