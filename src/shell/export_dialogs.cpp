#include "shell/export_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <memory>

#include "files/export_folder.h"

namespace orvena {

std::optional<int> choose_from_list(QWidget* owner, const QString& title, const QString& prompt,
                                    const QStringList& items) {
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("Seç"));
    dialog.setCancelButtonText(QStringLiteral("Vazgeç"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const int chosen = static_cast<int>(items.indexOf(dialog.textValue()));
    if (chosen < 0) return std::nullopt;
    return chosen;
}

std::optional<std::filesystem::path> choose_save_file(QWidget* owner, const SaveFileQuestion& q) {
    QFileDialog dialog(owner, q.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked by the caller, in Turkish
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(q.filter);
    dialog.setDefaultSuffix(q.suffix);
    dialog.setDirectory(QFile::decodeName(q.suggested.parent_path().c_str()));
    dialog.selectFile(QFile::decodeName(q.suggested.filename().c_str()));
    return run_file_dialog(dialog, QStringLiteral("Dosya adı:"), QStringLiteral("Kaydet"));
}

std::optional<std::filesystem::path> run_file_dialog(QFileDialog& dialog, const QString& name_label,
                                                     const QString& accept) {
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Konum:"));
    dialog.setLabelText(QFileDialog::FileName, name_label);
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tür:"));
    dialog.setLabelText(QFileDialog::Accept, accept);
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Vazgeç"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().first()).toStdString());
}

std::filesystem::path music_or_home_folder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return music_or_home_folder(QFile::encodeName(music).toStdString(),
                                QFile::encodeName(QDir::homePath()).toStdString());
}

std::function<bool(double)> show_progress_box(QWidget* owner, const QString& title,
                                              const QString& text) {
    auto dialog = std::make_shared<QProgressDialog>(text, QStringLiteral("İptal"), 0, 1000, owner);
    dialog->setWindowTitle(title);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(200);
    dialog->setValue(0);
    return [dialog](double done) {
        dialog->setValue(static_cast<int>(done * 1000));
        QApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

}  // namespace orvena
