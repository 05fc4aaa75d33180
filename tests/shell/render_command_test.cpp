// `orvena --render FILE OUT.wav` and the window's context menu that holds the WAV export.

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include "interchange/midi_export.h"
#include "interchange/musicxml_export.h"
#include "recording/render_command.h"
#include "recording/wav_export.h"
#include "shell/command_line.h"
#include "started_window.h"
#include "support/scratch_program.h"
#include "support/special_files.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct RenderCommandCase {
    // "DIR/" stands for the test's folder, "PROGRAM/" for the program folder, a last "-" for
    // a program folder without a workbook.
    std::vector<std::string> args;
    int status;
    std::string said;  // on standard output for status 0, else on standard error
    enum Target { file, fifo, null_device, full_device } target = file;  // what DIR/out is
    const char* damaged_sample = nullptr;  // replaced by text in the program folder
};

// The command's messages are Turkish; its target is never renamed over unless it is a file or
// a new name, the program's files and its input are never targets, and a sample that cannot
// be read fails the render.
TEST(RenderCommand, WritesTheWavOrSaysWhyNotWithItsStatus) {
    using T = RenderCommandCase;
    const RenderCommandCase cases[] = {
        {{"--render", "DIR/ezgi.ses", "DIR/out"},
         0,
         "orvena: \"DIR/out\" yazılıyor (116 kB)...\n"
         "orvena: \"DIR/out\" yazıldı (48000 Hz, 24 bit stereo)\n"},
        {{"--render", "DIR/yok.ses", "DIR/out"},
         1,
         "orvena: \"DIR/yok.ses\" okunamadı: böyle bir dosya yok\n"},
        {{"--render", "DIR/bozuk.ses", "DIR/out"},
         1,
         "orvena: \"DIR/bozuk.ses\", kayıt 2: alan 3, satır 3: metin bitti; kayıtta 10 sayıdan "
         "yalnız 2 tanesi var\n"},
        {{"--render", "DIR/ezgi.ses", "DIR/yok/out"},
         1,
         "orvena: \"DIR/yok/out\" yazılamadı: klasörü yok.\n"},
        {{"--render", "DIR/ezgi.ses", "DIR/ezgi.ses"},
         1,
         "orvena: \"DIR/ezgi.ses\" okunan dosyanın kendisi; üzerine yazılamaz. Başka bir ad "
         "seçin.\n"},
        {{"--render", "DIR/ezgi.ses", "PROGRAM/dizek.xls"},
         1,
         "orvena: \"PROGRAM/dizek.xls\" adı ORVENA'nın kendi dosyalarına ayrılmıştır (akort "
         "çizelgesi); bu ada yazılamaz. Başka bir ad ya da klasör seçin.\n"},
        {{"--render", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", T::fifo},
        {{"--render", "DIR/ezgi.ses", "DIR/out"}, 0, "yazıldı", T::null_device},
        {{"--render", "DIR/ezgi.ses", "DIR/out"},
         1,
         "orvena: \"DIR/out\" yazılamadı: diskte yer kalmadı.\n",
         T::full_device},
        {{"--render", "DIR/ezgi.ses", "DIR/out"},
         1,
         "orvena: \"09-D5.wav\" tel sesi (tel 9) okunamıyor ya da çalınabilir bir WAV dosyası "
         "değil.\n",
         T::file,
         "09-D5.wav"},
        {{"--render", "DIR/ezgi.ses"}, 2, "kullanım: orvena --render DOSYA ÇIKTI.wav"},
        {{"--render", "DIR/ezgi.ses", "DIR/out", "--loud"}, 2, "başka bir şey değil"},
        {{"DIR/ezgi.ses", "--render", "DIR/out"}, 2, "kullanım"},
        {{"--render", "DIR/ezgi.ses", "DIR/out", "-"},
         1,
         "orvena: \"DIR/dizek.xls\": dizek.xls bulunamadı veya okunamıyor\n"},
    };
    std::ostringstream not_asked;
    EXPECT_FALSE(
        run_render_command({"--audio-api", "none"}, test::program_dir(), not_asked, not_asked));
    for (const RenderCommandCase& c : cases) {
        test::TempDir dir;
        const test::ScratchProgramFolder program;
        const std::string ezgi = "0,5,4,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n";
        test::write_file_bytes(dir / "ezgi.ses", ezgi);
        test::write_file_bytes(dir / "bozuk.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5\r\n");
        const auto dizek = test::read_file_bytes(program / "dizek.xls");
        if (c.damaged_sample) program.damage(c.damaged_sample, "bir ses değil");
        std::unique_ptr<test::FifoReader> reader;
        if (c.target == T::fifo) reader = std::make_unique<test::FifoReader>(dir / "out");
        if ((c.target == T::null_device || c.target == T::full_device) &&
            !test::make_char_device(dir / "out", 1, c.target == T::null_device ? 3 : 7)) {
            continue;  // device nodes need root
        }
        const auto placed = [&](std::string text) {
            for (const auto& [mark, folder] :
                 {std::pair{"DIR/", dir.path()}, std::pair{"PROGRAM/", program.path()}}) {
                for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark))
                    text.replace(at, std::strlen(mark), (folder / "").string());
            }
            return text;
        };
        std::vector<std::string> args;
        for (const std::string& a : c.args) args.push_back(placed(a));
        const bool no_workbook = args.back() == "-";
        if (no_workbook) args.pop_back();
        std::ostringstream out, err;
        const auto status =
            run_render_command(args, no_workbook ? dir.path() : program.path(), out, err);
        SCOPED_TRACE(c.args.back() + ": " + err.str());
        EXPECT_EQ(status, c.status);
        const std::string said = (c.status == 0 ? out : err).str();
        const std::string expected = placed(c.said);
        if (expected.ends_with('\n')) {
            EXPECT_EQ(
                said.substr(said.size() > expected.size() ? said.size() - expected.size() : 0),
                expected);
        } else {
            EXPECT_NE(said.find(expected), std::string::npos) << said;
        }
        EXPECT_EQ(test::read_file_bytes(program / "dizek.xls"), dizek);
        EXPECT_EQ(test::read_file_bytes(dir / "ezgi.ses"), ezgi);
        switch (c.target) {
            case T::file:
                EXPECT_EQ(fs::exists(dir / "out"), c.status == 0);
                break;
            case T::fifo:
                EXPECT_EQ(reader->bytes().substr(0, 4), "RIFF");
                EXPECT_TRUE(fs::is_fifo(dir / "out"));
                break;
            case T::null_device:
            case T::full_device:
                EXPECT_TRUE(fs::is_character_file(dir / "out"));
                break;
        }
    }
}

class WindowMenu : public test::StartedWindow {};

// The entries of the context menu that opens over `target`; empty when none opens.
QStringList context_menu_over(QWidget* target) {
    QStringList entries;
    QTimer::singleShot(0, [&entries] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) entries << action->text();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2),
                            target->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(target, &event);
    QApplication::processEvents();
    return entries;
}

// The background's menu holds the sound settings, the exports and the tuning systems; the
// instrument keeps the right button for sweeping the strings.
TEST_F(WindowMenu, BackgroundOffersTheExportsAndTheInstrumentOpensNoMenu) {
    const QStringList background = context_menu_over(w_);
    ASSERT_EQ(background.size(), 7);
    EXPECT_TRUE(background[0].startsWith(QString::fromUtf8("Ses ayarları")));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kWavExportMenuText)));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kMidiExportMenuText)));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kMusicXmlExportMenuText)));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kTuningMenuText)));
    EXPECT_TRUE(context_menu_over(w_->Picture2).isEmpty());
}

// Sets an environment variable for the test's time.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The entry (in the background's context menu) asks for the source among the recording and
// the sequence files, then for the WAV file in the user's music folder (else the home folder),
// never among the program's files; an existing file is replaced only when the user says so.
TEST_F(WindowMenu, ExportEntryAsksForTheSourceAndTheFileThenWritesIt) {
    test::TempDir home;
    const ScopedEnv home_env("HOME", home.path().string());
    const ScopedEnv config_env("XDG_CONFIG_HOME", (home / ".config").string());
    fs::create_directory(home / "Music");
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    test::write_file_bytes(w_->recorder->file_path(), " 12 0 300\r\n");
    QStringList offered;
    std::vector<std::pair<QString, QString>> dialogs_seen;  // folder, name offered
    std::function<void(QFileDialog*)> answer_file;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            offered = input->comboBoxItems();
            input->setTextValue(QStringLiteral("kayıt.txt"));
            input->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            const auto* name = files->findChild<QLineEdit*>();
            dialogs_seen.emplace_back(files->directory().absolutePath(),
                                      name ? name->text() : QString());
            answer_file(files);
        }
    });
    answer.start(10);
    const auto accept = [](QFileDialog* files) { QMetaObject::invokeMethod(files, "accept"); };
    QAction* entry = w_->findChild<QAction*>(QStringLiteral("wav_export"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(w_->actions().contains(entry));
    const QString music = QString::fromStdString((home / "Music").string());

    answer_file = accept;
    entry->trigger();
    EXPECT_EQ(offered, QStringList({QStringLiteral("kayıt.txt"), QStringLiteral("ezgi.ses")}));
    ASSERT_EQ(dialogs_seen.size(), 1u);
    EXPECT_EQ(dialogs_seen[0], std::pair(music, QStringLiteral("kayıt.wav")));
    const fs::path out = home / "Music" / "kayıt.wav";
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{"WAV dosyası yazıldı:\r\n" + out.string()});
    EXPECT_FALSE(dialogs_.shown().at(0).modal);
    dialogs_.clear();
    const std::string bytes = test::read_file_bytes(out);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");

    // Again onto the same file: the user is asked, and "Hayır" keeps the file.
    test::write_file_bytes(w_->recorder->file_path(), " 5 0 900\r\n");
    entry->trigger();
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{"kayıt.wav zaten var. Üzerine yazılsın mı?"});
    EXPECT_EQ(test::read_file_bytes(out), bytes);

    // Without a music folder the dialog opens in the home folder.
    fs::remove(home / "Music" / "kayıt.wav");
    fs::remove(home / "Music");
    dialogs_seen.clear();
    answer_file = [](QFileDialog* files) { files->reject(); };
    entry->trigger();
    ASSERT_EQ(dialogs_seen.size(), 1u);
    EXPECT_EQ(dialogs_seen[0].first, QString::fromStdString(home.path().string()));
}

}  // namespace
}  // namespace orvena
