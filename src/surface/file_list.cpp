#include "surface/file_list.h"

#include <QCollator>
#include <QFileSystemWatcher>
#include <QLocale>
#include <QString>

#include <algorithm>

namespace orvena {

namespace {

char32_t fold(char32_t c) {
    return static_cast<char32_t>(QChar::toCaseFolded(static_cast<uint>(c)));
}

bool match_from(const std::u32string& name, std::size_t n, const std::u32string& pat,
                std::size_t p) {
    // Iterative glob with one backtrack point for the last '*'.
    std::size_t star_p = std::u32string::npos;
    std::size_t star_n = 0;
    while (n < name.size()) {
        if (p < pat.size() &&
            (pat[p] == U'?' || (pat[p] != U'*' && fold(pat[p]) == fold(name[n])))) {
            ++n;
            ++p;
        } else if (p < pat.size() && pat[p] == U'*') {
            star_p = p++;
            star_n = n;
        } else if (star_p != std::u32string::npos) {
            p = star_p + 1;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (p < pat.size() && pat[p] == U'*') ++p;
    return p == pat.size();
}

std::u32string to_u32(const std::string& s) {
    const QList<uint> ucs4 = QString::fromStdString(s).toUcs4();
    return std::u32string(ucs4.begin(), ucs4.end());
}

}  // namespace

bool matches_pattern(const std::string& name, const std::string& pattern) {
    return match_from(to_u32(name), 0, to_u32(pattern), 0);
}

std::vector<std::string> list_matching_files(const std::filesystem::path& folder,
                                             const std::string& pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) return names;
    for (const auto& entry : it) {
        std::error_code type_ec;
        if (!entry.is_regular_file(type_ec)) continue;
        std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (matches_pattern(name, pattern)) names.push_back(std::move(name));
    }
    // As a Turkish reader orders names ("Çârgâh" before "Uşşak", "Irak" before "İsfahan"),
    // case aside; names that differ only in case or accents fall back to their bytes.
    QCollator turkish(QLocale(QLocale::Turkish, QLocale::Turkey));
    turkish.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&turkish](const std::string& a, const std::string& b) {
        const int order = turkish.compare(QString::fromStdString(a), QString::fromStdString(b));
        if (order != 0) return order < 0;
        return a < b;
    });
    return names;
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { click_entry(row(item)); });
}

void FileListBox::setPath(const std::filesystem::path& folder) {
    folder_ = folder;
    reload();
    if (watcher_) watch_folder();
}

void FileListBox::setPattern(const std::string& pattern) {
    pattern_ = pattern;
    reload();
}

void FileListBox::Refresh() {
    reload();
}

void FileListBox::watch_folder() {
    if (!watcher_) {
        watcher_ = new QFileSystemWatcher(this);
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
    }
    const QStringList watched = watcher_->directories();
    if (!watched.isEmpty()) watcher_->removePaths(watched);
    if (!folder_.empty()) watcher_->addPath(QString::fromStdString(folder_.string()));
}

void FileListBox::click_entry(int index) {
    if (index < 0 || index >= ListCount()) return;
    setCurrentRow(index);
    file_name_ = names_[static_cast<std::size_t>(index)];
    if (click_action_) click_action_();
}

void FileListBox::reload() {
    names_ = folder_.empty() ? std::vector<std::string>{} : list_matching_files(folder_, pattern_);
    clear();
    for (const std::string& name : names_) addItem(QString::fromStdString(name));
}

}  // namespace orvena
