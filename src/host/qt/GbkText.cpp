#include "host/qt/GbkText.h"

#include "platform/codepage/CodePage.h"

namespace lumetra {

QString ToQString(const Text& gbk) {
    return QString::fromStdU16String(platform::GbkToUtf16(gbk));
}

Text ToGbk(const QString& text) {
    return platform::Utf16ToGbk(text.toStdU16String());
}

}  // namespace lumetra
