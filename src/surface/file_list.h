#pragma once
// File list boxes: the files of one folder whose names match a pattern ("*.wav", "*.mkm",
// "*.ses"), sorted by name. Folders and hidden files are not listed. The pattern's letters
// match either case, as the program's sample, makam and sequence files have always been found;
// the sort is the Turkish alphabet's, case aside, and falls back to the exact bytes, so the
// order is total.

#include <QListWidget>

class QFileSystemWatcher;

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orvena {

// True when name matches a pattern of '*' (any run) and '?' (one character), letters
// compared without regard to case.
bool matches_pattern(const std::string& name, const std::string& pattern);

// The sorted names of the regular files of folder that match pattern; an unreadable or
// missing folder lists nothing.
std::vector<std::string> list_matching_files(const std::filesystem::path& folder,
                                             const std::string& pattern);

class FileListBox : public QListWidget {
  public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Path and Pattern each re-read the folder, as setting them does on the classic control.
    void setPath(const std::filesystem::path& folder);
    void setPattern(const std::string& pattern);
    const std::filesystem::path& Path() const { return folder_; }
    const std::string& Pattern() const { return pattern_; }

    void Refresh();  // re-reads the folder
    // From now on the list re-reads its folder whenever a file appears, disappears or is
    // renamed there, whoever made the change.
    void watch_folder();
    int ListCount() const { return static_cast<int>(names_.size()); }
    const std::string& List(int index) const { return names_.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& names() const { return names_; }

    // The name of the entry last clicked (or selected from code); empty when none.
    const std::string& FileName() const { return file_name_; }
    // Selects entry index as a click would, and runs the click action.
    void click_entry(int index);

    // Visible is the control's own flag: a list box in a hidden window still counts as shown.
    bool Visible() const { return !isHidden(); }

    void on_click(std::function<void()> action) { click_action_ = std::move(action); }

  private:
    void reload();

    std::filesystem::path folder_;
    std::string pattern_ = "*.*";
    std::vector<std::string> names_;
    std::string file_name_;
    std::function<void()> click_action_;
    QFileSystemWatcher* watcher_ = nullptr;
};

}  // namespace orvena
