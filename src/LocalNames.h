#ifndef TARVEX_LOCAL_NAMES_H
#define TARVEX_LOCAL_NAMES_H

// The tiled code declares the locals of the input at file scope, where
// locals of one name and declaration become one variable. That keeps C's
// meaning where the objects never hold a value at the same time. Where they
// do, LocalNames gives a local of a function holding a static control part
// a name of its own (own_local_name), in its declaration and in every
// reference that C resolves to it, so that the rest of the run sees two
// variables. A local is renamed when
//  - it hides a local or parameter of an enclosing scope of its function,
//    which keeps its value meanwhile;
//  - it is static and an earlier local of such a function has its name, or
//    an earlier static local has its name: a static local keeps its value
//    from one call to the next;
//  - tiled_kernel() assigns its constant initialiser on entry, and a static
//    control part ahead of it reads or writes a local of its name: that
//    part runs after the entry assignment.
// Parameters keep their names: the caller sets them by name.
//
// Ownership: the tree's nodes are renamed in place and stay the front
// end's; the walker keeps pointers to the declarators it renamed.

#include <map>
#include <set>
#include <string>
#include <vector>

class SgFunctionDeclaration;
class SgInitializedName;
class SgNode;
class SgVarRefExp;

class LocalNames {
public:
  // Renames the locals of the definition of `f`, a function holding a
  // static control part, as said above. The functions come in file order.
  void walk_function(SgFunctionDeclaration* f);
  // Whether `v` has a name of its own now (the name it was written with
  // is that of an earlier local).
  bool renamed(const SgInitializedName* v) const { return renamed_locals.count(v) > 0; }

private:
  // The locals of a scope, by the name the input gives them, with the name
  // they have in the tiled code.
  using Scope = std::map<std::string, std::string>;
  std::vector<Scope> scopes;  // of the function walked, innermost last
  std::set<std::string> read_or_written;  // the names in the tiled code of the locals that a part names
  std::set<std::string> taken;  // those of the locals met so far
  std::set<std::string> taken_by_static;  // those of the static locals met so far
  std::set<const SgInitializedName*> renamed_locals;  // not owned
  int own_names = 0;
  bool in_part = false;

  void walk(SgNode* node);
  void walk_scope(SgNode* node);
  void declare(SgInitializedName* v, bool parameter);
  bool needs_own_name(const SgInitializedName* v) const;
  void refer(SgVarRefExp* reference);
};

#endif
