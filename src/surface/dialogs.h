#pragma once
// Modal message boxes of the program. Every box carries the application title and no title
// of its own; an OK box has no icon, the Yes/No question has the question icon. Texts use
// CR LF for line breaks, as the program's own texts are written; the box shows them as line
// breaks. Event thread only.

#include <string>

class QMessageBox;
class QWidget;

namespace orvena {

// The application title every message box carries.
inline constexpr const char* kAppTitle = "O R V E N A";

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows the text modally and returns the button pressed (Ok for an OK box). A Yes/No box
    // closed without a choice answers No.
    virtual MessageAnswer message(const std::string& text, MessageButtons buttons) = 0;
    MessageAnswer message(const std::string& text) { return message(text, MessageButtons::Ok); }
    // Takes away the box that is open, if any, as if it had been closed without a choice: a
    // question answers No. For a request that cannot wait for the user (the system ending
    // the program).
    virtual void close_open_message() {}
    // A warning that need not stop the player: shown without waiting for an answer and
    // without taking the keyboard from the window. Here, as an OK box.
    virtual void notice(const std::string& text) { message(text); }
};

// CR LF (and a lone CR) become the line feed a widget shows as a line break.
std::string display_text(const std::string& text);

// Real message boxes over a parent window (or centred on the screen without one), with
// Turkish buttons: "Tamam", "Evet", "Hayır".
class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }
    using Dialogs::message;
    MessageAnswer message(const std::string& text, MessageButtons buttons) override;
    void close_open_message() override;
    // An OK box that stays open beside the window while playing goes on.
    void notice(const std::string& text) override;

  private:
    QWidget* parent_;
    QMessageBox* open_ = nullptr;  // the box being shown (the innermost, when nested)
};

}  // namespace orvena
