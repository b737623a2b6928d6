#include "isl_handle.h"

#include <string>

#include "fail.h"

void pip_fail_isl(isl_ctx *ctx) {
  const char *msg = ctx ? isl_ctx_last_error_msg(ctx) : nullptr;
  std::string reason = "isl error: ";
  reason += msg ? msg : "unknown";
  pip_fail(reason.c_str());
}

bool isl_checked(isl_ctx *ctx, isl_bool b) {
  if (b == isl_bool_error || isl_ctx_last_error(ctx) != isl_error_none) pip_fail_isl(ctx);
  return b == isl_bool_true;
}
