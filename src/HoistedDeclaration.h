#ifndef TARVEX_HOISTED_DECLARATION_H
#define TARVEX_HOISTED_DECLARATION_H

// How a declaration of the input is written at file scope in the tiled
// code, where every local variable and every parameter of the kernel's
// function is declared: the caller of tiled_kernel() sets them, and a local
// initialised from a run-time value is initialised on entry to the kernel.

#include <functional>
#include <string>

class SgExpression;
class SgFunctionDeclaration;
class SgInitializedName;

// Whether `e` holds no call, no side effect and no variable but those
// `readable` accepts (none when it is empty): a file-scope initialiser
// computes the same value at program start.
bool is_constant_expression(SgExpression* e, const std::function<bool(const std::string&)>& readable = {});

// Whether an array bound of `v` other than the first one of a parameter
// (`parameter`) is not constant: such an array has no file-scope form.
bool has_variable_length(const SgInitializedName* v, bool parameter);

// Whether a local is declared static, or extern (it then names a variable
// of file scope).
bool is_static(const SgInitializedName* v);
bool is_extern(const SgInitializedName* v);

// Whether a local can be assigned on entry to the kernel and then holds
// what its own initialisation gave it on every call: neither static nor
// extern (their value outlives a call), nor const itself.
bool is_reassignable(const SgInitializedName* v);

// Whether `v` is a const variable defined without initialiser, which C
// zero-initialises at file scope and C++ refuses.
bool is_uninitialised_const(const SgInitializedName* v);

// "<specifiers> <declarator>;" without the initialiser, nor the variable's
// own `const`, which a declaration without initialiser may not have.
std::string declaration_without_initialiser(SgInitializedName* v);

// The parameter's own C type at file scope: an array parameter is the
// pointer it stands for (double A[n][m] is double (*A)[m]), and a scalar
// loses its own `const`.
std::string parameter_declaration(SgInitializedName* v);

// Why the tiled code, in C++, cannot use `name`, which C leaves free: "a
// C++ keyword" (new, class, this...) or "a keyword of GNU C++" (typeof);
// "" for any other name.
std::string cxx_keyword_reason(const std::string& name);

// Stops the run when `name` (declared by `text`) cannot be declared at file
// scope in the tiled code, which is C++ and defines tiled_kernel(): a
// keyword (cxx_keyword_reason), tiled_kernel, main or std.
void check_hoisted_name(const std::string& name, const std::string& text);

// `text` (C declarations, a cast's type) as the tiled code, in C++, writes
// it: `_Bool` becomes bool, and the words C++ lacks or reads otherwise are
// dropped: `restrict` (a promise only), `register` and `auto` (storage
// classes of a local, which has none at file scope). String and character
// literals are kept as they are. A new string.
std::string cxx_text(const std::string& text);

// "<specifiers> <name>(<parameters>)": a function as messages name it.
std::string function_head(SgFunctionDeclaration* f);

#endif
