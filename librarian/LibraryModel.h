#pragma once
// The rows of the library window: the patches a search found, read from the patch library a
// page at a time as the view scrolls (canFetchMore/fetchMore), so a search of many thousand
// patches reads the details of only the rows shown. Columns: Name (a star for a favourite),
// Tone, Multi-FX Type, Tags, First Seen, Where Seen; the name's tool tip shows the notes.
// Rows drag as PatchIdsMimeType.

#include "library/Library.h"

#include <QAbstractTableModel>

#include <vector>

class TLibraryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Tone, Effect, Tags, FirstSeen, WhereSeen, ColumnCount };
    static constexpr int PageSize = 100;

    explicit TLibraryModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Runs the query on the library (none: no rows). A query that cannot be read raises
    // EKelvoError with the library's message and leaves the rows as they were.
    void Search(TPatchLibrary* library, const std::string& query);
    // Reads the row's details again, after its favourite mark or tags changed.
    void Reread(int row);
    // All the search found, fetched or not.
    int Found() const { return static_cast<int>(found_.size()); }
    std::int64_t Id(int row) const { return rows_.at(row).summary.id; }
    bool Favourite(int row) const { return rows_.at(row).favourite; }
    const std::string& PatchName(int row) const { return rows_.at(row).summary.name; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Sorting by name orders what the search found without reading it; any other column
    // reads every row first.
    void sort(int column, Qt::SortOrder order) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

signals:
    // The library could not be read while the view sorted or fetched rows (Qt calls those
    // itself, where nothing may raise): the rows read so far stay, the text says why.
    void ReadFailed(const QString& text);

private:
    struct Row {
        PatchSummary summary;
        bool favourite = false;
        QString tone, effect, tags, where, whereAll, notes;
        qint64 firstSeen = 0;
    };
    Row read(const PatchSummary& summary) const;
    // The rows of found_[first, first + count), or those before the first that failed.
    std::vector<Row> readRows(std::size_t first, std::size_t count);

    TPatchLibrary* library_ = nullptr;
    std::vector<PatchSummary> found_;
    std::vector<Row> rows_; // the first rows of found_, read so far
};
