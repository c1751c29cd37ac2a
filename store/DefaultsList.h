#pragma once
// The defaults file held in memory: name=value lines in file order. Names match
// without regard to case and the first line with a name counts; lines that are
// not entries (comments, unknown names, blank lines) stay where they are.

#include <QString>
#include <QStringList>

namespace vorn {

class DefaultsList {
public:
    // The file name beside the program.
    static QString FileName() { return QStringLiteral("VornInitS.int"); }

    void Clear() { lines_.clear(); }
    bool IsEmpty() const { return lines_.isEmpty(); }
    const QStringList& Lines() const { return lines_; }

    // Replaces the list by the file's lines. A missing or unreadable file
    // leaves the list empty and returns false.
    bool Load(const QString& path);
    // Writes every line, in order, over the whole file (CR LF line ends).
    // Returns false with a message in *error when the file cannot be written;
    // the old file then stays as it was.
    bool Save(const QString& path, QString* error = nullptr) const;

    // The value of the first line with this name; empty text when missing.
    QString Value(const QString& name) const;
    // True only when the value is exactly "True".
    bool Flag(const QString& name) const { return Value(name) == QLatin1String("True"); }

    // A non-empty value replaces the first line's value or is appended as a new
    // last line; an empty value removes the entry.
    void SetValue(const QString& name, const QString& value);
    void SetFlag(const QString& name, bool on) {
        SetValue(name, on ? QStringLiteral("True") : QStringLiteral("False"));
    }

    // Lengths are written in the shortest general decimal form, up to 15
    // significant digits.
    static QString LengthText(double inches);

private:
    // Index of the first line whose name matches, or -1.
    qsizetype Find(const QString& name) const;

    QStringList lines_;
};

} // namespace vorn
