#include "surface/dialogs.h"

#include <QMessageBox>
#include <QString>

namespace orvena {

std::string display_text(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

MessageAnswer QtDialogs::message(const std::string& text, MessageButtons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    // Plain text: the program's messages hold "<--" and "-->" and must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(display_text(text)));
    if (buttons == MessageButtons::YesNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setIcon(QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

void QtDialogs::notice(const std::string& text) {
    auto* box = new QMessageBox(parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    box->setWindowTitle(QString::fromUtf8(kAppTitle));
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(display_text(text)));
    box->setIcon(QMessageBox::NoIcon);
    box->setStandardButtons(QMessageBox::Ok);
    box->show();
}

}  // namespace orvena
