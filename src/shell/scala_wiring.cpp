// The window's context menu entry and shortcut (Ctrl+Shift+E) for the Scala export.

#include <QAction>
#include <QFileDialog>

#include "presets/scala_menu.h"
#include "presets/tuning_start.h"
#include "shell/arayuz.h"
#include "shell/export_dialogs.h"

namespace orvena {
namespace {

std::optional<std::filesystem::path> choose_folder(QWidget* owner) {
    QFileDialog dialog(owner, QString::fromUtf8(kScalaFolderTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return run_file_dialog(dialog, QStringLiteral("Klasör:"), QStringLiteral("Seç"));
}

}  // namespace

void arayüz::connect_scala_export() {
    auto* action = new QAction(QString::fromUtf8(kScalaMenuText), this);
    action->setObjectName(QStringLiteral("scala_export"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    addAction(action);
    connect(action, &QAction::triggered, this, [this] {
        scala_export_Click(
            st, dialogs_, Text1->Text(), [this] { return choose_folder(this); }, File1->Path(),
            playing_tuning_files());
    });
}

std::vector<std::filesystem::path> arayüz::playing_tuning_files() const {
    return orvena::playing_tuning_files(*tuning_);
}

}  // namespace orvena
