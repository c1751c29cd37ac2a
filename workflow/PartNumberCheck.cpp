#include "PartNumberCheck.h"

#include "Cursor.h"
#include "data1.h"

namespace vorn {

bool SavedPartExists(TDataM1& data, const QString& partNumber) {
    Cursor& query = data.SavedPartsQuery;
    const bool wasOpen = query.isOpen();
    if (!wasOpen)
        query.open();
    bool found = false;
    try {
        // An empty text names no part (locate would look for an empty number).
        found = !partNumber.isEmpty() &&
                query.locate(QStringLiteral("Part_number"), {partNumber}, Cursor::CaseInsensitive);
    } catch (...) {
        if (!wasOpen)
            query.close();
        throw;
    }
    if (!wasOpen)
        query.close();
    return found;
}

} // namespace vorn
