#include "surface/dialogs.h"

#include <QAbstractButton>
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

namespace {
// The program speaks Turkish; the toolkit's own button captions would be English.
void caption(QMessageBox& box, QMessageBox::StandardButton button, const char* text) {
    if (QAbstractButton* b = box.button(button)) b->setText(QString::fromUtf8(text));
}
}  // namespace

MessageAnswer QtDialogs::message(const std::string& text, MessageButtons buttons) {
    QMessageBox box(parent_);
    QMessageBox* const outer = open_;
    open_ = &box;
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    // Plain text: the program's messages hold "<--" and "-->" and must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(display_text(text)));
    if (buttons == MessageButtons::YesNo) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        caption(box, QMessageBox::Yes, "Evet");
        caption(box, QMessageBox::No, "Hayır");
    } else {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        caption(box, QMessageBox::Ok, "Tamam");
    }
    const int result = box.exec();
    open_ = outer;
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

void QtDialogs::close_open_message() {
    if (open_) open_->done(QMessageBox::No);
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
