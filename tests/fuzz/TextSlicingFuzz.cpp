// TextBetween and TextBefore cut only where their markers stand, with all options fuzzed.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "FuzzCheck.h"
#include "text/TextOps.h"
#include "text/TextSlicing.h"

namespace lumetra {
namespace {

template <typename T>
std::optional<T> MaybeConsume(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? std::optional<T>(data.ConsumeIntegral<T>()) : std::nullopt;
}

std::optional<Position> ConsumeStart(FuzzedDataProvider& data, std::size_t size) {
    switch (data.ConsumeIntegralInRange(0, 2)) {
        case 0:
            return std::nullopt;
        case 1:
            return data.ConsumeIntegralInRange<Position>(-static_cast<Position>(size) - 4,
                                                         static_cast<Position>(size) + 4);
        default:
            return data.ConsumeIntegral<Position>();
    }
}

void CheckBetween(const Text& text, const Text& left, const Text& right,
                  std::optional<Position> start, std::optional<bool> ignoreCase) {
    const Text between = TextBetween(text, left, right, start, ignoreCase);
    if (between.empty()) {
        return;
    }
    const bool fold = ignoreCase.value_or(false);
    const Text leftMarker = Replace(left, kQuotePlaceholder, "\"");
    const Text rightMarker = Replace(right, kQuotePlaceholder, "\"");
    // What was cut stands between the first left marker and the right marker after it.
    const Position p = Find(text, leftMarker, start.value_or(0), fold);
    FUZZ_CHECK(p != kNotFound);
    const std::size_t c = static_cast<std::size_t>(p - 1) + leftMarker.size();
    FUZZ_CHECK(text.compare(c, between.size(), between) == 0);
    FUZZ_CHECK(Find(text, rightMarker, static_cast<Position>(c) + 1, fold) ==
               static_cast<Position>(c + between.size()) + 1);
}

void CheckBefore(const Text& text, const Text& marker, std::optional<Position> position,
                 std::optional<bool> ignoreCase) {
    const Text before = TextBefore(text, marker, position, ignoreCase);
    FUZZ_CHECK(before.size() <= text.size());
    FUZZ_CHECK(text.compare(0, before.size(), before) == 0);
    if (before.empty()) {
        return;
    }
    const bool fold = ignoreCase.value_or(false);
    const Text rest = text.substr(before.size());
    FUZZ_CHECK(StartsWith(rest, marker, fold));
    FUZZ_CHECK(fuzz::CharBoundaries(text)[before.size()]);
    if (position.value_or(0) >= 0) {
        const Position from = position.value_or(0) == 0 ? 1 : *position;
        FUZZ_CHECK(Find(text, marker, from, fold) == static_cast<Position>(before.size()) + 1);
    }
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    const std::optional<bool> ignoreCase = MaybeConsume<bool>(data);
    const Text left = data.ConsumeRandomLengthString(24);
    const Text right = data.ConsumeRandomLengthString(24);
    const std::size_t textSize = data.remaining_bytes();
    const std::optional<Position> start = ConsumeStart(data, textSize);
    const std::optional<Position> position = ConsumeStart(data, textSize);
    const Text text = data.ConsumeRemainingBytesAsString();

    CheckBetween(text, left, right, start, ignoreCase);
    CheckBefore(text, left, position, ignoreCase);
    return 0;
}
