#pragma once

#include <QTableWidget>
#include <span>

#include "app/WindowLayout.h"

namespace lumetra {

// A list control in report view: column header, whole-row single selection, grid lines,
// black on white, no editing, sorting, hot tracking or column dragging. Like the lists the
// layout was made for, it shows its selection only while it has the keyboard focus.
class ReportList final : public QTableWidget {
  public:
    ReportList(std::span<const ColumnLayout> columns, QStyle* style, QWidget* parent);

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void ShowSelection(bool shown);
};

}  // namespace lumetra
