// vornplan parts: the saved-parts list exported as the query window exports
// it, from the command line.

#include "Command.h"
#include "DataModule.h"
#include "DbError.h"
#include "PartListExport.h"
#include "PartsArchive.h"
#include "PlanArguments.h"
#include "SchemaCheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <cstdio>

namespace {

int Fail(const QString& message, int code) {
    std::fprintf(stderr, "vornplan parts: %s\n", qPrintable(message));
    return code;
}

int RunParts(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Writes the list of saved parts with their tooling holes, as the query window's "
        "export does: quoted comma-separated text (.txt) or a workbook (.xlsx)."));
    p.addHelpOption();
    p.addOption({QStringLiteral("db"),
                 QStringLiteral("The database file (default: Vorn.mdb beside vornplan)."),
                 QStringLiteral("PATH")});
    p.addOption({QStringLiteral("mm"), QStringLiteral("Lengths in millimetres (default inches).")});
    p.addOption({QStringLiteral("sort"),
                 QStringLiteral("Order of the parts: a column, optionally followed by ' desc' "
                                "(default Part_number)."),
                 QStringLiteral("COLUMN[ desc]")});
    p.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                 QStringLiteral("The file to write: FILE.txt or FILE.xlsx."),
                 QStringLiteral("FILE")});
    if (!p.parse(app.arguments()))
        return Fail(p.errorText(), 2);
    if (p.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(p.helpText()), stdout);
        return 0;
    }
    if (!p.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first()),
                    2);
    const QString out = p.value(QStringLiteral("o"));
    if (out.isEmpty())
        return Fail(QStringLiteral("-o FILE.txt or -o FILE.xlsx is required"), 2);
    if (!out.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive) &&
        !out.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        return Fail(QStringLiteral("the output must end in .txt or .xlsx: '%1'").arg(out), 2);

    const QString db = p.isSet(QStringLiteral("db"))
                           ? QFileInfo(p.value(QStringLiteral("db"))).absoluteFilePath()
                           : QString::fromStdString(vornplan::ProgramDatabase());
    if (!QFileInfo(db).isFile())
        return Fail(QStringLiteral("no database file '%1'").arg(db), 1);
    if (const QString problem = vorn::CheckDatabaseSchema(db); !problem.isEmpty())
        return Fail(problem, 1);
    QString startup;
    vorn::TDataM1::setStartupFailureHandler([&startup](const QString& text) { startup = text; });
    vorn::TDataM1 dm(QFileInfo(db).absolutePath() + u'/');
    // Any file name: the module was made for the folder, the path names the file.
    dm.connection().setPath(db);

    const bool mm = p.isSet(QStringLiteral("mm"));
    try {
        QString order = vorn::QueryText::SavedPartsOrder;
        if (p.isSet(QStringLiteral("sort"))) {
            // The columns are known once the query has run.
            vorn::SetSavedPartsSql(dm, mm, order);
            dm.SavedPartsQuery.open();
            QStringList words = p.value(QStringLiteral("sort")).split(u' ', Qt::SkipEmptyParts);
            const bool desc = words.size() == 2 &&
                              words[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
            if (words.isEmpty() || words.size() > 2 || (words.size() == 2 && !desc))
                return Fail(QStringLiteral("--sort: expected COLUMN or 'COLUMN desc', got '%1'")
                                .arg(p.value(QStringLiteral("sort"))),
                            2);
            order = vorn::SavedPartsOrderLine(dm, words[0], desc);
        }
        vorn::SetSavedPartsSql(dm, mm, order);
        dm.SavedPartsQuery.open();
    } catch (const vorn::DbError& e) {
        return Fail(e.text(), 2);
    }
    QString error;
    if (!vorn::ExportPartList(dm, out, vorn::PartListFormatOf(out), mm,
                              QDateTime::currentDateTime(), &error))
        return Fail(error, 1);
    std::printf("%d parts written to %s\n", dm.SavedPartsQuery.recordCount(), qPrintable(out));
    dm.SavedPartsQuery.close();
    return 0;
}

const vornplan::RegisterCommand kParts{
    {"parts", "export the saved parts list (.txt or .xlsx) as the query window does", RunParts}};

} // namespace
