#include "platform/automation/PatternTranslation.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

namespace lumetra::platform::detail {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

constexpr char32_t kMaxCodePoint = 0x10FFFF;
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr CodeRange kSurrogates = {0xD800, 0xDFFF};

// ECMAScript's WhiteSpace and LineTerminator characters: what \s stands for.
constexpr CodeRange kWhiteSpace[] = {
    {0x0009, 0x000D}, {0x0020, 0x0020}, {0x00A0, 0x00A0}, {0x1680, 0x1680}, {0x2000, 0x200A},
    {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}, {0xFEFF, 0xFEFF},
};

// "." outside a class: anything but a line terminator. RE2's own "." would take CR.
constexpr char kDot[] = "[^\\n\\r\\x{2028}\\x{2029}]";
// The terminators other than LF, which RE2's multi-line `$` already knows.
constexpr char kOtherLineTerminators[] = "[\\r\\x{2028}\\x{2029}]";

// RE2 refuses deeper nesting too; the limit also keeps the recursion off the stack's end.
constexpr int kMaxNesting = 1000;
// Counts saturate here, far above what RE2 accepts, so a huge count fails to compile.
constexpr unsigned kCountCeiling = 100000;

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsDigit(char32_t c) {
    return c >= '0' && c <= '9';
}
bool IsOctalDigit(char32_t c) {
    return c >= '0' && c <= '7';
}
bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int HexValue(char32_t c) {
    if (IsDigit(c)) {
        return static_cast<int>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<int>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<int>(c - 'A' + 10);
    }
    return -1;
}

// One character as an RE2 literal, valid inside and outside a class. A lone surrogate
// stands for U+FFFD, which is what the matcher puts in its place in the subject.
void AppendLiteral(std::string& out, char32_t c) {
    if (c >= kSurrogates.first && c <= kSurrogates.last) {
        c = kReplacementCharacter;
    }
    if (IsDigit(c) || IsAsciiLetter(c)) {
        out += static_cast<char>(c);
    } else if (c > 0x20 && c < 0x7F) {
        out += '\\';
        out += static_cast<char>(c);
    } else {
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\x{%X}", static_cast<unsigned>(c));
        out += escape;
    }
}

// The members of one bracketed class, in code points.
class CharSet {
  public:
    void Add(char32_t first, char32_t last) { ranges_.push_back({first, last}); }
    void Add(std::span<const CodeRange> ranges) {
        ranges_.insert(ranges_.end(), ranges.begin(), ranges.end());
    }
    void AddComplementOf(std::span<const CodeRange> sorted) {
        char32_t next = 0;
        for (const CodeRange& r : sorted) {
            if (r.first > next) {
                Add(next, r.first - 1);
            }
            next = r.last + 1;
        }
        if (next <= kMaxCodePoint) {
            Add(next, kMaxCodePoint);
        }
    }

    // The ranges RE2 is given. A class holding every surrogate unit would take either half
    // of any pair, so it takes the characters outside the BMP and U+FFFD (a lone surrogate
    // of the subject) too. Surrogates themselves never occur in the UTF-8 subject.
    std::vector<CodeRange> ForRe2() const {
        std::vector<CodeRange> merged = Merged(ranges_);
        const bool allSurrogates = std::any_of(merged.begin(), merged.end(), [](CodeRange r) {
            return r.first <= kSurrogates.first && r.last >= kSurrogates.last;
        });
        if (allSurrogates) {
            std::vector<CodeRange> wider = merged;
            wider.push_back({0x10000, kMaxCodePoint});
            wider.push_back({kReplacementCharacter, kReplacementCharacter});
            merged = Merged(wider);
        }
        std::vector<CodeRange> result;
        for (const CodeRange& r : merged) {
            if (r.first < kSurrogates.first) {
                result.push_back({r.first, std::min<char32_t>(r.last, kSurrogates.first - 1)});
            }
            if (r.last > kSurrogates.last) {
                result.push_back({std::max<char32_t>(r.first, kSurrogates.last + 1), r.last});
            }
        }
        return result;
    }

  private:
    static std::vector<CodeRange> Merged(std::vector<CodeRange> ranges) {
        std::sort(ranges.begin(), ranges.end(),
                  [](CodeRange a, CodeRange b) { return a.first < b.first; });
        std::vector<CodeRange> merged;
        for (const CodeRange& r : ranges) {
            if (!merged.empty() && r.first <= merged.back().last + 1) {
                merged.back().last = std::max(merged.back().last, r.last);
            } else {
                merged.push_back(r);
            }
        }
        return merged;
    }

    std::vector<CodeRange> ranges_;
};

void AppendWhiteSpaceClass(std::string& out, bool negated) {
    out += negated ? "[^" : "[";
    for (const CodeRange& r : kWhiteSpace) {
        AppendLiteral(out, r.first);
        if (r.last != r.first) {
            out += '-';
            AppendLiteral(out, r.last);
        }
    }
    out += ']';
}

// Capturing groups of the whole pattern: a decimal escape up to this number is a
// back-reference, a larger one an octal escape.
int CountGroups(std::u16string_view p) {
    int count = 0;
    bool inClass = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char16_t c = p[i];
        if (c == u'\\') {
            ++i;
        } else if (inClass) {
            inClass = c != u']';
        } else if (c == u'[') {
            inClass = true;
        } else if (c == u'(' && (i + 1 == p.size() || p[i + 1] != u'?')) {
            ++count;
        }
    }
    return count;
}

class Translator {
  public:
    Translator(std::u16string_view pattern, bool multiline)
        : p_(pattern), multiline_(multiline), groupTotal_(CountGroups(pattern)) {}

    std::optional<TranslatedPattern> Run() {
        if (!Disjunction(0) || !AtEnd()) {
            return std::nullopt;
        }
        return std::move(result_);
    }

  private:
    // What a class atom turned out to be: one character, or a set already added.
    struct ClassAtom {
        bool isSet = false;
        char32_t c = 0;
    };

    bool AtEnd() const { return pos_ >= p_.size(); }
    char32_t Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : char32_t{0xFFFFFFFF};
    }

    // One character of the pattern: a surrogate pair is one code point.
    char32_t NextChar() {
        const char32_t c = p_[pos_++];
        if (IsHighSurrogate(c) && !AtEnd() && IsLowSurrogate(p_[pos_])) {
            return 0x10000 + ((c - 0xD800) << 10) + (p_[pos_++] - 0xDC00);
        }
        return c;
    }

    bool Disjunction(int depth) {
        if (depth > kMaxNesting) {
            return false;
        }
        for (;;) {
            while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
                if (!Term(depth)) {
                    return false;
                }
            }
            if (AtEnd() || Peek() != u'|') {
                return true;
            }
            ++pos_;
            out() += '|';
        }
    }

    bool Term(int depth) {
        switch (Peek()) {
            case u'^':
                ++pos_;
                out() += multiline_ ? "(?m:^)" : "^";
                return true;
            case u'$':
                ++pos_;
                Dollar(depth);
                return true;
            case u'\\':
                if (Peek(1) == u'b' || Peek(1) == u'B') {
                    out() += Peek(1) == u'b' ? "\\b" : "\\B";
                    pos_ += 2;
                    return true;  // an assertion: a quantifier after it is an error
                }
                return AtomEscape() && Quantifier();
            case u'(':
                return Group(depth) && Quantifier();
            case u'.':
                ++pos_;
                out() += kDot;
                return Quantifier();
            case u'[':
                return Class() && Quantifier();
            case u'*':
            case u'+':
            case u'?':
                return false;  // nothing to repeat
            case u'{':
                if (BraceQuantifier()) {
                    return false;
                }
                ++pos_;
                AppendLiteral(out(), u'{');
                return Quantifier();
            default:
                AppendLiteral(out(), NextChar());
                return Quantifier();
        }
    }

    void Dollar(int depth) {
        if (!multiline_) {
            out() += '$';
            return;
        }
        const bool endsAlternative = depth == 0 && (AtEnd() || Peek() == u'|');
        if (!endsAlternative) {
            out() += "(?m:$)";
            return;
        }
        out() += "(?:(?m:$)|(";
        out() += kOtherLineTerminators;
        out() += "))";
        result_.lineEndGroups.push_back(++re2Groups_);
    }

    bool Group(int depth) {
        ++pos_;
        if (Peek() == u'?') {
            if (Peek(1) != u':') {
                return false;  // look-around, or no group syntax at all
            }
            pos_ += 2;
            out() += "(?:";
        } else {
            out() += '(';
            result_.groupIndex.push_back(++re2Groups_);
        }
        if (!Disjunction(depth + 1) || AtEnd()) {
            return false;
        }
        ++pos_;
        out() += ')';
        return true;
    }

    // {n}, {n,} or {n,m} at the current position; without `consume` only looks.
    bool BraceQuantifier(unsigned* min = nullptr, unsigned* max = nullptr, bool* open = nullptr,
                         bool consume = false) {
        std::size_t at = pos_ + 1;
        auto number = [&](unsigned& value) {
            const std::size_t start = at;
            value = 0;
            while (at < p_.size() && IsDigit(p_[at])) {
                value = std::min(kCountCeiling, value * 10 + static_cast<unsigned>(p_[at] - u'0'));
                ++at;
            }
            return at > start;
        };
        unsigned low = 0;
        unsigned high = 0;
        bool unbounded = false;
        if (!number(low)) {
            return false;
        }
        high = low;
        if (at < p_.size() && p_[at] == u',') {
            ++at;
            unbounded = !number(high);
        }
        if (at >= p_.size() || p_[at] != u'}') {
            return false;
        }
        if (consume) {
            pos_ = at + 1;
            *min = low;
            *max = high;
            *open = unbounded;
        }
        return true;
    }

    bool Quantifier() {
        const char32_t c = Peek();
        if (c == u'*' || c == u'+' || c == u'?') {
            ++pos_;
            out() += static_cast<char>(c);
        } else if (c == u'{' && BraceQuantifier()) {
            unsigned min = 0;
            unsigned max = 0;
            bool open = false;
            BraceQuantifier(&min, &max, &open, true);
            if (!open && max < min) {
                return false;
            }
            out() += '{' + std::to_string(min) + ',' + (open ? "" : std::to_string(max)) + '}';
        } else {
            return true;
        }
        if (Peek() == u'?') {
            ++pos_;
            out() += '?';
        }
        return true;
    }

    bool AtomEscape() {
        ++pos_;
        if (AtEnd()) {
            return false;
        }
        switch (Peek()) {
            case u'd':
                ++pos_;
                out() += "\\d";
                return true;
            case u'D':
                ++pos_;
                out() += "\\D";
                return true;
            // RE2 would fold \w under IgnoreCase onto U+017F and U+212A.
            case u'w':
                ++pos_;
                out() += "(?-i:\\w)";
                return true;
            case u'W':
                ++pos_;
                out() += "(?-i:\\W)";
                return true;
            case u's':
            case u'S':
                AppendWhiteSpaceClass(out(), Peek() == u'S');
                ++pos_;
                return true;
            default:
                break;
        }
        if (IsDigit(Peek()) && Peek() != u'0') {
            std::size_t at = pos_;
            unsigned value = 0;
            while (at < p_.size() && IsDigit(p_[at])) {
                value = std::min(kCountCeiling, value * 10 + static_cast<unsigned>(p_[at] - u'0'));
                ++at;
            }
            if (value <= static_cast<unsigned>(groupTotal_)) {
                return false;  // a back-reference: RE2 has none
            }
        }
        AppendLiteral(out(), CharacterEscape(false));
        return true;
    }

    // The escapes that stand for one character; pos_ is just after the backslash.
    char32_t CharacterEscape(bool inClass) {
        const char32_t e = Peek();
        switch (e) {
            case u'f':
                ++pos_;
                return 0x0C;
            case u'n':
                ++pos_;
                return 0x0A;
            case u'r':
                ++pos_;
                return 0x0D;
            case u't':
                ++pos_;
                return 0x09;
            case u'v':
                ++pos_;
                return 0x0B;
            case u'c': {
                const char32_t letter = Peek(1);
                const bool control =
                    IsAsciiLetter(letter) || (inClass && (IsDigit(letter) || letter == u'_'));
                if (!control) {
                    return u'\\';  // the backslash stands for itself; "c" is read next
                }
                pos_ += 2;
                return letter % 32;
            }
            case u'x':
                if (HexValue(Peek(1)) >= 0 && HexValue(Peek(2)) >= 0) {
                    const char32_t value = HexValue(Peek(1)) * 16 + HexValue(Peek(2));
                    pos_ += 3;
                    return value;
                }
                ++pos_;
                return u'x';
            case u'u': {
                const int unit = UnicodeEscapeAt(pos_);
                if (unit < 0) {
                    ++pos_;
                    return u'u';
                }
                pos_ += 5;
                if (IsHighSurrogate(static_cast<char32_t>(unit)) && Peek() == u'\\' &&
                    Peek(1) == u'u') {
                    const int low = UnicodeEscapeAt(pos_ + 1);
                    if (low >= 0 && IsLowSurrogate(static_cast<char32_t>(low))) {
                        pos_ += 6;
                        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    }
                }
                return static_cast<char32_t>(unit);
            }
            default:
                break;
        }
        if (IsOctalDigit(e)) {
            // Legacy octal: up to three digits while the value stays below 256.
            char32_t value = e - u'0';
            ++pos_;
            const int more = e <= u'3' ? 2 : 1;
            for (int i = 0; i < more && IsOctalDigit(Peek()); ++i) {
                value = value * 8 + (Peek() - u'0');
                ++pos_;
            }
            return value;
        }
        return NextChar();  // identity escape: "\/", "\8", "\a", "\z" and the like
    }

    // The unit of "uXXXX" starting at `at`, or -1.
    int UnicodeEscapeAt(std::size_t at) const {
        if (at + 4 >= p_.size() || p_[at] != u'u') {
            return -1;
        }
        int value = 0;
        for (std::size_t i = at + 1; i <= at + 4; ++i) {
            const int digit = HexValue(p_[i]);
            if (digit < 0) {
                return -1;
            }
            value = value * 16 + digit;
        }
        return value;
    }

    bool Class() {
        ++pos_;
        const bool negated = Peek() == u'^';
        if (negated) {
            ++pos_;
        }
        CharSet set;
        std::string perlClasses;
        for (;;) {
            if (AtEnd()) {
                return false;
            }
            if (Peek() == u']') {
                ++pos_;
                break;
            }
            ClassAtom from;
            if (!ReadClassAtom(set, perlClasses, from)) {
                return false;
            }
            if (Peek() == u'-' && Peek(1) != u']' && pos_ + 1 < p_.size()) {
                ++pos_;
                ClassAtom to;
                if (!ReadClassAtom(set, perlClasses, to)) {
                    return false;
                }
                if (from.isSet || to.isSet) {
                    // A class escape cannot bound a range: the dash is a member.
                    set.Add(u'-', u'-');
                    if (!from.isSet) {
                        set.Add(from.c, from.c);
                    }
                    if (!to.isSet) {
                        set.Add(to.c, to.c);
                    }
                } else if (from.c > to.c) {
                    return false;
                } else {
                    set.Add(from.c, to.c);
                }
            } else if (!from.isSet) {
                set.Add(from.c, from.c);
            }
        }
        const std::vector<CodeRange> ranges = set.ForRe2();
        if (ranges.empty() && perlClasses.empty()) {
            // RE2 has no empty class: "[]" matches nothing, "[^]" anything.
            out() += negated ? "[\\x{0}-\\x{10FFFF}]" : "[^\\x{0}-\\x{10FFFF}]";
            return true;
        }
        out() += negated ? "[^" : "[";
        for (const CodeRange& r : ranges) {
            AppendLiteral(out(), r.first);
            if (r.last != r.first) {
                out() += '-';
                AppendLiteral(out(), r.last);
            }
        }
        out() += perlClasses;
        out() += ']';
        return true;
    }

    bool ReadClassAtom(CharSet& set, std::string& perlClasses, ClassAtom& atom) {
        if (Peek() != u'\\') {
            atom.c = NextChar();
            return true;
        }
        ++pos_;
        if (AtEnd()) {
            return false;
        }
        const char32_t e = Peek();
        switch (e) {
            case u'b':
                ++pos_;
                atom.c = 0x08;
                return true;
            case u'd':
            case u'D':
            case u'w':
            case u'W':
                ++pos_;
                perlClasses += '\\';
                perlClasses += static_cast<char>(e);
                atom.isSet = true;
                return true;
            case u's':
                ++pos_;
                set.Add(kWhiteSpace);
                atom.isSet = true;
                return true;
            case u'S':
                ++pos_;
                set.AddComplementOf(kWhiteSpace);
                atom.isSet = true;
                return true;
            default:
                atom.c = CharacterEscape(true);
                return true;
        }
    }

    std::string& out() { return result_.re2; }

    std::u16string_view p_;
    bool multiline_;
    int groupTotal_;
    std::size_t pos_ = 0;
    int re2Groups_ = 0;
    TranslatedPattern result_;
};

}  // namespace

std::optional<TranslatedPattern> TranslatePattern(std::u16string_view pattern, bool multiline) {
    try {
        return Translator(pattern, multiline).Run();
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace lumetra::platform::detail
