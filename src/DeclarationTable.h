#ifndef TARVEX_DECLARATION_TABLE_H
#define TARVEX_DECLARATION_TABLE_H

// The names the input declares, as the tiled code will see them. The tiled
// code declares every variable of the input at file scope (its locals and
// its kernel's parameters included), so each name must stand for one
// variable there: a local may not share its name with a file-scope
// declaration, and two locals of one name must be declared alike (they
// then become one variable). The table also answers whether an expression
// of the input has type int.
//
// Ownership: the table keeps pointers to syntax-tree nodes, which live as
// long as the process.

#include <map>
#include <string>

class SgExpression;
class SgFunctionDeclaration;
class SgInitializedName;

class DeclarationTable {
public:
  // A file-scope declaration of `name`: `text` is what a message shows,
  // `variable` the declarator of a variable (null for a function or type).
  // Stops the run when a local of that name was met.
  void add_file_scope(const std::string& name, const std::string& text, SgInitializedName* variable);
  // A local variable or kernel parameter hoisted as `text`. Stops the run
  // when the name is declared at file scope or by another text.
  void add_local(const std::string& name, const std::string& text, SgInitializedName* variable);
  // The typedef `name`, whose declarator says the type it stands for (its
  // entry comes from add_file_scope or add_local). The typedef names the
  // declarator uses are followed now, so that a typedef repeated over
  // itself (`typedef T T;`, or through another name) keeps the type it had.
  void add_type_name(const std::string& name, const SgInitializedName* declarator);
  // The function `f`, whose specifiers and pointer say its return type
  // (its entry comes from add_file_scope).
  void add_function(const SgFunctionDeclaration* f);

  // Whether `e` has C type int: int literals, casts to int, variables and
  // array elements declared int, calls of the input's functions declared
  // to return int, comparisons and logical operators, and operators over
  // int operands, min and max calls included. Typedef names stand for the
  // types they name.
  bool is_int(SgExpression* e) const;
  // Whether `name` is declared as a variable (not as a function or type).
  bool is_variable(const std::string& name) const;
  // The declaration text of `name` when the input declares it as a
  // variable of another type than int (an array, a pointer, a double...),
  // else "". Functions and types are no variables at all: the tiling pass
  // reports such names as undeclared.
  std::string non_int_declaration(const std::string& name) const;
  // For the loop counter `name`: "" when it is declared int (or not as a
  // variable), the type its values are cast back to in the statements when
  // it is declared with another signed integer type ("long": the tiled
  // loops count in int). Stops the run on any other type: the model reads
  // the bounds and conditions over a counter in integer arithmetic, which
  // an unsigned or floating-point counter does not follow.
  std::string counter_value_type(const std::string& name) const;

private:
  struct Entry {
    std::string text;
    bool file_scope;
    SgInitializedName* variable;  // not owned; null for a function or type
  };
  std::map<std::string, Entry> entries;
  // The type a typedef stands for: specifiers that name no typedef, with
  // the array and pointer levels of the typedefs followed to them.
  struct NamedType {
    std::string specifiers;
    size_t levels;
  };
  std::map<std::string, NamedType> type_names;
  std::map<std::string, const SgFunctionDeclaration*> functions;  // not owned

  bool declared_int(const std::string& name, size_t subscripts) const;
  // Whether `specifiers` with `levels` array and pointer levels name int.
  bool names_int_scalar(const std::string& specifiers, size_t levels) const;
  // `specifiers` with a typedef name replaced by what it stands for;
  // `levels` gains the typedef's array and pointer levels.
  std::string resolved_specifiers(const std::string& specifiers, size_t& levels) const;
};

#endif
