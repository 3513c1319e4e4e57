#include "librarian/StringGrid.h"

#include "gr33/PatchNumber.h"
#include "model/Collection.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

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

QMimeData* SlotMimeData(int number) {
    auto* data = new QMimeData;
    data->setData(SlotMimeType, QByteArray::number(QCoreApplication::applicationPid()) + ' ' +
                                    QByteArray::number(number));
    return data;
}

namespace {

// What a drag over the grid would drop; kind None when the grid refuses it.
struct GridDrop {
    enum Kind { None, Patches, Slot, Collection, PatchFile } kind = None;
    int target = 0; // patch number of the cell under the pointer, 0 for none
    int source = 0; // for Slot
    QString file;   // for Collection and PatchFile
};

// The slot a drag carries, 0 unless it comes from this process's grid.
int draggedSlot(const QMimeData& data) {
    const QList<QByteArray> fields = data.data(SlotMimeType).split(' ');
    if (fields.size() != 2 || fields[0].toLongLong() != QCoreApplication::applicationPid())
        return 0;
    const int number = fields[1].toInt();
    return number >= 1 && number <= PatchCount ? number : 0;
}

GridDrop gridDrop(const TStringGrid& grid, const QDropEvent& event) {
    GridDrop drop;
    const QModelIndex cell = grid.indexAt(event.position().toPoint());
    if (cell.isValid()) drop.target = GridToPatch(cell.column() + 1, cell.row() + 1);
    const QMimeData& data = *event.mimeData();
    if (data.hasFormat(PatchIdsMimeType)) {
        if (drop.target) drop.kind = GridDrop::Patches;
    } else if (data.hasFormat(SlotMimeType)) {
        drop.source = draggedSlot(data);
        if (drop.source && drop.target && drop.source != drop.target) drop.kind = GridDrop::Slot;
    } else if (data.hasUrls() && data.urls().size() == 1 && data.urls().front().isLocalFile()) {
        drop.file = data.urls().front().toLocalFile();
        const auto kind = DroppedFileKind(drop.file.toStdString());
        if (kind == FileKind::Collection) drop.kind = GridDrop::Collection;
        if (kind == FileKind::SinglePatch && drop.target) drop.kind = GridDrop::PatchFile;
    }
    return drop;
}

// Accepts a drop the grid takes: a slot as a copy with Ctrl held, else as a move.
bool acceptDrop(const GridDrop& drop, QDropEvent& event) {
    if (drop.kind == GridDrop::None) {
        event.ignore();
        return false;
    }
    if (drop.kind == GridDrop::Slot) {
        event.setDropAction(event.modifiers() & Qt::ControlModifier ? Qt::CopyAction
                                                                    : Qt::MoveAction);
        event.accept();
    } else {
        event.acceptProposedAction();
    }
    return true;
}

} // namespace

void TStringGrid::dragEnterEvent(QDragEnterEvent* event) {
    // Entering over the dragged cell itself must not refuse the drag for the whole grid.
    const QMimeData& data = *event->mimeData();
    if (data.hasFormat(PatchIdsMimeType) || (data.hasFormat(SlotMimeType) && draggedSlot(data)))
        event->acceptProposedAction();
    else
        acceptDrop(gridDrop(*this, *event), *event);
}

void TStringGrid::dragMoveEvent(QDragMoveEvent* event) {
    acceptDrop(gridDrop(*this, *event), *event);
}

void TStringGrid::dropEvent(QDropEvent* event) {
    const GridDrop drop = gridDrop(*this, *event);
    if (!acceptDrop(drop, *event)) return;
    switch (drop.kind) {
    case GridDrop::Patches: {
        QList<qint64> ids;
        const QString text = QString::fromUtf8(event->mimeData()->data(PatchIdsMimeType));
        for (const QString& id : text.split(' ', Qt::SkipEmptyParts))
            ids << id.toLongLong();
        const GridPos pos = PatchToGrid(drop.target);
        emit PatchesDropped(pos.row - 1, pos.column - 1, ids);
        break;
    }
    case GridDrop::Slot:
        emit SlotDropped(drop.source, drop.target, event->dropAction() == Qt::CopyAction);
        break;
    case GridDrop::Collection:
    case GridDrop::PatchFile:
        emit FileDropped(drop.target, drop.file);
        break;
    case GridDrop::None:
        break;
    }
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    pressedCell_ =
        event->button() == Qt::LeftButton ? indexAt(event->position().toPoint()) : QModelIndex();
    pressedAt_ = event->position().toPoint();
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint moved = event->position().toPoint() - pressedAt_;
    if (!pressedCell_.isValid() || !(event->buttons() & Qt::LeftButton) ||
        moved.manhattanLength() < QApplication::startDragDistance()) {
        QTableWidget::mouseMoveEvent(event);
        return;
    }
    const int number = GridToPatch(pressedCell_.column() + 1, pressedCell_.row() + 1);
    pressedCell_ = QModelIndex();
    // The drag takes the pointer until the button is released: the selection stays where the
    // press put it.
    setState(NoState);
    auto* drag = new QDrag(this);
    drag->setMimeData(SlotMimeData(number));
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    pressedCell_ = QModelIndex();
    QTableWidget::mouseReleaseEvent(event);
}
