// The Set-Cookie pieces HttpAccess collects from any response header block.
#include <cstdint>

#include "FuzzCheck.h"
#include "text/TextOps.h"
#include "text/TextSlicing.h"
#include "web/HttpAccess.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumetra;
    const Text headers(reinterpret_cast<const char*>(data), size);
    const Text cookies = ResponseCookies(headers);

    std::size_t setCookieLines = 0;
    for (const Text& line : Split(headers, "\r\n")) {
        setCookieLines += TextBefore(line, ": ") == "Set-Cookie" ? 1 : 0;
    }
    // The attributes go with the first ";", so the only semicolons left are the separators.
    std::size_t semicolons = 0;
    for (Position at = Find(cookies, ";"); at != kNotFound; at = Find(cookies, ";", at + 1)) {
        ++semicolons;
        FUZZ_CHECK(Find(cookies, "; ", at) == at);
    }
    FUZZ_CHECK(semicolons + 1 == (setCookieLines == 0 ? 1 : setCookieLines));
    if (setCookieLines == 0) {
        FUZZ_CHECK(cookies.empty());
    }
    return 0;
}
