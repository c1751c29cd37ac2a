#include "CommandEnabling.h"
#include "WelcomePicture.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

using Row = QHash<QString, double>;

RowReader Reader(const Row& row) {
    return [row](const char* column) { return row.value(QString::fromLatin1(column), 0.0); };
}

// Panel 1: 4 × 2 boards, 12 on an 18 × 12 panel.
Row ValidJob() {
    Row r{{"Set_L", 4}, {"Set_W", 2}, {"Panel_L", 18}, {"Panel_W", 12}, {"Panel", 12}};
    r["Panel_lv"] = 100.0 * 4 * 2 * 12 / (18 * 12);
    return r;
}

struct Fixture : ::testing::Test {
    Fixture() {
        for (int i = 0; i < 12; ++i)
            job.append(new QAction(&owner));
        for (int i = 0; i < 4; ++i)
            archive.append(new QAction(&owner));
        enabling.SetJobCommands(job);
        enabling.SetArchiveCommands(archive);
        enabling.SetShowWelcome([this] { ++welcomes; });
    }
    bool AllEnabled(const QList<QAction*>& list, bool on) const {
        for (QAction* a : list) {
            if (a->isEnabled() != on)
                return false;
        }
        return true;
    }
    QObject owner;
    QList<QAction*> job;
    QList<QAction*> archive;
    CommandEnabling enabling;
    int welcomes = 0;
};

} // namespace

TEST_F(Fixture, JobValidityTable) {
    struct Case {
        const char* what;
        std::function<void(Row&)> change;
        bool valid;
    };
    const Case cases[] = {
        {"valid panel 1", [](Row&) {}, true},
        {"utilization off in the tenth decimal", [](Row& r) { r["Panel_lv"] += 2e-10; }, false},
        {"zero utilization", [](Row& r) { r["Panel_lv"] = 0; }, false},
        {"zero panel size", [](Row& r) { r["Panel_W"] = 0; }, false},
        {"board edited after layout", [](Row& r) { r["Set_L"] = 4.5; }, false},
        {"valid panel 2",
         [](Row& r) {
             r["Panel_L2"] = 16;
             r["Panel_W2"] = 10;
             r["Panel2"] = 10;
             r["Panel_lv2"] = 100.0 * 4 * 2 * 10 / (16 * 10);
         },
         true},
        {"panel 2 fails while panel 1 passes",
         [](Row& r) {
             r["Panel_L2"] = 16;
             r["Panel_W2"] = 10;
             r["Panel2"] = 10;
             r["Panel_lv2"] = 49.9;
         },
         false},
        {"valid array board",
         [](Row& r) {
             r["Part_L"] = 1;
             r["Part_W"] = 1;
             r["PanelCu"] = 6;
             r["Panel_lvCu"] = 100.0 * 1 * 1 * 6 / (4 * 2);
         },
         true},
        {"array of the board fails",
         [](Row& r) {
             r["Part_L"] = 1;
             r["Part_W"] = 1;
             r["PanelCu"] = 6;
             r["Panel_lvCu"] = 70;
         },
         false},
    };
    for (const Case& c : cases) {
        Row row = ValidJob();
        c.change(row);
        welcomes = 0;
        EXPECT_EQ(enabling.UpdateJobCommands(false, Reader(row), Reader({})), c.valid) << c.what;
        EXPECT_TRUE(AllEnabled(job, c.valid)) << c.what;
        // An invalid job shows the welcome picture, a valid one keeps its diagram.
        EXPECT_EQ(welcomes, c.valid ? 0 : 1) << c.what;
    }
}

TEST_F(Fixture, ArrayTabNeverEnablesJobCommands) {
    enabling.UpdateJobCommands(false, Reader(ValidJob()), Reader({}));
    ASSERT_TRUE(AllEnabled(job, true));
    Row array{{"Part_L", 1}, {"Part_W", 1}, {"Set_L", 4}, {"Set_W", 2}, {"Panel", 6}};
    array["Panel_lv"] = 100.0 * 6 / 8;
    EXPECT_TRUE(enabling.UpdateJobCommands(true, Reader(ValidJob()), Reader(array)));
    EXPECT_TRUE(AllEnabled(job, false));
    EXPECT_EQ(welcomes, 0);

    array["Panel_lv"] = 80;
    EXPECT_FALSE(enabling.UpdateJobCommands(true, Reader(ValidJob()), Reader(array)));
    EXPECT_TRUE(AllEnabled(job, false));
    EXPECT_EQ(welcomes, 1);
}

TEST_F(Fixture, ArchiveCommandsFollowSavedParts) {
    enabling.UpdateArchiveCommands(false);
    EXPECT_TRUE(AllEnabled(archive, false));
    enabling.UpdateArchiveCommands(true);
    EXPECT_TRUE(AllEnabled(archive, true));
    // The job commands are not archive commands.
    enabling.DisableJobCommands();
    EXPECT_TRUE(AllEnabled(archive, true));
    EXPECT_TRUE(AllEnabled(job, false));
}

TEST(WelcomePicture, FillsTheAreaAndIsNotBlank) {
    for (const QSize size : {QSize(560, 300), QSize(120, 40), QSize(0, 0)}) {
        const QImage img = WelcomePicture(size);
        EXPECT_EQ(img.size(), size.expandedTo(QSize(1, 1)));
        if (size.width() < 100)
            continue;
        // The banner draws something in the middle: more than one colour.
        const QRgb corner = img.pixel(0, 0);
        bool drawn = false;
        for (int x = 0; x < img.width() && !drawn; x += 3)
            drawn = img.pixel(x, img.height() / 2) != corner;
        EXPECT_TRUE(drawn);
    }
}

int main(int argc, char** argv) {
    // Test discovery runs without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
