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

namespace {

// Qt's name filters from description|pattern pairs: each becomes "description (pattern)",
// and the dialog hides the added pattern, so it shows the description as given. "*.*" means
// every file, also one without a dot in its name.
QStringList nameFilters(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1] == QLatin1String("*.*") ? QStringLiteral("*") : parts[i + 1];
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}

} // namespace

std::optional<std::string> QtDialogs::fileName(const std::string& title, const std::string& filter,
                                               const std::string& defaultSuffix, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(title));
    dialog.setNameFilters(nameFilters(filter));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!nextFileName_.isEmpty()) dialog.selectFile(nextFileName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    nextFileName_ = dialog.selectedFiles().first();
    return nextFileName_.toStdString();
}

std::optional<std::string> QtDialogs::OpenFileName(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& defaultSuffix) {
    return fileName(title, filter, defaultSuffix, false);
}

std::optional<std::string> QtDialogs::SaveFileName(const std::string& title,
                                                   const std::string& filter,
                                                   const std::string& defaultSuffix) {
    return fileName(title, filter, defaultSuffix, true);
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
