#pragma once
// The splash window frmSplash: the product name, the loading line and the logo, shown while
// the main window loads (the tuning import can take a moment).

#include <QWidget>

class QFrame;
class QLabel;

namespace orvena {

class frmSplash : public QWidget {
  public:
    explicit frmSplash(QWidget* parent = nullptr);

    QFrame* Frame1 = nullptr;
    QLabel* lblProductName = nullptr;  // "O R V E N A"
    QLabel* Label2 = nullptr;          // the loading line
    QLabel* imgLogo = nullptr;
};

inline constexpr const char* kLoadingCaption = "Y  ü  k  l  e  n  i  y  o  r . . . . . . . . ";

}  // namespace orvena
