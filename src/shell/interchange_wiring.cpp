// The window's context menu entries and shortcuts for the MIDI export (Ctrl+Shift+M) and the
// MusicXML export (Ctrl+Shift+X).

#include <QAction>
#include <QFile>

#include "interchange/export_menu.h"
#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "shell/arayuz.h"
#include "shell/export_dialogs.h"

namespace orvena {
namespace {

struct EntryTexts {
    const char* title;
    const char* source_prompt;
    const char* filter;
    const char* suffix;
    const char* progress;
};

ExportQuestions questions(QWidget* owner, const EntryTexts& texts) {
    ExportQuestions ask;
    ask.choose_source = [=](const std::vector<std::filesystem::path>& sources)
        -> std::optional<std::filesystem::path> {
        QStringList names;
        for (const auto& s : sources) names << QFile::decodeName(s.filename().c_str());
        const auto chosen =
            choose_from_list(owner, tr8(texts.title), tr8(texts.source_prompt), names);
        if (!chosen) return std::nullopt;
        return sources[static_cast<std::size_t>(*chosen)];
    };
    ask.choose_tuning = [=]() -> std::optional<MidiTuning> {
        QStringList ways;
        for (const MidiTuningChoice& way : kMidiTuningChoices) ways << tr8(way.text);
        const auto chosen = choose_from_list(owner, tr8(texts.title), tr8(kMidiTuningPrompt), ways);
        if (!chosen) return std::nullopt;
        return kMidiTuningChoices[static_cast<std::size_t>(*chosen)].tuning;
    };
    ask.choose_output = [=](const std::filesystem::path& suggested) {
        return choose_save_file(owner, {tr8(texts.title), tr8(texts.filter),
                                        QString::fromLatin1(texts.suffix), suggested});
    };
    ask.show_progress = [=] {
        return show_progress_box(owner, tr8(texts.title), tr8(texts.progress));
    };
    return ask;
}

}  // namespace

void arayüz::connect_interchange_exports() {
    const EntryTexts midi_texts{kMidiExportTitle, kMidiSourcePrompt,
                                "MIDI dosyaları (*.mid *.midi)", "mid", kMidiProgressText};
    const EntryTexts score_texts{kMusicXmlExportTitle, kMusicXmlSourcePrompt,
                                 "MusicXML dosyaları (*.musicxml *.xml)", "musicxml",
                                 kMusicXmlProgressText};
    const auto add = [this](const char* text, const char* name, int key, auto click,
                            const EntryTexts& texts) {
        auto* action = new QAction(tr8(text), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | key));
        addAction(action);
        connect(action, &QAction::triggered, this, [this, click, texts] {
            const ExportPlace place{
                File1->Path(),          recorder_->file_path(),
                File1->Path(),          static_cast<AccidentalSource>(Option2.selected()),
                music_or_home_folder(), playing_tuning_files()};
            click(st, dialogs_, place, questions(this, texts));
        });
    };
    add(kMidiExportMenuText, "midi_export", Qt::Key_M, &midi_export_Click, midi_texts);
    add(kMusicXmlExportMenuText, "musicxml_export", Qt::Key_X, &musicxml_export_Click, score_texts);
}

}  // namespace orvena
