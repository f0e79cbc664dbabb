#pragma once

#include <QString>

namespace lumetra {

// A modal information box with one OK button and no owner. Returns when OK is pressed or,
// without a click, after `milliseconds`. Its timer is a child of the box named
// kNoticeTimerName, so tests can read the interval instead of timing it.
void ShowTimedNotice(const QString& text, const QString& caption, int milliseconds);

inline constexpr char kNoticeTimerName[] = "lumetraNoticeTimer";

}  // namespace lumetra
