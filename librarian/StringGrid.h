#pragma once
// The grid widget of the librarian: a table whose selection is always exactly one patch cell.
// Clicks, keys and Ctrl-clicks move that one cell; nothing deselects it and nothing edits it.
// Patches dragged from the library window drop onto a cell.

#include <QTableWidget>

// Library patch ids, as text separated by blanks, in the order of the rows dragged.
inline constexpr const char* PatchIdsMimeType = "application/x-kelvolight-patch-ids";

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

signals:
    // Library patches were dropped onto the cell (0-based row and column).
    void PatchesDropped(int row, int column, const QList<qint64>& ids);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
