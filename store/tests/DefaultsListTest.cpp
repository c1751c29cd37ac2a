#include "DefaultsList.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vorn::DefaultsList;

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(DefaultsList::FileName());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

} // namespace

TEST(DefaultsList, ReadsCaseBlindFirstLineWinsMissingIsEmpty) {
    QTemporaryDir dir;
    const QString path =
        WriteFile(dir, "; kept comment\r\nset_l=10\r\nSET_L=99\r\nGoodBase=true\r\n"
                       "AUTOPanel=True\nCompName=A=B Ltd\r\n");
    DefaultsList list;
    ASSERT_TRUE(list.Load(path));
    EXPECT_EQ(list.Value("Set_L"), "10");
    EXPECT_EQ(list.Value("Set_W"), "");
    EXPECT_EQ(list.Value("CompName"), "A=B Ltd");
    // Booleans are true only for exactly "True".
    EXPECT_FALSE(list.Flag("GoodBase"));
    EXPECT_TRUE(list.Flag("AUTOPanel"));
    EXPECT_FALSE(list.Flag("Tooling"));
}

TEST(DefaultsList, MissingFileLeavesListEmpty) {
    QTemporaryDir dir;
    DefaultsList list;
    list.SetValue("Set_L", "1");
    EXPECT_FALSE(list.Load(dir.filePath("nothing.int")));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Value("Set_L"), "");
}

TEST(DefaultsList, WritingKeepsUnknownLinesInPlace) {
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "Custom=1\r\nset_w=5\r\nCompName=Old\r\nOther=x\r\n");
    DefaultsList list;
    ASSERT_TRUE(list.Load(path));
    list.SetValue("Set_W", "7.5"); // replaces in place, keeps the line's spelling
    list.SetValue("Set_L", "12");  // new name: appended
    list.SetValue("CompName", ""); // empty value removes the line
    ASSERT_TRUE(list.Save(path));
    EXPECT_EQ(ReadFile(path), QByteArray("Custom=1\r\nset_w=7.5\r\nOther=x\r\nSet_L=12\r\n"));
}

TEST(DefaultsList, EmptyValueRemovesEveryLineOfTheName) {
    DefaultsList list;
    list.SetValue("CompName", "A");
    list.SetValue("X", "1");
    // A second line of the same name can only come from a hand-edited file.
    QTemporaryDir dir;
    const QString path = WriteFile(dir, "CompName=A\r\nX=1\r\ncompname=B\r\n");
    ASSERT_TRUE(list.Load(path));
    list.SetValue("COMPNAME", "");
    EXPECT_EQ(list.Value("CompName"), "");
    EXPECT_EQ(list.Lines(), QStringList{"X=1"});
}

TEST(DefaultsList, LengthsUseShortestFormUpTo15Digits) {
    struct Case {
        double inches;
        const char* text;
    };
    const Case cases[] = {
        {10.0, "10"},         {0.1, "0.1"},     {300.0 / 25.4, "11.8110236220472"},
        {254.0 / 25.4, "10"}, {1e-4, "0.0001"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DefaultsList::LengthText(c.inches), c.text) << c.inches;
}

TEST(DefaultsList, FailedSaveKeepsTheOldFile) {
    QTemporaryDir dir;
    DefaultsList list;
    list.SetValue("Set_L", "1");
    QString error;
    EXPECT_FALSE(list.Save(dir.filePath("no/such/dir/VornInitS.int"), &error));
    EXPECT_FALSE(error.isEmpty());
}
