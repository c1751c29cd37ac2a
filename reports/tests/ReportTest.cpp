// The plan report: the workbook read back by a workbook library, the printed
// and previewed page, the PDF, and the failures that must leave nothing behind.

#include "Language.h"
#include "ReportFit.h"
#include "ReportPaint.h"
#include "ReportPrinter.h"
#include "ReportTemplate.h"
#include "ReportWorkbook.h"
#include "SafeWrite.h"
#include "VornTestSupport.h"
#include "ZipParts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QXmlStreamReader>

using namespace vorn::report;

namespace {

// A plan record from a table of columns, as the job row would read.
struct Plan {
    QMap<QString, double> numbers;
    QMap<QString, QString> texts;
    vorn::PlanFields Fields() const {
        return {[this](const char* c) { return numbers.value(QString::fromLatin1(c)); },
                [this](const char* c) { return texts.value(QString::fromLatin1(c)); }};
    }
};

// 4 x 2 boards, 3 x 5 on a 13.2 x 11.4 panel, 9 panels on a 48 x 40 sheet;
// the two-size plan adds 6 boards on a 10.3 x 8.6 panel.
Plan MakePlan(bool twoSize, bool mm) {
    const double f = mm ? 25.4 : 1.0;
    Plan p;
    p.numbers = {{"Layer", 6},          {"Set_L", 4 * f},      {"Set_W", 2 * f},
                 {"Set_C", 0.1 * f},    {"Panel_L", 13.2 * f}, {"Panel_W", 11.4 * f},
                 {"Panel", 15},         {"Border_L", 0.5 * f}, {"Border_W", 0.5 * f},
                 {"Panel_lv", 79.7448}, {"Set_La", 3},         {"Set_Wb", 5},
                 {"Base_L", 48 * f},    {"Base_W", 40 * f},    {"Panel_N", 9},
                 {"Base_lv", 70.5376},  {"P_La", 3},           {"P_Wb", 3}};
    p.texts = {{"Up", "N"}, {"P_up", "N"}};
    if (twoSize) {
        p.numbers.insert({{"Panel_L2", 10.3 * f},
                          {"Panel_W2", 8.6 * f},
                          {"Panel2", 6},
                          {"Border_L2", 0.1 * f},
                          {"Border_W2", 0.25 * f},
                          {"Panel_lv2", 54.1923},
                          {"Set_La2", 2},
                          {"Set_Wb2", 3},
                          {"P_La", 3},
                          {"P_Wb", 2},
                          {"P_La2", 4},
                          {"P_Wb2", 1}});
        p.texts[QStringLiteral("Up2")] = QStringLiteral("N");
        p.texts[QStringLiteral("P_up")] = QStringLiteral("W");
    }
    return p;
}

ReportJob MakeJob(const Plan& plan, bool mm) {
    ReportJob job;
    job.plan = plan.Fields();
    job.partNumber = QStringLiteral("PN-<7&\"x\">");
    job.customerPart = QStringLiteral("客户 A-01");
    job.operatorName = QStringLiteral("李工");
    job.date = QStringLiteral("2026-12-10");
    job.note = QStringLiteral("注意：板边\n两行");
    job.unitCaption = mm ? QStringLiteral("mm") : QStringLiteral("Inch");
    return job;
}

std::vector<vorn::ToolingHole> Holes1() {
    return {{1, 0.25, 0.25, 0.125}, {2, 12.95, 0.25, 0.125}, {3, 1234.5, 11.15, 0.0625}};
}
std::vector<vorn::ToolingHole> Holes2() {
    return {{1, 0.2, 0.3, 0.1}};
}

QString TemplateOf(bool twoSize) {
    return TemplatePath(vorn::test::buildProgramDir(), twoSize);
}

QString Run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000))
        return QStringLiteral("timed out");
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// A panel over a metre long in millimetres: 10 x 11 boards of 101.6 x 50.8.
Plan LongPanelPlan() {
    Plan p = MakePlan(false, true);
    p.numbers["Set_La"] = 10;
    p.numbers["Set_Wb"] = 11;
    p.numbers["Panel_L"] = 1064.26;
    p.numbers["Panel_W"] = 609.6;
    p.numbers["Panel"] = 110;
    p.numbers["Base_L"] = 1219.2;
    p.numbers["Base_W"] = 1016;
    p.numbers["P_La"] = 1;
    p.numbers["P_Wb"] = 1;
    p.numbers["Panel_N"] = 1;
    return p;
}

// `count` holes along both long edges of an L x W panel, numbered from 1.
std::vector<vorn::ToolingHole> EdgeHoles(int count, double l, double w) {
    std::vector<vorn::ToolingHole> holes;
    const int perEdge = (count + 1) / 2;
    for (int i = 0; i < count; ++i) {
        const int k = i / 2;
        const double x = 5.08 + (l - 10.16) * k / std::max(1, perEdge - 1);
        holes.push_back({i + 1, x, i % 2 ? w - 5.08 : 5.08, 3.175});
    }
    return holes;
}

// A job whose header texts are as long as their fields allow, no layer count.
ReportJob LongHeaderJob(Plan& plan) {
    plan.numbers["Layer"] = 0;
    ReportJob job = MakeJob(plan, true);
    job.partNumber = QStringLiteral("PN-2026-0001-ABCDEFGHIJ-KLMNOPQRST-UVWXYZ-01234567");
    job.customerPart = QStringLiteral("CUSTOMER-PART-NUMBER-0123456789-ABCDEFGH");
    job.operatorName = QStringLiteral("欧阳志远 (CAM)");
    return job;
}

QString LongCompany() {
    return QStringLiteral("深圳市华南精密电路科技股份有限公司 Shenzhen Huanan Precision Circuit "
                          "Technology Co., Ltd. 第二工厂");
}

// A hole's line as the page shows it, written out by hand.
QString HoleLine(const vorn::ToolingHole& h) {
    return QStringLiteral("#%1  (%2,%3)  Φ%4")
        .arg(h.SerialNumber)
        .arg(QString::number(h.Xcoordinate, 'f', 4), QString::number(h.Ycoordinate, 'f', 4),
             QString::number(h.Diameter, 'f', 4));
}

// Without blanks and hyphens: poppler joins a word broken at a line's end
// and drops the hyphen.
QString NoSpace(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("[\\s-]")));
}

// Every text of a sheet part: inline strings and cached values, by cell.
QMap<QString, QString> SheetTexts(const QByteArray& xml) {
    QMap<QString, QString> texts;
    QXmlStreamReader r(xml);
    QString cell;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        if (r.name() == QLatin1String("c"))
            cell = r.attributes().value(QStringLiteral("r")).toString();
        else if (r.name() == QLatin1String("t") || r.name() == QLatin1String("v"))
            texts[cell] += r.readElementText();
    }
    return texts;
}

bool HasChinese(const QString& text) {
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return cjk.match(text).hasMatch();
}

// Words of a PDF page outside the paper's margins of 0.5 inch (less a
// little), as poppler places them.
QStringList WordsOffThePage(const QString& pdf) {
    const QString html =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QStringList off;
    int words = 0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        ++words;
        const double x0 = m.captured(1).toDouble(), x1 = m.captured(3).toDouble();
        if (x0 < 30 || x1 > kA4WidthPt - 30)
            off << QStringLiteral("%1 [%2, %3]").arg(m.captured(5)).arg(x0).arg(x1);
    }
    if (words == 0)
        off << QStringLiteral("no words at all");
    return off;
}

// The serial numbers the PDF writes inside one picture of the page: the
// tooling marks' labels (dimension labels have decimals).
QSet<int> MarkNumbersIn(const QString& pdf, const PageLayout& layout, const QString& picture) {
    QSet<int> numbers;
    const QString html =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">(\\d+)</word>"));
    // Placed as the painted page places it: centred, scaled to the paper.
    const double fit = PageFitScale(layout);
    const double x0 = (kA4WidthPt - layout.Width() * fit) / 2, y0 = layout.marginTop;
    for (const PicturePlace& p : layout.pictures) {
        if (p.name != picture)
            continue;
        const QRectF area(x0 + p.left * fit, y0 + p.top * fit, layout.pictureWidth / p.factor * fit,
                          layout.pictureHeight / p.factor * fit);
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            const QPointF centre((m.captured(1).toDouble() + m.captured(3).toDouble()) / 2,
                                 (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2);
            if (area.contains(centre))
                numbers.insert(m.captured(5).toInt());
        }
    }
    return numbers;
}

// Everything a page with many holes and long header texts must show,
// checked on the PDF's text; the page rendered for a look.
void CheckPrintedPage(const QString& pdf, const ReportContent& content,
                      const std::vector<vorn::ToolingHole>& holes1,
                      const std::vector<vorn::ToolingHole>& holes2, const QString& screenshot) {
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    const QString text = NoSpace(Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
    QStringList missing;
    for (const auto* list : {&holes1, &holes2})
        for (const vorn::ToolingHole& h : *list)
            if (!text.contains(NoSpace(HoleLine(h))))
                missing << HoleLine(h);
    // A wrapped field's lines may come out between other texts: each of its
    // words is looked for.
    for (const QString& field :
         {content.company, content.data.value(QStringLiteral("B2")),
          content.data.value(QStringLiteral("B3")), content.data.value(QStringLiteral("B6"))})
        for (const QString& word :
             field.split(QRegularExpression(QStringLiteral("[\\s-]+")), Qt::SkipEmptyParts))
            if (!text.contains(word))
                missing << word + QStringLiteral(" of ") + field;
    QVERIFY2(missing.isEmpty(),
             qPrintable(missing.join(u'\n') + QStringLiteral("\nnot in:\n") + text));
    QVERIFY2(!text.contains(QStringLiteral("层数0")), "an unknown layer count shows as 0");
    const QStringList off = WordsOffThePage(pdf);
    QVERIFY2(off.isEmpty(), qPrintable(off.join(u'\n')));
    QTemporaryDir dir;
    QVERIFY(Run(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("110"), QStringLiteral("-png"),
                 QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))})
                .isEmpty());
    const QString shots = vorn::test::screenshotDir() + QStringLiteral("/report");
    QVERIFY(QDir().mkpath(shots));
    const QString shot = shots + u'/' + screenshot + QStringLiteral(".png");
    QFile::remove(shot);
    QVERIFY(QFile::copy(dir.filePath(QStringLiteral("page.png")), shot));
}

// LibreOffice's program, if this machine has it.
QString SpreadsheetProgram() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(TemplateOf(false)) && QFile::exists(TemplateOf(true)),
                 "the build ships the two templates beside the program");
    }

    void workbookReadsBackInAWorkbookLibrary_data() {
        QTest::addColumn<bool>("twoSize");
        QTest::addColumn<bool>("mm");
        QTest::addColumn<QString>("company");
        QTest::newRow("one size, inch") << false << false << QStringLiteral("华南电路 & Co <1>");
        QTest::newRow("one size, mm, no company") << false << true << QString();
        QTest::newRow("two sizes, inch, no company") << true << false << QString();
        QTest::newRow("two sizes, mm") << true << true << QStringLiteral("Vorn PCB");
    }

    void workbookReadsBackInAWorkbookLibrary() {
        QFETCH(bool, twoSize);
        QFETCH(bool, mm);
        QFETCH(QString, company);
        const Plan plan = MakePlan(twoSize, mm);
        QElapsedTimer timer;
        timer.start();
        const ReportContent content =
            MakeReportContent(MakeJob(plan, mm), company, Holes1(),
                              twoSize ? Holes2() : std::vector<vorn::ToolingHole>{});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.xlsx"));
        QString error;
        QVERIFY2(WriteReportWorkbook(content, TemplateOf(twoSize), path, &error),
                 qPrintable(error));
        qInfo("report built and written in %lld ms", static_cast<long long>(timer.elapsed()));

        // The Data cells the report fills, written out by hand.
        QJsonObject data;
        auto put = [&data](const char* cell, const QString& text) {
            data[QLatin1String(cell)] = text;
        };
        put("B2", QStringLiteral("PN-<7&\"x\">"));
        put("B3", QStringLiteral("客户 A-01"));
        put("B4", QStringLiteral("6"));
        put("B5", mm ? QStringLiteral("毫米(mm)") : QStringLiteral("英寸(Inch)"));
        put("B6", QStringLiteral("李工"));
        put("B7", QStringLiteral("2026-12-10"));
        put("B8", mm ? QStringLiteral("101.6000×50.8000") : QStringLiteral("4.0000×2.0000"));
        put("B9", mm ? QStringLiteral("2.5400") : QStringLiteral("0.1000"));
        put("B10", mm ? QStringLiteral("335.280×289.560") : QStringLiteral("13.200×11.400"));
        put("B11", QStringLiteral("15 Pas/Panel"));
        put("B12",
            mm ? QStringLiteral("L&R:12.700;T&B:12.700") : QStringLiteral("L&R:0.500;T&B:0.500"));
        put("B13", QStringLiteral("79.745%"));
        const int base = twoSize ? 18 : 14;
        if (twoSize) {
            put("B14", mm ? QStringLiteral("261.620×218.440") : QStringLiteral("10.300×8.600"));
            put("B15", QStringLiteral("6 Pas/Panel"));
            put("B16", mm ? QStringLiteral("L&R:2.5400;T&B:6.3500")
                          : QStringLiteral("L&R:0.1000;T&B:0.2500"));
            put("B17", QStringLiteral("54.192%"));
        }
        data[CellName(2, base)] =
            mm ? QStringLiteral("1219.2×1016.0") : QStringLiteral("48.0×40.0");
        data[CellName(2, base + 1)] = QStringLiteral("9 Panel/Sheet");
        data[CellName(2, base + 2)] = QStringLiteral("70.538%");
        data[CellName(2, base + 3)] = QStringLiteral("注意：板边\n两行");
        put("C2", QStringLiteral("#1"));
        put("D2", QStringLiteral("(0.2500,0.2500)"));
        put("E2", QStringLiteral("Φ0.1250"));
        put("C3", QStringLiteral("#2"));
        put("D3", QStringLiteral("(12.9500,0.2500)"));
        put("E3", QStringLiteral("Φ0.1250"));
        put("C4", QStringLiteral("#3"));
        put("D4", QStringLiteral("(1234.5000,11.1500)"));
        put("E4", QStringLiteral("Φ0.0625"));
        if (twoSize) {
            put("F2", QStringLiteral("#1"));
            put("G2", QStringLiteral("(0.2000,0.3000)"));
            put("H2", QStringLiteral("Φ0.1000"));
        }
        // Pictures: 448 x 248 at 1.5 or 448 x 298 at 1.3, at the listed places.
        QJsonArray pictures;
        const double factor = twoSize ? 1.5 : 1.3;
        const int h = twoSize ? 248 : 298;
        const QList<QPointF> places = twoSize ? QList<QPointF>{{188, 120}, {188, 302}, {188, 485}}
                                              : QList<QPointF>{{141, 140}, {141, 393}};
        const PageLayout& layout = PageOf(twoSize);
        for (const QPointF& at : places) {
            // The cell under the corner, walked from the sheet's own sizes.
            int col = 0, row = 0;
            double x = 0, y = 0;
            while (x + layout.colWidths[std::size_t(col)] <= at.x())
                x += layout.colWidths[std::size_t(col++)];
            while (y + layout.rowHeights[std::size_t(row)] <= at.y())
                y += layout.rowHeights[std::size_t(row++)];
            pictures.append(QJsonArray{col, qRound64((at.x() - x) * 12700), row,
                                       qRound64((at.y() - y) * 12700),
                                       qRound64(448 / factor * 12700), qRound64(h / factor * 12700),
                                       448 * (twoSize ? 3 : 4), h * (twoSize ? 3 : 4)});
        }
        QJsonObject expect;
        expect[QStringLiteral("data")] = data;
        expect[QStringLiteral("company")] =
            company.isEmpty() ? QStringLiteral("Your Compration name") : company;
        expect[QStringLiteral("last_data_row")] = twoSize ? 21 : 17;
        expect[QStringLiteral("last_page_row")] = int(layout.rowHeights.size());
        expect[QStringLiteral("pictures")] = pictures;
        expect[QStringLiteral("page_values")] =
            QJsonObject{{QStringLiteral("B3"), QStringLiteral("PN-<7&\"x\">")},
                        {QStringLiteral("A") + QString::number(twoSize ? 27 : 20),
                         QStringLiteral("#1  (0.2500,0.2500)  Φ0.1250")},
                        {QStringLiteral("A") + QString::number(twoSize ? 30 : 23), QString()}};
        const QString expectPath = dir.filePath(QStringLiteral("expect.json"));
        QVERIFY(vorn::SafeWriteFile(expectPath, QJsonDocument(expect).toJson()));
        int code = -1;
        const QString out = Run(QStringLiteral(VORN_PYTHON3),
                                {QStringLiteral(VORN_CHECK_WORKBOOK), path, expectPath}, &code);
        QVERIFY2(code == 0, qPrintable(out));
    }

    void badCasesLeaveNothingBehind() {
        const ReportContent content =
            MakeReportContent(MakeJob(MakePlan(false, false), false), QString(), Holes1(), {});
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("report.xlsx"));
        QString error;
        // The template is missing.
        QVERIFY(!WriteReportWorkbook(content, dir.filePath(QStringLiteral("ExlfileOne.xltx")),
                                     target, &error));
        QCOMPARE(error, QStringLiteral("模板文件 \"Exlfile.xlt\" 不存在，此操作失败!"));
        // A template that is no workbook package.
        const QString broken = dir.filePath(QStringLiteral("broken.xltx"));
        QVERIFY(vorn::SafeWriteFile(broken, QByteArray("not a zip")));
        QVERIFY(!WriteReportWorkbook(content, broken, target, &error));
        QVERIFY2(error.contains(QStringLiteral("broken.xltx")), qPrintable(error));
        // A full disk while the workbook is written.
        vorn::InjectWriteFailure(100, QStringLiteral("No space left on device"));
        const bool written = WriteReportWorkbook(content, TemplateOf(false), target, &error);
        vorn::ClearInjectedWriteFailure();
        QVERIFY(!written);
        QVERIFY2(error.contains(QStringLiteral("No space left on device")), qPrintable(error));
        // A folder that cannot be written.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        const bool lockedWritten = WriteReportWorkbook(
            content, TemplateOf(false), locked + QStringLiteral("/report.xlsx"), &error);
        const bool pdfWritten =
            WriteReportPdf(content, locked + QStringLiteral("/report.pdf"), &error);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (::geteuid() != 0) { // root writes anyway
            QVERIFY(!lockedWritten);
            QVERIFY(!pdfWritten);
            QVERIFY2(error.contains(QStringLiteral("report.pdf")), qPrintable(error));
        }
        // Nothing half-written anywhere.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("broken.xltx")});
    }

    void aTemplateWithoutASecondSheetIsRefused() {
        ZipParts parts;
        QString error;
        QVERIFY(ReadZip(TemplateOf(false), parts, &error));
        QByteArray workbook = parts.Get(QStringLiteral("xl/workbook.xml"));
        const qsizetype at = workbook.indexOf("<sheet name=\"Data\"");
        QVERIFY(at > 0);
        workbook.remove(at, workbook.indexOf("/>", at) + 2 - at);
        parts.Set(QStringLiteral("xl/workbook.xml"), workbook);
        QByteArray zip;
        QVERIFY(WriteZip(parts, zip, &error));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("one-sheet.xltx"));
        QVERIFY(vorn::SafeWriteFile(path, zip));
        const ReportContent content =
            MakeReportContent(MakeJob(MakePlan(false, false), false), QString(), {}, {});
        QByteArray out;
        QVERIFY(!BuildReportWorkbook(content, path, out, &error));
        QVERIFY2(error.contains(QStringLiteral("second sheet")), qPrintable(error));
    }

    // The printer path into a PDF file, and the preview dialog opened and closed.
    // In English the workbook, the hidden Data sheet and the PDF carry the
    // page's fixed texts in English, with more hole lines than the template
    // has; what the user stored (here texts that equal a caption) stays as
    // typed.
    void reportFollowsTheLanguage_data() {
        QTest::addColumn<bool>("twoSize");
        QTest::newRow("one size") << false;
        QTest::newRow("two sizes") << true;
    }
    void reportFollowsTheLanguage() {
        QFETCH(bool, twoSize);
        QVERIFY(vorn::UseLanguage(vorn::Language::English));
        const auto chinese = qScopeGuard([] { vorn::UseLanguage(vorn::Language::Chinese); });
        const Plan plan = MakePlan(twoSize, false);
        ReportJob job = MakeJob(plan, false);
        job.customerPart = QStringLiteral("料号");
        job.operatorName = QStringLiteral("Li");
        job.note = QStringLiteral("备注");
        std::vector<vorn::ToolingHole> many;
        for (int i = 1; i <= 20; ++i)
            many.push_back({i, 0.1 * i, 0.25, 0.125});
        const ReportContent content = MakeReportContent(
            job, QString(), many, twoSize ? Holes2() : std::vector<vorn::ToolingHole>{});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.xlsx"));
        QString error;
        QVERIFY2(WriteReportWorkbook(content, TemplateOf(twoSize), path, &error),
                 qPrintable(error));
        ZipParts parts;
        QVERIFY2(ReadZip(path, parts, &error), qPrintable(error));
        const QMap<QString, QString> page =
            SheetTexts(parts.Get(QStringLiteral("xl/worksheets/sheet1.xml")));
        const QMap<QString, QString> data =
            SheetTexts(parts.Get(QStringLiteral("xl/worksheets/sheet2.xml")));
        const QString note = CellName(2, twoSize ? 21 : 17);
        for (const auto& [sheet, texts] : {std::pair{"Sheet1", page}, std::pair{"Data", data}})
            for (auto it = texts.begin(); it != texts.end(); ++it) {
                const bool stored = (sheet == std::string_view("Data") &&
                                     (it.key() == QLatin1String("B3") || it.key() == note)) ||
                                    it.value() == job.customerPart || it.value() == job.note;
                QVERIFY2(stored || !HasChinese(it.value()),
                         qPrintable(QStringLiteral("%1!%2: %3").arg(sheet, it.key(), it.value())));
            }
        QCOMPARE(data.value(QStringLiteral("A2")), QStringLiteral("Part No."));
        QCOMPARE(data.value(QStringLiteral("B3")), QStringLiteral("料号"));
        QCOMPARE(data.value(note), QStringLiteral("备注"));
        QCOMPARE(data.value(QStringLiteral("A1")), QStringLiteral("Item"));
        QCOMPARE(data.value(QStringLiteral("B5")), QStringLiteral("Inch"));
        QCOMPARE(page.value(QStringLiteral("A2")), content.Page().title);
        QVERIFY(content.Page().title.startsWith(QStringLiteral("PANELIZATION AND SHEET CUTTING")));
        QCOMPARE(page.value(QStringLiteral("A1")), QStringLiteral("Your Compration name"));
        QVERIFY(page.values().contains(QStringLiteral("Part No.")));
        QVERIFY(page.values().contains(QStringLiteral("Sheet util.")));
        QVERIFY(page.values().contains(twoSize
                                           ? QStringLiteral("Tooling holes, panel 1 (continued)")
                                           : QStringLiteral("Tooling holes (continued)")));

        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QVERIFY2(WriteReportPdf(content, pdf, &error), qPrintable(error));
        QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString& want : {QStringLiteral("Sheet util."), QStringLiteral("Notes"),
                                    QStringLiteral("Panels/sheet")})
            QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" not in:\n") + text));
        text.remove(job.customerPart).remove(job.note);
        QVERIFY2(!HasChinese(text), qPrintable(text));
        QVERIFY(Run(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))})
                    .isEmpty());
        QDir().mkpath(vorn::test::screenshotDir() + QStringLiteral("/english"));
        QVERIFY(QImage(dir.filePath(QStringLiteral("page.png")))
                    .save(vorn::test::screenshotDir() +
                          (twoSize ? QStringLiteral("/english/report_two_sizes.png")
                                   : QStringLiteral("/english/report.png"))));
    }

    void printAndPreviewPaintTheOnePage() {
        const ReportContent content = MakeReportContent(
            MakeJob(MakePlan(true, false), false), QStringLiteral("Vorn PCB"), Holes1(), Holes2());
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        SetUpReportPrinter(printer);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        QVERIFY(PrintReport(printer, content));
        const QString text =
            Run(QStringLiteral("pdftotext"),
                {dir.filePath(QStringLiteral("printed.pdf")), QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("Vorn PCB")) &&
                     text.contains(QStringLiteral("拼板1尺寸")),
                 qPrintable(text));

        QPrinter previewPrinter(QPrinter::HighResolution);
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
                if (!preview || !preview->isVisible())
                    continue;
                shown = true;
                preview->resize(900, 1000);
                QTest::qWait(50);
                preview->grab().save(vorn::test::screenshotDir() +
                                     QStringLiteral("/report_preview.png"));
                preview->reject();
            }
        });
        PreviewReport(nullptr, previewPrinter, content);
        QVERIFY(shown);
        // The page itself, at a readable resolution, for a look.
        for (bool two : {false, true}) {
            const ReportContent c = MakeReportContent(
                MakeJob(MakePlan(two, two), two), two ? QString() : QStringLiteral("Vorn PCB"),
                Holes1(), two ? Holes2() : std::vector<vorn::ToolingHole>{});
            QVERIFY(ReportPageImage(c, 110).save(vorn::test::screenshotDir() +
                                                 (two ? QStringLiteral("/report_page_two.png")
                                                      : QStringLiteral("/report_page_one.png"))));
        }
    }

    // Panel 2 of a two-size plan laid out beyond the blocks: its picture is
    // the boards given, drawn board by board (its counts are 0); panel 1's
    // boards are not taken for panel 2's.
    void panel2PictureDrawsItsBoards() {
        Plan plan = MakePlan(true, false);
        plan.numbers[QStringLiteral("Set_La2")] = 0;
        plan.numbers[QStringLiteral("Set_Wb2")] = 0;
        plan.numbers[QStringLiteral("Panel2")] = 5;
        // 5 boards of 4 x 2 in the 10.3 x 8.6 panel, from its margins.
        const std::vector<vorn::Placement> boards2{{0.1, 0.25, 4, 2, false},
                                                   {4.2, 0.25, 4, 2, false},
                                                   {0.1, 2.35, 4, 2, false},
                                                   {4.2, 2.35, 4, 2, false},
                                                   {0.1, 4.45, 4, 2, false}};
        ReportJob job = MakeJob(plan, false);
        const auto picture = [&job] {
            const ReportContent c = MakeReportContent(job, QString(), {}, {});
            QImage image(448, 298, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            c.drawings.at(QStringLiteral("Panel2"))(vorn::DiagramCanvas(painter, image.size()));
            return image;
        };
        vorn::LayoutDrawing expected = vorn::LayoutArgsOf(vorn::DiagramView::Panel2, plan.Fields());
        expected.Boards = boards2;
        QImage boardByBoard(448, 298, QImage::Format_RGB32);
        boardByBoard.fill(Qt::white);
        {
            QPainter painter(&boardByBoard);
            vorn::DrawLayoutDiagram(expected, vorn::DiagramCanvas(painter, boardByBoard.size()));
        }
        const QImage withoutBoards = picture();
        QVERIFY(withoutBoards != boardByBoard);
        job.boards = boards2; // panel 1's, 15 boards in the row: not drawn on panel 2
        QCOMPARE(picture(), withoutBoards);
        job.boards2 = boards2;
        QCOMPARE(picture(), boardByBoard);
        boardByBoard.save(vorn::test::screenshotDir() +
                          QStringLiteral("/report_panel2_packed.png"));
    }

    // The PDF: one A4 page, real text, pictures at the page's fixed places.
    void pdfIsOneA4PageWithTextAndPicturesInPlace() {
        ReportContent content = MakeReportContent(MakeJob(MakePlan(false, false), false),
                                                  QStringLiteral("Vorn PCB"), Holes1(), {});
        // Solid pictures show exactly where they land.
        for (auto& [name, drawing] : content.drawings)
            drawing = [](const vorn::DiagramCanvas& c) {
                c.painter->fillRect(QRect(QPoint(0, 0), c.size), QColor(255, 0, 0));
            };
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        QVERIFY2(WriteReportPdf(content, pdf, &error), qPrintable(error));
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))),
                 qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
        const QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        for (const QString& want : {QStringLiteral("Vorn PCB"), QStringLiteral("PN-<7&\"x\">"),
                                    QStringLiteral("15 Pas/Panel"), QStringLiteral("拼板利用率"),
                                    QStringLiteral("#3 (1234.5000,11.1500) Φ0.0625")})
            QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" not in:\n") + text));
        // Rendered at 72 dpi one pixel is one point.
        QVERIFY(Run(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))})
                    .isEmpty());
        const QImage page(dir.filePath(QStringLiteral("page.png")));
        QVERIFY(!page.isNull());
        page.save(vorn::test::screenshotDir() + QStringLiteral("/report_pdf_page.png"));
        const PageLayout& layout = content.Page();
        const double x0 = (kA4WidthPt - layout.Width()) / 2;
        const double y0 = layout.marginTop;
        auto red = [&page](double x, double y) {
            const QColor c = page.pixelColor(qRound(x), qRound(y));
            return c.red() > 200 && c.green() < 60 && c.blue() < 60;
        };
        for (const PicturePlace& p : layout.pictures) {
            const double w = 448 / p.factor, h = 298 / p.factor;
            const double l = x0 + p.left, t = y0 + p.top;
            QVERIFY2(red(l + 2, t + 2) && red(l + w - 2, t + h - 2) && red(l + w / 2, t + h / 2),
                     qPrintable(p.name));
            QVERIFY2(!red(l - 3, t + h / 2) && !red(l + w + 3, t + h / 2), qPrintable(p.name));
        }
    }

    // The PDF draws the pictures as shapes and text, not as pixels.
    void pdfPicturesAreVectors() {
        const ReportContent content = MakeReportContent(
            MakeJob(MakePlan(true, false), false), QStringLiteral("Vorn PCB"), Holes1(), Holes2());
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        QVERIFY2(WriteReportPdf(content, pdf, &error), qPrintable(error));
        const QString images = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY2(images.count(u'\n') <= 2, qPrintable(images)); // the header lines only
        // The diagrams' dimension labels are text of the page.
        const QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("13.200")) && text.contains(QStringLiteral("10.300")),
                 qPrintable(text));
    }

    // Each text keeps its size where it fits, shrinks to the readable
    // minimum, and wraps below it in a row grown to hold it.
    void textsFitTheirBoxes_data() {
        QTest::addColumn<int>("look");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fittedLook");
        QTest::addColumn<double>("least");
        QTest::addColumn<double>("most");
        const int value = int(CellLook::Value), company = int(CellLook::Company);
        QTest::newRow("short value") << value << 82.5 << "A-1" << value << 9.0 << 9.0;
        QTest::newRow("value shrunk")
            << value << 82.5 << "CUST-0123456789-AB" << value << 6.0 << 8.75;
        QTest::newRow("value wrapped")
            << value << 82.5 << "CUSTOMER-PART-NUMBER-0123456789-ABCDEFGH"
            << int(CellLook::ValueWrapped) << 6.0 << 6.0;
        QTest::newRow("company") << company << 522.75 << "Vorn PCB" << company << 16.0 << 16.0;
        QTest::newRow("company shrunk")
            << company << 522.75
            << "Shenzhen Huanan Precision Circuit Technology Company Limited, Plant No. 2"
            << company << 10.0 << 15.75;
        QTest::newRow("company wrapped")
            << company << 522.75 << LongCompany() + QStringLiteral(" ") + LongCompany()
            << int(CellLook::CompanyWrapped) << 10.0 << 10.0;
        QTest::newRow("hole line shrunk, never cut")
            << int(CellLook::Hole) << 141.0 << "#20  (1000000000.1800,1000000000.0800)  Φ3.1750"
            << int(CellLook::Hole) << 1.0 << 5.75;
    }
    void textsFitTheirBoxes() {
        QFETCH(int, look);
        QFETCH(double, width);
        QFETCH(QString, text);
        QFETCH(int, fittedLook);
        QFETCH(double, least);
        QFETCH(double, most);
        const TextFit fit = FitText(CellLook(look), text, width);
        QCOMPARE(int(fit.look), fittedLook);
        QVERIFY2(fit.pt >= least && fit.pt <= most, qPrintable(QString::number(fit.pt)));
        const LookStyle& style = StyleOf(fit.look);
        if (!style.wrap)
            QVERIFY(TextWidthPt(text, style, fit.pt) <= width - 2 * kCellPadding);
    }

    // A long customer part number grows its header row; the pictures below
    // move with it, the rows beside them do not change.
    void aGrownRowCarriesThePicturesAlong() {
        Plan plan = MakePlan(false, true);
        const ReportContent content = MakeReportContent(LongHeaderJob(plan), LongCompany(), {}, {});
        const PageLayout& base = OneSizePage();
        const PageLayout& page = content.Page();
        QCOMPARE(page.rowHeights.size(), base.rowHeights.size());
        const double grown = page.RowTop(7) - base.RowTop(7);
        QVERIFY2(page.rowHeights[2] > base.rowHeights[2], "the row of 客户料号 grows");
        QVERIFY(grown > 0);
        for (std::size_t i = 0; i < page.pictures.size(); ++i)
            QCOMPARE(page.pictures[i].top, base.pictures[i].top + grown);
        for (std::size_t r = 5; r < page.rowHeights.size(); ++r)
            QCOMPARE(page.rowHeights[r], base.rowHeights[r]);
    }

    // Twenty holes, nine and nine, twenty and twenty, and header texts as
    // long as their fields: every hole and every field on the one PDF page.
    void longHeaderAndManyHoles_data() {
        QTest::addColumn<bool>("twoSize");
        QTest::addColumn<int>("count1");
        QTest::addColumn<int>("count2");
        QTest::addColumn<QString>("name");
        QTest::newRow("one size, 20 holes") << false << 20 << 0 << "twenty_holes";
        QTest::newRow("two sizes, 9 + 9 holes") << true << 9 << 9 << "two_sizes_nine_holes";
        QTest::newRow("two sizes, 20 + 20 holes") << true << 20 << 20 << "two_sizes_twenty_holes";
    }
    void longHeaderAndManyHoles() {
        QFETCH(bool, twoSize);
        QFETCH(int, count1);
        QFETCH(int, count2);
        QFETCH(QString, name);
        Plan plan = twoSize ? MakePlan(true, true) : LongPanelPlan();
        const auto holes1 =
            EdgeHoles(count1, plan.numbers.value("Panel_L"), plan.numbers.value("Panel_W"));
        const auto holes2 =
            EdgeHoles(count2, plan.numbers.value("Panel_L2"), plan.numbers.value("Panel_W2"));
        const ReportContent content =
            MakeReportContent(LongHeaderJob(plan), LongCompany(), holes1, holes2);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        QString error;
        QVERIFY2(WriteReportPdf(content, pdf, &error), qPrintable(error));
        CheckPrintedPage(pdf, content, holes1, holes2, QStringLiteral("pdf_") + name);
        if (QTest::currentTestFailed())
            return;
        // Every hole is marked in its panel's picture.
        for (const auto& [picture, holes] :
             {std::pair{QStringLiteral("Panel1"), &holes1}, {QStringLiteral("Panel2"), &holes2}}) {
            const QSet<int> marked = MarkNumbersIn(pdf, content.Page(), picture);
            QStringList missing;
            for (const vorn::ToolingHole& h : *holes)
                if (!marked.contains(h.SerialNumber))
                    missing << QString::number(h.SerialNumber);
            QVERIFY2(
                missing.isEmpty(),
                qPrintable(
                    QStringLiteral("holes %1 not marked in %2").arg(missing.join(u' '), picture)));
        }

        // The workbook: every hole has its line on the page, only the page
        // is printed.
        const QString book = dir.filePath(QStringLiteral("report.xlsx"));
        QVERIFY2(WriteReportWorkbook(content, TemplateOf(twoSize), book, &error),
                 qPrintable(error));
        QJsonObject lines;
        for (int list = 0; list < 2; ++list)
            for (const vorn::ToolingHole& h : list ? holes2 : holes1)
                lines[CellName(list ? 6 : 3, kFirstHoleRow + h.SerialNumber - 1)] = HoleLine(h);
        QJsonObject expect{
            {QStringLiteral("company"), LongCompany()},
            {QStringLiteral("hole_lines"), lines},
            {QStringLiteral("last_page_row"), int(content.Page().rowHeights.size())}};
        const QString expectPath = dir.filePath(QStringLiteral("expect.json"));
        QVERIFY(vorn::SafeWriteFile(expectPath, QJsonDocument(expect).toJson()));
        int code = -1;
        const QString out = Run(QStringLiteral(VORN_PYTHON3),
                                {QStringLiteral(VORN_CHECK_WORKBOOK), book, expectPath}, &code);
        QVERIFY2(code == 0, qPrintable(out));

        // The workbook as a spreadsheet program prints it.
        const QString office = SpreadsheetProgram();
        if (office.isEmpty())
            QSKIP("LibreOffice (soffice) is not installed: the workbook's printout is not checked");
        const QString profile =
            QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString();
        const QString log =
            Run(office,
                {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                 QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                 dir.filePath(QStringLiteral("printed")), book});
        const QString printed = dir.filePath(QStringLiteral("printed/report.pdf"));
        QVERIFY2(QFile::exists(printed), qPrintable(log));
        CheckPrintedPage(printed, content, holes1, holes2, QStringLiteral("workbook_") + name);
    }

    void formulasOfThePage() {
        PageCell value;
        value.parts = {{{}, QStringLiteral("B2")}};
        QCOMPARE(FormulaOf(value), QStringLiteral("Data!B2&\"\""));
        PageCell hole;
        hole.parts = {
            {{}, QStringLiteral("C2")}, {QStringLiteral("\" "), {}}, {{}, QStringLiteral("D2")}};
        hole.emptyUnless = QStringLiteral("C2");
        QCOMPARE(FormulaOf(hole),
                 QStringLiteral("IF(Data!C2=\"\",\"\",Data!C2&\"\"\" \"&Data!D2)"));
        PageCell literal;
        literal.parts = {{QStringLiteral("料号"), {}}};
        QVERIFY(FormulaOf(literal).isEmpty());
        // Both pages fit A4 inside their margins.
        for (const PageLayout* page : {&OneSizePage(), &TwoSizePage()}) {
            QVERIFY(page->Width() <= kA4WidthPt - page->marginLeft - page->marginRight + 0.01);
            QVERIFY(page->Height() <= kA4HeightPt - page->marginTop - page->marginBottom);
        }
    }
};

VORN_TEST_MAIN(ReportTest)
#include "ReportTest.moc"
