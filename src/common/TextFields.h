#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The small text routines every file parser shares: lines, fields, paths and
// the type letter that starts each instrument file.
namespace orvix {

// The line of text starting at position (1-based), up to but not including
// the next CR LF; position moves just past that CR LF. When no CR LF follows,
// the rest of the text is returned and position becomes the text's length,
// so a caller looping while position < length stops. A position below 1 is
// run-time error 5.
QString NextLine(QStringView text, qsizetype& position);

// Splits text at each delimiter into fields trimmed of blanks (spaces only).
// An empty text gives no fields, a trailing delimiter no empty last field,
// two adjacent delimiters an empty field between them. An empty delimiter is
// run-time error 5.
QStringList SplitFields(QStringView text, QStringView delimiter);
// Field `number` (1-based) of a split; a field beyond them is run-time error 9.
const QString& Field(const QStringList& fields, qsizetype number);

// Blanks (spaces) off both ends; tabs and line ends stay.
QString TrimBlanks(QStringView text);

// part 0: the folder (before the last separator), 1: the base name (the file
// name before its last "."), 2: the extension (after it, without the dot);
// any other part: "".
QString SplitPath(QStringView path, int part);
// The path with its extension replaced by ext (which includes its dot); the
// "." is looked for in the file name only, and a name without one gets ext
// appended.
QString ChangeFileExt(QStringView path, QStringView ext);

// The type of an instrument file from its first character: 'K', 'L', 'N',
// 'P', 'U', or 'W' for anything else. An empty text is run-time error 5.
char16_t FileTypeLetter(QStringView text);

}  // namespace orvix
