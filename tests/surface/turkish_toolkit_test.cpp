// The toolkit's standard dialogs speak Turkish once its translation is installed, and the
// message boxes keep their own Turkish buttons.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTranslator>

#include <filesystem>

#include "support/qt_app.h"
#include "surface/dialogs.h"
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

    QDialogButtonBox buttons(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Save)->text(), QString::fromUtf8("Kaydet"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("İptal"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(files.labelText(QFileDialog::Reject), QString::fromUtf8("İptal"));

    QCoreApplication::removeTranslator(translator.get());
}

TEST(TurkishToolkit, AMissingTranslationLeavesTheToolkitAsItIs) {
    test::ensure_qt_app();
    EXPECT_EQ(install_turkish_toolkit_texts("/nonexistent-folder"), nullptr);
    QProgressDialog progress;
    EXPECT_EQ(progress.findChild<QPushButton*>()->text(), QStringLiteral("Cancel"));
}

}  // namespace
}  // namespace orvena
