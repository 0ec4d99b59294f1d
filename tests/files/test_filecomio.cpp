#include "files/FileComIO.h"

#include "protocol/ErrHdlr.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace orvix::test {
namespace {

struct FileComIOTest : ::testing::Test {
    FakePlatform platform;
    ScriptedPrompter prompter;
    RecordingPanes panes;
    ErrHdlr errors{prompter, platform};
    FileComIO io{prompter, panes, errors};
    QTemporaryDir folder;

    QString path(const char* name) const { return folder.filePath(QLatin1String(name)); }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList logged() const {
        QStringList lines = QString::fromLatin1(platform.readFile(ErrHdlr::kLogFileName)).split(QStringLiteral("\r\n"));
        lines.removeAll(QString());
        return lines;
    }
};

TEST_F(FileComIOTest, OpenFileDecidesTheEncodingFromTheMarkAndTheLength) {
    const struct {
        QByteArray bytes;
        QString text;
        const char* encoding;
    } cases[] = {
        {QByteArray("\xFF\xFE", 2), QString(), "UniCode LE"},
        {QByteArray("\xFF\xFE" "A\x00\x16\x04", 6), QStringLiteral("A\u0416"), "UniCode LE"},
        {QByteArray("\xFE\xFF\x00" "A", 4), QStringLiteral("A"), "UniCode BE"},
        {QByteArray("\xFF\xFE" "A", 3), QStringLiteral("\u00FF\u00FE" "A"), "ANSI"},
        {QByteArray("K1=\xE9\x80\r\n"), QStringLiteral("K1=\u00E9\u0080\r\n"), "ANSI"},
    };
    for (const auto& c : cases) {
        write(path("in.txt"), c.bytes);
        QString text = QStringLiteral("stale");
        EXPECT_TRUE(io.OpenFile(path("in.txt"), text));
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(panes.statusPanels[FileComIO::kEncodingPanel], QLatin1String(c.encoding));
    }
}

TEST_F(FileComIOTest, OpenFileReportsMissingFilesAndDeletesEmptyOnes) {
    write(path("empty.txt"), QByteArray());
    QString text = QStringLiteral("kept");
    EXPECT_FALSE(io.OpenFile(path("empty.txt"), text));
    EXPECT_EQ(text, QStringLiteral("kept"));
    EXPECT_FALSE(QFile::exists(path("empty.txt")));
    EXPECT_TRUE(logged().isEmpty());

    EXPECT_FALSE(io.OpenFile(path("missing.txt"), text));
    EXPECT_FALSE(io.OpenFile(path("no/such/folder.txt"), text));
    EXPECT_EQ(logged(), QStringList({QStringLiteral("Err 53, File not found, OpenFile(), 2026FEB03, 17:14:09"),
                                     QStringLiteral("Err 76, Path not found, OpenFile(), 2026FEB03, 17:14:09")}));
}

TEST_F(FileComIOTest, FileExistsNeverCreatesAFile) {
    write(path("full.txt"), "x");
    write(path("empty.txt"), QByteArray());
    EXPECT_TRUE(io.FileExists(path("full.txt")));
    EXPECT_FALSE(io.FileExists(path("empty.txt")));
    EXPECT_FALSE(io.FileExists(path("missing.txt")));
    EXPECT_FALSE(QFile::exists(path("missing.txt")));
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(FileComIOTest, FileOutWritesEachModesEncodingAndAppends) {
    const QString file = path("out.txt");
    EXPECT_TRUE(io.FileOut(file, QStringLiteral("a\u00E9\u0416"), 0));
    EXPECT_EQ(read(file), QByteArray("a\xE9?\r\n"));
    EXPECT_TRUE(io.FileOut(file, QStringLiteral("b"), 2));
    EXPECT_EQ(read(file), QByteArray("a\xE9?\r\nb\r\n"));

    EXPECT_TRUE(io.FileOut(file, QStringLiteral("\u0416"), 1));
    EXPECT_EQ(read(file), QByteArray("\xFF\xFE\x16\x04", 4));
    EXPECT_TRUE(io.FileOut(file, QStringLiteral("c"), 3));
    EXPECT_EQ(read(file), QByteArray("\xFF\xFE\x16\x04" "c\x00", 6));

    EXPECT_TRUE(io.FileOut(file, QString(), 0));
    EXPECT_EQ(read(file), QByteArray());
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(FileComIOTest, SaveTextFileAsksBeforeTouchingAnExistingFile) {
    const QString file = path("save.txt");
    EXPECT_TRUE(io.SaveTextFile(file, QStringLiteral("one"), true));  // new file: no question
    prompter.expectMessage(file + QStringLiteral(" Already Exists.\r\nYes - Append Data to End Of File\r\n No - OverWrite File with New Data?"),
                           MsgAnswer::Yes);
    EXPECT_TRUE(io.SaveTextFile(file, QStringLiteral("two"), true));
    EXPECT_EQ(read(file), QByteArray("\xFF\xFEo\0n\0e\0t\0w\0o\0", 14));

    prompter.expectMessage(file + QStringLiteral(" Already Exists.  Overwrite?"), MsgAnswer::No);
    EXPECT_FALSE(io.SaveTextFile(file, QStringLiteral("x"), false));
    const MessageBoxRequest& asked = prompter.shownMessages().back();
    EXPECT_EQ(asked.icon, MsgIcon::Exclamation);
    EXPECT_EQ(asked.defaultButton, MsgAnswer::No);

    prompter.expectMessage(file + QStringLiteral(" Already Exists.\r\nYes - Append Data to End Of File\r\n No - OverWrite File with New Data?"),
                           MsgAnswer::Cancel);
    EXPECT_FALSE(io.SaveTextFile(file, QStringLiteral("x"), true));
    EXPECT_EQ(read(file), QByteArray("\xFF\xFEo\0n\0e\0t\0w\0o\0", 14));

    prompter.expectMessage(file + QStringLiteral(" Already Exists.  Overwrite?"), MsgAnswer::Yes);
    EXPECT_TRUE(io.SaveTextFile(file, QStringLiteral("x"), false));
    EXPECT_EQ(read(file), QByteArray("\xFF\xFEx\0", 4));

    EXPECT_FALSE(io.SaveTextFile(QString(), QStringLiteral("x"), false));
    EXPECT_FALSE(io.SaveTextFile(QStringLiteral("*.txt"), QStringLiteral("x"), false));
}

#ifdef __linux__
// A folder on a tiny file system of its own, so a write can run out of room
// or be refused even for root. Needs the right to mount; skipped without it.
struct SmallDisk : FileComIOTest {
    QString mountPoint;
    bool mounted = false;

    void SetUp() override {
        mountPoint = folder.filePath(QStringLiteral("disk"));
        QDir().mkpath(mountPoint);
        mounted = ::mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", 0, "size=16k") == 0;
        if (!mounted) GTEST_SKIP() << "cannot mount a small file system here";
    }
    void TearDown() override {
        if (mounted) ::umount(mountPoint.toLocal8Bit().constData());
    }
    void makeReadOnly() {
        ASSERT_EQ(::mount("tmpfs", mountPoint.toLocal8Bit().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k"), 0);
    }
};

TEST_F(SmallDisk, AFullDiskLeavesTheOldFileAsItWas) {
    const QString file = mountPoint + QStringLiteral("/User.txt");
    ASSERT_TRUE(io.FileOut(file, QStringLiteral("U\r\nold content"), 1));
    const QByteArray before = read(file);

    const QString huge(20000, QLatin1Char('x'));
    EXPECT_FALSE(io.FileOut(file, huge, 1));
    EXPECT_FALSE(io.FileOut(file, huge, 2));
    prompter.expectMessage(file + QStringLiteral(" Already Exists.  Overwrite?"), MsgAnswer::Yes);
    EXPECT_FALSE(io.SaveTextFile(file, huge, false));

    EXPECT_EQ(read(file), before);
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("User.txt")}));
    EXPECT_EQ(logged(), QStringList({QStringLiteral("Err 61, Disk full, FileOut(), 2026FEB03, 17:14:09"),
                                     QStringLiteral("Err 61, Disk full, FileOut(), 2026FEB03, 17:14:09"),
                                     QStringLiteral("Err 61, Disk full, SaveTextFile(), 2026FEB03, 17:14:09")}));
}

TEST_F(SmallDisk, AReadOnlyFolderLeavesTheOldFileAsItWas) {
    const QString file = mountPoint + QStringLiteral("/User.txt");
    ASSERT_TRUE(io.FileOut(file, QStringLiteral("U"), 0));
    const QByteArray before = read(file);
    makeReadOnly();

    EXPECT_FALSE(io.FileOut(file, QStringLiteral("new"), 0));
    EXPECT_FALSE(io.FileOut(file, QStringLiteral("new"), 3));
    EXPECT_EQ(read(file), before);
    ASSERT_EQ(logged().size(), 2);
    EXPECT_TRUE(logged()[0].endsWith(QStringLiteral(", FileOut(), 2026FEB03, 17:14:09")));
}
#endif

}  // namespace
}  // namespace orvix::test
