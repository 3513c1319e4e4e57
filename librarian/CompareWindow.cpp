// The catalogue header comes before any Qt header (see MainFrmCommands.cpp).
#include "gr33/PatchDump.h"

#include "librarian/CompareWindow.h"

#include <QListWidget>
#include <QVBoxLayout>

TCompareWindow::TCompareWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), list_(new QListWidget) {
    setObjectName("CompareWindow");
    list_->setObjectName("CompareList");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    resize(520, 360);
}

void TCompareWindow::Compare(const std::string& title, const PatchBytes& a, const PatchBytes& b) {
    setWindowTitle(QString::fromStdString(title));
    list_->clear();
    std::vector<std::string> lines = DiffLines(a, b);
    if (lines.empty()) lines.push_back("identical");
    for (const std::string& line : lines)
        list_->addItem(QString::fromStdString(line));
    show();
    raise();
    activateWindow();
}
