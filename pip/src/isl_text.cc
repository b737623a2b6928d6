#include "isl_text.h"

namespace {

std::string magnitude(long long c) {
  unsigned long long m = c < 0 ? 0ULL - static_cast<unsigned long long>(c)
                               : static_cast<unsigned long long>(c);
  return std::to_string(m);
}

std::string join(const std::vector<std::string> &items, const char *sep) {
  std::string out;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) out += sep;
    out += items[i];
  }
  return out;
}

// Appends one signed term ("" var for the constant).
void add_term(std::string &text, long long c, const std::string &var) {
  if (c == 0) return;
  if (text.empty())
    text = c < 0 ? "-" : "";
  else
    text += c < 0 ? " - " : " + ";
  if (var.empty())
    text += magnitude(c);
  else
    text += (c == 1 || c == -1 ? "" : magnitude(c) + "*") + var;
}

}  // namespace

std::string pip_name(char prefix, int i) { return prefix + std::to_string(i); }

std::string pip_tuple(char prefix, int n) {
  std::vector<std::string> all;
  for (int i = 0; i < n; ++i) all.push_back(pip_name(prefix, i));
  return "[" + join(all, ", ") + "]";
}

std::string pip_param_prefix(int np) { return np == 0 ? "" : pip_tuple('p', np) + " -> "; }

std::string pip_affine_text(const std::vector<long long> &coefs,
                            const std::vector<std::string> &vars, long long constant) {
  std::string text;
  for (size_t i = 0; i < coefs.size(); ++i) add_term(text, coefs[i], vars[i]);
  add_term(text, constant, "");
  return text.empty() ? "0" : text;
}

std::string pip_constraint_text(const std::vector<long long> &coefs,
                                const std::vector<std::string> &vars, long long constant,
                                bool equality) {
  return pip_affine_text(coefs, vars, constant) + (equality ? " = 0" : " >= 0");
}

Isl<isl_set> pip_read_set(isl_ctx *ctx, const std::string &params, bool rational,
                          const std::string &tuple,
                          const std::vector<std::string> &constraints) {
  std::string text = params + "{ " + (rational ? "rat: " : "") + tuple + " : " +
                     join(constraints, " and ") + " }";
  return Isl<isl_set>(ctx, isl_set_read_from_str(ctx, text.c_str()));
}
