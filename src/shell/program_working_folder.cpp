#include "shell/program_working_folder.h"

#include <QStandardPaths>

#include "files/program_folder.h"

namespace orvena {

std::filesystem::path program_working_folder(const std::filesystem::path& executable_folder) {
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const std::filesystem::path shipped = shipped_folder(executable_folder);
    if (user.isEmpty()) return shipped;
    return working_folder(shipped, std::filesystem::path(user.toStdString()));
}

}  // namespace orvena
