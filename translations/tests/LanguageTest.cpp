// The language of the windows: chosen from the desktop's locale on a first
// start and remembered; switching installs the program's and Qt's own
// translations; the English translation is complete and keeps every
// placeholder and shortcut of its source.
#include "Language.h"
#include "SafeWrite.h"
#include "UserSettings.h"
#include "VornTestSupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

using namespace vorn;

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
};

std::vector<Message> ReadTs(const QString& path) {
    std::vector<Message> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QXmlStreamReader r(&file);
    QString context;
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        if (r.name() == QLatin1String("name"))
            context = r.readElementText();
        else if (r.name() == QLatin1String("message"))
            out.push_back({context, {}, {}, false});
        else if (r.name() == QLatin1String("source") && !out.empty())
            out.back().source = r.readElementText();
        else if (r.name() == QLatin1String("translation") && !out.empty()) {
            out.back().unfinished = r.attributes().hasAttribute(QStringLiteral("type"));
            out.back().translation = r.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    return r.hasError() ? std::vector<Message>{} : out;
}

QStringList Sorted(QStringList list) {
    list.sort();
    return list;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression arg(QStringLiteral("%[1-9]"));
    QStringList found;
    for (auto it = arg.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return Sorted(found);
}

bool HasShortcut(const QString& text) {
    static const QRegularExpression mark(QStringLiteral("&[^&\\s]"));
    return mark.match(text).hasMatch();
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { test::IsolateUserSettings(); }

    void localeChoosesTheFirstLanguage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english");
        QTest::newRow("mainland") << "zh_CN" << false;
        QTest::newRow("taiwan") << "zh_TW" << false;
        QTest::newRow("hong kong") << "zh_HK" << false;
        QTest::newRow("us") << "en_US" << true;
        QTest::newRow("german") << "de_DE" << true;
        QTest::newRow("posix") << "C" << true;
    }
    void localeChoosesTheFirstLanguage() {
        QFETCH(QString, locale);
        QFETCH(bool, english);
        UserSettings().remove(QStringLiteral("window/language"));
        const Language first = StartLanguage(QLocale(locale));
        QCOMPARE(first == Language::English, english);
        // Remembered: a later start in another locale keeps it.
        const QLocale other(english ? QStringLiteral("zh_CN") : QStringLiteral("en_GB"));
        QCOMPARE(StartLanguage(other), first);
    }

    void choiceIsRememberedAndBadValuesIgnored() {
        RememberLanguage(Language::English);
        QCOMPARE(StartLanguage(QLocale(QStringLiteral("zh_CN"))), Language::English);
        RememberLanguage(Language::Chinese);
        QCOMPARE(StartLanguage(QLocale(QStringLiteral("en_US"))), Language::Chinese);
        // A hand-edited value that names no language: the locale decides.
        UserSettings().setValue(QStringLiteral("window/language"), QStringLiteral("klingon"));
        QCOMPARE(StartLanguage(QLocale(QStringLiteral("en_US"))), Language::English);
        QCOMPARE(UserSettings().value(QStringLiteral("window/language")).toString(),
                 QStringLiteral("en"));
    }

    void switchingInstallsBothTranslations() {
        const auto back = qScopeGuard([] { UseLanguage(Language::Chinese); });
        const char* qtYes = "&Yes";
        QVERIFY(UseLanguage(Language::English));
        QCOMPARE(CurrentLanguage(), Language::English);
        QCOMPARE(QCoreApplication::translate("vorn::HelpWindow", "Vorn 帮助"),
                 QStringLiteral("Vorn Help"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", qtYes), QStringLiteral("&Yes"));
        QVERIFY(!MessagesInChinese());
        QVERIFY(CannotWriteMessage(QStringLiteral("a.txt"), QStringLiteral("x"))
                    .startsWith(QStringLiteral("Cannot write")));

        // Back to Chinese: the program's texts are the sources again, Qt's
        // own are Chinese, and nothing of the English stays installed.
        QVERIFY(UseLanguage(Language::Chinese));
        QCOMPARE(QCoreApplication::translate("vorn::HelpWindow", "Vorn 帮助"),
                 QStringLiteral("Vorn 帮助"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", qtYes), QStringLiteral("是(&Y)"));
        QVERIFY(MessagesInChinese());
    }

    // The engine is plain C++ and words its refusals in Chinese; the window
    // translates each one, so a refusal the engine gains needs its English.
    void everyEngineRefusalHasItsEnglish() {
        QVERIFY(UseLanguage(Language::English));
        const auto back = qScopeGuard([] { UseLanguage(Language::Chinese); });
        static const QRegularExpression literal(QStringLiteral(
            "return \"((?:[^\"\\\\]|\\\\.)*[\\x{4e00}-\\x{9fff}](?:[^\"\\\\]|\\\\.)*)\";"));
        int found = 0;
        for (const QFileInfo& file : QDir(QStringLiteral(VORN_SOURCE_DIR "/engine"))
                                         .entryInfoList({QStringLiteral("*.cpp")})) {
            QFile f(file.filePath());
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll());
            for (auto it = literal.globalMatch(text); it.hasNext();) {
                const QString refusal =
                    it.next().captured(1).replace(QStringLiteral("\\\""), QStringLiteral("\""));
                ++found;
                const QString english =
                    QCoreApplication::translate("EngineRefusal", refusal.toUtf8().constData());
                QVERIFY2(english != refusal, qPrintable(file.fileName() + u' ' + refusal));
            }
        }
        QVERIFY(found > 0);
    }

    // A caption click finds its field by the caption's text, which the main
    // window and the defaults window translate in their own contexts: the
    // English of a caption must be the same in all three.
    void captionsReadTheSameWhereTheyAreMatched() {
        const std::vector<Message> messages = ReadTs(QStringLiteral(VORN_TS_FILE));
        QHash<QString, QHash<QString, QString>> byContext;
        for (const Message& m : messages)
            byContext[m.context][m.source] = m.translation;
        const QHash<QString, QString> captions = byContext.value(QStringLiteral("ParameterPanel"));
        QVERIFY(!captions.isEmpty());
        int compared = 0;
        for (auto it = captions.begin(); it != captions.end(); ++it)
            for (const char* window : {"TVornMF", "TForm9"}) {
                const QHash<QString, QString>& shown = byContext[QLatin1String(window)];
                if (shown.contains(it.key()) && ++compared)
                    QVERIFY2(shown.value(it.key()) == it.value(),
                             qPrintable(QStringLiteral("%1 %2: %3 / %4")
                                            .arg(QLatin1String(window), it.key(),
                                                 shown.value(it.key()), it.value())));
            }
        QVERIFY(compared >= int(captions.size()));
    }

    void englishTranslationIsComplete() {
        const std::vector<Message> messages = ReadTs(QStringLiteral(VORN_TS_FILE));
        QVERIFY2(!messages.empty(), "the .ts file cannot be read");
        static const QRegularExpression cjk(QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-"
                                                           "\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        QStringList faults;
        for (const Message& m : messages) {
            const QString where =
                m.context + u' ' + m.source + QStringLiteral(" -> ") + m.translation;
            if (m.unfinished || m.translation.isEmpty())
                faults << QStringLiteral("unfinished: ") + where;
            else if (cjk.match(m.translation).hasMatch())
                faults << QStringLiteral("Chinese left: ") + where;
            else if (Placeholders(m.source) != Placeholders(m.translation))
                faults << QStringLiteral("placeholders differ: ") + where;
            else if (HasShortcut(m.source) != HasShortcut(m.translation))
                faults << QStringLiteral("shortcut mark differs: ") + where;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

VORN_TEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
