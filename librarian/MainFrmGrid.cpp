// The librarian's grid: layout measured from the grid font, cell texts, the selected patch,
// the right-press rules that pick the context menu, and the window's size limit.

#include "librarian/MainFrm.h"

#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "librarian/CollectionUndo.h"
#include "librarian/StringGrid.h"
#include "model/GridFont.h"
#include "model/Settings.h"
#include "qtcommon/FontText.h"
#include "qtcommon/RunHandler.h"

#include <QAbstractButton>
#include <QAction>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

namespace {

constexpr int HeadingColumnWidth = 24;
const QColor GridTextColour(0x00, 0x00, 0x80); // navy

// The grid font before any GridFont setting: the desktop's sans-serif face at 8 points.
FontSpec designFont() {
    return {8, 0, QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString()};
}

} // namespace

void TFormMain::createGrid() {
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ScrollBox");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    grid_ = new TStringGrid;
    grid_->setColumnCount(4);
    grid_->setRowCount(PatchCount / 4);
    scroll_->setWidget(grid_);
    setCentralWidget(scroll_);

    QPalette palette = grid_->palette();
    palette.setColor(QPalette::Text, GridTextColour);
    grid_->setPalette(palette);
    grid_->setStyleSheet("QHeaderView::section { background-color: palette(light); "
                         "color: black; border: none; border-right: 1px solid palette(mid); "
                         "border-bottom: 1px solid palette(mid); padding: 0px; }");

    // Right presses decide the context menu; they reach this window before the grid sees them.
    grid_->viewport()->installEventFilter(this);
    // The top-left corner button is no cell: a right press there picks the collection menu.
    if (auto* corner = grid_->findChild<QAbstractButton*>()) corner->installEventFilter(this);
    for (QHeaderView* header : {grid_->horizontalHeader(), grid_->verticalHeader()}) {
        header->viewport()->installEventFilter(this);
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this,
                [this, header](const QPoint& pos) { openGridPopup(header->mapToGlobal(pos)); });
    }
    // Keys on the grid reach this window first: Return edits, the Menu key opens the menu.
    grid_->installEventFilter(this);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { openGridPopup(grid_->viewport()->mapToGlobal(pos)); });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] {
        QAction* edit = findChild<QAction*>("EditPatch1");
        if (edit) edit->trigger();
    });
    connect(grid_, &TStringGrid::SlotDropped, this, [this](int source, int target, bool copy) {
        history_->Begin(copy ? "Copy" : "Move");
        RunHandler([&] { GridSlotDropped(source, target, copy); });
        history_->End();
    });
    connect(grid_, &TStringGrid::FileDropped, this, [this](int target, const QString& fileName) {
        history_->Begin("Load Patch");
        RunHandler([&] { GridFileDropped(target, fileName); });
        history_->End();
    });
    gridFont_ = designFont();
}

void TFormMain::GridSlotDropped(int source, int target, bool copy) {
    if (copy)
        collection_.CopyPatchOver(source, target);
    else
        collection_.MovePatch(source, target);
    const GridPos pos = PatchToGrid(target);
    grid_->setCurrentCell(pos.row - 1, pos.column - 1);
}

void TFormMain::GridFileDropped(int target, const QString& fileName) {
    collection_.OpenDroppedFile(target, fileName.toStdString());
}

void TFormMain::BuildGrid(bool initial) {
    FontSpec font = designFont();
    std::string fontError;
    try {
        StringToFont(font, ReadSetting("GridFont"));
    } catch (const EKelvoError& e) {
        // A hand-edited setting that does not parse: the grid is still built, in the design font.
        fontError = e.what();
    }
    gridFont_ = font;
    QFont qfont = FontFromSpec(font);
    grid_->setFont(qfont);
    grid_->horizontalHeader()->setFont(qfont);
    grid_->verticalHeader()->setFont(qfont);

    QFontMetrics metrics(qfont);
    int w = metrics.horizontalAdvance("XXX: WXXXXXXXXXXW") + 6;
    int h = metrics.height() + 4;
    QHeaderView* top = grid_->horizontalHeader();
    QHeaderView* left = grid_->verticalHeader();
    top->setDefaultSectionSize(w);
    left->setDefaultSectionSize(h);
    top->setFixedHeight(h);
    // The heading column keeps its 24 pixels unless the font needs more for "D8".
    left->setFixedWidth(std::max(HeadingColumnWidth, metrics.horizontalAdvance("D8") + 6));

    QStringList columns, rows;
    for (int c = 1; c <= 4; ++c)
        columns << QString::number(c);
    for (int r = 1; r <= PatchCount / 4; ++r)
        rows << QString::fromStdString(RowHeading(r));
    grid_->setHorizontalHeaderLabels(columns);
    grid_->setVerticalHeaderLabels(rows);
    for (int c = 0; c < 4; ++c)
        grid_->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    for (int r = 0; r < PatchCount / 4; ++r)
        grid_->verticalHeaderItem(r)->setTextAlignment(Qt::AlignCenter);

    if (initial) {
        for (int n = 1; n <= PatchCount; ++n) {
            GridPos pos = PatchToGrid(n);
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(pos.row - 1, pos.column - 1, item);
            UpdateCell(pos.column, pos.row);
        }
        grid_->setCurrentCell(0, 0);
    }

    grid_->setFixedSize(gridSize());

    if (initial) {
        // Open on about the upper half of the grid, all four columns in view.
        int scrollBar = scroll_->verticalScrollBar()->sizeHint().width();
        int clientWidth = grid_->width() + scrollBar;
        int clientHeight = top->height() / 2 + grid_->height() / 2 + 1;
        resize(clientWidth, clientHeight + menuBar()->sizeHint().height());
    }
    if (!fontError.empty()) throw EKelvoError(fontError);
}

QSize TFormMain::gridSize() const {
    int width = grid_->verticalHeader()->width() + grid_->horizontalHeader()->length();
    int height = grid_->horizontalHeader()->height() + grid_->verticalHeader()->length();
    return {width, height};
}

void TFormMain::UpdateCell(int column, int row) {
    QTableWidgetItem* item = grid_->item(row - 1, column - 1);
    if (!item) return;
    item->setText(QString::fromStdString(collection_.CellText(GridToPatch(column, row))));
}

void TFormMain::CellChanged(int number) {
    GridPos pos = PatchToGrid(number);
    UpdateCell(pos.column, pos.row);
}

int TFormMain::SelectedPatch() const {
    QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) return 1;
    return GridToPatch(current.column() + 1, current.row() + 1);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            return StringGridKeyDown(key->key());
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            StringGridMouseDown(watched, mouse->position().toPoint());
            return true; // the grid itself would move the selection on any button
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::StringGridMouseDown(QObject* source, const QPoint& pos) {
    QModelIndex cell;
    if (source == grid_->viewport()) cell = grid_->indexAt(pos);
    if (cell.isValid()) {
        if (findChild<QAction*>("RightClickSelect1")->isChecked())
            grid_->setCurrentCell(cell.row(), cell.column());
        gridPopup_ = popupPatch_;
    } else {
        gridPopup_ = popupCollection_;
    }
}

bool TFormMain::StringGridKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // As a double click does: through "Edit" of the selected patch.
        if (QAction* edit = findChild<QAction*>("EditPatch1")) edit->trigger();
        return true;
    }
    if (key == Qt::Key_Menu) {
        // As a right press on the selected cell: the patch menu, over that cell.
        gridPopup_ = popupPatch_;
        QRect cell = grid_->visualRect(grid_->currentIndex());
        openGridPopup(grid_->viewport()->mapToGlobal(cell.center()));
        return true;
    }
    return false;
}

void TFormMain::openGridPopup(const QPoint& globalPos) {
    gridPopup_->popup(globalPos);
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    fitToGrid();
}

void TFormMain::fitToGrid() {
    // The window may be smaller than the grid (it then scrolls) but never larger.
    QSize view = scroll_->viewport()->size();
    QSize grid = grid_->size();
    int dw = std::max(0, view.width() - grid.width());
    int dh = std::max(0, view.height() - grid.height());
    if (dw > 0 || dh > 0) resize(width() - dw, height() - dh);
}
