#include "common/TextFields.h"

#include "common/VbError.h"

namespace orvix {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsSeparator(QChar c) {
#ifdef Q_OS_WIN
    return c == u'\\' || c == u'/';
#else
    return c == u'/';
#endif
}

qsizetype LastSeparator(QStringView path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (IsSeparator(path[i])) return i;
    return -1;
}

}  // namespace

QString NextLine(QStringView text, qsizetype& position) {
    if (position < 1) RaiseRuntimeError(vb::kInvalidCall);
    const qsizetype start = position - 1;
    if (start >= text.size()) {
        position = text.size();
        return {};
    }
    const qsizetype crlf = text.indexOf(kCrLf, start);
    if (crlf < 0) {
        position = text.size();
        return text.mid(start).toString();
    }
    position = crlf + 3;
    return text.mid(start, crlf - start).toString();
}

QString TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin).toString();
}

QStringList SplitFields(QStringView text, QStringView delimiter) {
    if (delimiter.isEmpty()) RaiseRuntimeError(vb::kInvalidCall);
    QStringList fields;
    QStringView rest = text;
    while (!rest.isEmpty()) {
        const qsizetype at = rest.indexOf(delimiter);
        if (at < 0) {
            fields.append(TrimBlanks(rest));
            break;
        }
        fields.append(TrimBlanks(rest.left(at)));
        rest = rest.mid(at + delimiter.size());
    }
    return fields;
}

const QString& Field(const QStringList& fields, qsizetype number) {
    if (number < 1 || number > fields.size()) RaiseRuntimeError(vb::kSubscriptOutOfRange);
    return fields[number - 1];
}

QString SplitPath(QStringView path, int part) {
    const qsizetype separator = LastSeparator(path);
    const QStringView name = path.mid(separator + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    switch (part) {
    case 0: return separator < 0 ? QString() : path.left(separator).toString();
    case 1: return (dot < 0 ? name : name.left(dot)).toString();
    case 2: return dot < 0 ? QString() : name.mid(dot + 1).toString();
    default: return {};
    }
}

QString ChangeFileExt(QStringView path, QStringView ext) {
    const qsizetype separator = LastSeparator(path);
    const QString base = SplitPath(path, 1) + ext.toString();
    if (separator < 0) return base;
    return path.left(separator + 1).toString() + base;
}

char16_t FileTypeLetter(QStringView text) {
    if (text.isEmpty()) RaiseRuntimeError(vb::kInvalidCall);
    switch (text.front().unicode()) {
    case u'K':
    case u'L':
    case u'N':
    case u'P':
    case u'U': return text.front().unicode();
    default: return u'W';
    }
}

}  // namespace orvix
