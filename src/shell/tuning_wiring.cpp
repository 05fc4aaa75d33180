// The window's tuning systems: "Akort sistemi…" in the background menu, Ctrl+T between the
// last two, the name of the system in force in the top row, the choice kept in orvena.ini.

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>

#include "presets/tuning_start.h"
#include "shell/arayuz.h"
#include "shell/export_dialogs.h"

namespace orvena {
namespace {

std::optional<std::filesystem::path> choose_scala_file(QWidget* owner,
                                                       const std::filesystem::path& folder) {
    QFileDialog dialog(owner, tr8(kOtherScaleTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(tr8("Scala dosyaları (*.scl);;Akort çalışma kitapları (*.xls)"));
    dialog.setDirectory(QFile::decodeName(folder.c_str()));
    return run_file_dialog(dialog, QStringLiteral("Dosya adı:"), QStringLiteral("Aç"));
}

}  // namespace

void arayüz::fill_tuning_menu(QMenu& menu) {
    menu.clear();
    auto* group = new QActionGroup(&menu);
    const auto add = [&](const QString& text, const std::string& key) {
        QAction* entry = menu.addAction(text);
        entry->setCheckable(true);
        entry->setChecked(key == tuning_->current_key());
        group->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, key] { tuning_->choose(key); });
    };
    add(tr8(kWorkbookEntry), kWorkbookSystem);
    for (const std::filesystem::path& file : tuning_->shipped_files())
        add(QFile::decodeName(file.filename().c_str()), tuning_->key_of(file));
    menu.addSeparator();
    QAction* other = menu.addAction(tr8(kOtherScaleEntry));
    connect(other, &QAction::triggered, this, [this] {
        if (const auto file = choose_scala_file(this, program_folder_)) tuning_->choose_file(*file);
    });
}

void arayüz::connect_tuning(const LoadContext& context) {
    tuning_ = std::make_unique<TuningChoice>(st, dialogs_, *views_, program_folder_);

    tuning_label_ = new QLabel(Frame7);
    name_control(tuning_label_, "tuning_name", tr8("akort sistemi"));
    tuning_label_->setGeometry(3, 14, Frame7->width() - 6, Frame7->height() - 16);
    tuning_label_->setAlignment(Qt::AlignCenter);
    tuning_label_->setWordWrap(true);
    const auto show_name = [this] {
        const QString name = QString::fromStdString(st.tables.name);
        tuning_label_->setText(tr8("akort:\n") + name);
        tuning_label_->setToolTip(tr8("Akort sistemi: ") + name);
    };
    show_name();

    // The system of the command line for this run, else the one kept from the last.
    const std::filesystem::path settings_file = context.sound.settings_file;
    start_tuning(*tuning_, dialogs_, settings_file, context.tuning_file);
    show_name();
    tuning_->changed = [this, show_name, settings_file] {
        show_name();
        keep_tuning_choice(*tuning_, settings_file);
    };

    auto* menu = new QMenu(tr8(kTuningMenuText), this);
    menu->setObjectName(QStringLiteral("tuning_menu"));
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill_tuning_menu(*menu); });
    addAction(menu->menuAction());

    auto* toggle = new QAction(tr8(kTuningToggleText), this);
    toggle->setObjectName(QStringLiteral("tuning_toggle"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    addAction(toggle);
    connect(toggle, &QAction::triggered, this, [this] { tuning_->toggle(); });
}

}  // namespace orvena
