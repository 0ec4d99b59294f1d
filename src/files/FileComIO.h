#pragma once

#include <QByteArray>
#include <QString>

namespace orvix {

class ErrHdlr;
class Panes;
class Prompter;

// The program's one way of reading and writing text files on the PC. Files
// are read in whichever encoding they carry (UTF-16 with a byte-order mark,
// else one byte per character) and written as UTF-16LE or 8-bit text.
//
// A file is never deleted before its replacement is complete: new content is
// written beside it and takes its place only once fully on disk, so a full
// disk or a read-only folder leaves the old file as it was.
class FileComIO {
public:
    static inline const QString kAnsi = QStringLiteral("ANSI");
    static inline const QString kUnicodeLE = QStringLiteral("UniCode LE");
    static inline const QString kUnicodeBE = QStringLiteral("UniCode BE");
    // The status-bar panel that shows the encoding of the file last read.
    static constexpr int kEncodingPanel = 1;

    FileComIO(Prompter& prompter, Panes& panes, ErrHdlr& errors);

    // text is emptied and receives the decoded content. True when a
    // non-empty file was read; an empty file is deleted and gives false.
    bool OpenFile(const QString& path, QString& text);
    // Writes text as UTF-16LE after asking how to treat an existing file:
    // overwrite or not, or (allowAppend) append, overwrite or cancel.
    bool SaveTextFile(const QString& path, const QString& text, bool allowAppend);
    // True when path names a file of non-zero length. Creates nothing.
    bool FileExists(const QString& path);
    // mode 0: replace, 8-bit + CR LF; 1: replace, UTF-16LE; 2: append, 8-bit
    // + CR LF; 3: append, UTF-16LE. True when the file was written.
    bool FileOut(const QString& path, const QString& text, int mode);

    // The decoding rules of OpenFile, for bytes already in memory.
    static QString DecodeFileBytes(const QByteArray& bytes, QString* encoding = nullptr);

private:
    bool ReadExisting(const QString& path, QString& text);
    void Replace(const QString& path, const QByteArray& content);

    Prompter& m_prompter;
    Panes& m_panes;
    ErrHdlr& m_errors;
};

}  // namespace orvix
