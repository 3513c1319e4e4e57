#pragma once
// The grid widget of the librarian: a table whose selection is always exactly one patch cell.
// Clicks, keys and Ctrl-clicks move that one cell; nothing deselects it and nothing edits it.
// Patches dragged from the library window drop onto a cell; a cell dragged with the left button
// drops onto another cell (moved, or copied with Ctrl held); a collection or patch file dragged
// from the desktop drops onto the grid.

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTableWidget>

class QMimeData;

// Library patch ids, as text separated by blanks, in the order of the rows dragged.
inline constexpr const char* PatchIdsMimeType = "application/x-kelvolight-patch-ids";
// A slot of this process's grid: the process id and the patch number, separated by a blank.
inline constexpr const char* SlotMimeType = "application/x-kelvolight-slot";

// What a drag of slot `number` carries.
QMimeData* SlotMimeData(int number);

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

signals:
    // Library patches were dropped onto the cell (0-based row and column).
    void PatchesDropped(int row, int column, const QList<qint64>& ids);
    // Slot `source` was dropped onto slot `target` (patch numbers), with Ctrl held for a copy.
    void SlotDropped(int source, int target, bool copy);
    // A collection or patch file was dropped, over slot `target`.
    void FileDropped(int target, const QString& fileName);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The cell a left press went down on and where; a drag starts once the pointer has moved
    // far enough from there with the button held.
    QPersistentModelIndex pressedCell_;
    QPoint pressedAt_;
};
