#include <QTableWidget>

#include "host/qt/GbkText.h"
#include "host/qt/QtHost.h"

// The list operations, each carried out whole on the UI thread.
namespace lumetra {

namespace {

bool HasCell(const QTableWidget& list, int row, int column) {
    return row >= 0 && row < list.rowCount() && column >= 0 && column < list.columnCount();
}

}  // namespace

void QtHost::ListClear(Control list) {
    RunOnUiThread([&] {
        if (QTableWidget* widget = List(list)) {
            widget->setRowCount(0);
        }
    });
}

int QtHost::ListAppendRow(Control list) {
    int row = -1;
    RunOnUiThread([&] {
        QTableWidget* widget = List(list);
        if (widget == nullptr) {
            return;
        }
        row = widget->rowCount();
        widget->insertRow(row);
        for (int column = 0; column < widget->columnCount(); ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            widget->setItem(row, column, item);
        }
    });
    return row;
}

void QtHost::ListSetCell(Control list, int row, int column, const Text& text) {
    RunOnUiThread([&] {
        QTableWidget* widget = List(list);
        if (widget == nullptr || !HasCell(*widget, row, column)) {
            return;  // the row may have been cleared since it was appended
        }
        if (QTableWidgetItem* item = widget->item(row, column)) {
            item->setText(ToQString(text));
        }
    });
}

Text QtHost::ListGetCell(Control list, int row, int column) {
    Text text;
    RunOnUiThread([&] {
        QTableWidget* widget = List(list);
        if (widget == nullptr || !HasCell(*widget, row, column)) {
            return;
        }
        if (const QTableWidgetItem* item = widget->item(row, column)) {
            text = ToGbk(item->text());
        }
    });
    return text;
}

int QtHost::ListSelection(Control list) {
    int first = -1;
    RunOnUiThread([&] {
        QTableWidget* widget = List(list);
        if (widget == nullptr || widget->selectionModel() == nullptr) {
            return;
        }
        for (const QModelIndex& index : widget->selectionModel()->selectedRows()) {
            if (first < 0 || index.row() < first) {
                first = index.row();
            }
        }
    });
    return first;
}

}  // namespace lumetra
