#ifndef TARVEX_TYPE_NAMES_H
#define TARVEX_TYPE_NAMES_H

// The arithmetic type named by C declaration specifiers or by the type of a
// cast, as the front end keeps them: plain text such as "static const int"
// or "unsigned long". Storage classes, qualifiers and `inline` are set
// aside; typedef names are not resolved (they name no type known here).

#include <string>

// Whether the specifiers name int: "int", "signed" or "signed int".
bool names_int(const std::string& specifiers);

// Whether they name int or a wider signed integer type (long, long long),
// which holds every int value unchanged.
bool names_wide_signed_integer(const std::string& specifiers);

// Whether they name a signed integer type: signed char, short, int, long or
// long long (plain char, whose sign the platform chooses, is none).
bool names_signed_integer(const std::string& specifiers);

// The type words alone, storage classes and qualifiers dropped, joined by
// blanks: the text a cast to that type takes ("static const long" gives
// "long"). A new string.
std::string type_words(const std::string& specifiers);

#endif
