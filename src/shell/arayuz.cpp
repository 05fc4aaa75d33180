#include "shell/arayuz.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "presets/pitch_levels.h"
#include "surface/artwork.h"

namespace orvena {

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);

void place(QWidget* w, double left, double top, int width, int height) {
    w->setGeometry(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)), width,
                   height);
}

void place(QWidget* w, const Box& b) {
    place(w, b.left, b.top, b.width, b.height);
}

QGroupBox* make_frame(QWidget* parent, const char* name, const char* caption,
                      const char* accessible) {
    auto* f = new QGroupBox(tr8(caption), parent);
    name_control(f, name, tr8(accessible));
    return f;
}

QPushButton* make_button(QWidget* parent, const char* name, const char* caption,
                         const char* accessible, int x, int y, int w, int h) {
    auto* b = new QPushButton(tr8(caption), parent);
    name_control(b, name, tr8(accessible));
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

// The frame "arızalar" with its three accidental sources (the instrument's levers, the
// conditional signs, the file's own signs), for replay and for sequence playback alike.
QGroupBox* make_accidental_sources(QWidget* parent, const char* name, const char* player,
                                   OptionArray& sources, int selected) {
    auto* frame = new QGroupBox(tr8("arızalar"), parent);
    name_control(frame, name, tr8(player) + tr8(" arızaları"));
    frame->setGeometry(4, 16, 72, 80);
    const char* captions[] = {"çalgı", "şartlı", "dosya"};
    const char* accessible[] = {": çalgı arızaları", ": şartlı arızalar", ": dosya arızaları"};
    for (int i = 0; i < 3; ++i) {
        sources.add(i + 1, frame, tr8(captions[i]), tr8(player) + tr8(accessible[i]))
            ->setGeometry(6, 16 + 20 * i, 64, 20);
    }
    sources.select(selected);
    return frame;
}

}  // namespace

arayüz::arayüz(Dialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {
    setObjectName(tr8("arayüz"));
    setAccessibleName(tr8("ORVENA ana pencere"));
    setWindowTitle(tr8(kAppTitle));
    setMouseTracking(true);
    // The groups were sized for a small dialog font; a condensed face, where the system has
    // one, keeps the captions inside them.
    QFont small = font();
    small.setPointSize(8);
    small.setStretch(QFont::SemiCondensed);
    setFont(small);
    build_controls();
}

arayüz::~arayüz() {
    // Child widgets (the picture boxes among them) go before the surfaces they show.
    const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) delete child;
}

PictureBox* arayüz::make_picture(int number, QWidget* parent, int w, int h, QRgb back,
                                 const char* accessible) {
    surfaces_[static_cast<std::size_t>(number)] = std::make_unique<Surface>(w, h, back);
    auto* box = new PictureBox(*surfaces_[static_cast<std::size_t>(number)], parent);
    const std::string name = "Picture" + std::to_string(number);
    name_control(box, name.c_str(), tr8(accessible));
    box->resize(w, h);
    return box;
}

// Every control, in the order that gives the keyboard focus its path through the window.
void arayüz::build_controls() {
    build_instrument();
    build_top_row();
    build_makam_group();
    build_recording_group();
    build_sequence_group();
    build_pitch_level_group();
    build_file_lists();
    connect_window_handlers();
    // Design positions; arayüzyerleşimi moves them at start-up.
    arayüzyerleşimi(14000, 9400);
}

// The instrument and what lies on it; the hidden holder of the notation sheet.
void arayüz::build_instrument() {
    Picture2 = make_picture(2, this, 904, 420, kWhite, "çalgı çizimi");
    Picture1 = make_picture(1, Picture2, 485, 60, qRgb(224, 224, 224), "mandal şeridi");
    Picture3 = make_picture(3, Picture2, 140, 132, kWhite, "porte");
    Picture6 = make_picture(6, Picture2, 239, 100, qRgb(255, 224, 192), "nota bilgisi");
    Picture5 = make_picture(5, Picture2, 57, 100, kWhite, "akord burgusu");
    Picture5->surface().SetPicture(tuning_peg());
    Picture10 = make_picture(10, Picture2, 90, 396, kWhite, "tuş listesi");
    Frame11 = make_frame(Picture2, "Frame11", "", "mandal düzeni");
    Option5.add(1, Frame11, QString(), tr8("kendi mandal düzenim"))->setGeometry(4, 8, 16, 14);
    Option5.add(2, Frame11, QString(), tr8("göçürülmüş mandal düzeni"))->setGeometry(21, 8, 16, 14);
    Option5.select(1);
    Check1 = new CheckBox(QString(), Picture2);
    name_control(Check1, "Check1", tr8("çapraz mandal numaraları"));
    Check1->setAutoFillBackground(true);
    {
        QPalette p = Check1->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(Picture2->surface().BackColor));
        Check1->setPalette(p);
    }
    Picture1->on_mouse_move = [this](int b, int s, double x, double y) {
        Picture1_MouseMove(b, s, x, y);
    };
    Picture3->on_mouse_move = [this](int b, int s, double x, double y) {
        Picture3_MouseMove(b, s, x, y);
    };
    Picture10->on_mouse_move = [this](int b, int s, double x, double y) {
        Picture10_MouseMove(b, s, x, y);
    };

    // Holder of the notation sheet, never shown.
    Picture4 = make_picture(4, this, 490, 56, kWhite, "nota işaretleri");
    Picture4->surface().SetPicture(notation_sheet());
    Picture4->hide();
}

// The arrow-key help, the settings and exit group, "oktav" and the X button.
void arayüz::build_top_row() {
    Label36 = new QLabel(this);
    name_control(Label36, "Label36", tr8("ok tuşları"));
    Label36->setText(QString::fromStdString(display_text(kLabel36Caption)));
    Label36->setTextFormat(Qt::PlainText);
    Label36->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Top row.
    Frame3 = make_frame(this, "Frame3", "", "ayarlar ve çıkış");
    Check2 = new CheckBox(tr8("detay  göster"), Frame3);
    name_control(Check2, "Check2", tr8("detay göster"));
    Check2->setGeometry(6, 18, 98, 22);
    Command8 = make_button(Frame3, "Command8", "AKORD RESET", "akordu sıfırla", 106, 14, 74, 30);
    Command9 =
        make_button(Frame3, "Command9", "MANDAL RESET", "mandalları sıfırla", 182, 14, 84, 30);
    Command10 = make_button(Frame3, "Command10", "Ç  I  K", "çıkış", 268, 14, 62, 30);

    Frame7 = make_frame(this, "Frame7", "", "boş grup");

    Frame10 = make_frame(this, "Frame10", "oktav", "oktav");
    Option4.add(1, Frame10, QString(), tr8("birinci oktav"))->setGeometry(8, 20, 108, 22);
    Option4.add(2, Frame10, QString(), tr8("ikinci oktav"))->setGeometry(120, 20, 108, 22);
    Option4.select(1);

    Command1 = make_button(this, "Command1", "X", "X düğmesi", 0, 0, 15, 15);
}

void arayüz::build_makam_group() {
    // Bottom row: makam files.
    Frame4 = make_frame(this, "Frame4", "Makam", "makam");
    Text1 = new TextBox(Frame4);
    name_control(Text1, "Text1", tr8("makam adı"));
    Text1->setGeometry(8, 22, 113, 24);
    save_buton = make_button(Frame4, "save_buton", "", "makamı kaydet", 8, 54, 52, 38);
    save_buton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    open_buton = make_button(Frame4, "open_buton", "", "makam dosyalarını göster", 69, 54, 52, 38);
    open_buton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
}

void arayüz::build_recording_group() {
    // Recording and replay.
    Frame1 = make_frame(this, "Frame1", "Kaydet / Dinlet", "kaydet ve dinlet");
    Frame9 = make_accidental_sources(Frame1, "Frame9", "dinletme", Option3, 1);
    Picture8 = make_picture(8, Frame1, 12, 12, kWhite, "dinletme lambası");
    Picture8->move(82, 26);
    Picture9 = make_picture(9, Frame1, 12, 12, kWhite, "kayıt lambası");
    Picture9->move(82, 66);
    rec_buton = make_button(Frame1, "rec_buton", "R", "kayda başla", 99, 18, 32, 32);
    Play_buton = make_button(Frame1, "Play_buton", ">", "kaydı dinlet", 133, 18, 32, 32);
    pause_buton = make_button(Frame1, "pause_buton", "I I", "duraklat", 99, 58, 32, 32);
    stop_buton = make_button(Frame1, "stop_buton", "O", "durdur", 133, 58, 32, 32);
}

void arayüz::build_sequence_group() {
    // Sequence files.
    Frame5 = make_frame(this, "Frame5", "Velmora dosyası", "velmora dosyası");
    Frame8 = make_accidental_sources(Frame5, "Frame8", "velmora", Option2, 2);
    Text2 = new TextBox(Frame5);
    name_control(Text2, "Text2", tr8("velmora dosya adı"));
    Text2->setGeometry(82, 22, 104, 24);
    open_ses_buton =
        make_button(Frame5, "open_ses_buton", "", "velmora dosyalarını göster", 190, 20, 36, 28);
    open_ses_buton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    aç_kapa_buton =
        make_button(Frame5, "aç_kapa_buton", ">", "velmora çal veya durdur", 82, 56, 40, 34);
    Picture7 = make_picture(7, Frame5, 56, 24, kWhite, "velmora sayacı");
    Picture7->move(128, 62);
    VScroll1 = new ScrollBar(Qt::Vertical, Frame5);
    name_control(VScroll1, "VScroll1", tr8("çalma hızı"));
    VScroll1->setGeometry(206, 52, 18, 42);
    VScroll1->configure(30, 60, 2, 5, kStartSpeed);
}

void arayüz::build_pitch_level_group() {
    // Pitch levels.
    Frame2 = make_frame(this, "Frame2", "Ahenkler", "ahenkler");
    for (int i = 1; i <= 8; ++i) {
        const int column = (i - 1) / 4;
        const int row = (i - 1) % 4;
        const QString caption = tr8(pitch_level(i).caption);
        Option1.add(i, Frame2, caption, tr8("ahenk ") + caption)
            ->setGeometry(8 + column * 108, 16 + row * 20, 106, 20);
    }
    Option1.select(kSupurde);
    Text3 = new TextBox(Frame2);
    name_control(Text3, "Text3", tr8("ince göçürüm miktarı"));
    Text3->setGeometry(232, 22, 80, 24);
    Text3->setText(QStringLiteral("0"));
    HScroll1 = new ScrollBar(Qt::Horizontal, Frame2);
    name_control(HScroll1, "HScroll1", tr8("ince göçürüm"));
    HScroll1->setGeometry(232, 56, 80, 18);
    HScroll1->configure(-8, 12, 1, 1, 0);
}

void arayüz::build_file_lists() {
    // File lists: the sample list is never shown; the other two lie over the drawing and
    // are shown by their open buttons.
    File1 = new FileListBox(this);
    name_control(File1, "File1", tr8("ses dosyaları"));
    File1->hide();
    File2 = new FileListBox(this);
    name_control(File2, "File2", tr8("makam dosyaları"));
    File2->hide();
    File3 = new FileListBox(this);
    name_control(File3, "File3", tr8("velmora dosyaları"));
    File3->hide();
}

// The makam box's focus, the exit and X buttons, and the key preview.
void arayüz::connect_window_handlers() {
    Text1->on_got_focus([this] { Text1_GotFocus(); });
    Text1->on_lost_focus([this] { Text1_LostFocus(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    key_preview_ = new KeyPreview(this);
    key_preview_->setParent(this);
    key_preview_->hold_releases(true);  // X11 sends key repeats as release/press pairs
}

void arayüz::arayüzyerleşimi(double screen_width_twips, double screen_height_twips) {
    layout_ = arayüzyerleşimi_geometry(screen_width_twips, screen_height_twips);
    apply_layout();
}

void arayüz::place_window() {
    // The layout's size is the outer size; the frame is unknown until the window shows.
    const QSize frame = frameGeometry().size() - size();
    const ClientPlacement p = client_placement(layout_, frame.width(), frame.height());
    resize(p.width, p.height);
    move(p.left, p.top);
}

void arayüz::apply_layout() {
    const WindowLayout& g = layout_;
    place_window();
    place(Picture2, g.Picture2);
    place(Picture1, g.Picture1);
    place(Picture3, g.Picture3);
    place(Picture6, g.Picture6);
    place(Picture5, g.Picture5);
    place(Picture10, g.Picture10);
    place(Frame11, g.Frame11);
    place(Check1, g.Check1);
    place(Label36, g.Label36);
    fit_lines_to_width(Label36);
    place(Frame3, g.Frame3);
    place(Frame7, g.Frame7);
    place(Frame10, g.Frame10);
    place(Frame4, g.Frame4);
    place(Frame1, g.Frame1);
    place(Frame5, g.Frame5);
    place(Frame2, g.Frame2);
    place(File2, g.File2);
    place(File3, g.File3);
    place(Command1, g.Frame10.left + g.Frame10.width + 2, 8, 15, 15);
    File2->raise();
    File3->raise();
}

// ---- Shutdown ---------------------------------------------------------------------------

bool arayüz::Form_QueryUnload(UnloadReason reason) {
    if (!close_request_.opens_question(reason)) return false;
    return close_request_.cancelled_by(dialogs_.message(kQuitQuestion, MessageButtons::YesNo));
}

void arayüz::Form_Unload() {
    if (!close_request_.unload()) return;
    // A recording keeps its last note; a running replay ends after the note it is on.
    if (recorder_) recorder_->stop_buton_Click();
    if (timer_) timer_->Halt();
    timer_.reset();
    // Every other window of the program (the splash, an open file list) goes with this one.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w != this && w->isVisible()) w->close();
    }
    hide();
    if (unloaded_action_) unloaded_action_();
}

bool arayüz::close_for(UnloadReason reason) {
    switch (close_request_.request(reason)) {
        case CloseStep::already_closed:
            return true;
        case CloseStep::close_question:
            dialogs_.close_open_message();
            return false;
        case CloseStep::close_window:
            break;
    }
    close_request_.closing_for(reason);
    const bool closed = close();
    close_request_.closing_done();
    if (close_request_.unloads_without_event(closed, isVisible())) {
        if (Form_QueryUnload(reason)) return false;
        Form_Unload();
    }
    return close_request_.unloaded();
}

void arayüz::Command10_Click() {
    close_for(UnloadReason::FormCode);
}

void arayüz::closeEvent(QCloseEvent* event) {
    if (close_request_.unloaded()) {
        event->accept();
        return;
    }
    if (Form_QueryUnload(close_request_.event_reason(event->spontaneous()))) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}

void arayüz::contextMenuEvent(QContextMenuEvent* event) {
    // The background and the groups only: the pictures keep the right button for playing.
    for (QWidget* w = childAt(event->pos()); w != nullptr && w != this; w = w->parentWidget()) {
        if (dynamic_cast<PictureBox*>(w) != nullptr) return;
    }
    if (sound_control_) sound_control_->show_menu(event->globalPos(), actions());
}

void arayüz::mouseMoveEvent(QMouseEvent* event) {
    Form_MouseMove(0, 0, 0, 0);
    QWidget::mouseMoveEvent(event);
}

}  // namespace orvena
