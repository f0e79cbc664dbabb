#include "app/Legibility.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QTabBar>
#include <array>

namespace lumetra {

namespace {

constexpr std::array kPreferredFamilies{"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                        "Source Han Sans SC"};

}  // namespace

QFont LegibleFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QStringList installed = QFontDatabase::families();
    for (const char* family : kPreferredFamilies) {
        if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) {
            font.setFamilies({QString::fromLatin1(family)});
            break;
        }
    }
    font.setPixelSize(kFontPixelSize);
    return font;
}

LegibleStyle::LegibleStyle() : QProxyStyle() {}

int LegibleStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                              const QWidget* widget) const {
    // Item views pad a cell's text by this margin plus one on each side.
    if (metric == PM_FocusFrameHMargin && qobject_cast<const QAbstractItemView*>(widget)) {
        return kCellTextMargin - 1;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize LegibleStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_TabBarTab) {
        result.setHeight(kTabRowHeight);
    }
    return result;
}

}  // namespace lumetra
