#include "common/VbError.h"

namespace orvix {

VbError::VbError(int number, QString description)
    : m_number(number), m_description(std::move(description)), m_what(m_description.toUtf8()) {}

RuntimeError::RuntimeError(int number) : VbError(number, RuntimeErrorText(number)) {}

RuntimeError::RuntimeError(int number, QString description)
    : VbError(number, std::move(description)) {}

AppError::AppError(int code, QString description)
    : VbError(kNumber, std::move(description)), m_code(code) {}

QString RuntimeErrorText(int number) {
    switch (number) {
    case vb::kInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case vb::kOverflow: return QStringLiteral("Overflow");
    case vb::kOutOfMemory: return QStringLiteral("Out of memory");
    case vb::kSubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case vb::kDivisionByZero: return QStringLiteral("Division by zero");
    case vb::kTypeMismatch: return QStringLiteral("Type mismatch");
    case vb::kInternalError: return QStringLiteral("Internal error");
    case vb::kFileNotFound: return QStringLiteral("File not found");
    case vb::kDiskFull: return QStringLiteral("Disk full");
    case vb::kPermissionDenied: return QStringLiteral("Permission denied");
    case vb::kPathFileAccess: return QStringLiteral("Path/File access error");
    case vb::kPathNotFound: return QStringLiteral("Path not found");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void RaiseRuntimeError(int number) { throw RuntimeError(number); }

}  // namespace orvix
