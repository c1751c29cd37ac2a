#pragma once

#include <QString>

#include <stdexcept>

namespace vorn {

// An error of the data layer: a rejected filter text, an unknown column, a
// failed post, delete or commit, a database file that cannot be opened. The
// text is meant for the user and is shown as it stands.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& text) : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

} // namespace vorn
