// Every window in English shows no Chinese character (titles, labels,
// buttons, menus, tool tips, grid headers, tab captions); in Chinese no
// English word is left but the program's own terms. Screenshots of the main
// window, a settings window and the report page in English.
#include "ArchiveFixture.h"
#include "HelpWindow.h"
#include "Language.h"
#include "MainWindow.h"
#include "QueryWindow.h"
#include "Startup.h"
#include "UserSettings.h"
#include "VornTestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// What a user can read of a window: "where: text" for every text.
class TextWalk {
public:
    QStringList texts;

    void Window(QWidget* root) {
        Add(root, QStringLiteral("title"), root->windowTitle());
        Widget(root);
        for (QWidget* w : root->findChildren<QWidget*>())
            Widget(w);
    }

private:
    QSet<const QAction*> seen_;

    void Add(const QObject* o, const QString& what, const QString& text) {
        if (!text.trimmed().isEmpty())
            texts << QStringLiteral("%1 %2 %3: %4")
                         .arg(QString::fromLatin1(o->metaObject()->className()), o->objectName(),
                              what, text);
    }

    void Action(QAction* a) {
        if (seen_.contains(a))
            return;
        seen_.insert(a);
        Add(a, QStringLiteral("action"), a->text());
        Add(a, QStringLiteral("action tip"),
            a->toolTip() == QString(a->text()).remove(u'&') ? QString() : a->toolTip());
        Add(a, QStringLiteral("status tip"), a->statusTip());
        if (QMenu* m = a->menu()) {
            Add(m, QStringLiteral("menu"), m->title());
            for (QAction* sub : m->actions())
                Action(sub);
        }
    }

    void Widget(QWidget* w) {
        Add(w, QStringLiteral("tip"), w->toolTip());
        Add(w, QStringLiteral("what's this"), w->whatsThis());
        for (QAction* a : w->actions())
            Action(a);
        if (auto* l = qobject_cast<QLabel*>(w))
            Add(w, QStringLiteral("label"), l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            Add(w, QStringLiteral("button"), b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w))
            Add(w, QStringLiteral("group"), g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w))
            Add(w, QStringLiteral("placeholder"), e->placeholderText());
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                Add(w, QStringLiteral("item"), c->itemText(i));
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) {
                Add(w, QStringLiteral("tab"), t->tabText(i));
                Add(w, QStringLiteral("tab tip"), t->tabToolTip(i));
            }
        if (auto* m = qobject_cast<QMenuBar*>(w))
            for (QAction* a : m->actions())
                Action(a);
        if (auto* b = qobject_cast<QTextBrowser*>(w))
            Add(w, QStringLiteral("page"), b->toPlainText());
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
            const QAbstractItemModel* m = v->model();
            for (int c = 0; c < m->columnCount(); ++c)
                Add(w, QStringLiteral("header"), m->headerData(c, Qt::Horizontal).toString());
        }
    }
};

bool HasChinese(const QString& text) {
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return cjk.match(text).hasMatch();
}

// The English words the Chinese windows use as the program's own terms.
bool OwnTerm(const QString& word) {
    static const QSet<QString> terms = {
        QStringLiteral("Vorn"),      QStringLiteral("Panel"),   QStringLiteral("Panels"),
        QStringLiteral("Inch"),      QStringLiteral("mm"),      QStringLiteral("Tooling"),
        QStringLiteral("Tooking"),   QStringLiteral("Type"),    QStringLiteral("Excel"),
        QStringLiteral("Bmp"),       QStringLiteral("PDF"),     QStringLiteral("DXF"),
        QStringLiteral("CSV"),       QStringLiteral("csv"),     QStringLiteral("xlsx"),
        QStringLiteral("Txt"),       QStringLiteral("Text"),    QStringLiteral("Microsoft"),
        QStringLiteral("CUT"),       QStringLiteral("Esc"),     QStringLiteral("Array"),
        QStringLiteral("Updata"),    QStringLiteral("PCB"),     QStringLiteral("Ctrl"),
        QStringLiteral("Base"),      QStringLiteral("English"), QStringLiteral("Language"),
        QStringLiteral("mdb"),       QStringLiteral("int"),     QStringLiteral("html"),
        QStringLiteral("VornInitS"), QStringLiteral("OK"),      QStringLiteral("Pas"),
        QStringLiteral("Sheet"),     QStringLiteral("Unit"),    QStringLiteral("Size"),
        QStringLiteral("Pcb")};
    return terms.contains(word);
}

QStringList EnglishWordsLeft(const QString& text) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    QStringList left;
    for (auto it = word.globalMatch(text); it.hasNext();)
        if (const QString w = it.next().captured(); !OwnTerm(w))
            left << w;
    return left;
}

} // namespace

// Opens each window the main window's commands open, walks its texts and
// closes it; the query window opens the diagram window from its button.
class WindowTour : public QObject {
public:
    TextWalk walk;
    QStringList seen; // class names of the windows walked
    QString shots;    // a folder for a picture of every window, when set

    explicit WindowTour(QObject* parent) : QObject(parent) {
        timer_.setInterval(10);
        connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
    }

private:
    QTimer timer_;
    QList<QPointer<QWidget>> done_;

    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || done_.contains(modal))
            return;
        done_ << modal;
        walk.Window(modal);
        const QString name = QString::fromLatin1(modal->metaObject()->className());
        seen << name;
        if (!shots.isEmpty())
            modal->grab().save(
                QStringLiteral("%1/%2.png").arg(shots, name.section(QStringLiteral("::"), -1)));
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (auto* query = qobject_cast<vorn::TForm3*>(modal)) {
            // The diagram window, then the query window closes.
            QPointer<vorn::TForm3> q(query);
            QTimer::singleShot(0, this, [q] {
                if (!q)
                    return;
                if (auto* b = q->findChild<QAbstractButton*>(QStringLiteral("ToolButton1")))
                    b->click();
                if (q)
                    q->reject();
            });
            return;
        }
        QTimer::singleShot(0, modal, [dialog, modal] {
            if (dialog)
                dialog->reject();
            else
                modal->close();
        });
    }
};

class LanguageWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vorn::test::ProgramDir> dir_;

    // Every window in `language`: the main window with a plan and a saved
    // part (so every command is enabled), then each window its commands open.
    QStringList TextsOfEveryWindow(vorn::Language language, const QString& shots) {
        vorn::UseLanguage(language);
        dir_ = std::make_unique<vorn::test::ProgramDir>();
        for (const char* help : {"Vorn.html", "Vorn_en.html"})
            QFile::copy(QStringLiteral(VORN_SOURCE_DIR "/shell/") + QLatin1String(help),
                        dir_->file(QLatin1String(help)));
        std::unique_ptr<TVornMF> w = vorn::CreateMainWindow(dir_->path());
        if (!w)
            return {QStringLiteral("no main window")};
        w->resize(1024, 720);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return {QStringLiteral("main window not shown")};
        vorn::TDataM1& dm = *w->Data();
        vorn::test::SavePlan(dm, QStringLiteral("PN-1"), QStringLiteral("CP-1"));
        w->UpdateArchiveCommands();

        auto* tour = new WindowTour(this);
        tour->walk.Window(w.get());
        if (!shots.isEmpty()) {
            w->grab().save(shots + QStringLiteral("/main_window.png"));
            if (auto* tabs = w->findChild<QTabWidget*>()) {
                for (int i = 1; i < tabs->count(); ++i)
                    if (tabs->isTabEnabled(i)) {
                        tabs->setCurrentIndex(i);
                        w->grab().save(shots + QStringLiteral("/main_window_tab%1.png").arg(i));
                    }
                tabs->setCurrentIndex(0);
            }
            tour->shots = shots; // TForm5.png: the sheet-materials window
        }
        for (const char* command :
             {"M05_02", "M03_01", "M03_02", "M03_03", "M03_04", "M04_01", "M01_01", "M01_04_01"}) {
            QAction* a = w->Command(QString::fromLatin1(command));
            if (!a || !a->isEnabled())
                tour->walk.texts << QStringLiteral("command %1 not enabled").arg(command);
            else
                a->trigger();
            if (!QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 5000))
                tour->walk.texts << QStringLiteral("command %1 left a window open").arg(command);
        }
        w->Command(QStringLiteral("M05_03"))->trigger();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<vorn::HelpWindow*>(top)) {
                tour->walk.Window(top);
                if (!shots.isEmpty())
                    top->grab().save(shots + QStringLiteral("/help.png"));
                top->close();
            }
        QStringList texts = tour->walk.texts;
        for (const char* window :
             {"TForm1", "vorn::TForm7", "vorn::TForm8", "vorn::TForm5", "vorn::TForm9",
              "vorn::TForm3", "vorn::TForm4", "vorn::TForm6", "QPrintPreviewDialog"})
            if (!tour->seen.contains(QLatin1String(window)))
                texts << QStringLiteral("window %1 never opened (%2)")
                             .arg(QLatin1String(window), tour->seen.join(u' '));
        delete tour;
        w.reset();
        dir_.reset();
        return texts;
    }

private slots:
    void initTestCase() { vorn::SetUpApplication(*qApp, vorn::Language::Chinese); }
    void cleanupTestCase() { vorn::UseLanguage(vorn::Language::Chinese); }

    // The Language menu writes the choice for the next start and says so;
    // the running windows keep their language.
    void languageMenuRemembersTheChoice() {
        vorn::UseLanguage(vorn::Language::Chinese);
        dir_ = std::make_unique<vorn::test::ProgramDir>();
        std::unique_ptr<TVornMF> w = vorn::CreateMainWindow(dir_->path());
        QVERIFY(w);
        auto* english = w->findChild<QAction*>(QStringLiteral("LanguageEnglish"));
        auto* chinese = w->findChild<QAction*>(QStringLiteral("LanguageChinese"));
        QVERIFY(english && chinese);
        QVERIFY(chinese->isChecked() && !english->isChecked());
        QStringList said;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&said] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                said << box->text();
                box->accept();
            }
        });
        answer.start();
        english->trigger();
        QCOMPARE(said.size(), 1);
        QVERIFY2(said[0].contains(QLatin1String("English from its next start")),
                 qPrintable(said[0]));
        QCOMPARE(vorn::UserSettings().value(QStringLiteral("window/language")).toString(),
                 QStringLiteral("en"));
        QCOMPARE(vorn::StartLanguage(QLocale(QStringLiteral("zh_CN"))), vorn::Language::English);
        QCOMPARE(vorn::CurrentLanguage(), vorn::Language::Chinese);
        QVERIFY(english->isChecked() && !chinese->isChecked());
        // Back to the language in use: remembered, nothing to say.
        chinese->trigger();
        QCOMPARE(said.size(), 1);
        QCOMPARE(vorn::StartLanguage(QLocale(QStringLiteral("en_US"))), vorn::Language::Chinese);
        w.reset();
        dir_.reset();
    }

    void englishWindowsHaveNoChinese() {
        const QString shots = vorn::test::screenshotDir() + QStringLiteral("/english");
        QDir().mkpath(shots);
        QStringList faults;
        for (const QString& t : TextsOfEveryWindow(vorn::Language::English, shots))
            if (HasChinese(t) && !t.contains(QLatin1String("LanguageChinese")))
                faults << t;
            else if (t.contains(QLatin1String("never opened")) ||
                     t.contains(QLatin1String("not enabled")) ||
                     t.contains(QLatin1String("left a window")))
                faults << t;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void chineseWindowsHaveOnlyTheProgramsEnglish() {
        QStringList faults;
        for (const QString& t : TextsOfEveryWindow(vorn::Language::Chinese, QString())) {
            const QString text = t.section(QStringLiteral(": "), 1);
            if (const QStringList left = EnglishWordsLeft(text); !left.isEmpty())
                faults << t + QStringLiteral("  [") + left.join(u' ') + u']';
            if (t.contains(QLatin1String("never opened")) ||
                t.contains(QLatin1String("not enabled")))
                faults << t;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

VORN_TEST_MAIN(LanguageWindowsTest)
#include "LanguageWindowsTest.moc"
