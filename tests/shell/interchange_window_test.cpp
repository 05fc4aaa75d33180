// The window's MIDI and MusicXML entries with the real dialogs, and the options --help lists.

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>

#include "interchange/export_menu.h"
#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "shell/command_line.h"
#include "started_window.h"
#include "support/temp_dir.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

class InterchangeWindow : public test::StartedWindow {
  protected:
    // The file dialog opens in the user's music folder: a home of the test's own.
    void SetUp() override {
        test::StartedWindow::SetUp();
        ::setenv("HOME", home_.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home_ / ".config").c_str(), 1);
        fs::create_directory(home_ / "Music");
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_env_) {
            if (value) {
                ::setenv(name, value->c_str(), 1);
            } else {
                ::unsetenv(name);
            }
        }
        test::StartedWindow::TearDown();
    }
    static std::optional<std::string> env(const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    test::TempDir home_;
    const std::vector<std::pair<const char*, std::optional<std::string>>> saved_env_ = {
        {"HOME", env("HOME")}, {"XDG_CONFIG_HOME", env("XDG_CONFIG_HOME")}};

    // Answers the dialogs the entry opens: the list questions with the item named, the file
    // dialog with its suggested name. Returns what the lists offered and the name suggested.
    struct Answers {
        std::vector<QStringList> offered;
        QString folder, suggested;  // where the file dialog opened, and the name it offered
    };
    Answers run_entry(const char* object_name, const std::vector<QString>& picks) {
        Answers seen;
        std::size_t next = 0;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible()) return;
            if (auto* input = qobject_cast<QInputDialog*>(modal)) {
                seen.offered.push_back(input->comboBoxItems());
                if (next < picks.size()) input->setTextValue(picks[next++]);
                input->accept();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                seen.folder = files->directory().absolutePath();
                if (auto* name = files->findChild<QLineEdit*>()) seen.suggested = name->text();
                QMetaObject::invokeMethod(files, "accept");
            }
        });
        answer.start(10);
        QAction* entry = w_->findChild<QAction*>(QString::fromLatin1(object_name));
        EXPECT_NE(entry, nullptr);
        EXPECT_TRUE(w_->actions().contains(entry));
        if (entry != nullptr) entry->trigger();
        return seen;
    }
};

TEST_F(InterchangeWindow, MidiEntryAsksSourceTuningAndFileThenWritesIt) {
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n");
    test::write_file_bytes(w_->recorder->file_path(), " 12 0 300\r\n");
    const QString bend = QString::fromUtf8(kMidiTuningChoices[1]);
    const Answers seen = run_entry("midi_export", {QStringLiteral("ezgi.ses"), bend});
    ASSERT_EQ(seen.offered.size(), 2u);
    EXPECT_EQ(seen.offered[0],
              QStringList({QStringLiteral("kayıt.txt"), QStringLiteral("ezgi.ses")}));
    EXPECT_EQ(seen.offered[1].size(), 2);
    EXPECT_EQ(seen.folder, QString::fromStdString((home_ / "Music").string()));
    EXPECT_EQ(seen.suggested, QStringLiteral("ezgi.mid"));
    EXPECT_EQ(dialogs_.texts(), std::vector<std::string>{"MIDI dosyası yazıldı:\r\n" +
                                                         (home_ / "Music" / "ezgi.mid").string()});
    const std::string bytes = test::read_file_bytes(home_ / "Music" / "ezgi.mid");
    EXPECT_EQ(bytes.substr(0, 4), "MThd");
    EXPECT_NE(bytes.find('\xE1'), std::string::npos);  // a pitch bend on channel 2
}

TEST_F(InterchangeWindow, MusicXmlEntryOffersTheSequenceFilesOnly) {
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n");
    test::write_file_bytes(w_->recorder->file_path(), " 12 0 300\r\n");
    const Answers seen = run_entry("musicxml_export", {QStringLiteral("ezgi.ses")});
    ASSERT_EQ(seen.offered.size(), 1u);
    EXPECT_EQ(seen.offered[0], QStringList({QStringLiteral("ezgi.ses")}));
    EXPECT_EQ(seen.suggested, QStringLiteral("ezgi.musicxml"));
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{"MusicXML dosyası yazıldı:\r\n" +
                                       (home_ / "Music" / "ezgi.musicxml").string()});
    EXPECT_TRUE(test::read_file_bytes(home_ / "Music" / "ezgi.musicxml").starts_with("<?xml"));
}

TEST(InterchangeOptions, HelpListsTheExportsAndTheTuningGoesWithMidiOnly) {
    std::ostringstream help, err;
    EXPECT_EQ(parse_command_line({"orvena", "--help"}, help, err).exit_status, 0);
    for (const char* option : {"--export-midi <DOSYA ÇIKTI.mid>", "--midi-tuning <mts|bend>",
                               "--export-musicxml <DOSYA.ses ÇIKTI.musicxml>"}) {
        EXPECT_NE(help.str().find(option), std::string::npos) << option;
    }
    EXPECT_EQ(parse_command_line({"orvena", "--midi-tuning", "mts"}, help, err).exit_status,
              kCommandLineError);
    EXPECT_NE(err.str().find("--midi-tuning yalnız --export-midi ile kullanılır"),
              std::string::npos);
}

}  // namespace
}  // namespace orvena
