#include "support/pictures.h"

#include <QDir>

namespace orvena::test {

void dump_picture(const std::string& name, const QImage& picture, int enlarge) {
    const QString folder = qEnvironmentVariable("ORVENA_TEST_PICTURES");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    const QString base = folder + "/" + QString::fromStdString(name);
    picture.save(base + ".png");
    picture.scaled(picture.size() * enlarge).save(base + "_x" + QString::number(enlarge) + ".png");
}

}  // namespace orvena::test
