// The main window's mouse playing and its "Kaydet / Dinlet" group.

#include <filesystem>

#include "playing/mouse.h"
#include "shell/arayuz.h"

namespace orvena {

namespace {
// R, >, I I and O, and the groups that a recording or a replay locks.
class WindowRecordingPanel final : public RecordingPanel {
  public:
    explicit WindowRecordingPanel(arayüz& w) : w_(w) {}

    void show(RecorderState state) override {
        const PanelEnabled on = panel_enabled(state);
        w_.rec_buton->setEnabled(on.rec);
        w_.Play_buton->setEnabled(on.play);
        w_.pause_buton->setEnabled(on.pause);
        w_.stop_buton->setEnabled(on.stop);
        for (QWidget* frame : {w_.Frame2, w_.Frame3, w_.Frame4, w_.Frame5, w_.Frame7, w_.Frame10})
            frame->setEnabled(on.groups);
    }
    int accidental_source() const override { return w_.Option3.selected(); }

  private:
    arayüz& w_;
};
}  // namespace

void arayüz::connect_recording() {
    recording_panel = std::make_unique<WindowRecordingPanel>(*this);
    recorder = std::make_unique<PerformanceRecorder>(
        *play, RecordingPlatform{*recording_panel, Picture8->surface(), Picture9->surface(), pump,
                                 clock, *timer, program_folder_});

    Picture2->on_mouse_down = [this](int button, int, double x, double y) {
        Picture2_MouseDown(*play, *recorder, button, x, y);
    };
    Picture2->on_mouse_move = [this](int buttons, int, double, double y) {
        Picture2_MouseMove(*play, buttons, y);
    };
    Picture1->on_mouse_down = [this](int, int, double x, double) { Picture1_MouseDown(*play, x); };
    Picture5->on_mouse_down = [this](int, int, double x, double y) {
        Picture5_MouseDown(*play, x, y);
    };
    connect(rec_buton, &QPushButton::clicked, this, [this] { recorder->rec_buton_Click(); });
    connect(stop_buton, &QPushButton::clicked, this, [this] { recorder->stop_buton_Click(); });
    connect(Play_buton, &QPushButton::clicked, this, [this] { recorder->Play_buton_Click(); });
    connect(pause_buton, &QPushButton::clicked, this, [this] { recorder->pause_buton_Click(); });
}

}  // namespace orvena
