/* Grammar of the XML dialect of saved model objects: a content is an
   optional text run followed by elements "<" name ">" content "</" name ">";
   the closing name is not compared. The tree is built bottom-up, each
   element's node moved into its parent under the opening name. */
%code requires {
class Xml;
}

%{
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "Xml.h"

int ttlex();
void tterror(const char*);
extern char* tttext;
extern int lineno_xml;

Xml* output_xml = nullptr;
%}

%define api.prefix {tt}

%union {
  char* id_string;
  Xml* xml_node_t;
}

%token TK_LEFT TK_LEFT_END TK_RIGHT TK_STR
%type <id_string> TK_STR
%type <xml_node_t> node

%%

start
  : node { output_xml = $1; }
  ;

node
  : %empty {
      $$ = new Xml();
      *$$ = std::string();
    }
  | TK_STR {
      $$ = new Xml();
      *$$ = std::string($1);
      free($1);
    }
  | node TK_LEFT TK_STR TK_RIGHT node TK_LEFT_END TK_STR TK_RIGHT {
      $$ = $1;
      (*$$)[$3] = std::move(*$5);
      delete $5;
      free($3);
      free($7);
    }
  ;

%%

// The report of every grammar error, the exhausted stack included; the
// generator's own text is not shown.
void tterror(const char*) {
  fprintf(stderr, "Line %d: syntax error. Last token was \"%s\"\n", lineno_xml, tttext);
  exit(1);
}
