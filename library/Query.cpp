#include "library/Query.h"

#include "gr33/Catalogue.h"
#include "library/Schema.h"

#include <algorithm>
#include <charconv>

namespace {

struct Token {
    enum Kind { Word, Quoted, Operator } kind;
    std::string text;
    std::size_t position; // 1-based
};

bool IsOperatorChar(char c) {
    return c == ':' || c == '=' || c == '<' || c == '>';
}

std::vector<Token> Tokenize(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t') {
            ++i;
        } else if (c == '"') {
            std::size_t end = text.find('"', i + 1);
            if (end == std::string_view::npos) throw EQueryError("Unclosed quote", i + 1);
            tokens.push_back({Token::Quoted, std::string(text.substr(i + 1, end - i - 1)), i + 1});
            i = end + 1;
        } else if (IsOperatorChar(c)) {
            std::size_t length =
                (c == '<' || c == '>') && i + 1 < text.size() && text[i + 1] == '=' ? 2 : 1;
            tokens.push_back({Token::Operator, std::string(text.substr(i, length)), i + 1});
            i += length;
        } else {
            std::size_t end = i;
            while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '"' &&
                   !IsOperatorChar(text[end]))
                ++end;
            tokens.push_back({Token::Word, std::string(text.substr(i, end - i)), i + 1});
            i = end;
        }
    }
    return tokens;
}

// Lower case, "-" and "_" as blanks, no blanks at either end.
std::string Normalize(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '-' || c == '_') c = ' ';
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

// A caption as a query names it: the caption itself, or without a leading "*" mark and the
// bracketed unit text.
bool CaptionMatches(std::string_view caption, const std::string& key) {
    std::string full = Normalize(caption);
    if (full == key) return true;
    if (!full.empty() && full[0] == '*') full = Normalize(full.substr(1));
    return full == key || full.substr(0, full.find(" (")) == key;
}

// One place a parameter lives: the condition under which it applies and the SQL of its shown
// value (list position for a list).
struct Target {
    std::string guard;
    std::string shown;
    std::span<const std::string_view> entries; // empty for numbers
    bool flag = false;
};

void AddTargets(const ParameterInfo& parameter, std::vector<Target>& targets) {
    const std::string guard =
        parameter.effectSlot != 0 ? ByteExpression(EffectTypeByte) + " >= 40" : "";
    const int first = parameter.firstByte;
    for (int string = 0; string < (parameter.IsPerString() ? StringCount : 1); ++string) {
        std::string column = ByteExpression(first + string);
        std::string shown = column;
        switch (parameter.coding) {
        case ParamCoding::Pair:
        case ParamCoding::PairList:
            shown = PairExpression(first);
            break;
        case ParamCoding::Signed:
            shown = "(" + column + " - 64)";
            break;
        case ParamCoding::PlusOne:
            shown = "(" + column + " + 1)";
            break;
        default:
            break;
        }
        targets.push_back({guard, shown, parameter.entries, parameter.coding == ParamCoding::Flag});
    }
}

std::vector<Target> FindTargets(const std::string& key) {
    std::vector<Target> targets;
    for (const ParameterInfo& parameter : Parameters())
        if (parameter.coding != ParamCoding::Name &&
            (CaptionMatches(parameter.caption, key) ||
             (key == "tone" && parameter.listName == "Tone")))
            AddTargets(parameter, targets);
    for (const EffectTypeInfo& type : EffectTypes())
        for (int slot = 1; slot <= EffectSlotCount; ++slot)
            if (type.parameters[slot - 1].IsUsed() &&
                CaptionMatches(type.parameters[slot - 1].caption, key))
                targets.push_back(
                    {ByteExpression(EffectTypeByte) + " = " + std::to_string(type.number),
                     ByteExpression(FirstEffectByte + slot - 1),
                     {},
                     false});
    return targets;
}

class Parser {
public:
    explicit Parser(std::string_view text) : tokens_(Tokenize(text)) {}

    SqlCondition Run() {
        std::vector<std::string> terms;
        while (next_ < tokens_.size()) {
            bool negate = false;
            Token key = take();
            if (key.kind == Token::Word && key.text[0] == '-') {
                negate = true;
                key.text.erase(0, 1);
                ++key.position;
                if (key.text.empty()) {
                    if (next_ == tokens_.size())
                        throw EQueryError("Nothing after \"-\"", key.position - 1);
                    key = take();
                }
            }
            if (key.kind == Token::Operator)
                throw EQueryError("Expected a word or a caption before \"" + key.text + "\"",
                                  key.position);
            std::string term;
            if (next_ < tokens_.size() && tokens_[next_].kind == Token::Operator) {
                Token op = take();
                if (next_ == tokens_.size() || tokens_[next_].kind == Token::Operator)
                    throw EQueryError("Missing value after \"" + op.text + "\"",
                                      op.position + op.text.size());
                term = keyed(key, op, take());
            } else {
                term = name(key.text);
            }
            terms.push_back(std::string(negate ? "NOT (" : "(") + term + ")");
        }
        std::string where = "1";
        for (const auto& term : terms)
            where.append(" AND ").append(term);
        return {where, std::move(values_)};
    }

private:
    Token take() { return tokens_[next_++]; }

    std::string bind(std::int64_t number) {
        values_.emplace_back(std::in_place_index<0>, number);
        return "?";
    }
    std::string bind(const std::string& text) {
        values_.emplace_back(std::in_place_index<1>, text);
        return "?";
    }

    std::string name(const std::string& text) {
        std::string folded = text;
        for (char& c : folded)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return "instr(p.folded, " + bind(folded) + ") > 0";
    }

    std::int64_t number(const Token& value, const std::string& what) {
        std::int64_t n = 0;
        const char* end = value.text.data() + value.text.size();
        auto [stop, error] = std::from_chars(value.text.data(), end, n);
        if (error != std::errc() || stop != end)
            throw EQueryError(what + " needs a number, not \"" + value.text + "\"", value.position);
        return n;
    }

    std::string keyed(const Token& key, const Token& op, const Token& value) {
        const std::string k = Normalize(key.text);
        const bool match = op.text == ":" || op.text == "=";
        auto onlyMatch = [&] {
            if (!match)
                throw EQueryError("\"" + op.text + "\" does not apply to " + key.text, op.position);
        };
        if (k == "name") {
            onlyMatch();
            return name(value.text);
        }
        if (k == "tag") {
            onlyMatch();
            return "p.id IN (SELECT patch FROM tags WHERE tag = " + bind(value.text) + ")";
        }
        if (k == "seen") {
            onlyMatch();
            return "p.id IN (SELECT patch FROM sightings WHERE instr(place, " + bind(value.text) +
                   ") > 0)";
        }
        if (k == "snapshot") {
            onlyMatch();
            return "p.id IN (SELECT patch FROM sightings WHERE snapshot = " +
                   bind(number(value, "snapshot")) + ")";
        }
        if (k == "is") {
            onlyMatch();
            const std::string v = Normalize(value.text);
            if (v == "favourite" || v == "favorite") return "p.favourite = 1";
            if (v == "duplicate" || v == "duplicates")
                return "p.sound IN (SELECT id FROM sounds WHERE names > 1)";
            throw EQueryError("Unknown \"is:" + value.text + "\" (favourite or duplicate)",
                              value.position);
        }
        std::vector<Target> targets = FindTargets(k);
        if (targets.empty())
            throw EQueryError("Unknown parameter \"" + key.text + "\"", key.position);
        std::string any;
        for (const Target& target : targets) {
            std::string test = compare(target, key, op, value);
            if (!target.guard.empty()) test = "(" + target.guard + " AND " + test + ")";
            if (!any.empty()) any += " OR ";
            any += test;
        }
        return any;
    }

    std::string compare(const Target& target, const Token& key, const Token& op,
                        const Token& value) {
        const bool match = op.text == ":" || op.text == "=";
        if (!target.entries.empty()) {
            if (!match) throw EQueryError(key.text + " is a list: use \":\" or \"=\"", op.position);
            const std::string wanted = Normalize(value.text);
            std::string positions;
            for (std::size_t i = 0; i < target.entries.size(); ++i) {
                const std::string entry = Normalize(target.entries[i]);
                if (op.text == ":" ? entry.find(wanted) != std::string::npos : entry == wanted) {
                    if (!positions.empty()) positions += ", ";
                    positions += bind(std::int64_t(i));
                }
            }
            if (positions.empty())
                throw EQueryError("No entry of " + key.text + " " +
                                      (op.text == ":" ? "contains" : "is") + " \"" + value.text +
                                      "\"",
                                  value.position);
            return target.shown + " IN (" + positions + ")";
        }
        const std::string v = Normalize(value.text);
        std::int64_t n = target.flag && (v == "on" || v == "off") ? (v == "on" ? 1 : 0)
                                                                  : number(value, key.text);
        return target.shown + " " + (op.text == ":" ? "=" : op.text) + " " + bind(n);
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
    std::vector<SqlValue> values_;
};

} // namespace

SqlCondition ParseQuery(std::string_view query) {
    return Parser(query).Run();
}
