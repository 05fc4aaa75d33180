// The program's message boxes as the user meets them: Turkish buttons, the answer of the
// button pressed, and a box taken away from outside answering No.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

#include "support/qt_app.h"
#include "surface/dialogs.h"

namespace orvena {
namespace {

// Runs `act` on the box once it is open, and reports the captions of its buttons.
QStringList while_open(QtDialogs& dialogs, MessageButtons buttons, MessageAnswer& answer,
                       const std::function<void(QMessageBox&)>& act) {
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        for (QAbstractButton* b : box->buttons()) captions << b->text();
        captions.sort();
        act(*box);
    });
    QTimer::singleShot(5000, [] {  // never hang the suite
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
    });
    answer = dialogs.message("soru", buttons);
    return captions;
}

TEST(MessageBox, TurkishButtonsGiveTheAnswerPressed) {
    test::ensure_qt_app();
    QtDialogs dialogs;
    MessageAnswer answer{};
    auto press = [](const char* caption) {
        return [caption](QMessageBox& box) {
            for (QAbstractButton* b : box.buttons())
                if (b->text() == QString::fromUtf8(caption)) b->click();
        };
    };
    EXPECT_EQ(while_open(dialogs, MessageButtons::Ok, answer, press("Tamam")),
              QStringList{QStringLiteral("Tamam")});
    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(while_open(dialogs, MessageButtons::YesNo, answer, press("Evet")),
              (QStringList{QStringLiteral("Evet"), QString::fromUtf8("Hayır")}));
    EXPECT_EQ(answer, MessageAnswer::Yes);
    while_open(dialogs, MessageButtons::YesNo, answer, press("Hayır"));
    EXPECT_EQ(answer, MessageAnswer::No);
    while_open(dialogs, MessageButtons::YesNo, answer,
               [&dialogs](QMessageBox&) { dialogs.close_open_message(); });
    EXPECT_EQ(answer, MessageAnswer::No) << "a question taken away answers No";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace orvena
