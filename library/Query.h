#pragma once
// The library's search language, turned into an SQL condition on `patches p` whose values are
// all bound ("?"), never part of the SQL text.
//
// A query is a list of terms separated by blanks; a patch matches when it matches all of them.
// A term preceded by "-" must not match. Words with blanks go in double quotes.
//   word              the name contains the word (case-insensitive); also name:word
//   CAPTION:text      a list parameter whose entry contains the text ("Multi-FX Type":delay);
//                     blanks, "-" and "_" count alike, case does not matter
//   CAPTION=text      a list parameter whose entry is the text
//   CAPTION:N, =N     a number parameter shown as N (flags also take on and off)
//   CAPTION<N <=N >N >=N  a number parameter compared as the editor shows it ("Pan">-10)
//   tone:text         the first or the second tone
//   tag:word  is:favourite  is:duplicate  seen:PATH-PART  snapshot:N
// Captions are those `gr33 dump` prints, without the page and case-insensitive; an effect
// parameter's caption also matches without its unit text ("Level" for "* Level (0..127)") and
// applies to the patches of the effect types that use it. A per-string parameter matches when
// any string matches.

#include "library/Sqlite.h"

#include <string>
#include <string_view>
#include <vector>

struct SqlCondition {
    std::string where;
    std::vector<SqlValue> values;
};

// A query that cannot be read: says what is wrong and at which character (1-based).
class EQueryError : public EKelvoError {
public:
    EQueryError(const std::string& what, std::size_t position)
        : EKelvoError(what + " at character " + std::to_string(position)), position_(position) {}
    std::size_t Position() const { return position_; }

private:
    std::size_t position_;
};

SqlCondition ParseQuery(std::string_view query);
