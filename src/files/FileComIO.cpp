#include "files/FileComIO.h"

#include "common/Panes.h"
#include "common/Prompter.h"
#include "common/Text.h"
#include "common/VbError.h"
#include "protocol/ErrHdlr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace orvix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool FolderExists(const QString& path) { return QFileInfo(path).absoluteDir().exists(); }

// The run-time error a failed file operation stands for.
[[noreturn]] void RaiseFileError(const QFileDevice& file, const QString& path) {
    if (!FolderExists(path)) RaiseRuntimeError(vb::kPathNotFound);
    switch (file.error()) {
    case QFileDevice::ResourceError: RaiseRuntimeError(vb::kDiskFull);
    case QFileDevice::PermissionsError: RaiseRuntimeError(vb::kPermissionDenied);
    default: RaiseRuntimeError(vb::kPathFileAccess);
    }
}

QByteArray Utf16LeWithMark(const QString& text) {
    QByteArray bytes;
    bytes.reserve(2 + text.size() * 2);
    bytes.append('\xFF').append('\xFE');
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QString Utf16Units(const QByteArray& bytes, bool littleEndian) {
    QString text;
    text.reserve((bytes.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(littleEndian ? second << 8 | first : first << 8 | second)));
    }
    return text;
}

}  // namespace

FileComIO::FileComIO(Prompter& prompter, Panes& panes, ErrHdlr& errors)
    : m_prompter(prompter), m_panes(panes), m_errors(errors) {}

QString FileComIO::DecodeFileBytes(const QByteArray& bytes, QString* encoding) {
    const bool even = bytes.size() % 2 == 0;
    const bool markLE = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool markBE = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (even && (markLE || markBE)) {
        if (encoding) *encoding = markLE ? kUnicodeLE : kUnicodeBE;
        return Utf16Units(bytes, markLE);
    }
    if (encoding) *encoding = kAnsi;
    // One byte, one character of the same value: what was written as 8-bit
    // text comes back byte for byte.
    return QString::fromLatin1(bytes);
}

bool FileComIO::OpenFile(const QString& path, QString& text) {
    try {
        QFile file(path);
        if (!QFileInfo(path).isFile()) {
            if (!FolderExists(path)) RaiseRuntimeError(vb::kPathNotFound);
            RaiseRuntimeError(QFileInfo::exists(path) ? vb::kPathFileAccess : vb::kFileNotFound);
        }
        if (!file.open(QIODevice::ReadOnly)) RaiseFileError(file, path);
        if (file.size() < 1) {
            file.close();
            file.remove();
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) RaiseFileError(file, path);
        QString encoding;
        text = DecodeFileBytes(bytes, &encoding);
        m_panes.SetStatusPanel(kEncodingPanel, encoding);
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("OpenFile()"));
        return false;
    }
}

bool FileComIO::FileExists(const QString& path) {
    try {
        const QFileInfo info(path);
        if (info.isDir()) RaiseRuntimeError(vb::kPathFileAccess);
        if (!FolderExists(path)) RaiseRuntimeError(vb::kPathNotFound);
        return info.isFile() && info.size() > 0;
    } catch (...) {
        m_errors.LogError(QStringLiteral("FileExists()"));
        return false;
    }
}

// The decoded content of a non-empty file, or "" for a missing or empty one.
bool FileComIO::ReadExisting(const QString& path, QString& text) {
    text.clear();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() < 1) return true;
    return OpenFile(path, text);
}

void FileComIO::Replace(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
    if (written) return;
    // The file system does not say "full" in a way Qt passes on; the free
    // space does.
    if (QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() < content.size())
        RaiseRuntimeError(vb::kDiskFull);
    RaiseFileError(file, path);
}

bool FileComIO::FileOut(const QString& path, const QString& text, int mode) {
    try {
        const bool append = mode == 2 || mode == 3;
        const bool eightBit = mode == 0 || mode == 2;
        QString existing;
        if (append) {
            if (QFileInfo(path).isFile() && !QFileInfo(path).isWritable()) RaiseRuntimeError(vb::kPermissionDenied);
            if (!ReadExisting(path, existing)) return false;
        }
        const QString content = existing + text;
        QByteArray bytes;
        if (!(existing.isEmpty() && text.isEmpty()))
            bytes = eightBit ? ToCp1252Lossy(content + kCrLf) : Utf16LeWithMark(content);
        Replace(path, bytes);
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("FileOut()"));
        return false;
    }
}

bool FileComIO::SaveTextFile(const QString& path, const QString& text, bool allowAppend) {
    if (path.isEmpty() || path == QStringLiteral("*.txt")) return false;
    try {
        QString existing;
        const QFileInfo info(path);
        if (info.isFile() && info.size() > 0) {
            MessageBoxRequest question;
            question.title = ErrHdlr::kApplicationTitle;
            if (!allowAppend) {
                question.text = path + QStringLiteral(" Already Exists.  Overwrite?");
                question.icon = MsgIcon::Exclamation;
                question.buttons = MsgButtons::YesNo;
                question.defaultButton = MsgAnswer::No;
                if (m_prompter.messageBox(question) != MsgAnswer::Yes) return false;
            } else {
                question.text = path + QStringLiteral(" Already Exists.") + kCrLf +
                                QStringLiteral("Yes - Append Data to End Of File") + kCrLf +
                                QStringLiteral(" No - OverWrite File with New Data?");
                question.icon = MsgIcon::Question;
                question.buttons = MsgButtons::YesNoCancel;
                const MsgAnswer answer = m_prompter.messageBox(question);
                if (answer == MsgAnswer::Cancel) return false;
                if (answer == MsgAnswer::Yes && !OpenFile(path, existing)) return false;
            }
        }
        Replace(path, Utf16LeWithMark(existing + text));
        return true;
    } catch (...) {
        m_errors.LogError(QStringLiteral("SaveTextFile()"));
        return false;
    }
}

}  // namespace orvix
