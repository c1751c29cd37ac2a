#pragma once

#include "Cursor.h"
#include "RowPlacements.h"
#include "SqliteConnection.h"
#include "UnitWalk.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace vorn {

// SQL texts of the three queries, as editable lines. The order clause of the
// saved-parts forms is always the last line (the query window replaces it).
namespace QueryText {
// Design-time text of SavedPartsQuery.
QStringList savedPartsDesign();
// Inch and millimetre forms used by open and the query window; each is
// followed by an order line such as SavedPartsOrder.
QString savedPartsInch();
QString savedPartsMm();
inline const QString SavedPartsOrder = QStringLiteral("Order By Part_number;");
// PartToolingQuery: design-time lines and the inch and millimetre forms.
QStringList partToolingDesign();
QString partToolingInch();
QString partToolingMm();
// EnabledPanelsQuery.
QStringList enabledPanels();
} // namespace QueryText

// The data module: the connection to "Vorn.mdb" in the program directory,
// one cursor per table and the three queries. Every window and computation
// works on these shared cursors. The module applies its own rules through
// cursor events: numbering of inserted rows in SetPanel, SetTooling and
// TempTooling by InsertMode, new-row values, keeping a posted tooling preset
// in view, and the enabling of the all-panels margin commands.
class TDataM1 : public QObject {
    Q_OBJECT
    // First member: every cursor below holds on to it.
    SqliteConnection m_connection;

public:
    enum class Numbered { SetPanel, SetTooling, TempTooling };

    // Shown when the database cannot be opened at start-up; the default shows
    // the text in a plain message box and ends the program.
    using StartupFailure = std::function<void(const QString& text)>;
    static void setStartupFailureHandler(StartupFailure handler);

    // programDir: the program's directory; the database is programDir + "Vorn.mdb".
    explicit TDataM1(const QString& programDir, QObject* parent = nullptr);
    ~TDataM1() override;

    // Builds the path and tests the connection once (run by the constructor).
    // Returns false after the start-up failure handler ran.
    bool DataModuleCreate();
    bool isUsable() const { return m_usable; }
    QString databasePath() const { return m_connection.path(); }
    // Closes the connection (backup and restore replace the file); the next
    // cursor that opens reconnects.
    void closeConnection() { m_connection.close(); }
    SqliteConnection& connection() { return m_connection; }

    // InsertMode of the window that owns each numbered table: "Up", "Down" or empty.
    QString insertMode(Numbered table) const { return m_insertMode[int(table)]; }
    void setInsertMode(Numbered table, const QString& mode) { m_insertMode[int(table)] = mode; }
    // What the tooling presets window shows: "Panel" or "Array" (new presets get it as Type).
    void setToolingPresetType(const QString& type) { m_toolingPresetType = type; }
    QString toolingPresetType() const { return m_toolingPresetType; }

    // Working tables: in memory only.
    Cursor TempInput;
    Cursor TempResult;
    Cursor TempTooling;
    Cursor Temp_inner;
    Cursor TempResultCus;
    Cursor TempInputCus;
    // What the unit switch wrote into the job, array and tooling rows, so
    // that a switch there and back gives every untouched length back exactly
    // (3 in × 25.4 ÷ 25.4 is not 3): they are the next search's input. The
    // result tables (up to some 100,000 rows) are the last search's output
    // and are not kept.
    struct WorkingUnitMemory {
        UnitWalkMemory job, array, tooling;
    } workingUnits;
    // The boards of TempResult's rows and the units of TempResultCus's rows
    // laid out beyond the blocks, by row ID; emptied whenever their table
    // opens or closes (IDs start again at 1).
    RowPlacements resultBoards;
    RowPlacements arrayResultUnits;
    // Settings tables: cached until their window saves (applyUpdates).
    Cursor SetBase;
    Cursor SetPanel;
    Cursor SetTooling;
    // Archive tables: written at each post.
    Cursor data0004;
    Cursor Data0005;
    // Queries.
    Cursor SavedPartsQuery;
    Cursor PartToolingQuery;
    Cursor EnabledPanelsQuery;

signals:
    // TempResult opened (true) or closed (false): "边距最小化所有Panel" and
    // "所有Panel边距补偿" follow it.
    void allPanelsCommandsEnabled(bool enabled);
    // A numbered row was inserted and is in edit state; the owning grid moves
    // its selection to the column after the number.
    void numberedRowInserted(vorn::Cursor* cursor);
    // A tooling preset was posted; the presets window redraws its preview
    // (it may walk SetTooling; the posted row is found again afterwards).
    void toolingPresetPosted();

private:
    void setUpDisplay();
    void setUpRules();
    void setUpNumbering(Cursor& cursor, Numbered table, const QString& numberField);

    QString m_programDir;
    bool m_usable = false;
    QString m_insertMode[3];
    QString m_toolingPresetType = QStringLiteral("Panel");
    int m_nextNumber = 0;
    bool m_numbering = false;
};

} // namespace vorn
