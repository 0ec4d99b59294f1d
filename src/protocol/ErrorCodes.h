#pragma once

// The program's own error codes, as ErrHdlr::ErrorMessage knows them.
namespace orvix::error_code {
constexpr int kUnknownFileType = 0;
constexpr int kNotConnected = 1;
constexpr int kIllegalResponse = 3;
constexpr int kAdcTimeOut = 4;
constexpr int kNoData = 5;
constexpr int kLanguageIndex = 7;
constexpr int kProductIndex = 8;
constexpr int kUnexpectedFileType = 12;
constexpr int kCharizeNotFound = 13;
constexpr int kMeasurementSequence = 16;
constexpr int kKeyFileFactoryOnly = 17;
}  // namespace orvix::error_code
