#pragma once
// The main window arayüz: the one owner of the running instrument's state, its controls and
// its stopwatch. Controls keep their classic names (objectName = that name, option buttons
// "Option1_5"), each with a Turkish accessible name. The window runs the start-up steps of
// its load (Form_Load), lays itself out (arayüzyerleşimi) and asks before it closes.
// What it holds is private: other code reads the state and listens to the sound through the
// two accessors, and tests find the controls by their objectName. Event thread only.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "display/layout.h"
#include "display/play_context.h"
#include "playing/midi_control.h"
#include "playing/surface_views.h"
#include "presets/preset_context.h"
#include "presets/tuning_choice.h"
#include "recording/performance_recorder.h"
#include "recording/sequence_player.h"
#include "shell/sound_control.h"
#include "shell/window_makam_controls.h"
#include "shell/window_preset_controls.h"
#include "sound/audio_output.h"
#include "sound/sound_module.h"
#include "sound/x_timer.h"
#include "surface/clock.h"
#include "surface/close_request.h"
#include "surface/controls.h"
#include "surface/dialogs.h"
#include "surface/event_pump.h"
#include "surface/file_list.h"
#include "surface/picture_box.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

class QCloseEvent;
class QMenu;

namespace orvena {

struct StartupOutcome {
    bool goes_on = true;  // false: the program ends now with exit_status
    int exit_status = 0;
};

// What the load needs from outside: the program's folder, the screen, and who takes the
// splash window away at the end of the load.
struct LoadContext {
    std::filesystem::path program_folder;
    double screen_width_twips = 0;
    double screen_height_twips = 0;
    std::function<void()> unload_splash;
    // How the load opens the sound output (in the background); without it, silence.
    SoundConfig sound;
    // The MIDI input and the port chosen last time; without an input, no MIDI.
    MidiConfig midi;
    // The decimal separator the information panel prints (the user's locale).
    char decimal_separator = '.';
    // The tuning system of the command line (--tuning), for this run only.
    std::optional<std::filesystem::path> tuning_file;
};

inline constexpr const char* kQuitQuestion = "Bu proğramı kapatmak istiyormusunuz ?";

class arayüz : public QWidget {
  public:
    explicit arayüz(Dialogs& dialogs, QWidget* parent = nullptr);
    ~arayüz() override;

    // The load of the window: every start-up step from the program folder to the start values
    // and the unloading of the splash. Shows its own messages.
    StartupOutcome Form_Load(const LoadContext& context);
    // The system's end requests close only a window that has loaded.
    bool loaded() const { return loaded_; }
    // Places the window, Picture2 and the groups for a screen; sets properties only.
    void arayüzyerleşimi(double screen_width_twips, double screen_height_twips);
    // Sizes and places the window itself again, once the window system has framed it.
    void place_window();

    // Closes the window for a reason (the close box is FormControlMenu): runs the close
    // request and, unless it is cancelled, the unload. Returns whether the window closed.
    // The system's reasons also close a quit question that is open, and the window closes
    // once it has gone.
    bool close_for(UnloadReason reason);
    // Runs once the window is unloaded (main() ends the event loop there).
    void on_unloaded(std::function<void()> action) { unloaded_action_ = std::move(action); }

    // What the instrument is doing, for reading: its tuning, levers, selection and transport.
    const InstrumentState& state() const { return st; }
    // What the window sounds through: the program decodes its samples once the window shows,
    // and tests listen to it (render its mixer by hand). Valid once the load has run.
    SoundModule& sound() { return *sound_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Shows the window's enabled buttons and groups to the recorder (recording_wiring.cpp).
    class RecordingButtons;

    // ---- Shutdown ---------------------------------------------------------------------
    // The close request: true cancels it. Asks unless the session or the system ends it.
    bool Form_QueryUnload(UnloadReason reason);
    // Halts the stopwatch and unloads every window of the program.
    void Form_Unload();

    // ---- Small handlers ---------------------------------------------------------------
    void Command10_Click();
    void Command1_Click() {}
    void Text1_GotFocus() { st.selection.text1_has_focus = true; }
    void Text1_LostFocus() { st.selection.text1_has_focus = false; }
    void Form_MouseMove(int, int, double, double) {}
    void Picture1_MouseMove(int, int, double, double) {}
    void Picture3_MouseMove(int, int, double, double) {}
    void Picture10_MouseMove(int, int, double, double) {}

    // ---- Playing ------------------------------------------------------------------------
    void Form_KeyDown(int key_code, bool auto_repeat);
    void Form_KeyUp(int key_code, bool auto_repeat);

    // ---- Sequence files -----------------------------------------------------------------
    void connect_sequences();
    void open_ses_buton_Click();
    void File3_Click();

    // The steps of the load, in order.
    bool open_program_folder(const std::filesystem::path& folder);
    void draw_instrument(const LoadContext& context);
    bool read_tuning();
    void list_samples_and_open_sound(const LoadContext& context);
    void set_start_values();
    void connect_handlers(const LoadContext& context);

    void build_controls();
    PictureBox* make_picture(int number, QWidget* parent, int w, int h, QRgb back,
                             const char* accessible);
    void build_instrument();
    void build_top_row();
    void build_makam_group();
    void build_recording_group();
    void build_sequence_group();
    void build_pitch_level_group();
    void build_file_lists();
    void connect_window_handlers();
    // Binds the displays to the picture surfaces and the controls to their handlers.
    void connect_playing(char decimal_separator);
    // The MIDI keyboard, played like the letter keys, and its place in "Ses ayarları".
    void connect_midi(const MidiConfig& config);
    // The mouse on the strings, the lever strip and the peg; record, replay, pause and stop.
    void connect_recording();
    // Binds the pitch level, fine shift and makam controls to their handlers.
    void connect_presets(const std::filesystem::path& folder);
    void connect_scala_export();
    // The files of the Scala scale being played (none for the workbook): exports read them
    // and never write over them.
    std::vector<std::filesystem::path> playing_tuning_files() const;
    // The tuning menu, Ctrl+T and the system's name; starts the system of the command line
    // or the one kept in the settings file.
    void connect_tuning(const LoadContext& context);
    void fill_tuning_menu(QMenu& menu);
    void connect_wav_export();
    void connect_interchange_exports();  // the MIDI and MusicXML exports
    void apply_layout();

    // ---- State (the classic name st; the parts in English with a trailing underscore) ---
    InstrumentState st;
    std::unique_ptr<xTimer> timer_;
    Dialogs& dialogs_;
    // Made by the load, once the sample files are known.
    std::unique_ptr<SoundModule> sound_;
    std::unique_ptr<SoundControl> sound_control_;
    std::unique_ptr<SurfaceViews> views_;
    std::unique_ptr<PlayContext> play_;
    std::unique_ptr<MidiControl> midi_;
    // What long actions wait with and let the window's events run through.
    SystemClock clock_;
    QtEventPump pump_;
    std::unique_ptr<RecordingPanel> recording_panel_;
    std::unique_ptr<PerformanceRecorder> recorder_;
    std::unique_ptr<SequencePlayback> sequence_;
    std::unique_ptr<WindowAhenkControls> ahenk_controls_;
    std::unique_ptr<PresetContext> presets_;
    std::unique_ptr<WindowMakamControls> makam_controls_;
    std::unique_ptr<MakamContext> makam_;
    std::unique_ptr<TuningChoice> tuning_;

    // ---- Controls: the classic names, each also the widget's objectName -----------------
    // Pictures: Picture2 is the instrument; Picture1, 3, 5, 6, 10 and Frame11, Check1 lie on it.
    PictureBox* Picture1 = nullptr;   // lever strip
    PictureBox* Picture2 = nullptr;   // instrument drawing
    PictureBox* Picture3 = nullptr;   // staff
    PictureBox* Picture4 = nullptr;   // holder of the notation sheet (never shown)
    PictureBox* Picture5 = nullptr;   // tuning peg
    PictureBox* Picture6 = nullptr;   // information panel
    PictureBox* Picture7 = nullptr;   // sequence record counter
    PictureBox* Picture8 = nullptr;   // replay lamp
    PictureBox* Picture9 = nullptr;   // recording lamp
    PictureBox* Picture10 = nullptr;  // key legend and transposed positions

    QLabel* Label36 = nullptr;
    QLabel* tuning_label_ = nullptr;  // the tuning system's name, in Frame7 ("tuning_name")
    QGroupBox* Frame1 = nullptr;      // "Kaydet / Dinlet"
    QGroupBox* Frame2 = nullptr;      // "Ahenkler"
    QGroupBox* Frame3 = nullptr;      // detail, resets, exit
    QGroupBox* Frame4 = nullptr;      // "Makam"
    QGroupBox* Frame5 = nullptr;      // "Velmora dosyası"
    QGroupBox* Frame7 = nullptr;
    QGroupBox* Frame8 = nullptr;   // "arızalar" of the sequence player
    QGroupBox* Frame9 = nullptr;   // "arızalar" of the replay
    QGroupBox* Frame10 = nullptr;  // "oktav"
    QGroupBox* Frame11 = nullptr;  // the two lever-setting buttons

    QPushButton* Command1 = nullptr;   // "X"
    QPushButton* Command8 = nullptr;   // "AKORD RESET"
    QPushButton* Command9 = nullptr;   // "MANDAL RESET"
    QPushButton* Command10 = nullptr;  // "Ç  I  K"
    QPushButton* rec_buton = nullptr;
    QPushButton* Play_buton = nullptr;
    QPushButton* pause_buton = nullptr;
    QPushButton* stop_buton = nullptr;
    QPushButton* save_buton = nullptr;
    QPushButton* open_buton = nullptr;
    QPushButton* open_ses_buton = nullptr;
    QPushButton* aç_kapa_buton = nullptr;

    CheckBox* Check1 = nullptr;
    CheckBox* Check2 = nullptr;  // "detay  göster"

    OptionArray Option1{"Option1"};  // pitch levels 1..8
    OptionArray Option2{"Option2"};  // accidental source of sequence playback
    OptionArray Option3{"Option3"};  // accidental source of replay
    OptionArray Option4{"Option4"};  // "oktav"
    OptionArray Option5{"Option5"};  // user's / transposed lever setting

    ScrollBar* VScroll1 = nullptr;  // playback speed
    ScrollBar* HScroll1 = nullptr;  // fine transposition shift

    TextBox* Text1 = nullptr;  // makam name
    TextBox* Text2 = nullptr;  // sequence file name
    TextBox* Text3 = nullptr;  // fine shift shown

    FileListBox* File1 = nullptr;  // sample files
    FileListBox* File2 = nullptr;  // makam files
    FileListBox* File3 = nullptr;  // sequence files

    KeyPreview* key_preview_ = nullptr;

    std::array<std::unique_ptr<Surface>, 11> surfaces_;
    WindowLayout layout_;
    std::filesystem::path program_folder_;  // where every file of the program lives
    bool loaded_ = false;
    CloseRequest close_request_;
    std::function<void()> unloaded_action_;
};

}  // namespace orvena
