// The catalogue header comes before any Qt header (see MainFrmCommands.cpp).
#include "librarian/LibraryModel.h"

#include "librarian/LibraryWindow.h"

#include "base/Dialogs.h"
#include "base/Errors.h"
#include "gr33/PatchNumber.h"
#include "librarian/MainFrm.h"
#include "model/Settings.h"
#include "qtcommon/CommandButton.h"
#include "qtcommon/RunHandler.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

std::string patchesText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " patch" : " patches");
}

// "live, pad" as the tags it lists, without blanks around them and without empty ones.
std::vector<std::string> tagList(const std::string& text) {
    std::vector<std::string> tags;
    for (const QString& tag : QString::fromStdString(text).split(',', Qt::SkipEmptyParts)) {
        const std::string trimmed = tag.trimmed().toStdString();
        if (!trimmed.empty() && std::find(tags.begin(), tags.end(), trimmed) == tags.end())
            tags.push_back(trimmed);
    }
    return tags;
}

} // namespace

TLibraryWindow::TLibraryWindow(TFormMain& main, TPatchLibrary& library)
    : QWidget(&main, Qt::Window), main_(main), library_(library), model_(new TLibraryModel(this)),
      search_(new QLineEdit), status_(new QLabel), table_(new QTableView) {
    setObjectName("LibraryWindow");
    setWindowTitle("Patch Library");
    search_->setObjectName("LibrarySearch");
    search_->setPlaceholderText("name, tone:piano, \"Rev Send Level\">30, tag:live, "
                                "is:favourite, duplicates ...");
    search_->setClearButtonEnabled(true);
    status_->setObjectName("LibraryStatus");
    table_->setObjectName("LibraryTable");
    table_->setModel(model_);
    connect(model_, &TLibraryModel::ReadFailed, status_, &QLabel::setText);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setDragEnabled(true);
    table_->setDragDropMode(QAbstractItemView::DragOnly);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setSortingEnabled(true);
    table_->sortByColumn(TLibraryModel::Name, Qt::AscendingOrder);
    table_->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        CommandButton(this, "LibraryAudition", "Audition", &TLibraryWindow::AuditionClick));
    buttons->addWidget(
        CommandButton(this, "LibraryCopyToSlot", "Copy To Slot", &TLibraryWindow::CopyToSlotClick));
    buttons->addWidget(CommandButton(this, "LibraryCopyToTemp", "Copy To Temporary Patch",
                                     &TLibraryWindow::CopyToTempClick));
    buttons->addWidget(
        CommandButton(this, "LibrarySetList", "New Set List", &TLibraryWindow::SetListClick));
    buttons->addWidget(
        CommandButton(this, "LibraryFavourite", "Favourite", &TLibraryWindow::FavouriteClick));
    buttons->addWidget(CommandButton(this, "LibraryTags", "Tags...", &TLibraryWindow::TagsClick));
    buttons->addWidget(
        CommandButton(this, "LibraryNotes", "Notes...", &TLibraryWindow::NotesClick));
    buttons->addWidget(
        CommandButton(this, "LibraryDelete", "Delete", &TLibraryWindow::DeleteClick));
    undo_ =
        CommandButton(this, "LibraryUndoDelete", "Undo Delete", &TLibraryWindow::UndoDeleteClick);
    undo_->setEnabled(false);
    buttons->addWidget(undo_);
    compare_ = CommandButton(this, "LibraryCompare", "Compare", &TLibraryWindow::CompareClick);
    compare_->setEnabled(false);
    buttons->addWidget(compare_);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(status_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    // Compare takes exactly two patches; a new search clears the selection without a signal.
    const auto twoSelected = [this] { compare_->setEnabled(selectedRows().size() == 2); };
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, twoSelected);
    connect(model_, &QAbstractItemModel::modelReset, this, twoSelected);
    connect(table_, &QAbstractItemView::doubleClicked, this,
            [this] { RunHandler([&] { AuditionClick(); }); });
    // The stored query goes into the field before the field is watched: one search at opening.
    restoreSettings();
    Search();
    connect(search_, &QLineEdit::textChanged, this, [this] { Search(); });
    // Columns nobody has sized yet fit what the first rows show.
    if (ReadSetting("LibraryWindowColumns").empty()) table_->resizeColumnsToContents();
}

void TLibraryWindow::Search() {
    // Typing goes on while a query is half written: its message shows under the field, and
    // the rows of the last query that could be read stay.
    try {
        model_->Search(&library_, search_->text().toStdString());
        // Before the rows are read, so that a library failing to read them says so last.
        status_->setText(QString::fromStdString(patchesText(model_->Found()) + " found"));
        const QHeaderView* header = table_->horizontalHeader();
        if (header->sortIndicatorSection() != TLibraryModel::Name ||
            header->sortIndicatorOrder() != Qt::AscendingOrder)
            model_->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
        // The first page at once; the view fetches the rest as it scrolls.
        if (model_->canFetchMore({})) model_->fetchMore({});
    } catch (const EKelvoError& error) {
        status_->setText(QString::fromStdString(error.what()));
    }
}

std::vector<int> TLibraryWindow::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<std::int64_t> TLibraryWindow::selectedIds() const {
    std::vector<std::int64_t> ids;
    for (int row : selectedRows())
        ids.push_back(model_->Id(row));
    if (ids.empty()) throw EKelvoError("No patch of the library is selected");
    return ids;
}

std::vector<PatchBytes> TLibraryWindow::selectedBytes() const {
    std::vector<PatchBytes> patches;
    for (std::int64_t id : selectedIds())
        patches.push_back(library_.Bytes(id));
    return patches;
}

void TLibraryWindow::AuditionClick() {
    main_.Collection().Audition(selectedBytes().front());
}

void TLibraryWindow::CompareClick() {
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 2) return;
    const std::vector<PatchBytes> patches = selectedBytes();
    main_.ShowComparison("Compare " + model_->PatchName(rows[0]) + " With " +
                             model_->PatchName(rows[1]),
                         patches[0], patches[1]);
}

void TLibraryWindow::CopyToSlotClick() {
    main_.Collection().PutPatches(main_.SelectedPatch(), selectedBytes());
}

void TLibraryWindow::CopyToTempClick() {
    const std::vector<PatchBytes> patches = selectedBytes();
    main_.Collection().PutPatches(TempPatchNumber, {patches.data(), 1});
}

void TLibraryWindow::SetListClick() {
    const std::vector<PatchBytes> patches = selectedBytes();
    if (patches.size() > PatchCount)
        throw EKelvoError(patchesText(patches.size()) + " selected; a collection holds 128");
    main_.Collection().ShowSlots(patches);
}

void TLibraryWindow::FavouriteClick() {
    const std::vector<int> rows = selectedRows();
    const std::vector<std::int64_t> ids = selectedIds();
    // One click marks them all, or takes the mark off when the first one has it.
    const bool favourite = !model_->Favourite(rows.front());
    for (std::int64_t id : ids)
        library_.SetFavourite(id, favourite);
    for (int row : rows)
        model_->Reread(row);
}

void TLibraryWindow::TagsClick() {
    const std::vector<int> rows = selectedRows();
    const std::vector<std::int64_t> ids = selectedIds();
    std::string current;
    for (const std::string& tag : library_.Tags(ids.front()))
        current += (current.empty() ? "" : ", ") + tag;
    const auto answer = Prompts().InputText("Tags", "Tags, separated by commas", current);
    if (!answer) return;
    const std::vector<std::string> wanted = tagList(*answer);
    for (std::int64_t id : ids) {
        for (const std::string& tag : library_.Tags(id))
            if (std::find(wanted.begin(), wanted.end(), tag) == wanted.end())
                library_.RemoveTag(id, tag);
        for (const std::string& tag : wanted)
            library_.AddTag(id, tag);
    }
    for (int row : rows)
        model_->Reread(row);
}

void TLibraryWindow::NotesClick() {
    const std::int64_t id = selectedIds().front();
    const auto answer = Prompts().InputText(
        "Notes", "Notes on " + model_->PatchName(selectedRows().front()), library_.Notes(id));
    if (!answer) return;
    library_.SetNotes(id, *answer);
    model_->Reread(selectedRows().front());
}

void TLibraryWindow::DeleteClick() {
    const std::vector<std::int64_t> ids = selectedIds();
    if (!Confirmation("Delete " + patchesText(ids.size()) + " from the library")) return;
    library_.SetDeleted(ids, true);
    deleted_.push_back(ids);
    undo_->setEnabled(true);
    Search();
}

void TLibraryWindow::UndoDeleteClick() {
    if (deleted_.empty()) return;
    library_.SetDeleted(deleted_.back(), false);
    deleted_.pop_back();
    undo_->setEnabled(!deleted_.empty());
    Search();
}

bool TLibraryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Delete) {
            RunHandler([&] { key == Qt::Key_Space ? AuditionClick() : DeleteClick(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TLibraryWindow::hideEvent(QHideEvent* event) {
    // The deleted patches stay deleted once the window is gone; only its undo ends. Minimised
    // or on another desktop (a hide that comes from the window system) it is still open.
    if (!event->spontaneous()) {
        deleted_.clear();
        undo_->setEnabled(false);
        storeSettings();
    }
    QWidget::hideEvent(event);
}

void TLibraryWindow::restoreSettings() {
    const auto width = SettingInteger(ReadSetting("LibraryWindowWidth"));
    const auto height = SettingInteger(ReadSetting("LibraryWindowHeight"));
    // A hand-edited value outside what a screen can show leaves the window at its own size.
    if (width && height && *width >= 200 && *height >= 150)
        resize(*width, *height);
    else
        resize(860, 480);
    const QStringList widths =
        QString::fromStdString(ReadSetting("LibraryWindowColumns")).split(',');
    for (int column = 0; column < widths.size() && column < TLibraryModel::ColumnCount; ++column) {
        const auto pixels = SettingInteger(widths[column].toStdString());
        if (pixels && *pixels >= 10 && *pixels <= 2000) table_->setColumnWidth(column, *pixels);
    }
    search_->setText(QString::fromStdString(ReadSetting("LibraryWindowQuery")));
}

void TLibraryWindow::storeSettings() const {
    WriteSetting("LibraryWindowWidth", std::to_string(width()));
    WriteSetting("LibraryWindowHeight", std::to_string(height()));
    QStringList widths;
    for (int column = 0; column < TLibraryModel::ColumnCount; ++column)
        widths << QString::number(table_->columnWidth(column));
    WriteSetting("LibraryWindowColumns", widths.join(',').toStdString());
    WriteSetting("LibraryWindowQuery", search_->text().toStdString());
}
