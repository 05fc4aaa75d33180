#pragma once
// The toolkit's own texts in Turkish: the buttons and labels of its standard dialogs (file,
// progress, colour pickers, standard buttons). The program's own texts are Turkish already.

#include <QTranslator>

#include <filesystem>
#include <memory>

namespace orvena {

// Loads the toolkit's Turkish translation from `folder` (by default where the toolkit keeps
// its translations) and installs it in the running application. Without the translation
// (qt6-translations-l10n not installed) it returns nullptr and the toolkit stays English.
// The translation is in force while the returned object lives.
std::unique_ptr<QTranslator> install_turkish_toolkit_texts(std::filesystem::path folder = {});

}  // namespace orvena
