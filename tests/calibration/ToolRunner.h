#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <map>

namespace orvix::test {

// Runs the orvix-normalize executable of the same build: the tests live in
// <build>/tests, the tools in <build>/bin.
struct ToolRunner {
    struct Result {
        int exitCode = -1;
        QString out;
        QString err;
    };

    QTemporaryDir programDir;
    QTemporaryDir dataDir;

    static QString BinFolder() {
        return QDir::cleanPath(QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath() +
                               QStringLiteral("/../bin"));
    }
    static QString Executable() { return BinFolder() + QStringLiteral("/orvix-normalize"); }
    static bool Available() { return QFileInfo(Executable()).isExecutable(); }

    // The shipped template and limits, as the build placed them beside the tool.
    bool copyShippedTemplates() const {
        for (const char* name : {"NormConst.txt", "NormLims.txt"}) {
            const QString to = QDir(programDir.path()).filePath(QLatin1String(name));
            QFile::remove(to);
            if (!QFile::copy(BinFolder() + u'/' + QLatin1String(name), to)) return false;
        }
        return true;
    }

    Result run(const QStringList& arguments) const {
        QProcess process;
        process.start(Executable(), arguments);
        Result result;
        if (!process.waitForFinished(30000)) return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        result.err = QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    // The usual call: the program folder of this runner, the data folder, a serial.
    Result normalize(const QString& serial, const QStringList& extra = {}) const {
        return run(QStringList{QStringLiteral("--program-dir"), programDir.path()} + extra +
                   QStringList{dataDir.path(), serial});
    }

    QString dataFile(const QString& name) const { return QDir(dataDir.path()).filePath(name); }
    QString programFile(const QString& name) const { return QDir(programDir.path()).filePath(name); }

    // "key = value" lines of a normalisation file.
    static std::map<QString, QString> Constants(const QString& path) {
        std::map<QString, QString> constants;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return constants;
        for (const QString& line : QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"))) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals > 0) constants[line.left(equals).trimmed()] = line.mid(equals + 1).trimmed();
        }
        return constants;
    }
};

}  // namespace orvix::test
