#pragma once
// For the handler tests: views that write down each drawing, and a fully recorded instrument.

#include <string>
#include <vector>

#include "display/play_context.h"
#include "display/views.h"
#include "support/recording_dialogs.h"
#include "support/recording_sound.h"

namespace orvena::test {

class RecordingViews : public Views {
  public:
    std::vector<std::string> calls;

    void tel_çiz() override { calls.push_back("tel_çiz"); }
    void mandal_at() override { calls.push_back("mandal_at"); }
    void porte() override { calls.push_back("porte"); }
    void etiket() override { calls.push_back("etiket"); }
    void arıza_yaz(int s) override { calls.push_back("arıza_yaz " + std::to_string(s)); }
    void diyagonal_yaz() override { calls.push_back("diyagonal_yaz"); }
    void diyagonal_sil() override { calls.push_back("diyagonal_sil"); }
    void mark_key(int s, bool held) override {
        calls.push_back(std::string(held ? "key down " : "key up ") + std::to_string(s));
    }
};

struct RecordedPlay {
    InstrumentState st;
    RecordingSound sound;
    RecordingViews views;
    RecordingDialogs dialogs;
    PlayContext ctx{st, sound, views, dialogs};
};

using Calls = std::vector<std::string>;

}  // namespace orvena::test
