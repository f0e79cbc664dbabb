#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/automation/PatternTranslation.h"

namespace re2 {
class RE2;
}

namespace lumetra::platform::detail {

// One pattern compiled by RE2 with the object's options.
class CompiledPattern {
  public:
    // Null when the pattern is invalid or RE2 cannot express it.
    static std::unique_ptr<CompiledPattern> Compile(std::u16string_view pattern, bool ignoreCase,
                                                    bool multiline);
    ~CompiledPattern();
    CompiledPattern(const CompiledPattern&) = delete;
    CompiledPattern& operator=(const CompiledPattern&) = delete;

    int GroupCount() const noexcept { return static_cast<int>(translated_.groupIndex.size()); }

    // The matches from left to right (only the first unless `global`), each as
    // 1 + GroupCount() pairs of UTF-16 offsets [begin, end): the match, then its groups,
    // -1 for a group that took no part. Empty when the subject is too long to count in 32 bits.
    std::optional<std::vector<std::int32_t>> FindAll(std::u16string_view subject,
                                                     bool global) const;

  private:
    CompiledPattern(TranslatedPattern translated, std::unique_ptr<re2::RE2> re);

    TranslatedPattern translated_;
    std::unique_ptr<re2::RE2> re_;
};

}  // namespace lumetra::platform::detail
