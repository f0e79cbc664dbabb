#include "zones/ZoneActions.h"

namespace lumetra {

namespace {

constexpr char kCopiedNotice[] =
    "\xD2\xD1\xD5\xB3\xCC\xF9\xD6\xC1\xBC\xF4\xC7\xD0\xB0\xE5";  // 已粘贴至剪切板
constexpr char kCopiedCaption[] =
    "\xD7\xD4\xB6\xAF\xB9\xD8\xB1\xD5\xD0\xC5\xCF\xA2\xBF\xF2\xC0\xFD\xB3\xCC";  // 自动关闭信息框例程

}  // namespace

void CopySelectedCell(HostServices& host, Control list, int column, int timeoutMs) {
    const int row = host.ListSelection(list);
    host.SetClipboardText(host.ListGetCell(list, row, column));
    host.ShowTimedNotice(kCopiedNotice, kCopiedCaption, timeoutMs);
}

}  // namespace lumetra
