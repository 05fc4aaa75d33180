// The window's export entries (WAV, MIDI, MusicXML) with the real dialogs.

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "started_window.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's time.
struct ScopedEnv {
    ScopedEnv(const char* n, const std::string& v) : name(n), old(qgetenv(n)) {
        qputenv(n, v.c_str());
    }
    ~ScopedEnv() { had ? qputenv(name, old) : qunsetenv(name); }
    const char* name;
    QByteArray old;
    bool had = qEnvironmentVariableIsSet(name);
};

class InterchangeWindow : public test::StartedWindow {
  protected:
    void SetUp() override {
        test::StartedWindow::SetUp();
        fs::create_directory(home_ / "Music");
        test::write_file_bytes(folder_.path() / "ezgi.ses", "0,8,3,0,0,0,0,0,0,0\r\n");
        test::write_file_bytes(w_->recorder->file_path(), " 12 0 300\r\n");
    }
    struct Answers {
        std::vector<QStringList> offered;  // what each list question offered
        QString folder, suggested;         // where the file dialog opened, the name it offered
    };
    // Triggers the entry, answering the list questions with `picks` and the file dialog with
    // its suggested name.
    Answers run_entry(const QString& object_name, const std::vector<QString>& picks) {
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
        QAction* entry = w_->findChild<QAction*>(object_name);
        EXPECT_TRUE(entry != nullptr && w_->actions().contains(entry)) << object_name.toStdString();
        if (entry != nullptr) entry->trigger();
        return seen;
    }
    test::TempDir home_;
    const ScopedEnv home_env_{"HOME", home_.path().string()};
    const ScopedEnv config_env_{"XDG_CONFIG_HOME", (home_ / ".config").string()};
};

struct EntryCase {
    const char* entry;
    std::vector<QString> picks;
    std::vector<QStringList> offered;
    const char* file;  // written in the music folder
    const char* kind;  // in the notice
    std::string starts, holds;
};

// Each entry asks for the source (the recording and the sequence files; the score only
// sequence files), MIDI also for the tuning, then for the file in the user's music folder
// (else the home folder).
TEST_F(InterchangeWindow, EntriesAskTheSourceThenTheFileAndWriteIt) {
    const QString kayit = QStringLiteral("kayıt.txt"), ezgi = QStringLiteral("ezgi.ses");
    const QString bend =
        QString::fromUtf8("Nota başına perde bükme (MPE biçimi), MTS bilmeyen çalgılar için");
    const EntryCase cases[] = {
        {"wav_export", {kayit}, {{kayit, ezgi}}, "kayıt.wav", "WAV", "RIFF", ""},
        {"midi_export", {ezgi, bend}, {{kayit, ezgi}, {}}, "ezgi.mid", "MIDI", "MThd", "\xE1"},
        {"musicxml_export", {ezgi}, {{ezgi}}, "ezgi.musicxml", "MusicXML", "<?xml", ""},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.entry);
        dialogs_.clear();
        const Answers seen = run_entry(QString::fromLatin1(c.entry), c.picks);
        ASSERT_EQ(seen.offered.size(), c.offered.size());
        EXPECT_EQ(seen.offered[0], c.offered[0]);
        if (c.offered.size() > 1) {
            EXPECT_EQ(seen.offered[1].size(), 2);  // MTS or pitch bends
        }
        EXPECT_EQ(seen.folder, QString::fromStdString((home_ / "Music").string()));
        EXPECT_EQ(seen.suggested, QString::fromUtf8(c.file));
        const fs::path out = home_ / "Music" / c.file;
        EXPECT_EQ(
            dialogs_.texts(),
            std::vector<std::string>{std::string(c.kind) + " dosyası yazıldı:\r\n" + out.string()});
        EXPECT_TRUE(!dialogs_.shown().empty() && !dialogs_.shown()[0].modal) << "a notice";
        const std::string bytes = test::read_file_bytes(out);
        EXPECT_TRUE(bytes.starts_with(c.starts));
        EXPECT_NE(bytes.find(c.holds), std::string::npos);  // a pitch bend on channel 2
    }
    fs::remove_all(home_ / "Music");  // without a music folder: the home folder
    EXPECT_EQ(run_entry(QStringLiteral("musicxml_export"), {ezgi}).folder,
              QString::fromStdString(home_.path().string()));
}

}  // namespace
}  // namespace orvena
