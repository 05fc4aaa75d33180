#include "surface/artwork.h"

#include <QString>

// Outside any namespace, as the resource initialiser's name is global.
static void init_artwork_resource() {
    Q_INIT_RESOURCE(artwork);
}

namespace orvena {

namespace {

QImage load(const char* name) {
    // A static library drops unreferenced objects, so the resource is initialised here.
    static const bool initialised = [] {
        init_artwork_resource();
        return true;
    }();
    (void)initialised;
    QImage img(QStringLiteral(":/artwork/") + QString::fromLatin1(name));
    return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QImage notation_sheet() {
    return load("notation_sheet.png");
}
QImage tuning_peg() {
    return load("tuning_peg.png");
}
QImage splash_logo() {
    return load("splash_logo.png");
}

}  // namespace orvena
