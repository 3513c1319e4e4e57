#include "librarian/MidiLogWindow.h"

#include "base/AtomicFile.h"
#include "base/Dialogs.h"
#include "gr33/MessageLog.h"
#include "qtcommon/CommandButton.h"

#include <QAbstractListModel>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <deque>

// The log's entries as the window shows them: one row per entry, its lines joined, at most
// as many rows as the log keeps.
class TMidiLogModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.row() < 0 ||
            static_cast<std::size_t>(index.row()) >= rows_.size())
            return {};
        return rows_[static_cast<std::size_t>(index.row())].text;
    }

    void Reset(const std::vector<MidiLogEntry>& entries) {
        beginResetModel();
        rows_.clear();
        for (const MidiLogEntry& entry : entries)
            rows_.push_back(row(entry));
        endResetModel();
    }
    void Append(const MidiLogEntry& entry) {
        // An entry the reset already brought in is not shown twice.
        if (!rows_.empty() && entry.sequence <= rows_.back().sequence) return;
        if (rows_.size() == MidiLogCapacity) {
            beginRemoveRows({}, 0, 0);
            rows_.pop_front();
            endRemoveRows();
        }
        const int at = static_cast<int>(rows_.size());
        beginInsertRows({}, at, at);
        rows_.push_back(row(entry));
        endInsertRows();
    }
    std::string Text() const {
        std::string text;
        for (const Row& row : rows_)
            for (const std::string& line : row.lines)
                text += line + "\n";
        return text;
    }

private:
    struct Row {
        std::uint64_t sequence;
        std::vector<std::string> lines;
        QString text;
    };
    static Row row(const MidiLogEntry& entry) {
        Row row{entry.sequence, Gr33LogLines(entry), {}};
        for (const std::string& line : row.lines)
            row.text += (row.text.isEmpty() ? "" : "\n") + QString::fromStdString(line);
        return row;
    }

    std::deque<Row> rows_;
};

TMidiLogWindow::TMidiLogWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), model_(new TMidiLogModel(this)), list_(new QListView) {
    setObjectName("MidiLogWindow");
    setWindowTitle("MIDI Log");
    list_->setObjectName("MidiLogList");
    list_->setModel(model_);
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setAlternatingRowColors(true);
    list_->setWordWrap(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CommandButton(this, "MidiLogCopy", "Copy", &TMidiLogWindow::CopyClick));
    buttons->addWidget(CommandButton(this, "MidiLogSave", "Save...", &TMidiLogWindow::SaveClick));
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(760, 420);

    // The newest row stays in sight while the user has not scrolled up.
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] {
        const QScrollBar* bar = list_->verticalScrollBar();
        if (bar->value() >= bar->maximum() - 1) list_->scrollToBottom();
    });
}

TMidiLogWindow::~TMidiLogWindow() = default;

void TMidiLogWindow::showEvent(QShowEvent* event) {
    // The window system's own show events (a window mapped or restored) find it watching.
    if (event->spontaneous()) return QWidget::showEvent(event);
    // Entries are noted on whichever thread sends or receives; the model takes them on its
    // own thread, and a call still queued when the window is gone is dropped with the model.
    std::vector<MidiLogEntry> earlier;
    watch_ = MidiLog().Attach(
        [model = model_](const MidiLogEntry& entry) {
            QMetaObject::invokeMethod(
                model, [model, entry] { model->Append(entry); }, Qt::QueuedConnection);
        },
        &earlier);
    model_->Reset(earlier);
    list_->scrollToBottom();
    QWidget::showEvent(event);
}

void TMidiLogWindow::hideEvent(QHideEvent* event) {
    // Minimised or on another desktop, the window goes on recording.
    if (!event->spontaneous()) watch_ = {};
    QWidget::hideEvent(event);
}

void TMidiLogWindow::CopyClick() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(model_->Text()));
}

void TMidiLogWindow::SaveClick() {
    const auto name = Prompts().SaveFileName("Save MIDI Log",
                                             "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "txt");
    if (!name) return;
    const std::string text = model_->Text();
    WriteFileAtomically(*name, Bytes(text.begin(), text.end()));
}
