#include "app/FileIni.h"

#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Prompter.h"
#include "common/VbError.h"
#include "protocol/ErrHdlr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace orvix {

namespace {

const QString kTop = QStringLiteral("PosMainTop=");
const QString kLeft = QStringLiteral("PosMainLeft=");
const QString kTab = QStringLiteral("TabSelect=");
const QString kCharPath = QStringLiteral("CharPath=");
const QString kDataPath = QStringLiteral("DataPath=");
const QString kCrLf = QStringLiteral("\r\n");

// Positions far off any screen are still applied (the window manager keeps
// the window reachable), but must not overflow.
constexpr double kMaxTwips = 10'000'000;

int TwipsValue(const QString& text) {
    try {
        return static_cast<int>(std::clamp(Val(text), -kMaxTwips, kMaxTwips));
    } catch (const RuntimeError&) {
        return 0;
    }
}

int TabValue(const QString& text) {
    try {
        return ToInt16(Val(text));
    } catch (const RuntimeError&) {
        return 0;
    }
}

}  // namespace

FileIni::FileIni(Prompter& prompter, const Platform& platform) : m_prompter(prompter), m_platform(platform) {
    m_charPath = m_platform.programFolder();
    m_dataPath = m_platform.programFolder();
}

QString FileIni::FilePath() const {
    return QDir::toNativeSeparators(QDir(m_platform.programFolder()).filePath(kFileName));
}

bool FileIni::FileHasContent() const {
    const QFileInfo info(FilePath());
    return info.isFile() && info.size() > 0;
}

void FileIni::AccessIniFile(int mode, IniWindow& window) {
    if (mode == 1) {
        Write(window);
        return;
    }
    if (mode != 0) return;
    if (!FileHasContent()) {
        MessageBoxRequest box;
        box.text = QStringLiteral("Ini File Not Found.  ") + FilePath() + QStringLiteral(" Created.");
        box.title = ErrHdlr::kApplicationTitle;
        box.icon = MsgIcon::Information;
        box.buttons = MsgButtons::Ok;
        m_prompter.messageBox(box);
        m_charPath = m_platform.programFolder();
        m_dataPath = m_platform.programFolder();
        Write(window);
        return;
    }
    Read(window);
}

void FileIni::Write(IniWindow& window) {
    window.ShowNormal();
    const QString text = kTop + QString::number(window.TopTwips()) + kCrLf + kLeft +
                         QString::number(window.LeftTwips()) + kCrLf + kTab +
                         QString::number(window.CurrentTab()) + kCrLf + kCharPath + m_charPath + kCrLf +
                         kDataPath + m_dataPath + kCrLf;
    // The system's own encoding, so folder names with any letters survive.
    const QByteArray bytes = text.toLocal8Bit();
    QSaveFile file(FilePath());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return;
    ReportWriteFailure(file.errorString());
}

void FileIni::ReportWriteFailure(const QString& reason) {
    if (m_writeFailureReported) return;
    m_writeFailureReported = true;
    MessageBoxRequest box;
    box.text = QStringLiteral("The settings file ") + FilePath() + QStringLiteral(" could not be written (") + reason +
               QStringLiteral(").") + kCrLf +
               QStringLiteral("The window position, tab and folders of this session will not be kept.");
    box.title = ErrHdlr::kApplicationTitle;
    box.icon = MsgIcon::Exclamation;
    box.buttons = MsgButtons::Ok;
    m_prompter.messageBox(box);
}

void FileIni::Read(IniWindow& window) {
    QFile file(FilePath());
    if (!file.open(QIODevice::ReadOnly)) return;
    const QString text = QString::fromLocal8Bit(file.readAll());
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\n|\r"));
    for (const QString& line : text.split(kLineEnd)) Apply(line, window);
}

void FileIni::Apply(const QString& line, IniWindow& window) {
    const auto valueOf = [&line](const QString& key, QString& value) {
        const qsizetype at = line.indexOf(key);
        if (at < 0) return false;
        value = line.mid(at + key.size());
        return true;
    };
    QString value;
    if (valueOf(kTop, value)) window.SetTopTwips(TwipsValue(value));
    if (valueOf(kLeft, value)) window.SetLeftTwips(TwipsValue(value));
    if (valueOf(kTab, value)) {
        const int tab = TabValue(value);
        window.SetCurrentTab(tab >= 0 && tab < kTabCount && window.IsTabAvailable(tab) ? tab : 0);
    }
    if (valueOf(kCharPath, value)) m_charPath = value.isEmpty() ? m_platform.programFolder() : value;
    if (valueOf(kDataPath, value)) m_dataPath = value.isEmpty() ? m_platform.programFolder() : value;
}

}  // namespace orvix
