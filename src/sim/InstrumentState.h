#pragma once

#include "sim/DefaultContent.h"
#include "sim/SensorTruth.h"

#include <QString>

#include <array>
#include <cstdint>

namespace orvix::sim {

// Everything the simulated instrument remembers between reports.
struct InstrumentState {
    InstrumentFiles files = DefaultInstrumentFiles();

    int languageIndex = 0;
    int productIndex = 0;

    // Items 0–2 main software (name, version, date), 3–5 boot software,
    // 6–8 USB software.
    std::array<QString, 9> softwareInfo{
        QStringLiteral("OX-200 Main"), QStringLiteral("00.82"), QStringLiteral("2024-11-05"),
        QStringLiteral("OX-200 Boot"), QStringLiteral("01.04"), QStringLiteral("2023-06-19"),
        QStringLiteral("OX-200 USB"),  QStringLiteral("02.10"), QStringLiteral("2024-02-27")};
    // Program-space checksums: item 0 main, item 1 boot block.
    std::array<std::uint8_t, 2> programChecksums{0x5A, 0xC3};
    bool memoryTestPasses = true;

    // One bit per front-panel switch (0 Home, 1 Up, 2 Enter, 3 Down); a set
    // bit is an open switch, so 0x0F is nobody pressing anything.
    std::uint8_t switchBits = 0x0F;

    // The last five error codes the instrument raised, newest first.
    std::array<std::uint8_t, 5> errorCodes{};

    bool backlightOn = true;
    bool factoryTestOn = false;
    bool vppOn = false;
    bool lcdTestOn = false;

    // How many polls a started conversion or measurement answers "busy".
    int busyPolls = 2;
    int adcBusyLeft = 0;
    int loadCellBusyLeft = 0;
    int measurementBusyLeft = 0;

    // The text on the display: 0 the language description, 1–43 a menu
    // text; -1 before anything was shown.
    int displayedText = -1;

    SensorTruth truth;
};

}  // namespace orvix::sim
