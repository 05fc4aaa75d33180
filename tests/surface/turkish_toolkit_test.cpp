// The toolkit's standard dialogs (the export's progress box among them) speak Turkish once its
// translation is installed; without the translation they quietly stay English.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTranslator>

#include <filesystem>

#include "support/qt_app.h"
#include "surface/qt_translation.h"

namespace orvena {
namespace {

TEST(TurkishToolkit, TheProgressBoxCancelsInTurkish) {
    test::ensure_qt_app();
    const std::filesystem::path qm =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() + "/qtbase_tr.qm";
    if (!std::filesystem::exists(qm)) GTEST_SKIP() << "qt6-translations-l10n is not installed";
    const auto translator = install_turkish_toolkit_texts();
    ASSERT_NE(translator, nullptr);
    EXPECT_EQ(QProgressDialog().findChild<QPushButton*>()->text(), QString::fromUtf8("İptal"));
    QCoreApplication::removeTranslator(translator.get());
    EXPECT_EQ(install_turkish_toolkit_texts("/nonexistent"), nullptr);
}

}  // namespace
}  // namespace orvena
