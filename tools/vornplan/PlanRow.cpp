#include "PlanRow.h"

#include "JobInput.h"
#include "PlanArguments.h"

#include <cstdio>
#include <map>
#include <memory>
#include <type_traits>

namespace vornplan {

vorn::PlanFields FieldsOf(const vorn::ResultRow& row) {
    auto numbers = std::make_shared<std::map<std::string, double>>();
    auto texts = std::make_shared<std::map<std::string, QString>>();
    vorn::ForEachColumn(row, [&](const char* name, const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, char>)
            (*texts)[name] = QString(QChar::fromLatin1(v));
        else if constexpr (std::is_arithmetic_v<V>)
            (*numbers)[name] = v;
    });
    return {[numbers](const char* c) {
                const auto it = numbers->find(c);
                return it == numbers->end() ? 0.0 : it->second;
            },
            [texts](const char* c) {
                const auto it = texts->find(c);
                return it == texts->end() ? QString() : it->second;
            }};
}

std::optional<int> SearchRow(const char* command, const std::string& jobPath, bool mm,
                             const QString& rowText, vorn::ResultRow& out) {
    const vorn::DisplayUnit unit = mm ? vorn::DisplayUnit::Millimetre : vorn::DisplayUnit::Inch;
    vorn::PanelJob job;
    if (auto exit = LoadPanelJob(command, jobPath, unit, job))
        return exit;
    return SearchRow(command, job, unit, rowText, out);
}

std::optional<int> SearchRow(const char* command, const vorn::PanelJob& job, vorn::DisplayUnit unit,
                             const QString& rowText, vorn::ResultRow& out) {
    vorn::CollectedRows sink;
    vorn::NoProgress progress;
    vorn::RunPanelSearch(job, unit, sink, progress);
    vorn::SortAndNumber(sink.rows);
    if (!PickRow(sink.rows, rowText, out)) {
        std::fprintf(stderr, "vornplan %s: --row: the search gave rows 1 to %zu, not '%s'\n",
                     command, sink.rows.size(), qPrintable(rowText));
        return 2;
    }
    return std::nullopt;
}

void AddPlanRowOptions(QCommandLineParser& p) {
    p.addOption(
        QCommandLineOption(QStringLiteral("job"),
                           QStringLiteral("Job file of a search (as vornplan search reads it)."),
                           QStringLiteral("file")));
    p.addOption(QCommandLineOption(QStringLiteral("row"),
                                   QStringLiteral("Result row number in the sorted order."),
                                   QStringLiteral("n")));
    p.addOption(QCommandLineOption(QStringLiteral("mm"),
                                   QStringLiteral("The job's lengths are millimetres.")));
    p.addOption(QCommandLineOption(
        QStringLiteral("db"),
        QStringLiteral("Database whose tooling presets place the holes (default: the Vorn.mdb "
                       "beside the program)."),
        QStringLiteral("path")));
}

std::string DatabaseOption(const QCommandLineParser& p) {
    return p.isSet(QStringLiteral("db")) ? p.value(QStringLiteral("db")).toStdString()
                                         : ProgramDatabase();
}

std::unique_ptr<QGuiApplication> DrawingApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

std::optional<int> ParseCommandLine(const char* command, QCommandLineParser& p, int argc,
                                    char** argv, std::initializer_list<const char*> required) {
    auto fail = [command](const QString& message) {
        std::fprintf(stderr, "vornplan %s: %s\n", command, qPrintable(message));
        return 2;
    };
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!p.parse(args))
        return fail(p.errorText());
    if (p.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(p.helpText()));
        return 0;
    }
    if (!p.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument '%1'").arg(p.positionalArguments().first()));
    for (const char* name : required)
        if (!p.isSet(QString::fromLatin1(name)))
            return fail(QStringLiteral("--%1 is required").arg(QString::fromLatin1(name)));
    return std::nullopt;
}

} // namespace vornplan
