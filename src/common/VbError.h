#pragma once

#include <QString>

#include <exception>

namespace orvix {

// The numbers of the run-time errors the program reports. They keep the
// numbering users know from the instrument's earlier PC software, so a line in
// "Errors.Txt" means the same thing it always did.
namespace vb {
constexpr int kInvalidCall = 5;
constexpr int kOverflow = 6;
constexpr int kOutOfMemory = 7;
constexpr int kSubscriptOutOfRange = 9;
constexpr int kDivisionByZero = 11;
constexpr int kTypeMismatch = 13;
constexpr int kInternalError = 51;
constexpr int kFileNotFound = 53;
constexpr int kDiskFull = 61;
constexpr int kPermissionDenied = 70;
constexpr int kPathFileAccess = 75;
constexpr int kPathNotFound = 76;
}  // namespace vb

// A reportable failure: a number and a description, as "Errors.Txt" shows them.
class VbError : public std::exception {
public:
    VbError(int number, QString description);

    int number() const noexcept { return m_number; }
    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// A failure found by the runtime itself (bad conversion, overflow, missing file).
class RuntimeError : public VbError {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, QString description);
};

// One of the program's own coded errors (see ErrHdlr); always number 8.
class AppError : public VbError {
public:
    static constexpr int kNumber = 8;
    AppError(int code, QString description);
    int code() const noexcept { return m_code; }

private:
    int m_code;
};

// The standard text of a run-time error number ("Overflow", "Type mismatch" …).
QString RuntimeErrorText(int number);

[[noreturn]] void RaiseRuntimeError(int number);

}  // namespace orvix
