#include <gtest/gtest.h>

#include "zones/RecordingHost.h"
#include "zones/ZoneActions.h"
#include "zones/ZoneTable.h"
#include "zones/ZoneTestPages.h"

namespace lumetra {
namespace {

using testing::Gbk;
using testing::RecordingHost;
using Op = RecordingHost::Op;

struct Binding {
    Control list;
    int column;
    int timeoutMs;
};

// The six lists' bindings, from the zone table.
std::vector<Binding> TableBindings() {
    std::vector<Binding> bindings;
    for (const Zone& zone : ZoneTable()) {
        bindings.push_back({zone.numberList, zone.numberCopy.column, zone.numberCopy.timeoutMs});
        bindings.push_back({zone.messageList, zone.messageCopy.column, zone.messageCopy.timeoutMs});
    }
    return bindings;
}

TEST(CopySelectedCell, TheSixBindingsCopyTheirColumnAndTimeTheirNotice) {
    using enum Control;
    const std::vector<Binding> expected = {
        {超级列表框1, 1, 400}, {超级列表框2, 2, 400}, {超级列表框3, 1, 400},
        {超级列表框4, 2, 500}, {超级列表框5, 1, 500}, {超级列表框6, 2, 500},
    };
    const std::vector<Binding> bindings = TableBindings();
    ASSERT_EQ(bindings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bindings[i].list, expected[i].list);
        EXPECT_EQ(bindings[i].column, expected[i].column);
        EXPECT_EQ(bindings[i].timeoutMs, expected[i].timeoutMs);

        // Row 3 selected: exactly that row's cell of the bound column is copied.
        RecordingHost host;
        RecordingHost::Table rows;
        for (int r = 0; r < 5; ++r) {
            rows.push_back(
                {"c0r" + std::to_string(r), "c1r" + std::to_string(r), "c2r" + std::to_string(r)});
        }
        host.SetRows(bindings[i].list, rows);
        host.Select(bindings[i].list, 3);
        CopySelectedCell(host, bindings[i].list, bindings[i].column, bindings[i].timeoutMs);
        EXPECT_EQ(host.Clipboard(), "c" + std::to_string(expected[i].column) + "r3");
        const auto notices = host.CallsOf(Op::ShowTimedNotice);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].number, expected[i].timeoutMs);
    }
}

TEST(CopySelectedCell, CopiesThePhoneNumberDigitsOnlyThenShowsTheNotice) {
    RecordingHost host;
    host.SetRows(Control::超级列表框1, {{"+44", "7700900111"},
                                        {"+1", "2025550100"},
                                        {"+358", "401234567"},
                                        {"+33", "612345678"},
                                        {"+49", "15123456789"}});
    host.Select(Control::超级列表框1, 3);
    CopySelectedCell(host, Control::超级列表框1, 1, 400);

    const auto calls = host.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].op, Op::ListSelection);
    EXPECT_EQ(calls[1].op, Op::ListGetCell);
    EXPECT_EQ(calls[1].row, 3);
    EXPECT_EQ(calls[1].column, 1);
    EXPECT_EQ(calls[2].op, Op::SetClipboardText);
    EXPECT_EQ(calls[2].text, "612345678");
    EXPECT_EQ(calls[3].op, Op::ShowTimedNotice);
    EXPECT_EQ(calls[3].text, Gbk("已粘贴至剪切板"));
    EXPECT_EQ(calls[3].caption, Gbk("自动关闭信息框例程"));
    EXPECT_EQ(calls[3].number, 400);
}

TEST(CopySelectedCell, WithoutSelectionCopiesEmptyTextAndStillShowsTheNotice) {
    struct Case {
        const char* name;
        RecordingHost::Table rows;
        int selection;
    };
    const std::vector<Case> cases = {
        {"empty list", {}, -1},
        {"rows, none selected", {{"2026-12-11 08:10:00", "x", "123456"}}, -1},
        {"selected cell empty", {{"2026-12-11 08:10:00", "x", ""}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        host.SetRows(Control::超级列表框6, c.rows);
        host.Select(Control::超级列表框6, c.selection);
        host.SetClipboardText("old");
        CopySelectedCell(host, Control::超级列表框6, 2, 500);
        EXPECT_EQ(host.Clipboard(), "");
        const auto notices = host.CallsOf(Op::ShowTimedNotice);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].text, Gbk("已粘贴至剪切板"));
        EXPECT_EQ(notices[0].caption, Gbk("自动关闭信息框例程"));
        EXPECT_EQ(notices[0].number, 500);
    }
}

}  // namespace
}  // namespace lumetra
