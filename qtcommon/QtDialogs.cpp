#include "qtcommon/QtDialogs.h"

#include "qtcommon/FontText.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

QString ApplicationTitle() {
    return QStringLiteral("KELVO Light: Quorlen");
}

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, ApplicationTitle(), QString::fromStdString(text));
}

void QtDialogs::ShowError(const std::string& text) {
    QMessageBox::critical(parent_, ApplicationTitle(), QString::fromStdString(text));
}

bool QtDialogs::Confirm(const std::string& question) {
    return QMessageBox::question(parent_, ApplicationTitle(),
                                 QString::fromStdString(question + " ?"),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::OpenFileName(const std::string& title,
                                                   const std::string& filter) {
    QString name = QFileDialog::getOpenFileName(parent_, QString::fromStdString(title),
                                                nextFileName_, QString::fromStdString(filter));
    if (name.isEmpty()) return std::nullopt;
    nextFileName_ = name;
    return name.toStdString();
}

std::optional<std::string> QtDialogs::SaveFileName(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& defaultSuffix) {
    QFileDialog dialog(parent_, QString::fromStdString(title), nextFileName_,
                       QString::fromStdString(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    if (!nextFileName_.isEmpty()) dialog.selectFile(nextFileName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    nextFileName_ = dialog.selectedFiles().first();
    return nextFileName_.toStdString();
}

std::optional<std::string> QtDialogs::InputText(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) {
    bool ok = false;
    QString text = QInputDialog::getText(parent_, QString::fromStdString(caption),
                                         QString::fromStdString(prompt), QLineEdit::Normal,
                                         QString::fromStdString(initial), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<FontSpec> QtDialogs::ChooseFont(const FontSpec& initial) {
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, FontFromSpec(initial), parent_);
    if (!ok) return std::nullopt;
    return SpecFromFont(font);
}
