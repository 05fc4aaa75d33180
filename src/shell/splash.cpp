#include "shell/splash.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "surface/artwork.h"
#include "surface/controls.h"
#include "surface/dialogs.h"

namespace orvena {

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAccessibleName(QString::fromUtf8("ORVENA yükleniyor"));
    setWindowTitle(QString::fromUtf8(kAppTitle));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    Frame1 = new QFrame(this);
    name_control(Frame1, "Frame1", QString::fromUtf8("açılış"));
    Frame1->setFrameShape(QFrame::Box);
    outer->addWidget(Frame1);

    auto* inner = new QVBoxLayout(Frame1);
    inner->setContentsMargins(18, 14, 18, 14);
    inner->setSpacing(10);

    imgLogo = new QLabel(Frame1);
    name_control(imgLogo, "imgLogo", QString::fromUtf8("ORVENA logosu"));
    imgLogo->setPixmap(QPixmap::fromImage(splash_logo()));
    imgLogo->setAlignment(Qt::AlignCenter);
    inner->addWidget(imgLogo);

    lblProductName = new QLabel(QString::fromUtf8(kAppTitle), Frame1);
    name_control(lblProductName, "lblProductName", QString::fromUtf8("ürün adı"));
    QFont title = lblProductName->font();
    title.setPointSize(28);
    title.setBold(true);
    lblProductName->setFont(title);
    lblProductName->setAlignment(Qt::AlignCenter);
    inner->addWidget(lblProductName);

    Label2 = new QLabel(QString::fromUtf8(kLoadingCaption), Frame1);
    name_control(Label2, "Label2", QString::fromUtf8("yükleniyor"));
    Label2->setAlignment(Qt::AlignCenter);
    inner->addWidget(Label2);

    adjustSize();
}

}  // namespace orvena
