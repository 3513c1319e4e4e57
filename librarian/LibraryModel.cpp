// The catalogue header comes before any Qt header (see MainFrmCommands.cpp).
#include "gr33/PatchDump.h"

#include "librarian/LibraryModel.h"

#include "librarian/StringGrid.h"

#include <QMimeData>

#include "base/Errors.h"

#include <algorithm>
#include <iterator>

void TLibraryModel::Search(TPatchLibrary* library, const std::string& query) {
    std::vector<PatchSummary> found =
        library ? library->Search(query) : std::vector<PatchSummary>{};
    beginResetModel();
    library_ = library;
    found_ = std::move(found);
    rows_.clear();
    endResetModel();
}

void TLibraryModel::Reread(int row) {
    rows_.at(row) = read(rows_.at(row).summary);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

TLibraryModel::Row TLibraryModel::read(const PatchSummary& summary) const {
    Row row;
    row.summary = summary;
    const PatchBytes bytes = library_->Bytes(summary.id);
    row.favourite = library_->Favourite(summary.id);
    const SoundText sound = PatchSoundText(bytes);
    row.tone = QString::fromStdString(sound.tones);
    row.effect = QString::fromStdString(sound.effect);
    QStringList tags, places;
    for (const std::string& tag : library_->Tags(summary.id))
        tags << QString::fromStdString(tag);
    const std::vector<Sighting> sightings = library_->Sightings(summary.id);
    if (!sightings.empty()) row.firstSeen = sightings.front().when;
    for (const Sighting& sighting : sightings) {
        const QString place = QString::fromStdString(sighting.place);
        if (!places.contains(place)) places << place;
    }
    row.tags = tags.join(", ");
    row.notes = QString::fromStdString(library_->Notes(summary.id));
    row.whereAll = places.join("\n");
    // The table shows the file names; the tool tip the whole paths.
    for (QString& place : places)
        place = place.section('/', -1);
    row.where = places.join("; ");
    return row;
}

std::vector<TLibraryModel::Row> TLibraryModel::readRows(std::size_t first, std::size_t count) {
    std::vector<Row> rows;
    try {
        for (std::size_t k = first; k < first + count; ++k)
            rows.push_back(read(found_[k]));
    } catch (const EKelvoError& error) {
        emit ReadFailed(QString::fromStdString(error.what()));
    }
    return rows;
}

int TLibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TLibraryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TLibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = rows_[index.row()];
    const QString name = QString::fromStdString(row.summary.name);
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Name:
            return row.favourite ? QString::fromUtf8("\u2605 ") + name : name;
        case Tone:
            return row.tone;
        case Effect:
            return row.effect;
        case Tags:
            return row.tags;
        case FirstSeen:
            return QString::fromStdString(LibraryTimeText(row.firstSeen));
        case WhereSeen:
            return row.where;
        }
        break;
    case Qt::ToolTipRole:
        if (index.column() == Name && !row.notes.isEmpty()) return row.notes;
        if (index.column() == WhereSeen) return row.whereAll;
        break;
    }
    return {};
}

QVariant TLibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[ColumnCount] = {"Name", "Tone",       "Multi-FX Type",
                                                      "Tags", "First Seen", "Where Seen"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section >= 0 && section < ColumnCount ? QString(captions[section]) : QVariant();
}

Qt::ItemFlags TLibraryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

void TLibraryModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= ColumnCount) return;
    const auto folded = [](const std::string& name) {
        return QString::fromStdString(name).toCaseFolded();
    };
    // Every row is read before the rows are reset; without all of them the order stays.
    std::vector<Row> more;
    if (column != Name) {
        more = readRows(rows_.size(), found_.size() - rows_.size());
        if (rows_.size() + more.size() < found_.size()) return;
    }
    beginResetModel();
    if (column == Name) {
        std::stable_sort(found_.begin(), found_.end(), [&](const auto& a, const auto& b) {
            return folded(a.name) < folded(b.name);
        });
        rows_.clear();
    } else {
        std::move(more.begin(), more.end(), std::back_inserter(rows_));
        std::stable_sort(rows_.begin(), rows_.end(), [column](const Row& a, const Row& b) {
            switch (column) {
            case Tone:
                return QString::compare(a.tone, b.tone, Qt::CaseInsensitive) < 0;
            case Effect:
                return QString::compare(a.effect, b.effect, Qt::CaseInsensitive) < 0;
            case Tags:
                return QString::compare(a.tags, b.tags, Qt::CaseInsensitive) < 0;
            case FirstSeen:
                return a.firstSeen < b.firstSeen;
            default:
                return QString::compare(a.where, b.where, Qt::CaseInsensitive) < 0;
            }
        });
        for (std::size_t k = 0; k < rows_.size(); ++k)
            found_[k] = rows_[k].summary;
    }
    if (order == Qt::DescendingOrder) {
        std::reverse(found_.begin(), found_.end());
        std::reverse(rows_.begin(), rows_.end());
    }
    endResetModel();
    // The rows on screen are there at once, as they were before the sort.
    fetchMore({});
}

bool TLibraryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && rows_.size() < found_.size();
}

void TLibraryModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    const std::size_t first = rows_.size();
    std::vector<Row> more = readRows(first, std::min<std::size_t>(PageSize, found_.size() - first));
    if (more.empty()) return;
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(first + more.size()) - 1);
    std::move(more.begin(), more.end(), std::back_inserter(rows_));
    endInsertRows();
}

QStringList TLibraryModel::mimeTypes() const {
    return {PatchIdsMimeType};
}

QMimeData* TLibraryModel::mimeData(const QModelIndexList& indexes) const {
    // One id per row, in the order of the rows.
    std::vector<int> rows;
    for (const QModelIndex& index : indexes)
        if (std::find(rows.begin(), rows.end(), index.row()) == rows.end())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    QStringList ids;
    for (int row : rows)
        ids << QString::number(Id(row));
    auto* mime = new QMimeData;
    mime->setData(PatchIdsMimeType, ids.join(' ').toUtf8());
    return mime;
}
