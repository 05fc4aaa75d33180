#pragma once
// The Turkish dialogs an export of the window asks with: a choice from a list, a file name to
// save under, and a progress box with "İptal". Event thread only.

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace orvena {

// The index of the item chosen from `items`, or nothing when the user backs out.
std::optional<int> choose_from_list(QWidget* owner, const QString& title, const QString& prompt,
                                    const QStringList& items);

struct SaveFileQuestion {
    QString title;
    QString filter;                   // "MIDI dosyaları (*.mid)"
    QString suffix;                   // added to a name typed without one
    std::filesystem::path suggested;  // the folder to open and the file name to offer
};

// music_or_home_folder of files/export_folder with the folders the desktop names.
std::filesystem::path music_or_home_folder();

// The file the user names, or nothing when the user backs out. The caller asks before an
// existing file is replaced.
std::optional<std::filesystem::path> choose_save_file(QWidget* owner, const SaveFileQuestion& q);

// Runs a file dialog made with DontUseNativeDialog (set first: the toolkit's own dialog, whose
// labels it can change) with its labels in Turkish:
// `name_label` beside the name field ("Dosya adı:", "Klasör:") and `accept` on the button
// that takes the choice. The file or folder chosen, or nothing when the user backs out.
std::optional<std::filesystem::path> run_file_dialog(QFileDialog& dialog, const QString& name_label,
                                                     const QString& accept);

// Opens a progress box (shown when the work takes a moment) until the returned reporter is
// gone; the reporter takes the share done (0..1) and answers false once "İptal" is pressed.
std::function<bool(double)> show_progress_box(QWidget* owner, const QString& title,
                                              const QString& text);

}  // namespace orvena
