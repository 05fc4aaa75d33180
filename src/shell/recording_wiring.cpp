// The main window's mouse playing and its "Kaydet / Dinlet" group.

#include <filesystem>

#include "playing/mouse.h"
#include "shell/arayuz.h"

namespace orvena {

// R, >, I I and O, and the groups that a recording or a replay locks.
class arayüz::RecordingButtons final : public RecordingPanel {
  public:
    explicit RecordingButtons(arayüz& w) : w_(w) {}

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

void arayüz::connect_recording() {
    recording_panel_ = std::make_unique<RecordingButtons>(*this);
    recorder_ = std::make_unique<PerformanceRecorder>(
        *play_, RecordingPlatform{*recording_panel_, Picture8->surface(), Picture9->surface(),
                                  pump_, clock_, *timer_, program_folder_});

    Picture2->on_mouse_down = [this](int button, int, double x, double y) {
        Picture2_MouseDown(*play_, *recorder_, button, x, y);
    };
    Picture2->on_mouse_move = [this](int buttons, int, double, double y) {
        Picture2_MouseMove(*play_, buttons, y);
    };
    Picture1->on_mouse_down = [this](int, int, double x, double) { Picture1_MouseDown(*play_, x); };
    Picture5->on_mouse_down = [this](int, int, double x, double y) {
        Picture5_MouseDown(*play_, x, y);
    };
    connect(rec_buton, &QPushButton::clicked, this, [this] { recorder_->rec_buton_Click(); });
    connect(stop_buton, &QPushButton::clicked, this, [this] { recorder_->stop_buton_Click(); });
    connect(Play_buton, &QPushButton::clicked, this, [this] { recorder_->Play_buton_Click(); });
    connect(pause_buton, &QPushButton::clicked, this, [this] { recorder_->pause_buton_Click(); });
}

}  // namespace orvena
