#include "app/FileIni.h"

#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

struct FakeWindow : IniWindow {
    int top = 1200;
    int left = 2400;
    int tab = 0;
    bool maximised = false;
    int normalisedBeforeWrite = 0;
    std::vector<bool> available{true, false, false, false};

    int TopTwips() const override { return top; }
    int LeftTwips() const override { return left; }
    void SetTopTwips(int twips) override { top = twips; }
    void SetLeftTwips(int twips) override { left = twips; }
    int CurrentTab() const override { return tab; }
    void SetCurrentTab(int index) override { tab = index; }
    bool IsTabAvailable(int index) const override { return available.at(static_cast<std::size_t>(index)); }
    void ShowNormal() override {
        if (maximised) ++normalisedBeforeWrite;
        maximised = false;
    }
};

struct FileIniTest : ::testing::Test {
    FakePlatform platform;
    ScriptedPrompter prompter;
    FileIni ini{prompter, platform};
    FakeWindow window;

    QString folder() const { return QDir::toNativeSeparators(platform.programFolder()); }
    QString iniPath() const { return QDir(platform.programFolder()).filePath(QStringLiteral("Settings.ini")); }
    void writeIni(const QByteArray& bytes) {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString created() const {
        return QStringLiteral("Ini File Not Found.  ") + QDir::toNativeSeparators(iniPath()) + QStringLiteral(" Created.");
    }
};

TEST_F(FileIniTest, TheFirstRunSaysSoOnceAndWritesFiveLines) {
    for (const bool emptyFile : {false, true}) {
        if (emptyFile) writeIni(QByteArray());
        prompter.expectMessage(created());
        ini.AccessIniFile(0, window);
        EXPECT_EQ(prompter.shownMessages().back().icon, MsgIcon::Information);
        EXPECT_EQ(platform.readFile(QStringLiteral("Settings.ini")),
                  (QStringLiteral("PosMainTop=1200\r\nPosMainLeft=2400\r\nTabSelect=0\r\nCharPath=") + folder() +
                   QStringLiteral("\r\nDataPath=") + folder() + QStringLiteral("\r\n"))
                      .toLocal8Bit());
        EXPECT_EQ(ini.CharPath(), folder());
        QFile::remove(iniPath());
    }
}

TEST_F(FileIniTest, EveryKeyIsFoundAnywhereInAnyOrderAndTheLastOneWins) {
    writeIni("junk line\n  TabSelect=2.5\r\nDataPath=/data/transfer\rPosMainLeft=300x\r\n"
             "CharPath=\r\nPosMainTop=-45\nPosMainLeft=600\n");
    window.available = {true, true, true, true};
    ini.AccessIniFile(0, window);
    EXPECT_EQ(window.top, -45);
    EXPECT_EQ(window.left, 600);
    EXPECT_EQ(window.tab, 2);  // rounded half to even
    EXPECT_EQ(ini.DataPath(), QStringLiteral("/data/transfer"));
    EXPECT_EQ(ini.CharPath(), folder());  // empty means the program's folder
}

TEST_F(FileIniTest, OnlyAnAvailableTabIsRestored) {
    const struct {
        const char* line;
        int tab;
    } cases[] = {{"TabSelect=0", 0}, {"TabSelect=2", 0}, {"TabSelect=7", 0}, {"TabSelect=-1", 0},
                 {"TabSelect=abc", 0}, {"TabSelect=1e400", 0}};
    for (const auto& c : cases) {
        writeIni(QByteArray(c.line) + "\r\n");
        window.tab = 3;
        ini.AccessIniFile(0, window);
        EXPECT_EQ(window.tab, c.tab) << c.line;
    }
    window.available[3] = true;
    writeIni("TabSelect=3\r\n");
    ini.AccessIniFile(0, window);
    EXPECT_EQ(window.tab, 3);
}

TEST_F(FileIniTest, SavingWritesTheNormalWindowAndNeedsNoExistingFile) {
    ini.SetCharPath(QStringLiteral("/factory/char"));
    window.maximised = true;
    window.tab = 3;
    ini.AccessIniFile(1, window);  // no "created" message at shutdown
    EXPECT_EQ(window.normalisedBeforeWrite, 1);
    EXPECT_TRUE(platform.readFile(QStringLiteral("Settings.ini")).contains("TabSelect=3\r\nCharPath=/factory/char\r\n"));
}

TEST_F(FileIniTest, AFolderThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn) {
    platform.folderOverride = QStringLiteral("/nonexistent/orvix");
    prompter.expectMessage(QStringLiteral("Ini File Not Found.  /nonexistent/orvix/Settings.ini Created."));
    prompter.expectMessageStartingWith(QStringLiteral("The settings file /nonexistent/orvix/Settings.ini could not be written"));
    ini.AccessIniFile(0, window);
    ini.AccessIniFile(1, window);  // already reported: no second message
}

}  // namespace
}  // namespace orvix::test
