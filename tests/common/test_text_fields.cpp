#include "common/TextFields.h"

#include "common/VbError.h"

#include <gtest/gtest.h>

namespace orvix {
namespace {

TEST(NextLine, WalksLinesAndStopsALoopAtTheLastOne) {
    const QString text = QStringLiteral("ab\r\ncd");
    qsizetype position = 1;
    EXPECT_EQ(NextLine(text, position), QStringLiteral("ab"));
    EXPECT_EQ(position, 5);
    EXPECT_EQ(NextLine(text, position), QStringLiteral("cd"));
    EXPECT_EQ(position, 6);

    position = 1;
    EXPECT_EQ(NextLine(QStringLiteral("\r\nx"), position), QString());
    EXPECT_EQ(position, 3);
    position = 0;
    EXPECT_THROW(NextLine(text, position), RuntimeError);
}

TEST(SplitFields, KeepsEmptyFieldsBetweenDelimitersButNotAfterTheLast) {
    const struct {
        const char* text;
        const char* delimiter;
        QStringList fields;
    } cases[] = {
        {"a, b,,c", ",", {QStringLiteral("a"), QStringLiteral("b"), QString(), QStringLiteral("c")}},
        {"", ",", {}},
        {"K1 = 1234 ", "=", {QStringLiteral("K1"), QStringLiteral("1234")}},
        {"a=", "=", {QStringLiteral("a")}},
        {"=a", "=", {QString(), QStringLiteral("a")}},
        {"X10203-3000-0042", "-", {QStringLiteral("X10203"), QStringLiteral("3000"), QStringLiteral("0042")}},
        {"a\t, b", ",", {QStringLiteral("a\t"), QStringLiteral("b")}},  // only blanks are trimmed
        {"a<>b", "<>", {QStringLiteral("a"), QStringLiteral("b")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFields(QString::fromLatin1(c.text), QString::fromLatin1(c.delimiter)), c.fields) << c.text;
    EXPECT_THROW(SplitFields(QStringLiteral("a"), QString()), RuntimeError);
}

TEST(SplitFields, AFieldBeyondTheSplitIsErrorNine) {
    const QStringList fields = SplitFields(QStringLiteral("a,b"), QStringLiteral(","));
    EXPECT_EQ(Field(fields, 2), QStringLiteral("b"));
    try {
        Field(fields, 3);
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), 9);
    }
}

TEST(Paths, SplitAndChangeTheExtensionInTheFileNameOnly) {
    const struct {
        const char* path;
        const char* folder;
        const char* base;
        const char* extension;
        const char* asTxt;
    } cases[] = {
        {"/data/run.1/Accel_SN42.dat", "/data/run.1", "Accel_SN42", "dat", "/data/run.1/Accel_SN42.txt"},
        {"/data/run.1/README", "/data/run.1", "README", "", "/data/run.1/README.txt"},
        {"Norm.a.b", "", "Norm.a", "b", "Norm.a.txt"},
        {"/x/", "/x", "", "", "/x/.txt"},
    };
    for (const auto& c : cases) {
        const QString path = QLatin1String(c.path);
        EXPECT_EQ(SplitPath(path, 0), QLatin1String(c.folder)) << c.path;
        EXPECT_EQ(SplitPath(path, 1), QLatin1String(c.base)) << c.path;
        EXPECT_EQ(SplitPath(path, 2), QLatin1String(c.extension)) << c.path;
        EXPECT_EQ(SplitPath(path, 3), QString());
        EXPECT_EQ(ChangeFileExt(path, QStringLiteral(".txt")), QLatin1String(c.asTxt)) << c.path;
    }
}

TEST(FileTypeLetter, NamesTheInstrumentFileTypes) {
    EXPECT_EQ(FileTypeLetter(QStringLiteral("PrdIdx=1")), u'P');
    for (const char* text : {"K", "L\r\n", "N", "U"})
        EXPECT_EQ(FileTypeLetter(QString::fromLatin1(text)), static_cast<char16_t>(text[0]));
    EXPECT_EQ(FileTypeLetter(QStringLiteral("1")), u'W');
    EXPECT_EQ(FileTypeLetter(QStringLiteral("p")), u'W');
    EXPECT_THROW(FileTypeLetter(QString()), RuntimeError);
}

}  // namespace
}  // namespace orvix
