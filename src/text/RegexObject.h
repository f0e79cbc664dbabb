#pragma once

#include <optional>

#include "platform/automation/Dispatch.h"
#include "text/Text.h"

namespace lumetra {

// Runs one regular expression over one subject through the late-bound "VBScript.RegExp"
// object and hands out matches and submatches by number, counted from 1. Every failure reads
// as empty text or 0. COM is initialised for the object's lifetime on the thread that builds
// it; use it on that thread only.
class RegexObject {
  public:
    RegexObject();
    virtual ~RegexObject();
    RegexObject(const RegexObject&) = delete;
    RegexObject& operator=(const RegexObject&) = delete;

    // Defaults: case ignored, multi-line, global, no quote substitution. True when Execute
    // gave a match collection, even an empty one.
    virtual bool Create(const Text& pattern, const Text& subject,
                        std::optional<bool> caseSensitive = {}, std::optional<bool> multiline = {},
                        std::optional<bool> global = {},
                        std::optional<bool> quoteSubstitution = {});
    virtual Text GetPattern();
    // The subject of the last Create with its matches replaced ($1, $&, ... as ECMAScript).
    virtual Text ReplaceMatches(const Text& replacement);
    virtual int MatchCount();
    // `position`, when given, receives the 0-based byte offset of the text in the GBK
    // subject, or -2 when there is no such match or group or the text is not found.
    virtual Text MatchText(int i, Position* position = nullptr);
    virtual Text SubmatchText(int i, int j, Position* position = nullptr);
    // Groups of the first match; 0 when there is none.
    virtual int SubmatchCount();

  private:
    platform::Variant Match(int i);
    Position Locate(const platform::Variant& match, const Text& found);

    platform::DispatchRef regExp_;
    platform::DispatchRef matches_;
    platform::Variant subject_;
};

}  // namespace lumetra
