// Page bytes of any kind convert quietly: no NUL inside, ASCII untouched, empty only when
// nothing comes before the first NUL.
#include <cstdint>
#include <cstring>

#include "FuzzCheck.h"
#include "text/Utf8ToGbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumetra;
    const Bytes bytes(data, data + size);
    const Text text = Utf8ToGbk(bytes);
    FUZZ_CHECK(text.find('\0') == Text::npos);

    const auto* zero =
        static_cast<const std::uint8_t*>(size ? std::memchr(data, 0, size) : nullptr);
    const std::size_t head = zero ? static_cast<std::size_t>(zero - data) : size;
    FUZZ_CHECK(text.empty() == (head == 0));

    bool ascii = true;
    for (std::size_t i = 0; i < head; ++i) {
        ascii = ascii && data[i] < 0x80;
    }
    if (ascii) {
        FUZZ_CHECK(text == Text(reinterpret_cast<const char*>(data), head));
    }
    // No UTF-8 character is shorter than its GBK form or its "?".
    FUZZ_CHECK(text.size() <= head);
    return 0;
}
