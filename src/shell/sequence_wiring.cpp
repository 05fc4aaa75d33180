// The main window's sequence-file group "Velmora dosyası": the file list, the start/stop
// button and the playback it runs.

#include "shell/arayuz.h"

namespace orvena {

void arayüz::connect_sequences() {
    SequenceWindow window;
    window.file_name = [this] { return Text2->Text(); };
    window.accidental_source = [this] { return static_cast<AccidentalSource>(Option2.selected()); };
    window.set_button_caption = [this](const char* caption) {
        aç_kapa_buton->setText(QString::fromUtf8(caption));
    };
    window.enable_frames = [this](bool enabled) {
        for (QGroupBox* frame : {Frame2, Frame3, Frame4, Frame1, Frame7, Frame10}) {
            frame->setEnabled(enabled);
        }
    };
    sequence_ = std::make_unique<SequencePlayback>(SequencePlayback{
        *play_, Picture7->surface(), clock_, pump_, program_folder_, std::move(window)});

    connect(open_ses_buton, &QPushButton::clicked, this, [this] { open_ses_buton_Click(); });
    File3->on_click([this] { File3_Click(); });
    connect(aç_kapa_buton, &QPushButton::clicked, this,
            [this] { aç_kapa_buton_Click(*sequence_); });
}

void arayüz::open_ses_buton_Click() {
    File3->Refresh();  // lists a file saved into the folder since the last look
    File3->show();
}

void arayüz::File3_Click() {
    File3->hide();
    Text2->setText_(sequence_name_of(File3->FileName()));
}

}  // namespace orvena
