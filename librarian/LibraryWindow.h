#pragma once
// The library window: a search field whose results show as the user types, the table of the
// patches found (TLibraryModel, sortable by any column, several rows selectable, rows drag
// onto the grid's cells) and the commands on the selected patches: audition on the device's
// temporary patch (double click or Space), copy into the grid's selected slot or the
// temporary patch, a new set list, the favourite mark, tags, notes, and delete with an undo
// that lasts until the window closes, and the compare window on two selected patches. A query that
// cannot be read shows its message under the field. Size, column widths and the last query are kept
// in the settings (LibraryWindowWidth, LibraryWindowHeight, LibraryWindowColumns,
// LibraryWindowQuery).

#include "gr33/Patch.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TFormMain;
class TLibraryModel;
class TPatchLibrary;

class TLibraryWindow : public QWidget {
    Q_OBJECT
public:
    TLibraryWindow(TFormMain& main, TPatchLibrary& library);

    // Searches again with the field's text (the library gained patches meanwhile).
    void Search();

protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Source rows of the selection, in the order the table shows them.
    std::vector<int> selectedRows() const;
    // The selection's patches; raises when nothing is selected.
    std::vector<std::int64_t> selectedIds() const;
    std::vector<PatchBytes> selectedBytes() const;
    void restoreSettings();
    void storeSettings() const;

    void AuditionClick();
    void CopyToSlotClick();
    void CopyToTempClick();
    void SetListClick();
    void FavouriteClick();
    void TagsClick();
    void NotesClick();
    void DeleteClick();
    void UndoDeleteClick();
    void CompareClick();

    TFormMain& main_;
    TPatchLibrary& library_;
    TLibraryModel* model_;
    QLineEdit* search_;
    QLabel* status_;
    QTableView* table_;
    QPushButton* undo_ = nullptr;
    QPushButton* compare_ = nullptr;
    // Each delete since the window opened, newest last: Undo Delete takes back the newest.
    std::vector<std::vector<std::int64_t>> deleted_;
};
