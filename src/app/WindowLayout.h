#pragma once

#include <array>
#include <span>

#include "host/HostServices.h"

// The fixed layout of MainWindow: one constant table holds every control, its place, size,
// text and list columns. Texts are GBK, readable forms in the comments.
namespace lumetra {

enum class ControlKind { GroupBox, TabControl, List, Button };

struct ColumnLayout {
    const char* title;
    int width;
};

struct ControlLayout {
    Control control;
    const char* name;  // layout name, also the Qt object name
    ControlKind kind;
    Control parent;
    int tab;  // the tab page that owns the control, -1 outside the pages
    int x, y, width, height;
    const char* text;
    std::span<const ColumnLayout> columns;
};

struct WindowLayout {
    const char* caption;
    int outerWidth, outerHeight;  // frame and title bar included
    std::span<const char* const> tabs;
    std::span<const ControlLayout> controls;
};

namespace layout {

// 地区号 50, 手机号 80
inline constexpr std::array<ColumnLayout, 2> kRandomNumberColumns{{
    {"\xB5\xD8\xC7\xF8\xBA\xC5", 50},
    {"\xCA\xD6\xBB\xFA\xBA\xC5", 80},
}};

// 国区号 50, 手机号 80
inline constexpr std::array<ColumnLayout, 2> kRegionalNumberColumns{{
    {"\xB9\xFA\xC7\xF8\xBA\xC5", 50},
    {"\xCA\xD6\xBB\xFA\xBA\xC5", 80},
}};

// 时间 150, 发信方 120, 验证码 80
inline constexpr std::array<ColumnLayout, 3> kMessageColumns{{
    {"\xCA\xB1\xBC\xE4", 150},
    {"\xB7\xA2\xD0\xC5\xB7\xBD", 120},
    {"\xD1\xE9\xD6\xA4\xC2\xEB", 80},
}};

// 随机区, 国区, 美区. The layout's empty fourth tab is left out: nothing refers to it.
inline constexpr std::array<const char*, 3> kTabs{
    "\xCB\xE6\xBB\xFA\xC7\xF8",
    "\xB9\xFA\xC7\xF8",
    "\xC3\xC0\xC7\xF8",
};

inline constexpr char kNextPage[] = "\xB2\xC9\xBC\xAF\xCF\xC2\xD2\xBB\xD2\xB3";  // 采集下一页
inline constexpr char kFirstPage[] = "\xBB\xD8\xB5\xBD\xCA\xD7\xD2\xB3";         // 回到首页

// Controls of a tab page are placed in the tab control's client area, its tab row included:
// the pages' lists start at y 24, just below the tabs.
// clang-format off
inline constexpr std::array<ControlLayout, 14> kControls{{
    // 分组框1
    {Control::分组框1, "\xB7\xD6\xD7\xE9\xBF\xF2" "1", ControlKind::GroupBox, Control::MainWindow, -1, 0, 0, 544, 312, "Korvadi", {}},
    // 选择夹1
    {Control::选择夹1, "\xD1\xA1\xD4\xF1\xBC\xD0" "1", ControlKind::TabControl, Control::分组框1, -1, 8, 16, 528, 280, "", {}},
    // 超级列表框1 .. 超级列表框6, 按钮1 .. 按钮6
    {Control::超级列表框1, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "1", ControlKind::List, Control::选择夹1, 0, 0, 24, 152, 248, "", kRandomNumberColumns},
    {Control::超级列表框2, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "2", ControlKind::List, Control::选择夹1, 0, 152, 24, 360, 120, "", kMessageColumns},
    {Control::按钮1, "\xB0\xB4\xC5\xA5" "1", ControlKind::Button, Control::选择夹1, 0, 232, 184, 72, 32, kNextPage, {}},
    {Control::按钮2, "\xB0\xB4\xC5\xA5" "2", ControlKind::Button, Control::选择夹1, 0, 368, 184, 64, 32, kFirstPage, {}},
    {Control::超级列表框3, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "3", ControlKind::List, Control::选择夹1, 1, 0, 24, 152, 248, "", kRegionalNumberColumns},
    {Control::超级列表框4, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "4", ControlKind::List, Control::选择夹1, 1, 152, 24, 360, 120, "", kMessageColumns},
    {Control::按钮3, "\xB0\xB4\xC5\xA5" "3", ControlKind::Button, Control::选择夹1, 1, 232, 184, 72, 32, kNextPage, {}},
    {Control::按钮4, "\xB0\xB4\xC5\xA5" "4", ControlKind::Button, Control::选择夹1, 1, 368, 184, 64, 32, kFirstPage, {}},
    {Control::超级列表框5, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "5", ControlKind::List, Control::选择夹1, 2, 0, 24, 152, 248, "", kRegionalNumberColumns},
    {Control::超级列表框6, "\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2" "6", ControlKind::List, Control::选择夹1, 2, 152, 24, 368, 120, "", kMessageColumns},
    {Control::按钮5, "\xB0\xB4\xC5\xA5" "5", ControlKind::Button, Control::选择夹1, 2, 232, 184, 72, 32, kNextPage, {}},
    {Control::按钮6, "\xB0\xB4\xC5\xA5" "6", ControlKind::Button, Control::选择夹1, 2, 368, 184, 64, 32, kFirstPage, {}},
}};
// clang-format on

}  // namespace layout

inline constexpr WindowLayout kMainWindowLayout{"Lumetra", 555, 344, layout::kTabs,
                                                layout::kControls};

}  // namespace lumetra
