// The unit button through the real main window: every length of the working
// tables switches between inches and millimetres and back, on a j3-sized
// result table with tooling holes of all three types; the searches and the
// pick-up give the same plans after a switch as before.

#include "UnitSwitch.h"
#include "Cursor.h"
#include "DataModule.h"
#include "MainWindow.h"
#include "MainWindowAccess.h"
#include "Startup.h"
#include "Tolerance.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <memory>

using vorn::Cursor;
using vorn::test::Shot;
using vorn::test::Type;

namespace {

constexpr double kMm = 25.4;

// Every row of a table (filter cleared) as the values of the given columns.
struct Snapshot {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
};

Snapshot Take(Cursor& t, const QStringList& columns) {
    Snapshot s{columns, {}};
    if (!t.isOpen())
        return s;
    const QString filter = t.filter();
    t.setFilter(QString());
    std::vector<int> fields;
    for (const QString& c : columns)
        fields.push_back(t.fieldIndex(c));
    s.rows.reserve(size_t(t.recordCount()));
    for (int r = 0; r < t.recordCount(); ++r) {
        std::vector<QVariant> row;
        row.reserve(fields.size());
        for (int f : fields)
            row.push_back(t.valueAt(r, f));
        s.rows.push_back(std::move(row));
    }
    t.setFilter(filter);
    return s;
}

// The current row only.
Snapshot TakeCurrent(const Cursor& t, const QStringList& columns) {
    Snapshot s{columns, {{}}};
    for (const QString& c : columns)
        s.rows[0].push_back(t.value(c));
    return s;
}

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= 1e-9 * std::max(1.0, std::abs(expected));
}

// `now` holds `before`'s lengths times `factor` (1e-9 relative) and every
// other column unchanged. Returns the first difference, or empty.
QString Compare(const Snapshot& before, const Snapshot& now, const QStringList& lengths,
                double factor, const char* table, bool recomputed = false) {
    if (before.rows.size() != now.rows.size())
        return QStringLiteral("%1: %2 rows, now %3")
            .arg(QLatin1String(table))
            .arg(before.rows.size())
            .arg(now.rows.size());
    for (size_t r = 0; r < before.rows.size(); ++r) {
        for (qsizetype c = 0; c < before.columns.size(); ++c) {
            const QVariant& b = before.rows[r][size_t(c)];
            const QVariant& n = now.rows[r][size_t(c)];
            const QString& name = before.columns[c];
            bool same = false;
            if (b.isNull() || n.isNull())
                same = b.isNull() == n.isNull();
            else if (lengths.contains(name))
                same = Near(n.toDouble(), b.toDouble() * factor);
            else if (recomputed && b.typeId() == QMetaType::Double)
                same = Near(n.toDouble(), b.toDouble()); // computed again from the lengths
            else
                same = b == n;
            if (!same)
                return QStringLiteral("%1 row %2 %3: %4, now %5")
                    .arg(QLatin1String(table))
                    .arg(r)
                    .arg(name, b.toString(), n.toString());
        }
    }
    return {};
}

const QStringList kResultOthers{
    "Number", "Set_La", "Set_Wb",   "Set_Lb",  "Set_Wa",    "Set_sLa",   "Set_sWb",
    "Up",     "Panel",  "Panel_lv", "Set_La2", "Up2",       "Panel2",    "Panel_lv2",
    "P_La",   "P_Wb",   "P_Lb",     "P_Wa",    "P_sLa",     "P_sWb",     "P_La2",
    "P_Wb2",  "P_up",   "Panel_N",  "Base_lv", "Base_down", "Panel_down"};

bool JobGood(const Cursor& j) {
    auto n = [&j](const char* f) { return j.asDouble(QString::fromLatin1(f)); };
    bool good = vorn::PanelGood(n("Set_L"), n("Set_W"), n("Panel_L"), n("Panel_W"), n("Panel"),
                                n("Panel_lv"));
    if (n("Panel2") > 0)
        good = good && vorn::PanelGood(n("Set_L"), n("Set_W"), n("Panel_L2"), n("Panel_W2"),
                                       n("Panel2"), n("Panel_lv2"));
    return good;
}

} // namespace

class UnitSwitchTest : public QObject, protected vorn::test::MainWindowAccess {
    Q_OBJECT

    void ClickUnit() { QTest::mouseClick(w_->UnitButton(), Qt::LeftButton); }
    void SetJob(const QList<QPair<const char*, double>>& values) {
        Cursor& j = Dm().TempInput;
        j.edit();
        for (const auto& [c, v] : values)
            j.setValue(QString::fromLatin1(c), v);
        j.post();
    }
    // Holes of every type, one filter shown.
    void AddHoles() {
        Cursor& t = Dm().TempTooling;
        t.open();
        int n = 0;
        for (const char* type : {"Panel1", "Panel2", "Array"}) {
            for (int i = 0; i < 3; ++i) {
                t.append();
                t.setValue("PanelType", QString::fromLatin1(type));
                t.setValue("SerialNumber", ++n);
                t.setValue("Xcoordinate", 0.25 + 1.1 * i);
                t.setValue("Ycoordinate", 0.2 + 0.37 * n);
                t.setValue("Diameter", 0.125);
                t.post();
            }
        }
        t.setFilter(QStringLiteral("PanelType='Panel2'"));
    }

private slots:
    // The program's font and texts, as the program starts.
    void initTestCase() {
        vorn::test::IsolateUserSettings();
        vorn::SetUpApplication(*qApp);
    }
    void init() {
        QVERIFY(OpenWindow());
        QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    }
    void cleanup() { CloseWindow(); }

    // The j3 job with two panel kinds (82 000 result rows), holes of all
    // three types: Inch → mm → Inch gives back every length, and every count,
    // layout and utilization is untouched; the plan stays valid in both units.
    void roundTripOnTheLargeTable() {
        SetJob({{"Set_L", 1.3},
                {"Set_W", 0.9},
                {"Set_C", 0.1},
                {"BorderX_L", 0.4},
                {"BorderX_W", 0.4},
                {"Min_PL", 6},
                {"Min_PW", 6},
                {"Max_PL", 24},
                {"Max_PW", 24},
                {"PLPW_ratio", 3},
                {"Min_lv", 60}});
        Child<QSpinBox>("Edit5")->setValue(2);
        w_->ToolButton1Click();
        Cursor& results = Dm().TempResult;
        QVERIFY(results.recordCount() > 80000);
        // A two-size plan picked, so both panels are tested.
        const int two = [&] {
            for (int r = 0; r < results.recordCount(); ++r)
                if (results.valueAt(r, results.fieldIndex("Panel2")).toInt() > 0)
                    return r;
            return -1;
        }();
        QVERIFY(two >= 0);
        results.moveTo(two);
        w_->DBGrid1DblClick();
        QVERIFY(Dm().TempInput.asDouble("Panel2") > 0);
        AddHoles();
        Cursor& array = Dm().TempInputCus;
        array.edit();
        array.setValue("Set_L", 1.3);
        array.setValue("Set_W", 0.9);
        array.post();
        QVERIFY(JobGood(Dm().TempInput));

        const QStringList jobColumns =
            vorn::JobRowLengths() + QStringList{"Panel",   "Panel_lv", "Panel2", "Panel_lv2",
                                                "Base_lv", "Up",       "P_up",   "PLPW_ratio",
                                                "Min_lv",  "Panel_N"};
        const Snapshot job = TakeCurrent(Dm().TempInput, jobColumns);
        const Snapshot arr = TakeCurrent(array, vorn::ArrayRowLengths());
        const Snapshot res = Take(results, vorn::ResultLengths() + kResultOthers);
        const QStringList toolingColumns =
            vorn::ToolingLengths() + QStringList{"PanelType", "SerialNumber"};
        const Snapshot holes = Take(Dm().TempTooling, toolingColumns);
        QCOMPARE(holes.rows.size(), size_t(9));

        QElapsedTimer clock;
        clock.start();
        ClickUnit();
        const double toMm = double(clock.nsecsElapsed()) / 1e6;
        QCOMPARE(w_->UnitButton()->text(), QStringLiteral("mm"));
        QVERIFY(w_->UnitIsMm());
        auto check = [&](double f) {
            QString e = Compare(job, TakeCurrent(Dm().TempInput, jobColumns), vorn::JobRowLengths(),
                                f, "TempInput");
            if (e.isEmpty())
                e = Compare(arr, TakeCurrent(array, vorn::ArrayRowLengths()),
                            vorn::ArrayRowLengths(), f, "TempInputCus");
            if (e.isEmpty())
                e = Compare(res, Take(results, vorn::ResultLengths() + kResultOthers),
                            vorn::ResultLengths(), f, "TempResult");
            if (e.isEmpty())
                e = Compare(holes, Take(Dm().TempTooling, toolingColumns), vorn::ToolingLengths(),
                            f, "TempTooling");
            return e;
        };
        QString difference = check(kMm);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QVERIFY(JobGood(Dm().TempInput));
        QCOMPARE(Dm().TempTooling.filter(), QStringLiteral("PanelType='Panel2'"));
        QCOMPARE(Dm().TempTooling.recordCount(), 3);
        QCOMPARE(results.recNo(), 0);
        QCOMPARE(w_->ResultGrid()->model()->rowCount(), results.recordCount());
        QVERIFY(w_->Command(QStringLiteral("ToolButton3"))->isEnabled());
        QVERIFY(!w_->ShowsWelcome());
        // Every stored plan is still consistent in millimetres.
        for (int r = 0; r < results.recordCount(); r += 97) {
            auto v = [&](const char* f) {
                return results.valueAt(r, results.fieldIndex(f)).toDouble();
            };
            QVERIFY(vorn::PanelGood(v("Set_L"), v("Set_W"), v("Panel_L"), v("Panel_W"), v("Panel"),
                                    v("Panel_lv")));
        }

        clock.start();
        ClickUnit();
        const double toInch = double(clock.nsecsElapsed()) / 1e6;
        QCOMPARE(w_->UnitButton()->text(), QStringLiteral("Inch"));
        difference = check(1.0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QVERIFY(JobGood(Dm().TempInput));
        // The table walk alone, there and back (the grids detached as the
        // button does).
        w_->ResultGrid()->setModel(nullptr);
        clock.start();
        vorn::ConvertWorkingTables(Dm(), vorn::NextUnit(QStringLiteral("Inch")));
        const double walk = double(clock.nsecsElapsed()) / 1e6;
        vorn::ConvertWorkingTables(Dm(), vorn::NextUnit(QStringLiteral("mm")));
        difference = check(1.0);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        std::printf("unit switch of %d result rows: Inch->mm %.0f ms, mm->Inch %.0f ms "
                    "(the table walk alone: %.0f ms)\n",
                    results.recordCount(), toMm, toInch, walk);
    }

    // The listed cases: 5 in is 127 mm and back; a job without a plan shows
    // empty result fields, not 0; text still being typed belongs to the unit
    // it was typed in.
    void fieldsAfterASwitch() {
        SetJob({{"Set_L", 5}, {"Set_W", 3}, {"Panel_L", 0}, {"Base_W", 0}});
        auto* setC = Child<QLineEdit>("DBEdit3");
        setC->setFocus();
        setC->selectAll();
        QTest::keyClicks(setC, QStringLiteral("0.5"));
        ClickUnit();
        const Cursor& j = Dm().TempInput;
        QCOMPARE(j.asDouble("Set_L"), 127.0);
        QCOMPARE(j.asDouble("Set_C"), 12.7);
        QCOMPARE(Child<QLineEdit>("DBEdit1")->text(), QStringLiteral("127.0000"));
        QCOMPARE(Child<QLineEdit>("DBEdit17")->text(), QStringLiteral("622.300"));
        for (const char* c : {"Panel_L", "Panel_W", "Border_L", "Base_L", "Base_W"})
            QVERIFY2(j.isNull(c), c);
        for (const char* f : {"DBEdit7", "DBEdit8", "DBEdit9", "DBEdit11", "DBEdit12"})
            QVERIFY2(Child<QLineEdit>(f)->text().isEmpty(), f);
        QVERIFY(Dm().TempInputCus.isNull("Set_L"));
        QCOMPARE(j.state(), Cursor::State::Browse);
        ClickUnit();
        QCOMPARE(j.asDouble("Set_L"), 5.0);
        QCOMPARE(j.asDouble("Set_C"), 0.5);
        QCOMPARE(Child<QLineEdit>("DBEdit1")->text(), QStringLiteral("5.0000"));
    }

    // A search after a switch finds the same plans, its lengths × 25.4; the
    // pick-up copies the row as it stands; new jobs take their defaults in
    // the unit shown.
    void plansAfterASwitch() {
        Type(Child<QLineEdit>("DBEdit1"), QStringLiteral("4"));
        Type(Child<QLineEdit>("DBEdit2"), QStringLiteral("3"));
        w_->ToolButton1Click();
        Cursor& results = Dm().TempResult;
        const QStringList columns = vorn::ResultLengths() + kResultOthers;
        const Snapshot inch = Take(results, columns);
        QVERIFY(inch.rows.size() > 10);
        ClickUnit();
        w_->ToolButton1Click();
        const Snapshot mm = Take(results, columns);
        // Utilizations and sort keys are computed again from the converted
        // sizes: equal to 1e-9, not to the last bit.
        const QString difference =
            Compare(inch, mm, vorn::ResultLengths(), kMm, "TempResult", true);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(mm.rows.size(), inch.rows.size());
        const Cursor& j = Dm().TempInput;
        QCOMPARE(j.asDouble("Panel_L"), mm.rows[0][size_t(columns.indexOf("Panel_L"))].toDouble());
        QVERIFY(JobGood(j));
        // Every shown text fits its column in millimetres, after the switch
        // and after the search.
        const QAbstractItemView* grid = w_->ResultGrid();
        auto fits = [this, grid] {
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                if (!w_->ResultGrid()->isColumnHidden(c) &&
                    w_->ResultGrid()->columnWidth(c) < grid->sizeHintForColumn(c))
                    return QStringLiteral("column %1: %2 < %3")
                        .arg(c)
                        .arg(w_->ResultGrid()->columnWidth(c))
                        .arg(grid->sizeHintForColumn(c));
            return QString();
        };
        QVERIFY2(fits().isEmpty(), qPrintable(fits()));
        Shot(w_.get(), QStringLiteral("units_parameters_mm"));
        results.moveTo(3);
        w_->DBGrid1DblClick();
        QCOMPARE(j.asDouble("Base_L"), results.asDouble("Base_L"));
        ClickUnit();
        Shot(w_.get(), QStringLiteral("units_parameters_inch"));
        QCOMPARE(j.asDouble("Base_L"), inch.rows[3][size_t(columns.indexOf("Base_L"))].toDouble());

        ClickUnit();
        w_->StartNewJob();
        QCOMPARE(j.asDouble("Max_PL"), 24.5 * kMm);
        QCOMPARE(Dm().TempInputCus.asDouble("Max_SetL"), 10 * kMm);
    }

    // The array search gives the same arrays after a switch, and on the array
    // tab the grid shows the array results again.
    // Inch → mm → Inch gives the search's inputs back bit for bit: 3 in
    // must not come back as 2.9999999999999996, which lets one more array
    // pass a strict minimum. A value typed in millimetres is converted.
    void inputsComeBackExactly() {
        SetJob({{"Set_L", 1.3}, {"Set_W", 0.9}, {"Set_C", 0.1}, {"Max_PL", 48}, {"Min_PL", 3}});
        AddHoles();
        Cursor& array = Dm().TempInputCus;
        array.edit();
        array.setValue("Part_L", 1.2);
        array.setValue("Part_W", 0.8);
        array.setValue("Min_SetL", 3);
        array.setValue("Min_SetW", 2.9);
        array.post();
        w_->Tabs()->setCurrentIndex(1);
        w_->ToolButton1Click();
        const int arrays = Dm().TempResultCus.recordCount();
        QVERIFY(arrays > 0);
        const Snapshot job = TakeCurrent(Dm().TempInput, vorn::JobRowLengths());
        const Snapshot arr = TakeCurrent(array, vorn::ArrayRowLengths());
        const Snapshot holes = Take(Dm().TempTooling, vorn::ToolingLengths());
        ClickUnit();
        array.edit();
        array.setValue("Part_C", 2.54); // typed in millimetres: 0.1 in
        array.post();
        ClickUnit();
        QCOMPARE(w_->UnitButton()->text(), QStringLiteral("Inch"));
        auto exact = [](const Snapshot& a, const Snapshot& b, const char* table,
                        const QString& changed = {}) {
            for (size_t r = 0; r < a.rows.size(); ++r)
                for (qsizetype c = 0; c < a.columns.size(); ++c)
                    if (a.columns[c] != changed &&
                        a.rows[r][size_t(c)].toDouble() != b.rows[r][size_t(c)].toDouble())
                        return QStringLiteral("%1 %2: %3, now %4")
                            .arg(QLatin1String(table), a.columns[c])
                            .arg(a.rows[r][size_t(c)].toDouble(), 0, 'g', 17)
                            .arg(b.rows[r][size_t(c)].toDouble(), 0, 'g', 17);
            return QString();
        };
        QString e = exact(job, TakeCurrent(Dm().TempInput, vorn::JobRowLengths()), "TempInput");
        if (e.isEmpty())
            e = exact(arr, TakeCurrent(array, vorn::ArrayRowLengths()), "TempInputCus",
                      QStringLiteral("Part_C"));
        if (e.isEmpty())
            e = exact(holes, Take(Dm().TempTooling, vorn::ToolingLengths()), "TempTooling");
        QVERIFY2(e.isEmpty(), qPrintable(e));
        QVERIFY(std::abs(array.asDouble("Part_C") - 0.1) < 1e-12);
        QCOMPARE(array.asDouble("Min_SetL"), 3.0);
        array.edit();
        array.setValue("Part_C", 0.1);
        array.post();
        w_->ToolButton1Click();
        QCOMPARE(Dm().TempResultCus.recordCount(), arrays);
    }

    void arraysAfterASwitch() {
        w_->Tabs()->setCurrentIndex(1);
        Type(Child<QLineEdit>("DBEdit23"), QStringLiteral("1.2"));
        Type(Child<QLineEdit>("DBEdit24"), QStringLiteral("0.8"));
        w_->ToolButton1Click();
        Cursor& arrays = Dm().TempResultCus;
        QVERIFY(arrays.recordCount() > 3);
        const QStringList columns =
            vorn::ArrayResultLengths() +
            QStringList{"Number", "Part_La", "Part_Wb", "Part_Lb", "Part_Wa", "Panel", "Panel_lv"};
        const Snapshot inch = Take(arrays, columns);
        ClickUnit();
        auto* model = w_->ResultGrid()->model();
        QCOMPARE(model->rowCount(), arrays.recordCount());
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("成品板长"));
        QVERIFY2(
            Compare(inch, Take(arrays, columns), vorn::ArrayResultLengths(), kMm, "Cus").isEmpty(),
            "converted arrays");
        // The search again in millimetres: every array of the inch search,
        // its lengths × 25.4. The minimum test of the array search is exact
        // (strictly greater): 3 in became 76.19999999999999 mm, which the
        // search divides back to 2.9999999999999996 in, so an array exactly
        // at the minimum is listed in millimetres and not in inches. No
        // other difference is allowed.
        w_->ToolButton1Click();
        const Snapshot mm = Take(arrays, columns);
        const Cursor& cus = Dm().TempInputCus;
        const double minL = cus.asDouble("Min_SetL"), minW = cus.asDouble("Min_SetW");
        const int l = int(columns.indexOf("Set_L")), w = int(columns.indexOf("Set_W"));
        Snapshot listed{columns, {}};
        for (const auto& row : mm.rows) {
            const bool atMinimum = std::abs(row[size_t(l)].toDouble() - minL) < 1e-9 ||
                                   std::abs(row[size_t(w)].toDouble() - minW) < 1e-9;
            if (!atMinimum)
                listed.rows.push_back(row);
        }
        // Numbers and sort keys follow the list; compare the arrays themselves.
        QStringList arrayColumns = columns;
        arrayColumns.removeAll(QStringLiteral("Number"));
        auto without = [&](const Snapshot& s) {
            Snapshot out{arrayColumns, {}};
            const int number = int(columns.indexOf("Number"));
            for (auto row : s.rows) {
                row.erase(row.begin() + number);
                out.rows.push_back(row);
            }
            return out;
        };
        const QString difference = Compare(without(inch), without(listed),
                                           vorn::ArrayResultLengths(), kMm, "TempResultCus", true);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QVERIFY(mm.rows.size() - listed.rows.size() <= 2);
        std::printf("arrays: %zu in inches, %zu in millimetres (%zu at the minimum)\n",
                    inch.rows.size(), mm.rows.size(), mm.rows.size() - listed.rows.size());
    }
};

QTEST_MAIN(UnitSwitchTest)
#include "UnitSwitchTest.moc"
