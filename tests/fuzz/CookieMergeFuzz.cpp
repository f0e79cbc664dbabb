// Cookie merge over any two cookie texts: no deleted piece and no exact repeat survive,
// every piece comes from one of the two texts, and `older` holds the result.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

#include "FuzzCheck.h"
#include "text/TextOps.h"
#include "web/CookieMerge.h"

namespace lumetra {
namespace {

const Text kSeparator = "; ";

bool EndsInDeleted(const Text& piece) {
    constexpr std::string_view kDeleted = "=deleted";
    return piece.size() >= kDeleted.size() && std::string_view(piece).ends_with(kDeleted);
}

Text Prepared(const Text& cookies) {
    Text prepared = Trim(cookies);
    if (EndsWith(prepared, ";")) {
        prepared += " ";
    }
    return prepared;
}

// A text ending in the first byte of a double-byte character: the separator put after it
// becomes that character's second byte, so two pieces join into one.
bool EndsInLoneLead(const Text& text) {
    if (text.empty()) {
        return false;
    }
    const std::vector<bool> boundary = fuzz::CharBoundaries(text);
    return boundary[text.size() - 1] && static_cast<unsigned char>(text.back()) >= 0x80;
}

}  // namespace
}  // namespace lumetra

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace lumetra;
    FuzzedDataProvider data(bytes, size);
    const Text newer = data.ConsumeRandomLengthString(2048);
    const Text olderIn = data.ConsumeRemainingBytesAsString();
    fuzz::Context() = "older: " + olderIn + "\nnewer: " + newer;

    Text older = olderIn;
    const Text merged = MergeCookies(older, newer);
    FUZZ_CHECK(older == merged);

    const std::vector<Text> pieces = Split(merged, kSeparator);
    const std::vector<Text> newerPieces = Split(Prepared(newer), kSeparator);
    const std::vector<Text> olderPieces = Split(Prepared(olderIn), kSeparator);
    const bool joinsPieces = EndsInLoneLead(Prepared(newer)) || EndsInLoneLead(Prepared(olderIn));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        FUZZ_CHECK(!EndsInDeleted(pieces[i]));
        FUZZ_CHECK(std::find(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(i),
                             pieces[i]) == pieces.begin() + static_cast<std::ptrdiff_t>(i));
        FUZZ_CHECK(joinsPieces || IndexOfText(newerPieces, pieces[i]) != -1 ||
                   IndexOfText(olderPieces, pieces[i]) != -1);
    }
    // A live newer piece is never lost.
    for (const Text& piece : newerPieces) {
        FUZZ_CHECK(joinsPieces || EndsInDeleted(piece) || piece.empty() ||
                   IndexOfText(pieces, piece) != -1);
    }
    return 0;
}
