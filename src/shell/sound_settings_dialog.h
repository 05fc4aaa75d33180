#pragma once
// "Ses ayarları": the sound systems and devices found, the block size ("otomatik" or the
// player's own), the output's own figures (latency, block, underruns) as it plays, and what
// the audio thread was granted (real-time priority, locked memory). "Uygula" saves the choice and
// opens it; the window stays playable beside it. Event thread only.

#include <QDialog>

class QComboBox;
class QLabel;
class QTimer;

namespace orvena {

class SoundControl;

class SoundSettingsDialog : public QDialog {
  public:
    SoundSettingsDialog(SoundControl& control, QWidget* parent);
    // Fills the lists from what was found and selects the current choice.
    void refresh();
    // Shows the output's figures now (a timer does it twice a second while visible).
    void update_figures();

    QComboBox* systems() const { return systems_; }
    QComboBox* devices() const { return devices_; }
    QComboBox* blocks() const { return blocks_; }
    QLabel* figures() const { return figures_; }
    // What the audio thread was granted: real-time scheduling and locked memory.
    QLabel* realtime() const { return realtime_; }
    // "MIDI girişi": "Yok" and the ports found; choosing one opens it at once.
    QComboBox* midi_ports() const { return midi_ports_; }
    void Uygula_Click();

  private:
    void fill_devices();
    void fill_midi_ports();
    void midi_port_chosen();

    SoundControl& control_;
    QComboBox* systems_ = nullptr;
    QComboBox* devices_ = nullptr;
    QComboBox* blocks_ = nullptr;
    QLabel* figures_ = nullptr;
    QLabel* realtime_ = nullptr;
    QComboBox* midi_ports_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace orvena
