// The part list export: the text file line by line, the workbook read back
// by openpyxl, the order and unit of the list, failed writes, and the same
// export from `vornplan parts`.
#include "PartListExport.h"
#include "ArchiveFixture.h"
#include "Language.h"
#include "SafeWrite.h"
#include "VornTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace vorn;
using namespace vorn::test;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The cells of one exported text line.
QStringList Cells(const QString& line) {
    if (!line.startsWith(u'"') || !line.endsWith(QStringLiteral("\",")))
        return {};
    return line.mid(1, line.size() - 3).split(QStringLiteral("\",\""));
}

QString F4(double v) {
    return QString::number(v, 'f', 4);
}

// The summary of PlanHoles(count) as the export writes it.
QString Summary(int count, double unit) {
    QString s;
    const char* types[] = {"Array", "Panel1", "Panel2"};
    for (const char* type : types) {
        s += QString::fromLatin1(type) + QStringLiteral("::");
        for (const SavedHole& h : PlanHoles(count))
            if (h.panelType == QLatin1String(type))
                s += QStringLiteral("#%1:(%2,%3)Φ%4; ")
                         .arg(h.serialNumber)
                         .arg(F4(h.x * unit), F4(h.y * unit), F4(h.diameter * unit));
    }
    return s;
}

void OpenList(TDataM1& dm, bool mm, const QString& order = QueryText::SavedPartsOrder) {
    SetSavedPartsSql(dm, mm, order);
    dm.SavedPartsQuery.open();
}

QJsonObject ReadWorkbook(const QString& path) {
    QProcess python;
    python.start(QStringLiteral(VORN_PYTHON3), {QStringLiteral(VORN_READ_WORKBOOK), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("%s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// The records of a text export as Python's csv module reads them.
QJsonArray ReadTextList(const QString& path) {
    QProcess python;
    python.start(QStringLiteral(VORN_PYTHON3), {QStringLiteral(VORN_READ_TEXT_LIST), path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("%s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

} // namespace

class PartListExportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ProgramDir> dir_;
    std::unique_ptr<TDataM1> dm_;
    const QDateTime now_{QDate(2026, 7, 8), QTime(16, 4, 9)};

    // Two parts: "B-2" with two holes of each type, "A-1" without holes and
    // with more layers.
    void TwoParts() {
        QVERIFY(SavePlan(*dm_, QStringLiteral("B-2"), QStringLiteral("CB")));
        PutPlan(*dm_, false);
        dm_->TempInput.edit();
        dm_->TempInput.setValue("Layer", 8);
        dm_->TempInput.setValue("Panel2", 0);
        dm_->TempInput.post();
        PutHoles(*dm_, {}, false);
        PartRecord r = JobPartRecord(*dm_, false);
        r.partNumber = QStringLiteral("A-1");
        r.customerPart = QStringLiteral("CA");
        r.employee = QStringLiteral("ZHAO");
        QVERIFY(SavePart(*dm_, r, QDateTime(QDate(2026, 1, 2), QTime(23, 59, 58)), {}));
    }

private slots:
    void init() {
        dir_ = std::make_unique<ProgramDir>();
        QVERIFY(dir_->isValid());
        dm_ = std::make_unique<TDataM1>(dir_->path());
        QVERIFY(dm_->isUsable());
    }
    void cleanup() {
        ClearInjectedWriteFailure();
        dm_.reset();
        dir_.reset();
    }

    void textFile_data() {
        QTest::addColumn<bool>("mm");
        QTest::newRow("inches") << false;
        QTest::newRow("millimetres") << true;
    }
    void textFile() {
        QFETCH(bool, mm);
        TwoParts();
        OpenList(*dm_, mm);
        // The tooling panel shows panel-2 holes: left so afterwards.
        SetPartToolingSql(*dm_, mm);
        dm_->PartToolingQuery.setParam("Type", "Panel2");
        dm_->PartToolingQuery.open();
        dm_->SavedPartsQuery.last();
        const QString path = dir_->file(QStringLiteral("list.Txt"));
        QString error;
        QVERIFY2(ExportPartList(*dm_, path, PartListFormat::Text, mm, now_, &error),
                 qPrintable(error));
        QCOMPARE(dm_->SavedPartsQuery.recNo(), 0);
        QVERIFY(dm_->PartToolingQuery.isOpen());
        QCOMPARE(dm_->PartToolingQuery.param("Type").toString(), QStringLiteral("Panel2"));
        QCOMPARE(dm_->PartToolingQuery.recordCount(), 0); // A-1 has none

        const QString text = QString::fromUtf8(ReadAll(path));
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("部件拼板查询"));
        QVERIFY(lines[1].startsWith(QStringLiteral("\"报表产生时间:")));
        QVERIFY(lines[1].endsWith(QStringLiteral(" 16:04:09\"")));
        const QStringList titles = Cells(lines[2]);
        QCOMPARE(titles.size(), 33);
        QCOMPARE(titles.first(), QStringLiteral("部件编号"));
        QCOMPARE(titles[17], QStringLiteral("Panel1边距LW"));
        QCOMPARE(titles[30], QStringLiteral("日期"));
        QCOMPARE(titles.last(), QStringLiteral("Tooling"));

        const double u = mm ? 25.4 : 1.0;
        const QStringList a = Cells(lines[3]);
        const QStringList b = Cells(lines[4]);
        QCOMPARE(a.size(), 33);
        QCOMPARE(b.size(), 33);
        QCOMPARE(a[0], QStringLiteral("A-1"));
        QCOMPARE(a[2], QStringLiteral("8"));
        QCOMPARE(a[3], QStringLiteral("ZHAO"));
        QCOMPARE(a[24], QStringLiteral("0"));
        QCOMPARE(a[31], QStringLiteral("23:59:58"));
        QCOMPARE(a[32], QString());
        QCOMPARE(b[0], QStringLiteral("B-2"));
        QCOMPARE(b[1], QStringLiteral("CB"));
        QCOMPARE(b[4], QString::number(1.25 * u, 'g', 15)); // Part_L, no format
        QCOMPARE(b[11], QString::number(4.2 * u, 'f', 3));  // Set_L "0.000"
        QCOMPARE(b[19],
                 QString::number(4.2 * 2.8 * 16 * 100 / (18.3 * 12.7), 'f', 3) + u'%'); // Panel_lv
        QCOMPARE(b[26], QString::number(48.0 * u, 'f', 2)); // Base_L "0.00"
        QCOMPARE(b[30], QLocale().toString(QDate(2026, 3, 4), QLocale::ShortFormat));
        QCOMPARE(b[31], QStringLiteral("9:05:07"));
        QCOMPARE(b[32], Summary(2, u));
    }

    // In English the caption line, the date line and the column titles are
    // English; the parts' own texts are written as stored.
    void textFileInEnglish() {
        QVERIFY(UseLanguage(Language::English));
        const auto chinese = qScopeGuard([] { UseLanguage(Language::Chinese); });
        dm_ = std::make_unique<TDataM1>(dir_->path()); // titles are set as it starts
        QVERIFY(SavePlan(*dm_, QStringLiteral("B-2"), QStringLiteral("部件编号")));
        OpenList(*dm_, false);
        const QString path = dir_->file(QStringLiteral("list.txt"));
        QString error;
        QVERIFY2(ExportPartList(*dm_, path, PartListFormat::Text, false, now_, &error),
                 qPrintable(error));
        const QStringList lines =
            QString::fromUtf8(ReadAll(path)).chopped(2).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Saved Parts"));
        QVERIFY2(lines[1].startsWith(QStringLiteral("\"Report created:")), qPrintable(lines[1]));
        static const QRegularExpression cjk(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
        const QStringList titles = Cells(lines[2]);
        QCOMPARE(titles.size(), 33);
        QCOMPARE(titles.first(), QStringLiteral("Part number"));
        for (const QString& title : titles)
            QVERIFY2(!cjk.match(title).hasMatch(), qPrintable(title));
        QCOMPARE(Cells(lines[3]).value(1), QStringLiteral("部件编号"));
    }

    // Quotes and commas inside a field survive a CSV reader: the quotes are
    // doubled, nothing else changes.
    void textFileReadsBackInACsvReader() {
        const QString number = QStringLiteral("B-200, \"quoted\"");
        const QString customer = QStringLiteral("\"A\",\"B\"");
        QVERIFY(SavePlan(*dm_, number, customer));
        QVERIFY(SavePlan(*dm_, QStringLiteral("C-3"), QStringLiteral("plain, no quote")));
        OpenList(*dm_, false);
        const QString path = dir_->file(QStringLiteral("quotes.txt"));
        QString error;
        QVERIFY2(ExportPartList(*dm_, path, PartListFormat::Text, false, now_, &error),
                 qPrintable(error));
        const QJsonArray rows = ReadTextList(path);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows[0].toArray().at(0).toString(), QStringLiteral("部件拼板查询"));
        QCOMPARE(rows[2].toArray().size(), 34); // 33 titles and the line's closing comma
        const QJsonArray quoted = rows[3].toArray();
        QCOMPARE(quoted.size(), 34);
        QCOMPARE(quoted[0].toString(), number);
        QCOMPARE(quoted[1].toString(), customer);
        QCOMPARE(quoted[3].toString(), QStringLiteral("LI"));
        QCOMPARE(quoted[32].toString(), Summary(2, 1.0));
        QCOMPARE(rows[4].toArray().at(1).toString(), QStringLiteral("plain, no quote"));
        // A line without quotes inside is written as before, field by field.
        const QStringList lines = QString::fromUtf8(ReadAll(path)).split(QStringLiteral("\r\n"));
        QStringList plain;
        for (const QJsonValue& v : rows[4].toArray())
            plain << v.toString();
        plain.removeLast();
        QCOMPARE(lines[4], u'"' + plain.join(QStringLiteral("\",\"")) + QStringLiteral("\","));
        QVERIFY(lines[3].startsWith(
            QStringLiteral("\"B-200, \"\"quoted\"\"\",\"\"\"A\"\",\"\"B\"\"\",")));
    }

    // The list follows the query's order (here Layer, descending) and an
    // empty archive writes the header lines only.
    void orderAndEmpty() {
        QString error;
        OpenList(*dm_, false);
        const QString empty = dir_->file(QStringLiteral("empty.txt"));
        QVERIFY(ExportPartList(*dm_, empty, PartListFormat::Text, false, now_, &error));
        QCOMPARE(QString::fromUtf8(ReadAll(empty)).count(QStringLiteral("\r\n")), 3);
        dm_->SavedPartsQuery.close();

        TwoParts();
        QVERIFY(SavePlan(*dm_, QStringLiteral("C-3"), QStringLiteral("CC")));
        OpenList(*dm_, false);
        const QString line = SavedPartsOrderLine(*dm_, QStringLiteral("Layer"), true);
        OpenList(*dm_, false, line);
        const QString path = dir_->file(QStringLiteral("sorted.txt"));
        QVERIFY(ExportPartList(*dm_, path, PartListFormat::Text, false, now_, &error));
        const QStringList lines = QString::fromUtf8(ReadAll(path)).split(QStringLiteral("\r\n"));
        QCOMPARE(Cells(lines[3]).value(0), QStringLiteral("A-1")); // 8 layers first
        QCOMPARE(Cells(lines[4]).value(2), QStringLiteral("6"));
        QCOMPARE(Cells(lines[5]).value(2), QStringLiteral("6"));
    }

    // A real workbook, read back by a spreadsheet library.
    void workbook() {
        TwoParts();
        OpenList(*dm_, true);
        const QString path = dir_->file(QStringLiteral("list.xlsx"));
        QString error;
        QVERIFY2(ExportPartList(*dm_, path, PartListFormat::Workbook, true, now_, &error),
                 qPrintable(error));
        const QJsonObject book = ReadWorkbook(path);
        QCOMPARE(book.value("sheets").toInt(), 1);
        const QJsonObject cells = book.value("cells").toObject();
        auto cell = [&](int row, int col) {
            return cells.value(QStringLiteral("%1,%2").arg(row).arg(col)).toArray();
        };
        QCOMPARE(cell(1, 1).at(0).toString(), QStringLiteral("部件拼板查询"));
        QVERIFY(cell(2, 1).at(0).toString().startsWith(QStringLiteral("报表产生时间：")));
        QVERIFY(cell(2, 1).at(0).toString().endsWith(QStringLiteral(" 16:04:09")));
        QCOMPARE(cell(3, 1).at(0).toString(), QStringLiteral("部件编号"));
        QCOMPARE(cell(3, 33).at(0).toString(), QStringLiteral("Tooling"));
        // Row 4: A-1, row 5: B-2 (by part number).
        QCOMPARE(cell(4, 1).at(0).toString(), QStringLiteral("A-1"));
        QCOMPARE(cell(4, 3).at(0).toDouble(), 8.0); // a number cell
        QCOMPARE(cell(4, 3).at(2).toString(), QStringLiteral("int"));
        QVERIFY(cell(4, 33).isEmpty());
        QCOMPARE(cell(5, 1).at(0).toString(), QStringLiteral("B-2"));
        QCOMPARE(cell(5, 12).at(0).toDouble(), 106.68); // Set_L in mm, as shown
        QCOMPARE(cell(5, 12).at(1).toString(), QStringLiteral("0.000"));
        QCOMPARE(cell(5, 20).at(0).toDouble(), // Panel_lv as shown, not scaled
                 QString::number(4.2 * 2.8 * 16 * 100 / (18.3 * 12.7), 'f', 3).toDouble());
        QCOMPARE(cell(5, 20).at(1).toString(), QStringLiteral("0.000\"%\""));
        // Dates and times are cells of their kind, shown as the report shows them.
        QCOMPARE(cell(5, 31).at(0).toString(), QStringLiteral("2026-03-04T00:00:00"));
        QCOMPARE(cell(5, 31).at(1).toString(), QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(cell(5, 32).at(0).toString(), QStringLiteral("09:05:07"));
        QCOMPARE(cell(5, 32).at(1).toString(), QStringLiteral("hh:mm:ss"));
        QCOMPARE(cell(4, 32).at(0).toString(), QStringLiteral("23:59:58"));
        QCOMPARE(cell(2, 1).at(0).toString(), QStringLiteral("报表产生时间：2026-07-08 16:04:09"));
        // The header row bold, kept in view and printed on every page; the
        // page landscape, one page wide; every column as wide as its texts.
        for (int c = 1; c <= 33; ++c)
            QVERIFY(cell(3, c).at(3).toBool());
        QVERIFY(!cell(5, 1).at(3).toBool());
        // A row grown for its wrapped tooling reads as one line: all its
        // cells at the top.
        for (int c : {1, 2, 7, 20, 31, 32, 33})
            QCOMPARE(cell(5, c).at(4).toString(), QStringLiteral("top"));
        const QJsonObject setup = book.value("setup").toObject();
        QCOMPARE(setup.value("orientation").toString(), QStringLiteral("landscape"));
        QCOMPARE(setup.value("paper").toString(), QStringLiteral("9"));
        QVERIFY(setup.value("fit_to_page").toBool());
        QCOMPARE(setup.value("fit_width").toInt(), 1);
        QCOMPARE(setup.value("fit_height").toInt(), 0);
        QCOMPARE(setup.value("freeze").toString(), QStringLiteral("A4"));
        QCOMPARE(setup.value("title_rows").toString(), QStringLiteral("$1:$3"));
        const QJsonObject widths = book.value("widths").toObject();
        for (int c = 1; c <= 33; ++c) {
            const QString col = QString(QChar(c <= 26 ? u'A' + c - 1 : u'A')) +
                                (c > 26 ? QString(QChar(u'A' + c - 27)) : QString());
            QVERIFY2(widths.value(col).toDouble() >= 6, qPrintable(col));
        }
        QVERIFY(widths.value("AE").toDouble() >= 10); // a whole date
        QVERIFY(widths.value("AG").toDouble() >= 40); // the tooling summary, wrapped
        QCOMPARE(cell(5, 33).at(0).toString(), Summary(2, 25.4));
        QVERIFY(!cells.contains(QStringLiteral("6,1")));
        // Every value of the text export is in its cell.
        const QString txt = dir_->file(QStringLiteral("list.txt"));
        QVERIFY(ExportPartList(*dm_, txt, PartListFormat::Text, true, now_, &error));
        const QStringList lines = QString::fromUtf8(ReadAll(txt)).split(QStringLiteral("\r\n"));
        for (int r = 3; r <= 4; ++r) {
            const QStringList want = Cells(lines[r]);
            for (int c = 0; c < 33; ++c) {
                const QJsonArray got = cell(r + 1, c + 1);
                if (want[c].isEmpty()) {
                    QVERIFY(got.isEmpty());
                } else if (c >= 30) { // date and time, checked above
                    QVERIFY(!got.isEmpty());
                } else if (got.at(0).isDouble()) {
                    QString n = want[c];
                    n.remove(u'%');
                    QCOMPARE(got.at(0).toDouble(), n.toDouble());
                } else {
                    QCOMPARE(got.at(0).toString(), want[c]);
                }
            }
        }
    }

    // The workbook as a spreadsheet program prints it: one page wide, every
    // title, date and customer part number whole (a 40-character one on one
    // line, a wider one wrapped in its cell).
    void workbookPrintsOnePageWide() {
        TwoParts();
        const QString longest = QStringLiteral("CUSTOMER-PART-NUMBER-0123456789-ABCDEFGH");
        const QString wrapping =
            QStringLiteral("WIDE CUSTOMER TEXT WRAPPED OVER LINES, NOT ENDMARK");
        for (int i = 0; i < 10; ++i)
            QVERIFY(SavePlan(*dm_, QStringLiteral("P-%1").arg(i, 2, 10, QChar(u'0')),
                             i == 7   ? wrapping
                             : i == 8 ? longest
                                      : QStringLiteral("客户 %1").arg(i),
                             3));
        OpenList(*dm_, true);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        QString error;
        QVERIFY2(ExportPartList(*dm_, path, PartListFormat::Workbook, true, now_, &error),
                 qPrintable(error));
        QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (office.isEmpty())
            office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
        if (office.isEmpty())
            QSKIP(
                "LibreOffice (soffice) is not installed: the part list's printout is not checked");
        QProcess p;
        p.start(office,
                {QStringLiteral("-env:UserInstallation=") +
                     QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
                 QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                 QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path(), path});
        QVERIFY(p.waitForFinished(120000));
        const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
        QVERIFY2(QFile::exists(pdf), p.readAllStandardError().constData());
        p.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(p.waitForFinished(30000));
        const QString info = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+841"))),
                 qPrintable(info)); // A4 landscape
        p.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("110"), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(QDir().mkpath(screenshotDir() + QStringLiteral("/report")));
        const QString shot = screenshotDir() + QStringLiteral("/report/partlist_workbook.png");
        QFile::remove(shot);
        QVERIFY(QFile::copy(dir.filePath(QStringLiteral("page.png")), shot));
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput()).remove(u'\n');
        // Long titles wrap in their cells, so their lines come out apart.
        for (const QString& want :
             {QStringLiteral("客户型号"), QStringLiteral("操作员"), QStringLiteral("Tooling"),
              QStringLiteral("日期"), QStringLiteral("时间"), QStringLiteral("2026-03-04"),
              QStringLiteral("09:05:07"), QStringLiteral("2026-07-08 16:04:09"),
              QStringLiteral("P-09"), QStringLiteral("客户 9"), longest, QStringLiteral("WIDE"),
              QStringLiteral("ENDMARK")})
            QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" not in:\n") + text));
    }

    // A write that fails leaves the old file whole and says why; the
    // queries are as they were.
    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("text") << int(PartListFormat::Text);
        QTest::newRow("workbook") << int(PartListFormat::Workbook);
    }
    void failedWriteKeepsTheOldFile() {
        QFETCH(int, format);
        TwoParts();
        OpenList(*dm_, false);
        dm_->PartToolingQuery.setParam("Type", "Array");
        dm_->PartToolingQuery.open();
        const QString path = dir_->file(QStringLiteral("old.file"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old contents");
        }
        InjectWriteFailure(100, QStringLiteral("No space left on device"));
        QString error;
        QVERIFY(!ExportPartList(*dm_, path, PartListFormat(format), false, now_, &error));
        ClearInjectedWriteFailure();
        QVERIFY2(error.contains(QStringLiteral("No space left on device")), qPrintable(error));
        QCOMPARE(ReadAll(path), QByteArray("old contents"));
        QVERIFY(dm_->PartToolingQuery.isOpen());
        QCOMPARE(dm_->PartToolingQuery.param("Type").toString(), QStringLiteral("Array"));
        QCOMPARE(dm_->SavedPartsQuery.recNo(), 0);
    }

    // `vornplan parts` writes the same list, with its options checked.
    void commandLine() {
        TwoParts();
        QVERIFY(SavePlan(*dm_, QStringLiteral("C-3"), QStringLiteral("CC")));
        dm_.reset(); // the file alone
        const QString db = dir_->databasePath();
        const QString out = dir_->file(QStringLiteral("cli.txt"));
        QProcess p;
        p.start(QStringLiteral(VORNPLAN),
                {QStringLiteral("parts"), QStringLiteral("--db"), db, QStringLiteral("--mm"),
                 QStringLiteral("--sort"), QStringLiteral("Layer desc"), QStringLiteral("-o"),
                 out});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().startsWith("3 parts written"));
        dm_ = std::make_unique<TDataM1>(dir_->path());
        OpenList(*dm_, true, QStringLiteral("Order By Layer desc;"));
        const QString direct = dir_->file(QStringLiteral("direct.txt"));
        QString error;
        QVERIFY(ExportPartList(*dm_, direct, PartListFormat::Text, true, now_, &error));
        QStringList a = QString::fromUtf8(ReadAll(out)).split(QStringLiteral("\r\n"));
        QStringList b = QString::fromUtf8(ReadAll(direct)).split(QStringLiteral("\r\n"));
        a.removeAt(1); // the time of writing
        b.removeAt(1);
        QCOMPARE(a, b);

        const QString xlsx = dir_->file(QStringLiteral("cli.xlsx"));
        p.start(QStringLiteral(VORNPLAN),
                {QStringLiteral("parts"), QStringLiteral("--db"), db, QStringLiteral("-o"), xlsx});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(
            ReadWorkbook(xlsx).value("cells").toObject().value("6,1").toArray().at(0).toString(),
            QStringLiteral("C-3"));

        // Refused arguments write nothing.
        const QList<QStringList> bad{
            {QStringLiteral("--sort"), QStringLiteral("BaseSize")},
            {QStringLiteral("--sort"), QStringLiteral("Layer; drop table data0004")},
            {QStringLiteral("--sort"), QStringLiteral("Layer up")},
        };
        const QString refused = dir_->file(QStringLiteral("refused.txt"));
        for (const QStringList& extra : bad) {
            p.start(QStringLiteral(VORNPLAN),
                    QStringList{QStringLiteral("parts"), QStringLiteral("--db"), db,
                                QStringLiteral("-o"), refused} +
                        extra);
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(p.exitCode(), 2);
            QVERIFY(!p.readAllStandardError().isEmpty());
            QVERIFY(!QFile::exists(refused));
        }
        p.start(QStringLiteral(VORNPLAN), {QStringLiteral("parts"), QStringLiteral("--db"), db,
                                           QStringLiteral("-o"), dir_->file("list.csv")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        p.start(QStringLiteral(VORNPLAN),
                {QStringLiteral("parts"), QStringLiteral("--db"), dir_->file("missing.mdb"),
                 QStringLiteral("-o"), refused});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(!QFile::exists(refused));
    }
};

VORN_TEST_MAIN(PartListExportTest)
#include "PartListExportTest.moc"
