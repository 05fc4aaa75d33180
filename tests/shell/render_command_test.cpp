// `orvena --render FILE OUT.wav` and the window's context menu that holds the WAV export.

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

#include "recording/render_command.h"
#include "recording/wav_export.h"
#include "shell/command_line.h"
#include "started_window.h"

namespace orvena {
namespace {

namespace fs = std::filesystem;

struct RenderCommandCase {
    std::vector<std::string> args;  // "DIR/" stands for the test's folder, "-" for no workbook
    int status;
    std::string said;  // on standard output for status 0, else on standard error
};

TEST(RenderCommand, WritesTheWavOrSaysWhyNotWithItsStatus) {
    const RenderCommandCase cases[] = {
        {{"--render", "DIR/ezgi.ses", "DIR/out.wav"}, 0, "wrote"},
        {{"--render", "DIR/yok.ses", "DIR/out.wav"}, 1, "yok.ses: cannot be read"},
        {{"--render", "DIR/bozuk.ses", "DIR/out.wav"}, 1, "bozuk.ses: record 2:"},
        {{"--render", "DIR/ezgi.ses", "DIR/yok/out.wav"}, 1, "cannot write"},
        {{"--render", "DIR/ezgi.ses"}, 2, "usage"},
        {{"--render", "DIR/ezgi.ses", "DIR/out.wav", "--loud"}, 2, "usage"},
        {{"DIR/ezgi.ses", "--render", "DIR/out.wav"}, 2, "usage"},
        {{"--render", "DIR/ezgi.ses", "DIR/out.wav", "-"}, 1, "dizek.xls"},
    };
    std::ostringstream help, ignored;
    EXPECT_FALSE(run_render_command({"--audio-api", "none"}, test::program_dir(), help, ignored));
    EXPECT_EQ(parse_command_line({"orvena", "--help"}, help, ignored).exit_status, 0);
    EXPECT_NE(help.str().find("--render <FILE OUT.wav>"), std::string::npos) << help.str();
    for (const RenderCommandCase& c : cases) {
        test::TempDir dir;
        test::write_file_bytes(dir / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n");
        test::write_file_bytes(dir / "bozuk.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5\r\n");
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a.rfind("DIR/", 0) == 0 ? (dir / a.substr(4)).string() : a);
        const bool no_workbook = args.back() == "-";
        if (no_workbook) args.pop_back();
        std::ostringstream out, err;
        const auto status =
            run_render_command(args, no_workbook ? dir.path() : test::program_dir(), out, err);
        SCOPED_TRACE(c.args.front() + " " + c.args.back() + ": " + err.str());
        EXPECT_EQ(status, c.status);
        EXPECT_NE((c.status == 0 ? out : err).str().find(c.said), std::string::npos);
        EXPECT_EQ(fs::exists(dir / "out.wav"), c.status == 0);
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

// The background's menu holds the sound settings and both exports; the instrument keeps the
// right button for sweeping the strings.
TEST_F(WindowMenu, BackgroundOffersTheExportsAndTheInstrumentOpensNoMenu) {
    const QStringList background = context_menu_over(w_);
    ASSERT_EQ(background.size(), 5);
    EXPECT_TRUE(background[0].startsWith(QString::fromUtf8("Ses ayarları")));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kWavExportMenuText)));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kTuningMenuText)));
    EXPECT_TRUE(context_menu_over(w_->Picture2).isEmpty());
}

// The entry (in the background's context menu) asks for the source among the recording and
// the sequence files, suggests a WAV name after it in the sequence folder, and writes it there.
TEST_F(WindowMenu, ExportEntryAsksForTheSourceAndTheFileThenWritesIt) {
    test::write_file_bytes(folder_.path() / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n");
    test::write_file_bytes(w_->recorder->file_path(), " 12 0 300\r\n");
    const fs::path out = folder_.path() / "kayıt.wav";  // the name suggested
    QStringList offered;
    QString suggested;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (auto* input = qobject_cast<QInputDialog*>(modal)) {
            offered = input->comboBoxItems();
            input->setTextValue(QStringLiteral("kayıt.txt"));
            input->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            if (auto* name = files->findChild<QLineEdit*>()) suggested = name->text();
            QMetaObject::invokeMethod(files, "accept");
        }
    });
    answer.start(10);
    QAction* entry = w_->findChild<QAction*>(QStringLiteral("wav_export"));
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(w_->actions().contains(entry));
    entry->trigger();
    EXPECT_EQ(offered, QStringList({QStringLiteral("kayıt.txt"), QStringLiteral("ezgi.ses")}));
    EXPECT_EQ(suggested, QStringLiteral("kayıt.wav"));
    EXPECT_TRUE(dialogs_.texts().empty());
    const std::string bytes = test::read_file_bytes(out);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");

    // Again onto the same file: the user is asked, and "Hayır" keeps the file.
    test::write_file_bytes(w_->recorder->file_path(), " 5 0 900\r\n");
    entry->trigger();
    EXPECT_EQ(dialogs_.texts(),
              std::vector<std::string>{"kayıt.wav zaten var. Üzerine yazılsın mı?"});
    EXPECT_EQ(test::read_file_bytes(out), bytes);
}

}  // namespace
}  // namespace orvena
