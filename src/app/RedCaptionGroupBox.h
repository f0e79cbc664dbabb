#pragma once

#include <QGroupBox>

namespace lumetra {

// A group box whose caption is drawn in red, whatever the style's own caption colour.
class RedCaptionGroupBox final : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace lumetra
