#pragma once
// A workbook package as an ordered list of parts (zip entries), read and
// written with QuaZip.

#include <QByteArray>
#include <QList>
#include <QString>

namespace vorn::report {

struct ZipPart {
    QString name; // e.g. "xl/workbook.xml"
    QByteArray bytes;
};

class ZipParts {
public:
    QList<ZipPart> parts;

    bool Has(const QString& name) const;
    QByteArray Get(const QString& name) const;
    // Replaces the part or adds it at the end.
    void Set(const QString& name, const QByteArray& bytes);
};

// Reads every entry of a zip file. On failure returns false with a message.
bool ReadZip(const QString& path, ZipParts& out, QString* error);
// The zip file of the parts, in their order (deflated).
bool WriteZip(const ZipParts& parts, QByteArray& out, QString* error);

} // namespace vorn::report
