#include "platform/automation/CompiledPattern.h"

#include <re2/re2.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/automation/Utf8Subject.h"

namespace lumetra::platform::detail {

namespace {

// Enough DFA memory that big pages keep to the DFA; when it still runs out RE2 goes on with
// its NFA, which is slower but as linear.
constexpr std::int64_t kMaxMemory = 64 << 20;

}  // namespace

CompiledPattern::CompiledPattern(TranslatedPattern translated, std::unique_ptr<re2::RE2> re)
    : translated_(std::move(translated)), re_(std::move(re)) {}

CompiledPattern::~CompiledPattern() = default;

std::unique_ptr<CompiledPattern> CompiledPattern::Compile(std::u16string_view pattern,
                                                          bool ignoreCase, bool multiline) {
    std::optional<TranslatedPattern> translated = TranslatePattern(pattern, multiline);
    if (!translated) {
        return nullptr;
    }
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_longest_match(false);
    options.set_never_nl(false);
    options.set_dot_nl(false);  // the translation never hands RE2 a "."
    options.set_case_sensitive(!ignoreCase);
    options.set_log_errors(false);
    options.set_max_mem(kMaxMemory);
    auto re = std::make_unique<re2::RE2>(translated->re2, options);
    if (!re->ok()) {
        return nullptr;
    }
    return std::unique_ptr<CompiledPattern>(
        new CompiledPattern(std::move(*translated), std::move(re)));
}

std::optional<std::vector<std::int32_t>> CompiledPattern::FindAll(std::u16string_view subject,
                                                                  bool global) const {
    if (subject.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    const std::string text = Utf8ForMatching(subject);
    const std::string_view view = text;
    std::vector<re2::StringPiece> groups(1 + re_->NumberOfCapturingGroups());
    const int groupSlots = static_cast<int>(groups.size());
    std::vector<std::int32_t> bounds;
    std::vector<std::pair<std::size_t, std::size_t>> boundaries;  // byte offset, slot in bounds

    // UTF-16 offsets come from a cursor that only moves forward, match by match, so the
    // whole walk reads each byte a bounded number of times.
    std::size_t cursorByte = 0;
    std::size_t cursorUnit = 0;
    std::size_t from = 0;
    for (;;) {
        if (!re_->Match(text, from, text.size(), RE2::UNANCHORED, groups.data(), groupSlots)) {
            break;
        }
        const auto offsetOf = [&](const re2::StringPiece& piece) {
            return static_cast<std::size_t>(piece.data() - text.data());
        };
        const std::size_t begin = offsetOf(groups[0]);
        std::size_t end = begin + groups[0].size();
        for (const int lineEnd : translated_.lineEndGroups) {
            if (groups[lineEnd].data() != nullptr) {
                end = offsetOf(groups[lineEnd]);  // the terminator was only looked at
            }
        }
        // The match's boundaries in byte order, so one walk over the match converts them all.
        const std::size_t first = bounds.size();
        boundaries.clear();
        boundaries.push_back({begin, first});
        boundaries.push_back({end, first + 1});
        bounds.push_back(-1);
        bounds.push_back(-1);
        for (const int index : translated_.groupIndex) {
            const re2::StringPiece& group = groups[index];
            if (group.data() != nullptr) {
                boundaries.push_back({offsetOf(group), bounds.size()});
                boundaries.push_back({offsetOf(group) + group.size(), bounds.size() + 1});
            }
            bounds.push_back(-1);
            bounds.push_back(-1);
        }
        std::sort(boundaries.begin(), boundaries.end());
        for (const auto& [byte, slot] : boundaries) {
            cursorUnit += Utf16Length(view.substr(cursorByte, byte - cursorByte));
            cursorByte = byte;
            bounds[slot] = static_cast<std::int32_t>(cursorUnit);
        }
        if (!global) {
            break;
        }
        if (end == begin) {
            // An empty match: go on one character later, or the search would stand still.
            if (end >= text.size()) {
                break;
            }
            from = end + Utf8CharLength(text[end]);
        } else {
            from = end;
        }
    }
    return bounds;
}

}  // namespace lumetra::platform::detail
