#include "shell/sound_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "playing/midi_control.h"
#include "shell/sound_control.h"
#include "sound/output_status.h"
#include "sound/sound_settings.h"
#include "sound/sound_settings_lists.h"
#include "surface/controls.h"

namespace orvena {

namespace {

void fill(QComboBox& box, const std::vector<ListEntry>& entries) {
    for (const ListEntry& e : entries)
        box.addItem(QString::fromStdString(e.text), QString::fromStdString(e.value));
}

}  // namespace

SoundSettingsDialog::SoundSettingsDialog(SoundControl& control, QWidget* parent)
    : QDialog(parent), control_(control) {
    setObjectName(QStringLiteral("sound_settings"));
    setWindowTitle(tr8(kSoundSettingsTitle));
    setModal(false);

    systems_ = new QComboBox(this);
    systems_->setObjectName(QStringLiteral("sound_system"));
    systems_->setAccessibleName(tr8("ses sistemi"));
    devices_ = new QComboBox(this);
    devices_->setObjectName(QStringLiteral("sound_device"));
    devices_->setAccessibleName(tr8("ses aygıtı"));
    blocks_ = new QComboBox(this);
    blocks_->setObjectName(QStringLiteral("sound_block"));
    blocks_->setAccessibleName(tr8("blok uzunluğu"));
    // Automatic: the output starts at the default and takes larger blocks after dropouts.
    blocks_->addItem(tr8(kAutomaticEntry), 0u);
    for (const unsigned frames : kBlockChoices) {
        blocks_->addItem(QString::number(frames), frames);
    }
    figures_ = new QLabel(this);
    figures_->setObjectName(QStringLiteral("sound_figures"));
    figures_->setAccessibleName(tr8("çıkış gecikmesi ve kesintiler"));
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    realtime_ = new QLabel(this);
    realtime_->setObjectName(QStringLiteral("sound_realtime"));
    realtime_->setAccessibleName(tr8("gerçek zamanlı öncelik"));
    realtime_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    realtime_->setWordWrap(true);

    midi_ports_ = new QComboBox(this);
    midi_ports_->setObjectName(QStringLiteral("midi_port"));
    midi_ports_->setAccessibleName(tr8("MIDI girişi"));
    connect(midi_ports_, &QComboBox::activated, this, [this] { midi_port_chosen(); });

    auto* form = new QFormLayout;
    form->addRow(tr8("Ses sistemi:"), systems_);
    form->addRow(tr8("Aygıt:"), devices_);
    form->addRow(tr8("Blok (kare):"), blocks_);
    form->addRow(tr8("Çalan çıkış:"), figures_);
    form->addRow(tr8("Gerçek zamanlı:"), realtime_);
    form->addRow(tr8("MIDI girişi:"), midi_ports_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(tr8("Uygula"), QDialogButtonBox::ApplyRole);
    apply->setObjectName(QStringLiteral("Uygula"));
    QPushButton* close_button = buttons->addButton(tr8("Kapat"), QDialogButtonBox::RejectRole);
    connect(apply, &QPushButton::clicked, this, [this] { Uygula_Click(); });
    connect(close_button, &QPushButton::clicked, this, &QDialog::close);

    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(buttons);

    connect(systems_, &QComboBox::currentIndexChanged, this, [this] { fill_devices(); });
    timer_ = new QTimer(this);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (isVisible()) update_figures();
    });
    timer_->start();
}

void SoundSettingsDialog::refresh() {
    const AudioChoice& choice = control_.choice();
    const QSignalBlocker block(systems_);
    systems_->clear();
    fill(*systems_, system_entries(control_.systems()));
    const int chosen = systems_->findData(QString::fromStdString(api_setting_name(choice)));
    systems_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    fill_devices();
    const int device = devices_->findData(QString::fromStdString(choice.device));
    if (device >= 0) devices_->setCurrentIndex(device);
    const int frames = blocks_->findData(block_shown(choice));
    if (frames >= 0) {
        blocks_->setCurrentIndex(frames);
    } else {
        blocks_->addItem(QString::number(choice.block_frames), choice.block_frames);
        blocks_->setCurrentIndex(blocks_->count() - 1);
    }
    update_figures();
    fill_midi_ports();
}

void SoundSettingsDialog::fill_midi_ports() {
    const QSignalBlocker block(midi_ports_);
    midi_ports_->clear();
    midi_ports_->addItem(tr8("Yok"), QString());
    MidiControl* midi = control_.midi();
    if (!midi) return;
    for (const std::string& port : midi->ports()) {
        midi_ports_->addItem(QString::fromStdString(port), QString::fromStdString(port));
    }
    const int open = midi_ports_->findData(QString::fromStdString(midi->open_port()));
    midi_ports_->setCurrentIndex(open >= 0 ? open : 0);
}

void SoundSettingsDialog::midi_port_chosen() {
    MidiControl* midi = control_.midi();
    if (!midi) return;
    midi->choose(midi_ports_->currentData().toString().toStdString());
    fill_midi_ports();  // shows what is open now, "Yok" when the port did not open
}

void SoundSettingsDialog::fill_devices() {
    devices_->clear();
    fill(*devices_,
         device_entries(control_.systems(), systems_->currentData().toString().toStdString()));
}

void SoundSettingsDialog::update_figures() {
    realtime_->setText(QString::fromStdString(realtime_status_text(control_.keeper())));
    figures_->setText(QString::fromStdString(output_status_text(control_.keeper())));
}

void SoundSettingsDialog::Uygula_Click() {
    control_.apply(choice_of_selection(systems_->currentData().toString().toStdString(),
                                       devices_->currentData().toString().toStdString(),
                                       blocks_->currentData().toUInt()));
    update_figures();
}

}  // namespace orvena
