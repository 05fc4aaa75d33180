// The window's context menu entry and shortcut (Ctrl+Shift+W) for the WAV export.

#include <QAction>
#include <QFile>

#include "recording/wav_export_menu.h"
#include "shell/arayuz.h"
#include "shell/export_dialogs.h"

namespace orvena {
namespace {

std::optional<std::filesystem::path> choose_source(QWidget* owner,
                                                   const std::vector<std::filesystem::path>& all) {
    QStringList names;
    for (const auto& source : all) names << QFile::decodeName(source.filename().c_str());
    const auto chosen = choose_from_list(owner, tr8(kWavExportTitle), tr8(kWavSourcePrompt), names);
    if (!chosen) return {};
    return all[static_cast<std::size_t>(*chosen)];
}

}  // namespace

void arayüz::connect_wav_export() {
    auto* action = new QAction(tr8(kWavExportMenuText), this);
    action->setObjectName(QStringLiteral("wav_export"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    addAction(action);
    connect(action, &QAction::triggered, this, [this] {
        const WavExportPlace place{File1->Path(), static_cast<AccidentalSource>(Option2.selected()),
                                   music_or_home_folder(), playing_tuning_files(),
                                   wav_export_sources(recorder_->file_path(), program_folder_)};
        WavExportQuestions ask;
        ask.choose_source = [this](const std::vector<std::filesystem::path>& all) {
            return choose_source(this, all);
        };
        ask.choose_output = [this](const std::filesystem::path& suggested) {
            return choose_save_file(this,
                                    {tr8(kWavOutputTitle), QStringLiteral("WAV dosyaları (*.wav)"),
                                     QStringLiteral("wav"), suggested});
        };
        ask.show_progress = [this](std::uint64_t bytes) -> RenderProgress {
            const QString size = QString::fromStdString(size_text(bytes));
            return show_progress_box(this, tr8(kWavExportTitle), tr8(kWavProgressText).arg(size));
        };
        wav_export_Click(st, dialogs_, place, ask);
    });
}

}  // namespace orvena
