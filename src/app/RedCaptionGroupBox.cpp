#include "app/RedCaptionGroupBox.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace lumetra {

void RedCaptionGroupBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    // Some styles take the caption colour from the option, others from its palette's
    // WindowText; set both here rather than in the widget's palette, which children inherit.
    const QColor red(255, 0, 0);
    option.textColor = red;
    option.palette.setColor(QPalette::WindowText, red);
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}

}  // namespace lumetra
