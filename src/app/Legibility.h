#pragma once

#include <QFont>
#include <QProxyStyle>

// Font and metrics chosen so every text of the fixed layout shows whole at the layout's
// sizes: an 11-digit number in an 80 px column, five message rows under the header of a
// 120 px list, the button captions inside their 72 and 64 px buttons.
namespace lumetra {

inline constexpr int kFontPixelSize = 12;  // pixels, not points: the layout is in pixels
inline constexpr int kListRowHeight = 19;  // 5 rows + header inside 120 px, 10+ in 248 px
inline constexpr int kListHeaderHeight = 20;
inline constexpr int kCellTextMargin = 2;  // each side of a cell's text
inline constexpr int kTabRowHeight = 24;   // the pages' controls start at y 24

// A family with CJK glyphs, so no caption shows as boxes: the first installed of the
// preferred families, else the default family, at kFontPixelSize.
QFont LegibleFont();

// The metrics above for the lists and the tab row, over the application's style.
class LegibleStyle final : public QProxyStyle {
  public:
    LegibleStyle();
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
};

}  // namespace lumetra
