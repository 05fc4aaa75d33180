// The toolkit's standard dialogs speak Turkish once its translation is installed.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTranslator>

#include <filesystem>

#include "support/qt_app.h"
#include "surface/qt_translation.h"

namespace orvena {
namespace {

std::filesystem::path toolkit_translations() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString();
}

TEST(TurkishToolkit, StandardDialogButtonsAreTurkish) {
    test::ensure_qt_app();
    if (!std::filesystem::exists(toolkit_translations() / "qtbase_tr.qm")) {
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    }
    const auto translator = install_turkish_toolkit_texts();
    ASSERT_NE(translator, nullptr);

    QProgressDialog progress;
    const auto* cancel = progress.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QString::fromUtf8("İptal"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(files.labelText(QFileDialog::Reject), QString::fromUtf8("İptal"));

    QCoreApplication::removeTranslator(translator.get());
    EXPECT_EQ(install_turkish_toolkit_texts("/nonexistent"), nullptr);  // quietly English
}

}  // namespace
}  // namespace orvena
