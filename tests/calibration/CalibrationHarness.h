#pragma once

#include "calibration/Normalize.h"
#include "files/FileComIO.h"
#include "protocol/ErrHdlr.h"
#include "support/ScriptedPrompter.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable failure messages for texts and lists of them.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& lines, std::ostream* os) {
    *os << '{';
    for (const QString& line : lines) *os << "\n  \"" << line.toStdString() << '"';
    *os << " }";
}

namespace orvix::test {

// Normalize with its services: a program folder of its own (limits,
// template, logs), a characterisation folder, a fixed clock and scripted
// prompts (the benchmark answers them unattended instead). Error dialogs are
// off, as before start-up turns them on, so only the workflow's own messages
// reach the prompter.
template <class PrompterType>
struct BasicCalibrationHarness {
    FakePlatform platform;
    PrompterType prompter;
    RecordingPanes panes;
    ErrHdlr errors{prompter, platform};
    FileComIO files{prompter, panes, errors};
    Normalize normalize{files, errors, prompter, platform};
    QTemporaryDir charFolder;

    QString programFile(const QString& name) const { return QDir(platform.programFolder()).filePath(name); }
    QString charFile(const QString& name) const { return charFolder.filePath(name); }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
    }
    static void write(const QString& path, const QString& text) { write(path, text.toLatin1()); }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The lines of a log in the program folder, without their CR LF.
    QStringList logLines(const QString& name) const {
        QStringList lines = QString::fromLatin1(platform.readFile(name)).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        return lines;
    }
    QStringList errorLog() const { return logLines(ErrHdlr::kLogFileName); }
};

using CalibrationHarness = BasicCalibrationHarness<ScriptedPrompter>;

// "Err 13, Type mismatch, NormLoadCell(), 2026FEB03, 17:14:09"
inline QString LogLine(int number, const char* description, const char* procName) {
    return QStringLiteral("Err %1, %2, %3, 2026FEB03, 17:14:09")
        .arg(number)
        .arg(QLatin1String(description), QLatin1String(procName));
}

}  // namespace orvix::test
