// The report commands of the main window: export (F7), print (Ctrl+P),
// preview (Ctrl+Y) and the PDF, with their messages and the tooling table's
// filter put back in every case.

#include "MainWindow.h"
#include "SafeWrite.h"
#include "Startup.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <functional>

namespace {

// Answers every modal window a command opens with `answer`, noting what it said.
class ModalAnswers : public QObject {
public:
    struct Seen {
        QString kind; // class name
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    QList<Seen> seen;
    std::function<void(QWidget*)> answer;

    ModalAnswers() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == last_)
                return;
            last_ = modal;
            Seen s{QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(), {}};
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                s.text = box->text();
                s.icon = box->icon();
            }
            seen << s;
            if (answer)
                answer(modal);
            else if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
        timer_.start();
    }

private:
    QTimer timer_;
    QPointer<QWidget> last_;
};

// Message boxes are closed with OK; other dialogs by `other`.
std::function<void(QWidget*)> OkAnd(std::function<void(QWidget*)> other) {
    return [other](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w))
            box->accept();
        else if (other)
            other(w);
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
    };
}

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

} // namespace

class ReportCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<vorn::test::ProgramDir> dir_;
    std::unique_ptr<TVornMF> window_;
    std::unique_ptr<QTemporaryDir> tempDir_;
    QByteArray originalTemp_, originalPath_;
    // The desktop's opener is a script first on PATH: it notes each file it is
    // given and exits with the status in VORN_TEST_OPEN_EXIT, as xdg-open does
    // (3 or 4 when no program takes the type).
    QTemporaryDir opener_;

    QStringList Opened() const {
        QFile log(opener_.filePath(QStringLiteral("opened.txt")));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void AddHoles() {
        vorn::Cursor& t = window_->Data()->TempTooling;
        t.setFilter(QString());
        if (!t.isOpen())
            t.open();
        window_->Data()->setInsertMode(vorn::TDataM1::Numbered::TempTooling, QString());
        const QList<std::tuple<const char*, int, double>> holes{
            {"Panel1", 1, 0.25}, {"Panel1", 2, 17.75}, {"Panel1", 3, 9.0}, {"Panel2", 1, 0.5}};
        for (const auto& [type, serial, x] : holes) {
            t.append();
            t.setValue("PanelType", type);
            t.setValue("SerialNumber", serial);
            t.setValue("Xcoordinate", x);
            t.setValue("Ycoordinate", 0.25);
            t.setValue("Diameter", 0.125);
            t.post();
        }
        // The grid shows panel 2 when the report starts.
        t.setFilter(QStringLiteral("PanelType='Panel2'"));
    }
    QString Filter() const { return window_->Data()->TempTooling.filter(); }

private slots:
    void initTestCase() {
        originalTemp_ = qgetenv("TMPDIR");
        originalPath_ = qgetenv("PATH");
        const QString script = opener_.filePath(QStringLiteral("xdg-open"));
        WriteFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened.txt\"\n"
                          "exit ${VORN_TEST_OPEN_EXIT:-0}\n");
        QVERIFY(
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("PATH", opener_.path().toLocal8Bit() + ':' + originalPath_);
    }
    void cleanupTestCase() { qputenv("PATH", originalPath_); }

    void init() {
        QFile::remove(opener_.filePath(QStringLiteral("opened.txt")));
        qunsetenv("VORN_TEST_OPEN_EXIT");
        qputenv("TMPDIR", originalTemp_);
        tempDir_ = std::make_unique<QTemporaryDir>();
        qputenv("TMPDIR", tempDir_->path().toLocal8Bit());
        dir_ = NewProgramDir();
        QVERIFY(dir_);
        for (const char* name : {"ExlfileOne.xltx", "ExlfileTow.xltx"})
            QVERIFY(QFile::copy(vorn::test::buildProgramDir() + u'/' + QLatin1String(name),
                                dir_->file(QLatin1String(name))));
        // No company name: every report first shows the hint.
        const QString defaults = vorn::test::DefaultsPath(*dir_);
        QByteArray text = ReadFile(defaults);
        text.replace("CompName=Vorn PCB", "");
        WriteFile(defaults, text);
        window_ = vorn::CreateMainWindow(dir_->path());
        QVERIFY(window_);
        window_->resize(1000, 700);
        window_->show();
    }
    void cleanup() {
        qputenv("TMPDIR", originalTemp_);
        window_.reset();
        dir_.reset();
    }

    void withoutAPlanTheCommandsSayWhatIsMissing() {
        ModalAnswers modals;
        modals.answer = OkAnd(nullptr);
        for (auto handler : {&TVornMF::ToolButton9Click, &TVornMF::ToolButton8Click,
                             &TVornMF::M01_04_01Click, &TVornMF::M01_05_03Click})
            (window_.get()->*handler)();
        QCOMPARE(modals.seen.size(), 4);
        for (const auto& s : modals.seen) {
            QCOMPARE(s.text, QStringLiteral("上传信息有误或不全，请执行 \"上传数据\" 操作！"));
            QCOMPARE(s.icon, QMessageBox::Information);
        }
        QVERIFY(Opened().isEmpty());
    }

    void exportOpensTheWorkbookAndRestoresTheToolingFilter() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("AB/12"));
        AddHoles();
        ModalAnswers modals;
        modals.answer = OkAnd(nullptr);
        window_->Command(QStringLiteral("ToolButton9"))->trigger();
        // No company name set: the hint, then the workbook opens.
        QCOMPARE(modals.seen.size(), 1);
        QCOMPARE(modals.seen[0].title, QStringLiteral("提示"));
        QCOMPARE(modals.seen[0].text, QStringLiteral("请在默认值设置菜单中设置公司名称"));
        const QStringList opened = Opened();
        QCOMPARE(opened.size(), 1);
        const QFileInfo file(opened[0]);
        QCOMPARE(file.dir().absolutePath(),
                 QDir(tempDir_->path()).absoluteFilePath(QStringLiteral("Vorn")));
        QVERIFY2(file.fileName().startsWith(QStringLiteral("拼板开料报告_AB_12_")) &&
                     file.fileName().endsWith(QStringLiteral(".xlsx")),
                 qPrintable(file.fileName()));
        QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));
        const QString out =
            Run(QStringLiteral(VORN_PYTHON3), {QStringLiteral("-c"), QStringLiteral(R"(
import openpyxl, sys
wb = openpyxl.load_workbook(sys.argv[1])
d = wb['Data']
print(wb['Sheet1']['A1'].value, d['B2'].value, d['B5'].value, d['B10'].value,
      d['C2'].value, d['C4'].value, d['D3'].value, d['C5'].value, d['F2'].value,
      len(wb['Sheet1']._images))
)"),
                                               file.filePath()});
        QCOMPARE(out.trimmed(),
                 QStringLiteral("Your Compration name AB/12 英寸(Inch) 18.000×12.000 "
                                "#1 #3 (17.7500,0.2500) None #1 2"));
    }

    // An opener that starts but finds no program for workbooks (xdg-open
    // exits 3): the box with the path and 另存为… comes up, and the status
    // bar says where the report is, as it does after a good export.
    void exportWithoutASpreadsheetProgramSaysWhereTheReportIs() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("NO-APP"));
        auto* status = window_->findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
        QVERIFY(status);
        for (const char* exit : {"3", "0"}) {
            qputenv("VORN_TEST_OPEN_EXIT", exit);
            QFile::remove(opener_.filePath(QStringLiteral("opened.txt")));
            ModalAnswers modals;
            modals.answer = OkAnd(nullptr);
            window_->Command(QStringLiteral("ToolButton9"))->trigger();
            const QStringList opened = Opened();
            QCOMPARE(opened.size(), 1);
            QVERIFY(QFile::exists(opened[0]));
            QVERIFY2(status->currentMessage().contains(QDir::toNativeSeparators(opened[0])),
                     qPrintable(status->currentMessage()));
            const bool boxShown = modals.seen.size() == 2 &&
                                  modals.seen[1].text.contains(QDir::toNativeSeparators(opened[0]));
            QCOMPARE(boxShown, QByteArray(exit) != "0"); // after the company hint
            if (boxShown)
                vorn::test::Shot(window_.get(), QStringLiteral("report_export_no_program"));
        }
    }

    void exportFailuresAreShownAndLeaveNothing() {
        PutValidPlan(*window_->Data());
        AddHoles();
        window_->Data()->TempInput.edit();
        ModalAnswers modals;
        modals.answer = OkAnd(nullptr);
        // The temporary folder cannot be made (a file stands in its way).
        const QString blocked = tempDir_->filePath(QStringLiteral("blocked"));
        WriteFile(blocked, "x");
        qputenv("TMPDIR", blocked.toLocal8Bit());
        window_->ToolButton9Click();
        qputenv("TMPDIR", tempDir_->path().toLocal8Bit());
        QCOMPARE(modals.seen.size(), 2); // the company hint, the failure
        QCOMPARE(modals.seen[1].icon, QMessageBox::Critical);
        QVERIFY2(modals.seen[1].text.contains(QStringLiteral("blocked")),
                 qPrintable(modals.seen[1].text));
        QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));
        // A full disk while writing.
        vorn::InjectWriteFailure(10, QStringLiteral("No space left on device"));
        window_->ToolButton9Click();
        vorn::ClearInjectedWriteFailure();
        QCOMPARE(modals.seen.size(), 4);
        QVERIFY2(modals.seen[3].text.contains(QStringLiteral("No space left on device")),
                 qPrintable(modals.seen[3].text));
        QCOMPARE(
            QDir(tempDir_->filePath(QStringLiteral("Vorn"))).entryList(QDir::Files | QDir::Hidden),
            QStringList());
        QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));
        // The template is missing.
        QVERIFY(QFile::remove(dir_->file(QStringLiteral("ExlfileOne.xltx"))));
        window_->ToolButton9Click();
        QCOMPARE(modals.seen.size(), 5);
        QCOMPARE(modals.seen[4].text,
                 QStringLiteral("模板文件 \"Exlfile.xlt\" 不存在，此操作失败!"));
        QCOMPARE(modals.seen[4].icon, QMessageBox::Warning);
        QVERIFY(Opened().isEmpty());
    }

    void printGoesThroughThePrintDialog() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("PRINT-7"));
        const QString pdf = tempDir_->filePath(QStringLiteral("printed.pdf"));
        ModalAnswers modals;
        modals.answer = OkAnd([&pdf](QWidget* w) {
            if (auto* dialog = qobject_cast<QPrintDialog*>(w)) {
                dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                dialog->printer()->setOutputFileName(pdf);
                dialog->done(QDialog::Accepted);
            }
        });
        window_->Command(QStringLiteral("ToolButton8"))->trigger();
        QVERIFY(QFile::exists(pdf));
        QVERIFY(modals.seen.size() == 2 && modals.seen[1].kind == QLatin1String("QPrintDialog"));
        const QString text = Run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("PRINT-7")) &&
                     text.contains(QStringLiteral("12 Pas/Panel")),
                 qPrintable(text));
    }

    void previewShowsThePageAndPdfIsWritten() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        AddHoles();
        ModalAnswers modals;
        modals.answer = OkAnd([](QWidget* w) {
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w)) {
                preview->resize(800, 900);
                QTest::qWait(50);
                preview->grab().save(vorn::test::screenshotDir() +
                                     QStringLiteral("/report_preview_window.png"));
                preview->reject();
            }
        });
        window_->Command(QStringLiteral("ToolButton7"))->trigger();
        QCOMPARE(modals.seen.size(), 2);
        QCOMPARE(modals.seen[1].kind, QStringLiteral("QPrintPreviewDialog"));
        QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));

        const QString pdf = tempDir_->filePath(QStringLiteral("report.pdf"));
        modals.answer = OkAnd([&pdf](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                QCOMPARE(dialog->objectName(), QStringLiteral("SaveReportPdfDialog"));
                dialog->selectFile(pdf);
                QMetaObject::invokeMethod(dialog, "accept");
            }
        });
        window_->Command(QStringLiteral("M01_05_03"))->trigger();
        QVERIFY(QFile::exists(pdf));
        QVERIFY(
            Run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("Pages:           1")));
    }

    void pictureExportWritesVectorsForSvgAndPdf() {
        PutValidPlan(*window_->Data());
        QVERIFY(window_->UpdateJobCommands());
        window_->RedrawSelectedView();
        AddHoles();
        for (const char* name : {"panel.svg", "panel.pdf"}) {
            const QString path = tempDir_->filePath(QLatin1String(name));
            ModalAnswers modals;
            modals.answer = OkAnd([&path](QWidget* w) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                    dialog->selectFile(path);
                    QMetaObject::invokeMethod(dialog, "accept");
                }
            });
            window_->Command(QStringLiteral("M01_05_02"))->trigger();
            QCOMPARE(modals.seen.size(), 1); // the file dialog, no failure
            const QString text =
                path.endsWith(QLatin1String(".svg"))
                    ? QString::fromUtf8(ReadFile(path))
                    : Run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
            QVERIFY2(text.contains(QStringLiteral("18.000")), qPrintable(path));
            QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));
        }
    }

    void camExportWritesThePickedPlan() {
        // 4 x 5 boards of 4 x 2 with a gap of 0.1, centred in an 18 x 12 panel.
        vorn::Cursor& job = window_->Data()->TempInput;
        job.edit();
        const QList<std::pair<const char*, QVariant>> plan{
            {"Set_L", 4.0},    {"Set_W", 2.0},
            {"Set_C", 0.1},    {"Panel_L", 18.0},
            {"Panel_W", 12.0}, {"Border_L", 0.85},
            {"Border_W", 0.8}, {"Set_La", 4},
            {"Set_Wb", 5},     {"Set_Lb", 0},
            {"Set_Wa", 0},     {"Up", "N"},
            {"Panel", 20},     {"Panel_lv", 100.0 * 8 * 20 / 216},
            {"Base_L", 48.0},  {"Base_W", 36.0},
            {"P_La", 2},       {"P_Wb", 3},
            {"P_up", "N"}};
        for (const auto& [field, value] : plan)
            job.setValue(field, value);
        job.post();
        QVERIFY(window_->UpdateJobCommands());
        window_->RedrawSelectedView();
        AddHoles();
        const auto save = [this](const char* command, const QString& path) {
            ModalAnswers modals;
            modals.answer = OkAnd([&path](QWidget* w) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                    dialog->selectFile(path);
                    QMetaObject::invokeMethod(dialog, "accept");
                }
            });
            window_->Command(QLatin1String(command))->trigger();
            QCOMPARE(modals.seen.size(), 1); // the file dialog, no failure
            QCOMPARE(Filter(), QStringLiteral("PanelType='Panel2'"));
        };
        const QString dxf = tempDir_->filePath(QStringLiteral("plan.dxf"));
        const QString csv = tempDir_->filePath(QStringLiteral("boards.csv"));
        const QString picture = tempDir_->filePath(QStringLiteral("picture.dxf"));
        save("M01_05_04", dxf);
        save("M01_05_04", csv);
        save("M01_05_02", picture); // the picture export's .dxf is the same drawing
        QCOMPARE(ReadFile(picture), ReadFile(dxf));
        const QString out =
            Run(QStringLiteral(VORN_PYTHON3), {QStringLiteral("-c"), QStringLiteral(R"(
import csv, ezdxf, sys
doc = ezdxf.readfile(sys.argv[1])
assert not doc.audit().errors
assert doc.header['$INSUNITS'] == 1
msp = doc.modelspace()
boards = msp.query('LWPOLYLINE[layer=="BOARDS1"]')
assert len(boards) == 20, len(boards)
holes = sorted((round(c.dxf.center[0], 6), round(c.dxf.center[1], 6), c.dxf.radius)
               for c in msp.query('CIRCLE[layer=="TOOLING1"]'))
assert holes == [(0.25, 11.75, 0.0625), (9.0, 11.75, 0.0625), (17.75, 11.75, 0.0625)], holes
rows = list(csv.reader(open(sys.argv[2], encoding='utf-8')))
assert rows[0] == ['panel', 'board', 'x', 'y', 'length', 'width', 'rotated'], rows[0]
assert rows[1] == ['1', '1', '0.85', '0.8', '4', '2', '0'], rows[1]
assert len(rows) == 21
print('read back')
)"),
                                               dxf, csv});
        QVERIFY2(out.contains(QStringLiteral("read back")), qPrintable(out));
    }
};

VORN_TEST_MAIN(ReportCommandsTest)
#include "ReportCommandsTest.moc"
