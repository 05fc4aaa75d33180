// `orvena --render FILE OUT.wav` and the window's context menu that holds the WAV export.

#include <QApplication>
#include <QContextMenuEvent>
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
    std::vector<std::string> args;  // "DIR/" stands for the test's folder
    int status;
    std::string said;  // on standard output for status 0, else on standard error
};

TEST(RenderCommand, WritesTheWavOrSaysWhyNotWithItsStatus) {
    const RenderCommandCase cases[] = {
        {{"--render", "DIR/ezgi.ses", "DIR/out.wav"}, 0, "wrote"},
        {{"--render", "DIR/kayıt.txt", "DIR/out.wav"}, 0, "wrote"},
        {{"--render", "DIR/yok.ses", "DIR/out.wav"}, 1, "yok.ses: cannot be read"},
        {{"--render", "DIR/bozuk.ses", "DIR/out.wav"}, 1, "bozuk.ses: record 2:"},
        {{"--render", "DIR/ezgi.ses", "DIR/yok/out.wav"}, 1, "cannot write"},
        {{"--render", "DIR/ezgi.ses"}, 2, "usage"},
        {{"--render", "DIR/ezgi.ses", "DIR/out.wav", "--loud"}, 2, "usage"},
        {{"DIR/ezgi.ses", "--render", "DIR/out.wav"}, 2, "usage"},
    };
    for (const RenderCommandCase& c : cases) {
        test::TempDir dir;
        test::write_file_bytes(dir / "ezgi.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,26,0,0,0,0,0,0,0,0\r\n");
        test::write_file_bytes(dir / "bozuk.ses", "0,5,4,0,0,0,0,0,0,0\r\n0,5\r\n");
        test::write_file_bytes(dir / "kayıt.txt", " 12 0 300\r\n");
        std::vector<std::string> args;
        for (const std::string& a : c.args)
            args.push_back(a.rfind("DIR/", 0) == 0 ? (dir / a.substr(4)).string() : a);
        std::ostringstream out, err;
        const auto status = run_render_command(args, test::program_dir(), out, err);
        SCOPED_TRACE(c.args.front() + " " + c.args.back() + ": " + err.str());
        EXPECT_EQ(status, c.status);
        EXPECT_NE((c.status == 0 ? out : err).str().find(c.said), std::string::npos);
        EXPECT_EQ(fs::exists(dir / "out.wav"), c.status == 0);
    }
}

TEST(RenderCommand, OtherArgumentsAreLeftToTheWindowAndHelpListsIt) {
    std::ostringstream out, err;
    EXPECT_FALSE(run_render_command({"--audio-api", "none"}, test::program_dir(), out, err));
    EXPECT_EQ(parse_command_line({"orvena", "--help"}, out, err).exit_status, 0);
    EXPECT_NE(out.str().find("--render <FILE OUT.wav>"), std::string::npos) << out.str();
}

TEST(RenderCommand, WithoutAWorkbookTheRenderFailsAndWritesNothing) {
    test::TempDir program, dir;
    test::write_file_bytes(dir / "kayıt.txt", " 12 0 300\r\n");
    std::ostringstream out, err;
    const auto status =
        run_render_command({"--render", (dir / "kayıt.txt").string(), (dir / "out.wav").string()},
                           program.path(), out, err);
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("dizek.xls"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "out.wav"));
}

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

class WindowMenu : public test::StartedWindow {};

// The background's menu holds the sound settings and both exports; the instrument keeps the
// right button for sweeping the strings.
TEST_F(WindowMenu, BackgroundOffersTheExportsAndTheInstrumentOpensNoMenu) {
    const QStringList background = context_menu_over(w_);
    ASSERT_EQ(background.size(), 3);
    EXPECT_TRUE(background[0].startsWith(QString::fromUtf8("Ses ayarları")));
    EXPECT_TRUE(background.contains(QString::fromUtf8(kWavExportMenuText)));
    EXPECT_TRUE(context_menu_over(w_->Picture2).isEmpty());
}

}  // namespace
}  // namespace orvena
