#include "platform/automation/Replacement.h"

namespace lumetra::platform::detail {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

void AppendSpan(std::u16string& out, std::u16string_view subject, std::int32_t begin,
                std::int32_t end) {
    if (begin >= 0 && end >= begin) {
        out.append(
            subject.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
    }
}

// The replacement text for one match; `match` holds its bounds and those of its groups.
void AppendSubstitution(std::u16string& out, std::u16string_view subject,
                        std::span<const std::int32_t> match, int groupCount,
                        std::u16string_view replacement) {
    const auto group = [&](int n) { AppendSpan(out, subject, match[2 * n], match[2 * n + 1]); };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char16_t c = replacement[i];
        if (c != u'$' || i + 1 == replacement.size()) {
            out += c;
            continue;
        }
        const char16_t next = replacement[i + 1];
        if (next == u'$') {
            out += u'$';
            ++i;
        } else if (next == u'&') {
            group(0);
            ++i;
        } else if (next == u'`') {
            AppendSpan(out, subject, 0, match[0]);
            ++i;
        } else if (next == u'\'') {
            AppendSpan(out, subject, match[1], static_cast<std::int32_t>(subject.size()));
            ++i;
        } else if (IsDigit(next)) {
            // Two digits when they name a group, else one when it does, else a plain "$".
            const int one = next - u'0';
            const bool hasSecond = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
            const int two = hasSecond ? one * 10 + (replacement[i + 2] - u'0') : 0;
            if (hasSecond && two >= 1 && two <= groupCount) {
                group(two);
                i += 2;
            } else if (one >= 1 && one <= groupCount) {
                group(one);
                ++i;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
}

}  // namespace

std::u16string ReplaceMatches(std::u16string_view subject, std::span<const std::int32_t> bounds,
                              int groupCount, std::u16string_view replacement) {
    const std::size_t stride = 2 * (1 + static_cast<std::size_t>(groupCount));
    std::u16string out;
    std::int32_t copied = 0;
    for (std::size_t at = 0; at + stride <= bounds.size(); at += stride) {
        const std::span<const std::int32_t> match = bounds.subspan(at, stride);
        AppendSpan(out, subject, copied, match[0]);
        AppendSubstitution(out, subject, match, groupCount, replacement);
        copied = match[1];
    }
    AppendSpan(out, subject, copied, static_cast<std::int32_t>(subject.size()));
    return out;
}

}  // namespace lumetra::platform::detail
