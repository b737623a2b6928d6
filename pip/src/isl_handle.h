// Owning handles on isl objects and the check of every isl result. isl
// reports an error by returning NULL (or isl_bool_error); the solver's
// context runs in continue mode, so each result is checked here and an
// error ends the run with isl's message.
#ifndef TARVEX_PIP_ISL_HANDLE_H
#define TARVEX_PIP_ISL_HANDLE_H

#include <isl/aff.h>
#include <isl/constraint.h>
#include <isl/ctx.h>
#include <isl/mat.h>
#include <isl/point.h>
#include <isl/set.h>
#include <isl/val.h>

#include <utility>

// Ends the run with isl's last error message.
[[noreturn]] void pip_fail_isl(isl_ctx *ctx);

// p itself, or the end of the run when isl failed: p NULL, or an error
// recorded in ctx (isl may report an internal error and still return a
// result, which is then not to be trusted).
template <typename T>
T *isl_checked(isl_ctx *ctx, T *p) {
  if (!p || isl_ctx_last_error(ctx) != isl_error_none) pip_fail_isl(ctx);
  return p;
}

// b as a C++ bool, or the end of the run on isl_bool_error.
bool isl_checked(isl_ctx *ctx, isl_bool b);

template <typename T>
struct IslOps;

#define TARVEX_PIP_ISL_OPS(type)                                      \
  template <>                                                         \
  struct IslOps<type> {                                               \
    static type *copy(type *p) { return type##_copy(p); }             \
    static void release(type *p) { type##_free(p); }                  \
  }
TARVEX_PIP_ISL_OPS(isl_set);
TARVEX_PIP_ISL_OPS(isl_basic_set);
TARVEX_PIP_ISL_OPS(isl_aff);
TARVEX_PIP_ISL_OPS(isl_multi_aff);
TARVEX_PIP_ISL_OPS(isl_pw_multi_aff);
TARVEX_PIP_ISL_OPS(isl_val);
TARVEX_PIP_ISL_OPS(isl_constraint);
TARVEX_PIP_ISL_OPS(isl_pw_aff);
TARVEX_PIP_ISL_OPS(isl_mat);
TARVEX_PIP_ISL_OPS(isl_point);
#undef TARVEX_PIP_ISL_OPS

// Sole owner of one isl object (or of none). Move-only; copy() hands out a
// new reference that the caller owns.
template <typename T>
class Isl {
 public:
  Isl() = default;
  explicit Isl(T *p) : p_(p) {}
  Isl(isl_ctx *ctx, T *p) : p_(isl_checked(ctx, p)) {}
  Isl(Isl &&other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Isl &operator=(Isl &&other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  Isl(const Isl &) = delete;
  Isl &operator=(const Isl &) = delete;
  ~Isl() {
    if (p_) IslOps<T>::release(p_);
  }

  // Borrowed pointer: stays owned by this handle.
  T *get() const { return p_; }
  // New reference owned by the caller (isl's __isl_take arguments).
  T *copy() const { return IslOps<T>::copy(p_); }
  // Gives up ownership to the caller.
  T *take() { return std::exchange(p_, nullptr); }

 private:
  T *p_ = nullptr;
};

#endif
