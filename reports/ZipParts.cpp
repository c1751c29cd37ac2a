#include "ZipParts.h"

#include <QBuffer>
#include <QFileInfo>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

namespace vorn::report {

bool ZipParts::Has(const QString& name) const {
    for (const ZipPart& p : parts)
        if (p.name == name)
            return true;
    return false;
}

QByteArray ZipParts::Get(const QString& name) const {
    for (const ZipPart& p : parts)
        if (p.name == name)
            return p.bytes;
    return {};
}

void ZipParts::Set(const QString& name, const QByteArray& bytes) {
    for (ZipPart& p : parts)
        if (p.name == name) {
            p.bytes = bytes;
            return;
        }
    parts.push_back({name, bytes});
}

bool ReadZip(const QString& path, ZipParts& out, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), why);
        return false;
    };
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return fail(QStringLiteral("not a readable workbook package"));
    out.parts.clear();
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("entry %1 cannot be read").arg(zip.getCurrentFileName()));
        const QByteArray bytes = file.readAll();
        file.close();
        if (file.getZipError() != UNZ_OK)
            return fail(QStringLiteral("entry %1 is damaged").arg(zip.getCurrentFileName()));
        out.parts.push_back({zip.getCurrentFileName(), bytes});
    }
    if (zip.getZipError() != UNZ_OK)
        return fail(QStringLiteral("the package is damaged"));
    return true;
}

bool WriteZip(const ZipParts& parts, QByteArray& out, QString* error) {
    out.clear();
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate)) {
        if (error)
            *error = QStringLiteral("the workbook package cannot be made");
        return false;
    }
    for (const ZipPart& p : parts.parts) {
        QuaZipFile file(&zip);
        // A fixed time keeps the package the same for the same content.
        QuaZipNewInfo info(p.name);
        info.dateTime = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
        if (!file.open(QIODevice::WriteOnly, info) || file.write(p.bytes) != p.bytes.size()) {
            if (error)
                *error = QStringLiteral("the part %1 cannot be packed").arg(p.name);
            return false;
        }
        file.close();
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}

} // namespace vorn::report
