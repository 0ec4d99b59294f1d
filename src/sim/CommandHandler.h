#pragma once

#include "sim/InstrumentState.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvix::sim {

using Report = std::vector<std::uint8_t>;

// Reply byte 1 to a command code the instrument does not know.
constexpr std::uint8_t kUnknownCommandAnswer = 0xFF;

// The instrument's firmware: carries out one output report on the state.
// Reports come from the PC and are trusted in nothing: bytes beyond the end
// of a report read as 0, and a file that cannot be read is dropped.
class CommandHandler {
public:
    CommandHandler(InstrumentState& state, std::size_t replyLength);

    // A command report (ID 1) and its reply of replyLength bytes. Every
    // command gets one, an unknown code included.
    Report command(std::span<const std::uint8_t> report);

    // A file report (IDs 2, 3, 5, 6, 7). Product and language files go to the
    // slot their PrdIdx / LngIdx lines name; a file whose first letter does
    // not match its report ID, or whose slot is out of range, is ignored.
    // A key file without a Model line keeps the instrument's model: the
    // model belongs to the hardware, the PC only ever writes the serial.
    // True when the file was stored.
    bool upload(std::span<const std::uint8_t> report);

    static bool IsFileReport(std::uint8_t reportId);
    // True when the reply to this command carries in byte 2 a status the PC
    // checks (the start requests of polled commands are not checked).
    static bool RepliesWithCheckedStatus(std::span<const std::uint8_t> report);

    // The two-digit check value of a product file's constants, as the
    // instrument verifies it; "55" means the constants are intact.
    static int ConstantsCheckValue(const QString& productFile);

private:
    Report fileRead(std::uint8_t replyId, int textStart, const QString* file);
    Report namedValue(int textStart, QStringView key, const QString* file);
    Report displayText(std::span<const std::uint8_t> report);
    Report indices(std::span<const std::uint8_t> report);
    Report cellAdc(std::span<const std::uint8_t> report);
    Report accelerometer(std::uint8_t mode);
    Report loadCell(std::uint8_t request);
    Report measurementSequence(std::uint8_t request);
    Report switchedMode(bool& on, std::uint8_t mode, bool powerDownMode);
    Report errorCodes(std::uint8_t mode, std::uint8_t code);
    Report analogValue(std::uint8_t channel);
    Report measuredValues();
    Report softwareInfo(std::uint8_t item);
    Report checksum(std::uint8_t item);
    Report acknowledge(bool accepted);

    QString* productSlot(int product, int language);
    QString* languageSlot(int language);

    InstrumentState& m_state;
    std::size_t m_replyLength;
};

}  // namespace orvix::sim
