// The window's context menu entry and shortcut (Ctrl+Shift+W) for the WAV export.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <memory>

#include "recording/wav_export_menu.h"
#include "shell/arayuz.h"

namespace orvena {
namespace {

std::optional<std::filesystem::path> choose_source(QWidget* owner, Dialogs& dialogs,
                                                   const std::vector<std::filesystem::path>& all) {
    if (all.empty()) {
        dialogs.message(kNoWavSourceMessage);
        return {};
    }
    QStringList names;
    for (const auto& source : all) names << QFile::decodeName(source.filename().c_str());
    QInputDialog dialog(owner);
    dialog.setWindowTitle(tr8(kWavExportTitle));
    dialog.setLabelText(tr8(kWavSourcePrompt));
    dialog.setComboBoxItems(names);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("Seç"));
    dialog.setCancelButtonText(QStringLiteral("Vazgeç"));
    if (dialog.exec() != QDialog::Accepted) return {};
    const auto chosen = static_cast<std::size_t>(names.indexOf(dialog.textValue()));
    if (chosen >= all.size()) return {};
    return all[chosen];
}

// The user's music folder when there is one, else the home folder: an export is the user's
// file, never one among the program's own.
std::filesystem::path music_or_home_folder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir()) return QFile::encodeName(music).toStdString();
    return QFile::encodeName(QDir::homePath()).toStdString();
}

std::optional<std::filesystem::path> choose_output(QWidget* owner,
                                                   const std::filesystem::path& suggested) {
    QFileDialog dialog(owner, tr8(kWavOutputTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, in Turkish
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("WAV dosyaları (*.wav)"));
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    dialog.setDirectory(QFile::decodeName(suggested.parent_path().c_str()));
    dialog.selectFile(QFile::decodeName(suggested.filename().c_str()));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Konum:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dosya adı:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tür:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Kaydet"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Vazgeç"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return std::filesystem::path(QFile::encodeName(dialog.selectedFiles().first()).toStdString());
}

RenderProgress show_progress(QWidget* owner, std::uint64_t file_bytes) {
    const QString text = tr8(kWavProgressText).arg(QString::fromStdString(size_text(file_bytes)));
    auto dialog = std::make_shared<QProgressDialog>(text, tr8(kWavCancelText), 0, 1000, owner);
    dialog->setWindowTitle(tr8(kWavExportTitle));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(200);
    dialog->setValue(0);
    return [dialog](double done) {
        dialog->setValue(static_cast<int>(done * 1000));
        QApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

}  // namespace

void arayüz::connect_wav_export() {
    auto* action = new QAction(tr8(kWavExportMenuText), this);
    action->setObjectName(QStringLiteral("wav_export"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    addAction(action);
    connect(action, &QAction::triggered, this, [this] {
        const WavExportPlace place{File1->Path(), static_cast<AccidentalSource>(Option2.selected()),
                                   music_or_home_folder(), playing_tuning_files()};
        WavExportQuestions ask;
        ask.choose_source = [this] {
            return choose_source(this, dialogs,
                                 wav_export_sources(recorder->file_path(), program_folder_));
        };
        ask.choose_output = [this](const std::filesystem::path& suggested) {
            return choose_output(this, suggested);
        };
        ask.show_progress = [this](std::uint64_t bytes) { return show_progress(this, bytes); };
        wav_export_Click(st, dialogs, place, ask);
    });
}

}  // namespace orvena
