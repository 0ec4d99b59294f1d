// orvix-normalize: the characterisation's "Create Normalization File" without
// the window, for the factory line and for computing a file again offline.

#include "ConsoleServices.h"

#include "calibration/Normalize.h"
#include "common/NullPanes.h"
#include "common/SystemPlatform.h"
#include "files/FileComIO.h"
#include "protocol/ErrHdlr.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

using namespace orvix;

constexpr int kWritten = 0;
constexpr int kNotWritten = 1;
constexpr int kUsageError = 2;

const char* const kHelp =
    "Usage: orvix-normalize [--program-dir DIR] [--force] FOLDER [SERIAL]\n"
    "\n"
    "Reduces an instrument's four characterisation files to its normalisation\n"
    "file, exactly as the Characterize tab's \"Create Normalization File\" does.\n"
    "\n"
    "Reads, from FOLDER:\n"
    "  Accel_SN<SERIAL>.txt  Lcell_SN<SERIAL>.txt  Ecell_SN<SERIAL>.txt  Temp_SN<SERIAL>.txt\n"
    "and writes FOLDER/Norm_SN<SERIAL>.txt. SERIAL is the instrument's serial\n"
    "number (digits only); without it the names carry no number (Accel_SN.txt ...).\n"
    "\n"
    "The program folder DIR (default: the folder of this executable) must hold\n"
    "the template NormConst.txt and the limits NormLims.txt. The logs\n"
    "NormWarn.Txt, NormStat.Txt and Errors.Txt are appended to there.\n"
    "\n"
    "Options:\n"
    "  --program-dir DIR  use DIR as the program folder\n"
    "  --force            write the file even when a constant is outside its limits\n"
    "  -h, --help         show this help\n"
    "\n"
    "Output:\n"
    "  Messages the program would show in a message box, and every logged\n"
    "  error, go to stderr. Limit warnings go to stdout; the file is then\n"
    "  written only with --force. On success the written file's path is\n"
    "  printed on stdout.\n"
    "\n"
    "Exit status:\n"
    "  0  the normalisation file was written\n"
    "  1  it was not written (a file missing or unreadable, a failed reduction,\n"
    "     or limit warnings without --force)\n"
    "  2  usage error\n";

struct Options {
    QString programDir;
    bool force = false;
    bool help = false;
    QString folder;
    QString serial;
};

bool IsDigits(const QString& text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The parsed options, or nothing after a usage message on stderr.
std::optional<Options> ParseArguments(const QStringList& arguments, const QString& defaultProgramDir) {
    const auto usage = [](const QString& problem) -> std::optional<Options> {
        cli::PrintLines(stderr, QStringLiteral("orvix-normalize: ") + problem);
        cli::PrintLines(stderr, QStringLiteral("Try 'orvix-normalize --help'."));
        return std::nullopt;
    };
    Options options;
    options.programDir = defaultProgramDir;
    QStringList positional;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            positional.append(argument);
        } else if (argument == QStringLiteral("--")) {
            optionsEnded = true;
        } else if (argument == QStringLiteral("-h") || argument == QStringLiteral("--help")) {
            options.help = true;
        } else if (argument == QStringLiteral("--force")) {
            options.force = true;
        } else if (argument == QStringLiteral("--program-dir")) {
            if (++i >= arguments.size()) return usage(QStringLiteral("--program-dir needs a folder"));
            options.programDir = arguments[i];
        } else if (argument.startsWith(QStringLiteral("--program-dir="))) {
            options.programDir = argument.mid(QStringLiteral("--program-dir=").size());
        } else {
            return usage(QStringLiteral("unknown option ") + argument);
        }
    }
    if (options.help) return options;
    if (positional.isEmpty()) return usage(QStringLiteral("no characterisation FOLDER given"));
    if (positional.size() > 2) return usage(QStringLiteral("too many arguments"));
    options.folder = positional[0];
    if (positional.size() == 2) options.serial = positional[1];
    // The serial becomes part of file names: nothing but digits may reach them.
    if (!IsDigits(options.serial)) return usage(QStringLiteral("SERIAL must be digits only: ") + options.serial);
    if (options.programDir.isEmpty() || !QFileInfo(options.programDir).isDir())
        return usage(QStringLiteral("no such program folder: ") + options.programDir);
    if (!QFileInfo(options.folder).isDir()) return usage(QStringLiteral("no such folder: ") + options.folder);
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::optional<Options> options =
        ParseArguments(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    if (!options) return kUsageError;
    if (options->help) {
        std::fputs(kHelp, stdout);
        return kWritten;
    }

    SystemPlatform platform(QDir(options->programDir).absolutePath());
    cli::ConsolePrompter prompter(options->force, stdout, stderr);
    NullPanes panes;
    ErrHdlr errors(prompter, platform);
    // Every logged failure also goes to stderr, the console's message box.
    errors.SetShowErrorDialogs(true);
    FileComIO files(prompter, panes, errors);
    Normalize normalize(files, errors, prompter, platform);

    if (!normalize.CreateNormalizationFile(options->folder, options->serial)) {
        if (prompter.declinedWarnings())
            cli::PrintLines(stderr, QStringLiteral("Not written: constants outside their limits "
                                                   "(use --force to write it anyway)."));
        return kNotWritten;
    }
    cli::PrintLines(stdout, QFileInfo(QDir(options->folder).filePath(Normalize::NormFileName(options->serial)))
                                .absoluteFilePath());
    return kWritten;
}
