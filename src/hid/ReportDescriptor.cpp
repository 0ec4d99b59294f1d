#include "hid/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

namespace orvix {
namespace {

// Deep enough for any descriptor seen in practice; the bound keeps a hostile
// descriptor from growing the stack without limit.
constexpr std::size_t kMaxPushDepth = 32;
// Limits on single fields. They also keep size * count far from overflowing
// the 64-bit bit totals, whatever the number of items.
constexpr std::uint64_t kMaxReportSize = 255;
constexpr std::uint64_t kMaxReportCount = 65535;
// The report length carries one more byte (the ID) and must fit 16 bits.
constexpr std::uint64_t kMaxReportBytes = 65534;

// Item types and tags of the HID 1.11 short item format.
enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };
enum MainTag : std::uint8_t {
    kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC
};
enum GlobalTag : std::uint8_t {
    kUsagePage = 0x0, kLogicalMinimum = 0x1, kLogicalMaximum = 0x2,
    kReportSize = 0x7, kReportId = 0x8, kReportCount = 0x9, kPush = 0xA, kPop = 0xB
};
enum LocalTag : std::uint8_t { kUsage = 0x0 };
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint32_t kApplicationCollection = 0x01;
constexpr std::uint32_t kConstantBit = 0x01;
constexpr std::uint32_t kVariableBit = 0x02;

// The part of the global state that the layout depends on; the remaining
// globals (physical range, units) change nothing here.
struct GlobalState {
    std::uint16_t usagePage = 0;
    std::int64_t logicalMinimum = 0;
    std::int64_t logicalMaximum = 0;
    std::uint64_t reportSize = 0;
    std::uint64_t reportCount = 0;
    std::uint8_t reportId = 0;
};

struct LocalState {
    bool hasUsage = false;
    bool usageHasPage = false;  // a 4-byte Usage names its own page
    std::uint32_t usage = 0;
};

struct ShortItem {
    std::uint8_t type = 0;
    std::uint8_t tag = 0;
    std::size_t dataSize = 0;
    std::uint32_t unsignedValue = 0;
    std::int64_t signedValue = 0;
};

// Totals of one kind of report (input, output or feature), pointing at the
// layout's counters for that kind.
struct KindTotals {
    std::map<std::uint8_t, std::uint64_t> bits;
    std::uint16_t* buttonCaps;
    std::uint16_t* valueCaps;
    std::uint16_t* dataIndices;
};

// The counters are diagnostics only: saturate rather than wrap when a
// descriptor declares absurd numbers of fields.
void AddSaturating(std::uint16_t& counter, std::uint64_t amount) {
    counter = static_cast<std::uint16_t>(std::min<std::uint64_t>(std::uint64_t{counter} + amount, 0xFFFF));
}

std::uint64_t BytesForBits(std::uint64_t bits) {
    return (bits + 7) / 8;
}

ReportDescriptorResult Malformed(const QString& reason) {
    return ReportDescriptorResult{std::nullopt, reason};
}

QString AtOffset(const char* what, std::size_t offset) {
    return QStringLiteral("%1 at offset %2").arg(QLatin1String(what)).arg(offset);
}

std::uint16_t LengthOf(const std::map<std::uint8_t, std::uint32_t>& bytesPerId) {
    if (bytesPerId.empty()) {
        return 0;
    }
    std::uint32_t largest = 0;
    for (const auto& [id, bytes] : bytesPerId) {
        largest = std::max(largest, bytes);
    }
    // Checked against kMaxReportBytes while parsing.
    return static_cast<std::uint16_t>(largest + 1);
}

}  // namespace

ReportDescriptorResult ParseReportDescriptor(const QByteArray& descriptor) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(descriptor.constData()),
                                              static_cast<std::size_t>(descriptor.size()));
    if (bytes.empty()) {
        return Malformed(QStringLiteral("empty descriptor"));
    }

    ReportLayout layout;
    GlobalState global;
    LocalState local;
    std::array<GlobalState, kMaxPushDepth> pushed{};
    std::size_t pushDepth = 0;
    std::size_t collectionDepth = 0;
    bool haveTopLevelUsage = false;
    std::array<KindTotals, 3> kinds{{
        {{}, &layout.inputButtonCaps, &layout.inputValueCaps, &layout.inputDataIndices},
        {{}, &layout.outputButtonCaps, &layout.outputValueCaps, &layout.outputDataIndices},
        {{}, &layout.featureButtonCaps, &layout.featureValueCaps, &layout.featureDataIndices},
    }};

    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t itemOffset = pos;
        const std::uint8_t prefix = bytes[pos];

        if (prefix == kLongItemPrefix) {
            // No long item tags are defined; the item only has to be skipped.
            if (bytes.size() - pos < 3) {
                return Malformed(AtOffset("truncated long item header", itemOffset));
            }
            const std::size_t dataSize = bytes[pos + 1];
            if (bytes.size() - pos - 3 < dataSize) {
                return Malformed(AtOffset("truncated long item data", itemOffset));
            }
            pos += 3 + dataSize;
            continue;
        }

        ShortItem item;
        item.type = static_cast<std::uint8_t>((prefix >> 2) & 0x3);
        item.tag = static_cast<std::uint8_t>(prefix >> 4);
        item.dataSize = (prefix & 0x3) == 3 ? 4 : (prefix & 0x3);
        if (item.type == kReserved) {
            return Malformed(AtOffset("reserved item type", itemOffset));
        }
        if (bytes.size() - pos - 1 < item.dataSize) {
            return Malformed(AtOffset("truncated item", itemOffset));
        }
        for (std::size_t i = 0; i < item.dataSize; ++i) {
            item.unsignedValue |= std::uint32_t{bytes[pos + 1 + i]} << (8 * i);
        }
        // Logical extents are signed two's complement of the item's own width.
        switch (item.dataSize) {
        case 1: item.signedValue = static_cast<std::int8_t>(item.unsignedValue); break;
        case 2: item.signedValue = static_cast<std::int16_t>(item.unsignedValue); break;
        case 4: item.signedValue = static_cast<std::int32_t>(item.unsignedValue); break;
        default: item.signedValue = 0; break;
        }
        pos += 1 + item.dataSize;

        if (item.type == kGlobal) {
            switch (item.tag) {
            case kUsagePage:
                // A usage page is 16 bits; a wider item keeps its low half.
                global.usagePage = static_cast<std::uint16_t>(item.unsignedValue);
                break;
            case kLogicalMinimum: global.logicalMinimum = item.signedValue; break;
            case kLogicalMaximum: global.logicalMaximum = item.signedValue; break;
            case kReportSize:
                if (item.unsignedValue > kMaxReportSize) {
                    return Malformed(AtOffset("report size above 255", itemOffset));
                }
                global.reportSize = item.unsignedValue;
                break;
            case kReportCount:
                if (item.unsignedValue > kMaxReportCount) {
                    return Malformed(AtOffset("report count above 65535", itemOffset));
                }
                global.reportCount = item.unsignedValue;
                break;
            case kReportId:
                if (item.unsignedValue == 0) {
                    return Malformed(AtOffset("report ID 0", itemOffset));
                }
                if (item.unsignedValue > 0xFF) {
                    return Malformed(AtOffset("report ID above 255", itemOffset));
                }
                global.reportId = static_cast<std::uint8_t>(item.unsignedValue);
                break;
            case kPush:
                if (pushDepth == pushed.size()) {
                    return Malformed(AtOffset("push stack overflow", itemOffset));
                }
                pushed[pushDepth++] = global;
                break;
            case kPop:
                if (pushDepth == 0) {
                    return Malformed(AtOffset("pop without push", itemOffset));
                }
                global = pushed[--pushDepth];
                break;
            default:
                break;
            }
            continue;
        }

        if (item.type == kLocal) {
            if (item.tag == kUsage) {
                local.hasUsage = true;
                local.usageHasPage = item.dataSize == 4;
                local.usage = item.unsignedValue;
            }
            continue;
        }

        // Main item.
        switch (item.tag) {
        case kInput:
        case kOutput:
        case kFeature: {
            KindTotals& kind = kinds[item.tag == kInput ? 0 : item.tag == kOutput ? 1 : 2];
            const std::uint64_t bits = global.reportSize * global.reportCount;
            // A field of no bits declares nothing, so it makes no report either.
            if (bits == 0) {
                break;
            }
            std::uint64_t& total = kind.bits[global.reportId];
            total += bits;
            if (BytesForBits(total) > kMaxReportBytes) {
                return Malformed(AtOffset("report longer than 65534 bytes", itemOffset));
            }
            if ((item.unsignedValue & kConstantBit) == 0) {
                const bool isButton = global.reportSize == 1 && (item.unsignedValue & kVariableBit) != 0
                                      && global.logicalMinimum == 0 && global.logicalMaximum == 1;
                AddSaturating(isButton ? *kind.buttonCaps : *kind.valueCaps, 1);
                AddSaturating(*kind.dataIndices, global.reportCount);
            }
            break;
        }
        case kCollection:
            if (collectionDepth == 0 && !haveTopLevelUsage && item.unsignedValue == kApplicationCollection) {
                haveTopLevelUsage = true;
                if (local.hasUsage && local.usageHasPage) {
                    layout.usagePage = static_cast<std::uint16_t>(local.usage >> 16);
                } else {
                    layout.usagePage = global.usagePage;
                }
                layout.usage = local.hasUsage ? static_cast<std::uint16_t>(local.usage) : 0;
            }
            ++collectionDepth;
            AddSaturating(layout.linkCollectionNodes, 1);
            break;
        case kEndCollection:
            if (collectionDepth == 0) {
                return Malformed(AtOffset("end collection without collection", itemOffset));
            }
            --collectionDepth;
            break;
        default:
            break;
        }
        local = LocalState{};
    }

    if (collectionDepth != 0) {
        return Malformed(QStringLiteral("unclosed collection at end of descriptor"));
    }

    std::array<std::map<std::uint8_t, std::uint32_t>*, 3> bytesPerId{
        &layout.inputBytes, &layout.outputBytes, &layout.featureBytes};
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        for (const auto& [id, bits] : kinds[k].bits) {
            (*bytesPerId[k])[id] = static_cast<std::uint32_t>(BytesForBits(bits));
        }
    }
    if (layout.inputBytes.empty() && layout.outputBytes.empty() && layout.featureBytes.empty()) {
        return Malformed(QStringLiteral("no input, output or feature report"));
    }
    layout.inputReportByteLength = LengthOf(layout.inputBytes);
    layout.outputReportByteLength = LengthOf(layout.outputBytes);
    layout.featureReportByteLength = LengthOf(layout.featureBytes);
    return ReportDescriptorResult{layout, QString()};
}

}  // namespace orvix
