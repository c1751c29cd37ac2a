// Result rows laid out beyond the blocks: their placements kept beside the
// working result tables by row ID, through sorting, numbering, filtering, the
// unit switch and the pick-up into the job and array rows.

#include "DataModule.h"
#include "JobCommands.h"
#include "ResultSinks.h"
#include "UnitSwitch.h"
#include "Units.h"
#include "VornTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

using namespace vorn;

namespace {

// Row i of the fixture: every 7th carries i % 5 + 1 boards marked by x = i.
// More rows than one batch of the sink, so IDs run on across batches.
constexpr int kRows = 2500;

std::vector<Placement> BoardsOfFixtureRow(int i) {
    std::vector<Placement> boards;
    if (i % 7 == 0)
        for (int k = 0; k <= i % 5; ++k)
            boards.push_back({double(i), 0.25 * k, 1.5, 0.75 + k, k % 2 == 1});
    return boards;
}

// Every 11th row is a two-size plan whose panel 2 carries i % 3 + 1 boards
// (x = i + 0.5); every 13th one of blocks on both panels.
std::vector<Placement> SecondBoardsOfFixtureRow(int i) {
    std::vector<Placement> boards;
    if (i % 11 == 0)
        for (int k = 0; k <= i % 3; ++k)
            boards.push_back({i + 0.5, 0.5 * k, 0.75, 1.5, k % 2 == 0});
    return boards;
}

std::vector<Placement> Scaled(std::vector<Placement> placements, double scale) {
    for (Placement& p : placements)
        p = {p.x * scale, p.y * scale, p.length * scale, p.width * scale, p.turned};
    return placements;
}

struct ResultPlacements : ::testing::Test {
    ResultPlacements() : dm(dir.path()) {
        for (Cursor* c : {&dm.TempInput, &dm.TempInputCus}) {
            c->open();
            c->append();
            c->post();
        }
    }
    // The fixture rows through the search's sink, sorted and numbered as a
    // search leaves them.
    void WriteRows() {
        dm.TempResult.open();
        dm.TempResult.setSort(QString());
        ResultTableSink sink(dm.TempResult, &dm.resultBoards);
        for (int i = 0; i < kRows; ++i) {
            ResultRow r;
            r.Set_L = 1.5;
            r.Set_W = 0.75;
            r.Panel_N = i;
            r.Panel = int(BoardsOfFixtureRow(i).size());
            r.Panel_down = (i * 7919) % kRows; // anything but the order written
            r.boards = BoardsOfFixtureRow(i);
            if (i % 11 == 0 || i % 13 == 0) {
                r.second.emplace();
                r.second->boards = SecondBoardsOfFixtureRow(i);
            }
            sink.Write(r);
        }
        sink.Finish();
        NumberInSortOrder(dm.TempResult, "Base_down;Panel_down");
    }
    // Every shown row picked: its boards are those written with it.
    void CheckEveryShownRow(double scale = 1) {
        Cursor& t = dm.TempResult;
        for (int r = 0; r < t.recordCount(); ++r) {
            t.moveTo(r);
            // Replaced by the pick-up.
            std::vector<Placement> boards{{9, 9, 9, 9, true}}, boards2 = boards;
            ASSERT_TRUE(PickUpPlanRow(dm, boards, &boards2));
            const int i = t.asInt(QStringLiteral("Panel_N"));
            ASSERT_EQ(boards, Scaled(BoardsOfFixtureRow(i), scale)) << "row " << i;
            ASSERT_EQ(boards2, Scaled(SecondBoardsOfFixtureRow(i), scale)) << "row " << i;
        }
    }
    test::ProgramDir dir;
    TDataM1 dm;
};

} // namespace

TEST_F(ResultPlacements, KeptByRowThroughSortFilterAndNumbering) {
    WriteRows();
    std::size_t withBoards = 0;
    for (int i = 0; i < kRows; ++i)
        withBoards += i % 7 == 0 || i % 11 == 0 ? 1 : 0;
    EXPECT_EQ(dm.resultBoards.Size(), withBoards);
    CheckEveryShownRow();
    dm.TempResult.setSort(QStringLiteral("Panel_lv;Panel_N"));
    CheckEveryShownRow();
    dm.TempResult.setFilter(QStringLiteral("Panel_N > 1000"));
    dm.TempResult.setFiltered(true);
    ASSERT_EQ(dm.TempResult.recordCount(), kRows - 1001);
    CheckEveryShownRow();
}

TEST_F(ResultPlacements, UnitSwitchScalesThemAsTheRowsLengths) {
    WriteRows();
    std::vector<Placement> given = BoardsOfFixtureRow(14);
    std::vector<Placement> given2 = SecondBoardsOfFixtureRow(22);
    ConvertWorkingTables(dm, NextUnit(InchCaption()), &given, nullptr, &given2);
    EXPECT_EQ(given2, Scaled(SecondBoardsOfFixtureRow(22), 25.4));
    // The factor of the row's lengths, applied the same way.
    const double mm = dm.TempResult.asDouble(QStringLiteral("Set_L")) / 1.5;
    EXPECT_EQ(mm, 1.5 * 25.4 / 1.5);
    CheckEveryShownRow(25.4);
    EXPECT_EQ(given.back().width, (0.75 + 4) * 25.4);
    ConvertWorkingTables(dm, NextUnit(MmCaption()), &given);
    Cursor& t = dm.TempResult;
    for (int r = 0; r < t.recordCount(); ++r) {
        t.moveTo(r);
        std::vector<Placement> boards;
        ASSERT_TRUE(PickUpPlanRow(dm, boards));
        const std::vector<Placement> written =
            BoardsOfFixtureRow(t.asInt(QStringLiteral("Panel_N")));
        ASSERT_EQ(boards.size(), written.size());
        for (std::size_t k = 0; k < boards.size(); ++k) {
            EXPECT_EQ(boards[k].length, written[k].length * 25.4 / 25.4);
            EXPECT_EQ(boards[k].turned, written[k].turned);
        }
    }
    EXPECT_EQ(given.back().width, (0.75 + 4) * 25.4 / 25.4);
}

TEST_F(ResultPlacements, GoneWithTheirTable) {
    WriteRows();
    ASSERT_FALSE(dm.resultBoards.Empty());
    dm.TempResult.close();
    EXPECT_TRUE(dm.resultBoards.Empty());
    // A new search: IDs start at 1 again and find no old boards.
    dm.TempResult.open();
    ResultTableSink sink(dm.TempResult, &dm.resultBoards);
    ResultRow block;
    block.Panel = 4;
    sink.Write(block);
    sink.Finish();
    dm.TempResult.first();
    std::vector<Placement> boards = BoardsOfFixtureRow(0);
    ASSERT_TRUE(PickUpPlanRow(dm, boards));
    EXPECT_TRUE(boards.empty());
    // No row to pick: the job's boards stay.
    dm.TempResult.close();
    boards = BoardsOfFixtureRow(0);
    EXPECT_FALSE(PickUpPlanRow(dm, boards));
    EXPECT_EQ(boards, BoardsOfFixtureRow(0));
}

TEST_F(ResultPlacements, ArrayRowsKeepTheirUnits) {
    Cursor& t = dm.TempResultCus;
    t.open();
    t.setSort(QString());
    {
        ArrayTableSink sink(t, &dm.arrayResultUnits);
        for (int i = 0; i < 30; ++i) {
            ArrayRow r;
            r.Part_L = 1.5;
            r.Part_W = 0.75;
            r.Panel = i + 1;
            r.Panel_Down = 30 - i;
            r.units = BoardsOfFixtureRow(i);
            sink.Write(r);
        }
        sink.Finish();
    }
    NumberInSortOrder(t, "Panel_Down");
    ConvertWorkingTables(dm, NextUnit(InchCaption()));
    for (int r = 0; r < t.recordCount(); ++r) {
        t.moveTo(r);
        std::vector<Placement> units;
        ASSERT_TRUE(PickUpArrayRow(dm, units));
        std::vector<Placement> expected = BoardsOfFixtureRow(t.asInt(QStringLiteral("Panel")) - 1);
        for (Placement& p : expected)
            p = {p.x * 25.4, p.y * 25.4, p.length * 25.4, p.width * 25.4, p.turned};
        ASSERT_EQ(units, expected);
    }
    t.close();
    EXPECT_TRUE(dm.arrayResultUnits.Empty());
}

// As a search hands them: rows of one panel size, on any sheet and either
// panel, carry one list. The window keeps that one list, and the unit switch
// scales it once into one list that those rows share, to exactly the values
// scaling each row's own copy gave.
TEST_F(ResultPlacements, RowsOfOneLayoutShareOneListThroughTheUnitSwitch) {
    const std::vector<SharedPlacements> layouts = {BoardsOfFixtureRow(7), BoardsOfFixtureRow(14),
                                                   BoardsOfFixtureRow(21)};
    // Row i: panel 1 layout i % 3 (blocks where i % 4 == 3), every 5th a
    // two-size row with panel 2 on layout (i + 1) % 3.
    const auto first = [](int i) { return i % 4 == 3 ? -1 : i % 3; };
    const auto second = [](int i) { return i % 5 == 0 ? (i + 1) % 3 : -1; };
    Cursor& t = dm.TempResult;
    t.open();
    t.setSort(QString());
    {
        ResultTableSink sink(t, &dm.resultBoards);
        for (int i = 0; i < kRows; ++i) {
            ResultRow r;
            r.Set_L = 1.5;
            r.Set_W = 0.75;
            r.Panel_N = i;
            r.Panel_down = (i * 7919) % kRows;
            if (first(i) >= 0)
                r.boards = layouts[std::size_t(first(i))];
            if (second(i) >= 0) {
                r.second.emplace();
                r.second->boards = layouts[std::size_t(second(i))];
            }
            sink.Write(r);
        }
        sink.Finish();
    }
    NumberInSortOrder(t, "Base_down;Panel_down");

    // Every row's lists against the layouts' current lists `now`, whose
    // values are `expected`; the lists seen, by identity.
    const auto check = [&](const std::vector<SharedPlacements>& now,
                           const std::vector<std::vector<Placement>>& expected) {
        ASSERT_EQ(t.recordCount(), kRows);
        std::set<const void*> seen;
        for (int row = 0; row < t.recordCount(); ++row) {
            t.moveTo(row);
            const qint64 id = qint64(t.asDouble(QStringLiteral("ID")));
            const int i = t.asInt(QStringLiteral("Panel_N"));
            for (const auto& [k, list] : {std::pair{first(i), &dm.resultBoards.Of(id)},
                                          std::pair{second(i), &dm.resultBoards.SecondOf(id)}}) {
                if (k < 0) {
                    EXPECT_TRUE(list->empty()) << "row " << i;
                    continue;
                }
                EXPECT_EQ(list->Identity(), now[std::size_t(k)].Identity()) << "row " << i;
                EXPECT_EQ(**list, expected[std::size_t(k)]) << "row " << i;
                seen.insert(list->Identity());
            }
        }
        EXPECT_EQ(seen.size(), layouts.size());
    };
    std::vector<std::vector<Placement>> values;
    for (const SharedPlacements& l : layouts)
        values.push_back(*l);
    check(layouts, values);

    // There and back: each step as the old per-row scaling did it, on a copy.
    for (const QString& from : {InchCaption(), MmCaption()}) {
        const UnitStep step = NextUnit(from);
        ASSERT_TRUE(step.converts);
        for (std::vector<Placement>& v : values)
            ScalePlacements(v, step.scale);
        ConvertWorkingTables(dm, step);
        std::vector<SharedPlacements> now;
        for (int k = 0; k < int(layouts.size()); ++k) {
            // Row k (k < 3) carries layout k on panel 1.
            for (int row = 0; row < t.recordCount(); ++row) {
                t.moveTo(row);
                if (t.asInt(QStringLiteral("Panel_N")) == k) {
                    now.push_back(dm.resultBoards.Of(qint64(t.asDouble(QStringLiteral("ID")))));
                    break;
                }
            }
        }
        ASSERT_EQ(now.size(), layouts.size());
        for (std::size_t k = 0; k < layouts.size(); ++k)
            EXPECT_NE(now[k].Identity(),
                      layouts[k].Identity()); // the search's lists stay as they were
        check(now, values);
    }
    // The search's own lists are untouched by the switch.
    for (std::size_t k = 0; k < layouts.size(); ++k)
        EXPECT_EQ(*layouts[k], BoardsOfFixtureRow(int(7 * (k + 1))));
}
