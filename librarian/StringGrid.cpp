#include "librarian/StringGrid.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
    setObjectName("StringGrid");
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setFrameShape(QFrame::NoFrame);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setMinimumSectionSize(1);
    }
}

QItemSelectionModel::SelectionFlags TStringGrid::selectionCommand(const QModelIndex& index,
                                                                  const QEvent*) const {
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

namespace {

// The cell under a drag of library patches, or none.
QModelIndex dropCell(const TStringGrid& grid, const QDropEvent& event) {
    if (!event.mimeData()->hasFormat(PatchIdsMimeType)) return {};
    return grid.indexAt(event.position().toPoint());
}

} // namespace

void TStringGrid::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(PatchIdsMimeType))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TStringGrid::dragMoveEvent(QDragMoveEvent* event) {
    if (dropCell(*this, *event).isValid())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TStringGrid::dropEvent(QDropEvent* event) {
    const QModelIndex cell = dropCell(*this, *event);
    if (!cell.isValid()) {
        event->ignore();
        return;
    }
    QList<qint64> ids;
    const QString text = QString::fromUtf8(event->mimeData()->data(PatchIdsMimeType));
    for (const QString& id : text.split(' ', Qt::SkipEmptyParts))
        ids << id.toLongLong();
    event->acceptProposedAction();
    emit PatchesDropped(cell.row(), cell.column(), ids);
}
