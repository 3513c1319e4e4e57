#pragma once
// The grid widget of the librarian: a table whose selection is always exactly one patch cell.
// Clicks, keys and Ctrl-clicks move that one cell; nothing deselects it and nothing edits it.

#include <QTableWidget>

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};
