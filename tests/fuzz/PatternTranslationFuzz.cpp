// The ECMAScript-to-RE2 translation: whatever it accepts, RE2 must compile (short of RE2's
// own size limits), and the compiled pattern hands out well-formed UTF-16 match bounds.
#include <fuzzer/FuzzedDataProvider.h>
#include <re2/re2.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzCheck.h"
#include "platform/automation/CompiledPattern.h"
#include "platform/automation/PatternTranslation.h"

namespace {

using lumetra::platform::detail::CompiledPattern;
using lumetra::platform::detail::TranslatedPattern;
using lumetra::platform::detail::TranslatePattern;

// One byte per unit, so patterns can be written as text; 0xFF takes the next two bytes as
// any unit (surrogates included), and the first 0xFE ends the pattern.
std::u16string ToUnits(std::string_view bytes) {
    std::u16string units;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0xFF && i + 2 < bytes.size()) {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 1]) |
                                                  static_cast<unsigned char>(bytes[i + 2]) << 8));
            i += 2;
        } else {
            units.push_back(static_cast<char16_t>(byte));
        }
    }
    return units;
}

std::string Readable(const std::u16string& units) {
    std::string readable;
    for (const char16_t unit : units) {
        char buffer[12];
        if (unit >= 0x20 && unit < 0x7F) {
            readable.push_back(static_cast<char>(unit));
        } else {
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(unit));
            readable += buffer;
        }
    }
    return readable;
}

void CheckTranslation(const TranslatedPattern& translated, bool ignoreCase) {
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_case_sensitive(!ignoreCase);
    options.set_log_errors(false);
    options.set_max_mem(64 << 20);
    const RE2 re(translated.re2, options);
    if (!re.ok()) {
        const bool sizeLimit =
            re.error_code() == RE2::ErrorRepeatSize || re.error_code() == RE2::ErrorPatternTooLarge;
        if (!sizeLimit) {
            std::fprintf(stderr, "RE2 refuses \"%s\": %s\n", translated.re2.c_str(),
                         re.error().c_str());
        }
        FUZZ_CHECK(sizeLimit);
        return;
    }
    const int groups = re.NumberOfCapturingGroups();
    int previous = 0;
    for (const int index : translated.groupIndex) {
        FUZZ_CHECK(index > previous && index <= groups);
        previous = index;
    }
    for (const int index : translated.lineEndGroups) {
        FUZZ_CHECK(index >= 1 && index <= groups);
        for (const int visible : translated.groupIndex) {
            FUZZ_CHECK(index != visible);
        }
    }
}

void CheckMatches(const CompiledPattern& compiled, const std::u16string& subject, bool global) {
    const auto bounds = compiled.FindAll(subject, global);
    FUZZ_CHECK(bounds.has_value());
    const std::size_t stride = 2 * (1 + static_cast<std::size_t>(compiled.GroupCount()));
    FUZZ_CHECK(bounds->size() % stride == 0);
    FUZZ_CHECK(global || bounds->size() <= stride);
    const auto size = static_cast<std::int32_t>(subject.size());
    std::int32_t previousEnd = 0;
    std::int32_t previousBegin = -1;
    for (std::size_t match = 0; match < bounds->size(); match += stride) {
        const std::int32_t begin = (*bounds)[match];
        const std::int32_t end = (*bounds)[match + 1];
        FUZZ_CHECK(0 <= begin && begin <= end && end <= size);
        // Left to right, without overlap; an empty match never repeats its place.
        FUZZ_CHECK(begin >= previousEnd && begin > previousBegin);
        previousBegin = begin;
        previousEnd = end;
        for (std::size_t group = match + 2; group < match + stride; group += 2) {
            const std::int32_t groupBegin = (*bounds)[group];
            const std::int32_t groupEnd = (*bounds)[group + 1];
            if (groupBegin == -1) {
                FUZZ_CHECK(groupEnd == -1);
            } else {
                FUZZ_CHECK(begin <= groupBegin && groupBegin <= groupEnd && groupEnd <= size);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool multiline = data.ConsumeBool();
    const bool ignoreCase = data.ConsumeBool();
    const bool global = data.ConsumeBool();
    const std::string rest = data.ConsumeRemainingBytesAsString();
    const std::size_t cut = std::min(rest.find('\xFE'), rest.size());
    const std::u16string pattern = ToUnits(std::string_view(rest).substr(0, cut));
    const std::u16string subject =
        ToUnits(cut < rest.size() ? std::string_view(rest).substr(cut + 1) : "");
    lumetra::fuzz::Context() = "pattern: " + Readable(pattern) + "\nsubject: " + Readable(subject) +
                               "\nmultiline " + std::to_string(multiline) + ", ignoreCase " +
                               std::to_string(ignoreCase) + ", global " + std::to_string(global);

    const std::optional<TranslatedPattern> translated = TranslatePattern(pattern, multiline);
    if (translated) {
        CheckTranslation(*translated, ignoreCase);
    }
    const auto compiled = CompiledPattern::Compile(pattern, ignoreCase, multiline);
    if (!translated) {
        FUZZ_CHECK(compiled == nullptr);
    }
    if (compiled) {
        CheckMatches(*compiled, subject, global);
    }
    return 0;
}
