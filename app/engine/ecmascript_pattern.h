// Regular expressions are written in the ECMAScript grammar and run by
// PCRE2.  Where the two read the same text differently in a way a user can
// meet, the expression is rewritten into PCRE2's syntax for the ECMAScript
// meaning, or refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zscan {

// The PCRE2 pattern (UTF-8, for compiling with PCRE2_ALT_BSUX and
// PCRE2_ALLOW_EMPTY_CLASS) for an ECMAScript expression in UTF-8:
// - \s and \S take ECMAScript's white space, the no-break space U+00A0 and
//   the ideographic space U+3000 among it (PCRE2 knows only ASCII blanks);
// - PCRE-only syntax that ECMAScript rejects or reads otherwise is refused
//   (nullopt): inline options and other "(?" groups than (?: (?= (?! (?<=
//   (?<! and (?<name>, verbs such as (*UTF), possessive quantifiers, and
//   the escapes \A \Z \z \G \K \Q \E \h \H \R \X \N \g \o.
// [] (matches nothing) and [^] (matches any character) need no rewriting.
std::optional<std::string> pcre_pattern_of(std::string_view expression);

}  // namespace zscan
