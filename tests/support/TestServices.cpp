#include "support/TestServices.h"

#include <QDir>
#include <QFile>

namespace orvix::test {

FakePlatform::FakePlatform()
    : fixedNow(QDate(2026, 2, 3), QTime(17, 14, 9)) {}

QByteArray FakePlatform::readFile(const QString& name) const {
    QFile file(QDir(programFolder()).filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

}  // namespace orvix::test
