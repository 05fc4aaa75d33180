// The program's message boxes as the user meets them: its title, CR LF as line breaks, no
// icon with one button or the question icon with two, Turkish buttons, the answer of the
// button pressed, and a box taken away from outside answering No.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "support/qt_app.h"
#include "surface/dialogs.h"

namespace orvena {
namespace {

TEST(MessageBox, ShowsTextTitleAndTurkishButtonsAndAnswersThePressedOne) {
    test::ensure_qt_app();
    QtDialogs dialogs;
    struct Case {
        MessageButtons buttons;
        const char* press;  // "" takes the box away from outside
        MessageAnswer answer;
        QMessageBox::Icon icon;
        QStringList captions;
    };
    const QStringList yes_no{QStringLiteral("Evet"), QString::fromUtf8("Hayır")};
    const Case cases[] = {
        {MessageButtons::Ok, "Tamam", MessageAnswer::Ok, QMessageBox::NoIcon, {"Tamam"}},
        {MessageButtons::YesNo, "Evet", MessageAnswer::Yes, QMessageBox::Question, yes_no},
        {MessageButtons::YesNo, "Hayır", MessageAnswer::No, QMessageBox::Question, yes_no},
        {MessageButtons::YesNo, "", MessageAnswer::No, QMessageBox::Question, yes_no},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) captions << b->text();
            captions.sort();
            if (*c.press == '\0') dialogs.close_open_message();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(c.press)) b->click();
        });
        QTimer::singleShot(5000, [] {  // never hang the suite
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(0);
        });
        EXPECT_EQ(dialogs.message("12\r\nses dosyasından kaynaklanan bir hata oluştu.", c.buttons),
                  c.answer);
        EXPECT_EQ(title, QStringLiteral("O R V E N A"));
        EXPECT_EQ(text, QString::fromUtf8("12\nses dosyasından kaynaklanan bir hata oluştu."));
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

}  // namespace
}  // namespace orvena
