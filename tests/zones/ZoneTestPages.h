#pragma once

#include <string_view>
#include <vector>

#include "sample-sites/SampleContent.h"
#include "text/Text.h"
#include "text/Utf8ToGbk.h"
#include "zones/RecordingHost.h"

// Expected list contents, in GBK, for pages laid out by the sample content.
namespace lumetra::testing {

inline Text Gbk(std::string_view utf8) {
    return Utf8ToGbk(Bytes(utf8.begin(), utf8.end()));
}

inline RecordingHost::Table NumberRows(const std::vector<samples::ListedNumber>& numbers) {
    RecordingHost::Table rows;
    for (const samples::ListedNumber& entry : numbers) rows.push_back({entry.code, entry.number});
    return rows;
}

// Exactly `rows` rows of time, sender and code; empty beyond the last message.
inline RecordingHost::Table MessageRows(const std::vector<samples::Message>& messages,
                                        std::size_t rows = 5) {
    RecordingHost::Table table(rows, std::vector<Text>(3));
    for (std::size_t i = 0; i < rows && i < messages.size(); ++i) {
        table[i] = {Gbk(messages[i].time), Gbk(messages[i].sender), Gbk(messages[i].code)};
    }
    return table;
}

// `count` made-up messages, distinct from each other.
inline std::vector<samples::Message> SomeMessages(int count) {
    std::vector<samples::Message> messages;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        messages.push_back({"2026-12-11 08:" + std::to_string(10 + i) + ":00",
                            "【测试银行" + n + "】", "90" + n + "1" + n});
    }
    return messages;
}

}  // namespace lumetra::testing
