// The program's message boxes and the toolkit's own dialogs, in Turkish.

#include "surface/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

#include "support/qt_app.h"
#include "surface/qt_translation.h"

namespace orvena {
namespace {

// The title, CR LF as line breaks, no icon with one button or the question icon with two,
// the answer of the button pressed; a box taken away from outside answers No.
TEST(MessageBox, ShowsTextTitleAndTurkishButtonsAndAnswersThePressedOne) {
    test::ensure_qt_app();
    QtDialogs dialogs;
    const QString yes_no = QString::fromUtf8("Evet Hayır");
    const std::tuple<MessageButtons, const char*, MessageAnswer, QMessageBox::Icon, QString>
        cases[] = {
            {MessageButtons::Ok, "Tamam", MessageAnswer::Ok, QMessageBox::NoIcon, "Tamam"},
            {MessageButtons::YesNo, "Evet", MessageAnswer::Yes, QMessageBox::Question, yes_no},
            {MessageButtons::YesNo, "Hayır", MessageAnswer::No, QMessageBox::Question, yes_no},
            {MessageButtons::YesNo, "", MessageAnswer::No, QMessageBox::Question, yes_no},
        };  // press "": the box is taken away from outside
    for (const auto& [buttons, press, answer, icon, captions] : cases) {
        SCOPED_TRACE(press);
        QString seen;  // title | text | icon | button captions
        QTimer::singleShot(0, [&, press = press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            QStringList texts;
            for (QAbstractButton* b : box->buttons()) texts << b->text();
            texts.sort();
            seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->icon()) +
                   "|" + texts.join(' ');
            if (*press == '\0') dialogs.close_open_message();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(press)) b->click();
        });
        QTimer::singleShot(5000, [] {  // never hang the suite
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(0);
        });
        EXPECT_EQ(dialogs.message("12\r\nses dosyasında hata.", buttons), answer);
        EXPECT_EQ(seen, QString::fromUtf8("O R V E N A|12\nses dosyasında hata.|") +
                            QString::number(icon) + "|" + captions);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// Without the translation (qt6-translations-l10n) the toolkit's dialogs quietly stay English.
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
