#include "surface/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace orvena {

std::unique_ptr<QTranslator> install_turkish_toolkit_texts(std::filesystem::path folder) {
    const QString where = folder.empty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                         : QString::fromStdString(folder.string());
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_tr"), where)) return nullptr;
    if (!QCoreApplication::installTranslator(translator.get())) return nullptr;
    return translator;
}

}  // namespace orvena
