#ifndef TARVEX_PREPROCESSOR_INTERNAL_H
#define TARVEX_PREPROCESSOR_INTERNAL_H

// What the directive front ends share among their own sources: the rewrite
// descriptions and the line rewriter, the reading of integer arguments, and
// the renumbering that ends every extraction. Not for other modules.

#include <string>
#include <vector>

class Expression;
class Program;

namespace Preprocessor {

// On a directive line, the first "#pragma <keyword>" and the rest R of the
// line become <before> R <after>, the text ahead of the match kept. A quoted
// rule writes R as the content of a C string literal (each "\" and "\""
// escaped), so that no character of the directive is lost.
struct Rule {
  const char* directive;
  const char* before;
  const char* after;
  bool quoted = false;
};

// One front end's rewrite: the function named in its messages, the carrier
// declarations written ahead of the program (one per line) and the rules,
// applied in order.
struct DirectiveRewrite {
  const char* function;
  const char* carriers;
  std::vector<Rule> rules;
};

extern const DirectiveRewrite extended_tiling_rewrite;
extern const DirectiveRewrite schedule_rewrite;
extern const DirectiveRewrite depth_rewrite;
extern const DirectiveRewrite tile_size_rewrite;
extern const DirectiveRewrite output_rewrite;
extern const DirectiveRewrite tiling_rewrite;

// `text` with `rules` applied to each line whose first non-blank text is
// "#pragma"; other lines are left as they are.
std::string rewrite_lines(const std::string& text, const std::vector<Rule>& rules);

// Whether `e` is an integer literal, with its value in `value`. A negated
// literal counts: the front end reads -1 as a minus over 1.
bool integer_value(const Expression* e, int& value);

// Replaces `context` by a new universe: every extraction starts without the
// bounds of an earlier one.
void reset_context();

// The statements i of `program` with kept[i] set become its statement list,
// as clones numbered from 0 in order; the old statements are deleted (the
// program owns them).
void keep_statements(Program* program, const std::vector<bool>& kept);

}  // namespace Preprocessor

#endif
