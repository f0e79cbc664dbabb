#include "app/ReportList.h"

#include <QGuiApplication>
#include <QHeaderView>

#include "app/Legibility.h"
#include "host/qt/GbkText.h"

namespace lumetra {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr std::array kColorGroups{QPalette::Active, QPalette::Inactive, QPalette::Disabled};

}  // namespace

ReportList::ReportList(std::span<const ColumnLayout> columns, QStyle* style, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent) {
    setStyle(style);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setSortingEnabled(false);
    setDragEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setMouseTracking(false);
    viewport()->setAttribute(Qt::WA_Hover, false);

    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(kLeft);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setFixedHeight(kListHeaderHeight);
    for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
        auto* item = new QTableWidgetItem(ToQString(columns[column].title));
        item->setTextAlignment(kLeft);
        setHorizontalHeaderItem(column, item);
        setColumnWidth(column, columns[column].width);
    }

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(kListRowHeight);
    rows->setDefaultSectionSize(kListRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    QPalette colors = palette();
    for (QPalette::ColorGroup group : kColorGroups) {
        colors.setColor(group, QPalette::Base, Qt::white);
        colors.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(colors);
    ShowSelection(false);
}

void ReportList::focusInEvent(QFocusEvent* event) {
    ShowSelection(true);
    QTableWidget::focusInEvent(event);
}

void ReportList::focusOutEvent(QFocusEvent* event) {
    ShowSelection(false);
    QTableWidget::focusOutEvent(event);
}

void ReportList::ShowSelection(bool shown) {
    QPalette colors = palette();
    const QPalette standard = QGuiApplication::palette();
    for (QPalette::ColorGroup group : kColorGroups) {
        colors.setColor(group, QPalette::Highlight,
                        shown ? standard.color(group, QPalette::Highlight) : Qt::white);
        colors.setColor(group, QPalette::HighlightedText,
                        shown ? standard.color(group, QPalette::HighlightedText) : Qt::black);
    }
    setPalette(colors);
}

}  // namespace lumetra
