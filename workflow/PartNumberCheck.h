#pragma once
// Whether a part of a given number is saved in the archive.

#include <QString>

namespace vorn {

class TDataM1;

// Looks the part number up in the saved-parts query, ignoring case and
// matching the whole value. The query is opened for the look-up when it is
// closed and closed again; a query some window holds open stays open.
bool SavedPartExists(TDataM1& data, const QString& partNumber);

} // namespace vorn
