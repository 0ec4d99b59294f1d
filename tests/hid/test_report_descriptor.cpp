#include "hid/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace orvix::test {
namespace {

QByteArray Bytes(std::initializer_list<std::uint8_t> bytes) {
    QByteArray out;
    for (const std::uint8_t b : bytes) {
        out.append(static_cast<char>(b));
    }
    return out;
}

ReportLayout ParseOk(const QByteArray& descriptor) {
    const ReportDescriptorResult result = ParseReportDescriptor(descriptor);
    EXPECT_TRUE(result.layout.has_value()) << result.error.toStdString();
    EXPECT_TRUE(result.error.isEmpty());
    return result.layout.value_or(ReportLayout{});
}

using BytesPerId = std::map<std::uint8_t, std::uint32_t>;

// A vendor-defined instrument: several report IDs of different sizes in both
// directions, one of them beyond what a 1-byte Report Count can say.
TEST(ReportDescriptor, VendorDeviceWithSeveralReportIds) {
    const ReportLayout layout = ParseOk(Bytes({
        0x06, 0x00, 0xFF,  // Usage Page (Vendor 0xFF00)
        0x09, 0x01,        // Usage (0x01)
        0xA1, 0x01,        // Collection (Application)
        0x15, 0x00,        //   Logical Minimum (0)
        0x26, 0xFF, 0x00,  //   Logical Maximum (255)
        0x75, 0x08,        //   Report Size (8)
        0x85, 0x01,        //   Report ID (1)
        0x95, 0x3F,        //   Report Count (63)
        0x09, 0x02,        //   Usage (0x02)
        0x91, 0x02,        //   Output (Data,Var,Abs)
        0x85, 0x02,        //   Report ID (2)
        0x96, 0x00, 0x10,  //   Report Count (4096)
        0x09, 0x03,        //   Usage (0x03)
        0x91, 0x02,        //   Output (Data,Var,Abs)
        0x85, 0x10,        //   Report ID (16)
        0x95, 0x3F,        //   Report Count (63)
        0x09, 0x04,        //   Usage (0x04)
        0x81, 0x02,        //   Input (Data,Var,Abs)
        0x85, 0x20,        //   Report ID (32)
        0x95, 0x08,        //   Report Count (8)
        0x09, 0x05,        //   Usage (0x05)
        0x81, 0x02,        //   Input (Data,Var,Abs)
        0x85, 0x40,        //   Report ID (64)
        0x95, 0x02,        //   Report Count (2)
        0x09, 0x06,        //   Usage (0x06)
        0xB1, 0x02,        //   Feature (Data,Var,Abs)
        0xC0,              // End Collection
    }));
    EXPECT_EQ(layout.usagePage, 0xFF00);
    EXPECT_EQ(layout.usage, 0x01);
    EXPECT_EQ(layout.outputBytes, (BytesPerId{{1, 63}, {2, 4096}}));
    EXPECT_EQ(layout.inputBytes, (BytesPerId{{16, 63}, {32, 8}}));
    EXPECT_EQ(layout.featureBytes, (BytesPerId{{64, 2}}));
    EXPECT_EQ(layout.outputReportByteLength, 4097);
    EXPECT_EQ(layout.inputReportByteLength, 64);
    EXPECT_EQ(layout.featureReportByteLength, 3);
    EXPECT_EQ(layout.linkCollectionNodes, 1);
    EXPECT_EQ(layout.inputValueCaps, 2);
    EXPECT_EQ(layout.inputDataIndices, 71);
    EXPECT_EQ(layout.outputValueCaps, 2);
    EXPECT_EQ(layout.outputDataIndices, 4159);
    EXPECT_EQ(layout.featureValueCaps, 1);
    EXPECT_EQ(layout.inputButtonCaps + layout.outputButtonCaps + layout.featureButtonCaps, 0);
}

// A boot keyboard: no report IDs, so every report is under ID 0 and the
// lengths still carry the (zero) ID byte.
TEST(ReportDescriptor, BootKeyboardWithoutReportIds) {
    const ReportLayout layout = ParseOk(Bytes({
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x06,  // Usage (Keyboard)
        0xA1, 0x01,  // Collection (Application)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,  //   Usage Minimum (Left Control)
        0x29, 0xE7,  //   Usage Maximum (Right GUI)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x08,  //   Report Count (8)
        0x81, 0x02,  //   Input (Data,Var,Abs): modifier bits
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x08,  //   Report Size (8)
        0x81, 0x01,  //   Input (Const): reserved byte
        0x95, 0x05,  //   Report Count (5)
        0x75, 0x01,  //   Report Size (1)
        0x05, 0x08,  //   Usage Page (LEDs)
        0x19, 0x01,  //   Usage Minimum (Num Lock)
        0x29, 0x05,  //   Usage Maximum (Kana)
        0x91, 0x02,  //   Output (Data,Var,Abs): LEDs
        0x95, 0x01,  //   Report Count (1)
        0x75, 0x03,  //   Report Size (3)
        0x91, 0x01,  //   Output (Const): padding
        0x95, 0x06,  //   Report Count (6)
        0x75, 0x08,  //   Report Size (8)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x65,  //   Logical Maximum (101)
        0x05, 0x07,  //   Usage Page (Keyboard/Keypad)
        0x19, 0x00,  //   Usage Minimum (0)
        0x29, 0x65,  //   Usage Maximum (101)
        0x81, 0x00,  //   Input (Data,Array,Abs): key codes
        0xC0,        // End Collection
    }));
    EXPECT_EQ(layout.usagePage, 0x01);
    EXPECT_EQ(layout.usage, 0x06);
    EXPECT_EQ(layout.inputBytes, (BytesPerId{{0, 8}}));
    EXPECT_EQ(layout.outputBytes, (BytesPerId{{0, 1}}));
    EXPECT_TRUE(layout.featureBytes.empty());
    EXPECT_EQ(layout.inputReportByteLength, 9);
    EXPECT_EQ(layout.outputReportByteLength, 2);
    EXPECT_EQ(layout.featureReportByteLength, 0);
    // The modifiers are buttons, the key array a value, the constants neither.
    EXPECT_EQ(layout.inputButtonCaps, 1);
    EXPECT_EQ(layout.inputValueCaps, 1);
    EXPECT_EQ(layout.inputDataIndices, 14);
    EXPECT_EQ(layout.outputButtonCaps, 1);
    EXPECT_EQ(layout.outputValueCaps, 0);
    EXPECT_EQ(layout.outputDataIndices, 5);
}

// A mouse that declares its buttons inside Push/Pop: the axes after Pop rely
// on the restored size, count and logical range (-127..127, 0x81 as 1 byte).
TEST(ReportDescriptor, MouseWithPushPop) {
    const ReportLayout layout = ParseOk(Bytes({
        0x05, 0x01,  // Usage Page (Generic Desktop)
        0x09, 0x02,  // Usage (Mouse)
        0xA1, 0x01,  // Collection (Application)
        0x09, 0x01,  //   Usage (Pointer)
        0xA1, 0x00,  //   Collection (Physical)
        0x15, 0x81,  //     Logical Minimum (-127)
        0x25, 0x7F,  //     Logical Maximum (127)
        0x75, 0x08,  //     Report Size (8)
        0x95, 0x02,  //     Report Count (2)
        0xA4,        //     Push
        0x05, 0x09,  //       Usage Page (Button)
        0x19, 0x01,  //       Usage Minimum (1)
        0x29, 0x03,  //       Usage Maximum (3)
        0x15, 0x00,  //       Logical Minimum (0)
        0x25, 0x01,  //       Logical Maximum (1)
        0x75, 0x01,  //       Report Size (1)
        0x95, 0x03,  //       Report Count (3)
        0x81, 0x02,  //       Input (Data,Var,Abs): buttons
        0x75, 0x05,  //       Report Size (5)
        0x95, 0x01,  //       Report Count (1)
        0x81, 0x01,  //       Input (Const): padding
        0xB4,        //     Pop
        0x09, 0x30,  //     Usage (X)
        0x09, 0x31,  //     Usage (Y)
        0x81, 0x06,  //     Input (Data,Var,Rel): 2 x 8 bits
        0x75, 0x01,  //     Report Size (1)
        0x95, 0x01,  //     Report Count (1)
        0x09, 0x38,  //     Usage (Wheel)
        0x81, 0x06,  //     Input (Data,Var,Rel): a value, the range is -127..127
        0xC0,        //   End Collection
        0xC0,        // End Collection
    }));
    EXPECT_EQ(layout.usagePage, 0x01);
    EXPECT_EQ(layout.usage, 0x02);  // the application's usage, not the Pointer's
    EXPECT_EQ(layout.linkCollectionNodes, 2);
    EXPECT_EQ(layout.inputBytes, (BytesPerId{{0, 4}}));  // 3 + 5 + 16 + 1 bits
    EXPECT_EQ(layout.inputReportByteLength, 5);
    EXPECT_EQ(layout.outputReportByteLength, 0);
    EXPECT_EQ(layout.inputButtonCaps, 1);
    EXPECT_EQ(layout.inputValueCaps, 2);
    EXPECT_EQ(layout.inputDataIndices, 6);
}

TEST(ReportDescriptor, PopRestoresTheReportId) {
    const ReportLayout layout = ParseOk(Bytes({
        0x75, 0x08, 0x95, 0x01,  // Report Size (8), Report Count (1)
        0x85, 0x01,              // Report ID (1)
        0xA4,                    // Push
        0x85, 0x02,              //   Report ID (2)
        0x81, 0x02,              //   Input
        0xB4,                    // Pop
        0x81, 0x02,              // Input: back under ID 1
        0x81, 0x02,              // Input
    }));
    EXPECT_EQ(layout.inputBytes, (BytesPerId{{1, 2}, {2, 1}}));
}

// The data bytes of a long item must not be read as items: these would close
// a collection that was never opened.
TEST(ReportDescriptor, LongItemsAreSkipped) {
    const ReportLayout layout = ParseOk(Bytes({
        0xFE, 0x03, 0xF0, 0xC0, 0xC0, 0xC0,  // Long item, tag 0xF0, 3 data bytes
        0x75, 0x08,                          // Report Size (8)
        0xFE, 0x00, 0x10,                    // Long item without data
        0x95, 0x04,                          // Report Count (4)
        0x91, 0x02,                          // Output
        0xFE, 0x01, 0x11, 0xC0,              // Long item at the very end
    }));
    EXPECT_EQ(layout.outputBytes, (BytesPerId{{0, 4}}));
    EXPECT_EQ(layout.outputReportByteLength, 5);
}

TEST(ReportDescriptor, ItemValuesAreLittleEndianAndSizesUnsigned) {
    // 4-byte Report Count 0x00000100, not 0x00010000.
    EXPECT_EQ(ParseOk(Bytes({0x75, 0x08, 0x97, 0x00, 0x01, 0x00, 0x00, 0x81, 0x02})).inputBytes,
              (BytesPerId{{0, 256}}));
    // 1-byte 0xFF / 0x80 sizes and counts are 255 and 128, not negative.
    EXPECT_EQ(ParseOk(Bytes({0x75, 0xFF, 0x95, 0x80, 0x81, 0x02})).inputBytes,
              (BytesPerId{{0, 255 * 128 / 8}}));
    // Report ID 0xC8 is 200.
    EXPECT_EQ(ParseOk(Bytes({0x85, 0xC8, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02})).inputBytes,
              (BytesPerId{{200, 1}}));

    // A 1-bit variable field is a button only for the logical range 0..1,
    // however wide the items stating it.
    struct Case {
        const char* name;
        QByteArray range;
        bool button;
    };
    const Case cases[] = {
        {"1-byte 0..1", Bytes({0x15, 0x00, 0x25, 0x01}), true},
        {"2- and 4-byte 0..1", Bytes({0x16, 0x00, 0x00, 0x27, 0x01, 0x00, 0x00, 0x00}), true},
        {"4-byte max 0x01000000", Bytes({0x15, 0x00, 0x27, 0x00, 0x00, 0x00, 0x01}), false},
        {"-127..1 (0x81)", Bytes({0x15, 0x81, 0x25, 0x01}), false},
        {"-1..1 (0xFF)", Bytes({0x15, 0xFF, 0x25, 0x01}), false},
    };
    for (const Case& c : cases) {
        const ReportLayout layout = ParseOk(c.range + Bytes({0x75, 0x01, 0x95, 0x01, 0x81, 0x02}));
        EXPECT_EQ(layout.inputButtonCaps, c.button ? 1 : 0) << c.name;
        EXPECT_EQ(layout.inputValueCaps, c.button ? 0 : 1) << c.name;
    }
}

// Fields before the first Report ID are counted under ID 0.
TEST(ReportDescriptor, FieldsBeforeTheFirstReportIdCountUnderIdZero) {
    const ReportLayout layout = ParseOk(Bytes({
        0x75, 0x08, 0x95, 0x02, 0x81, 0x02,  // 2 bytes, no ID yet
        0x85, 0x05, 0x95, 0x04, 0x81, 0x02,  // Report ID (5): 4 bytes
    }));
    EXPECT_EQ(layout.inputBytes, (BytesPerId{{0, 2}, {5, 4}}));
    EXPECT_EQ(layout.inputReportByteLength, 5);
}

TEST(ReportDescriptor, TopLevelUsageIsTheFirstApplicationCollections) {
    const QByteArray field = Bytes({0x75, 0x08, 0x95, 0x01, 0x81, 0x02});
    struct Case {
        const char* name;
        QByteArray descriptor;
        std::uint16_t page;
        std::uint16_t usage;
    };
    const Case cases[] = {
        {"4-byte usage carries its page",
         Bytes({0x05, 0x01, 0x0B, 0x34, 0x12, 0x00, 0xFF, 0xA1, 0x01}) + field + Bytes({0xC0}), 0xFF00, 0x1234},
        {"page in effect at the collection",
         Bytes({0x09, 0x07, 0x06, 0x00, 0xFF, 0xA1, 0x01}) + field + Bytes({0xC0}), 0xFF00, 0x07},
        {"last usage before the collection",
         Bytes({0x05, 0x0C, 0x09, 0x01, 0x09, 0x02, 0xA1, 0x01}) + field + Bytes({0xC0}), 0x0C, 0x02},
        {"physical and nested collections do not count",
         Bytes({0x05, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x09, 0x02, 0xA1, 0x01, 0xC0, 0xC0, 0x09, 0x03, 0xA1, 0x01})
             + field + Bytes({0xC0, 0x09, 0x04, 0xA1, 0x01, 0xC0}),
         0x01, 0x03},
        {"usages are cleared by a main item",
         Bytes({0x05, 0x01, 0x09, 0x05}) + field + Bytes({0xA1, 0x01, 0xC0}), 0x01, 0x00},
    };
    for (const Case& c : cases) {
        const ReportLayout layout = ParseOk(c.descriptor);
        EXPECT_EQ(layout.usagePage, c.page) << c.name;
        EXPECT_EQ(layout.usage, c.usage) << c.name;
    }
}

TEST(ReportDescriptor, LimitsThemselvesAreAccepted) {
    // 65534 data bytes + the ID byte is the longest report a 16-bit length holds.
    EXPECT_EQ(ParseOk(Bytes({0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02})).featureReportByteLength, 65535);
    EXPECT_EQ(ParseOk(Bytes({0x75, 0x01, 0x96, 0xFF, 0xFF, 0xB1, 0x02})).featureBytes, (BytesPerId{{0, 8192}}));
    EXPECT_EQ(ParseOk(Bytes({0x75, 0xFF, 0x95, 0x01, 0xB1, 0x02})).featureBytes, (BytesPerId{{0, 32}}));
    EXPECT_EQ(ParseOk(QByteArray(32, char(0xA4)) + Bytes({0x75, 0x08, 0x95, 0x01, 0x81, 0x02})).inputReportByteLength,
              2);
}

TEST(ReportDescriptor, MalformedDescriptorsAreRejected) {
    struct Case {
        const char* name;
        QByteArray descriptor;
        const char* reason;  // part of the error
    };
    const QByteArray field = Bytes({0x75, 0x08, 0x95, 0x01, 0x81, 0x02});
    const Case cases[] = {
        {"empty", QByteArray(), "empty"},
        {"truncated 2-byte item", field + Bytes({0x06, 0x00}), "truncated item at offset 6"},
        {"truncated 4-byte item", field + Bytes({0x97, 0x01, 0x00, 0x00}), "truncated item"},
        {"truncated long item header", field + Bytes({0xFE, 0x02}), "truncated long item header"},
        {"truncated long item data", field + Bytes({0xFE, 0x04, 0x00, 0x01, 0x02, 0x03}), "truncated long item data"},
        {"reserved item type", field + Bytes({0x0C}), "reserved item type"},
        {"reserved type with long-item tag", field + Bytes({0xFC}), "reserved item type"},
        {"end collection without collection", field + Bytes({0xC0}), "end collection without collection"},
        {"more ends than collections", Bytes({0xA1, 0x01}) + field + Bytes({0xC0, 0xC0}), "end collection"},
        {"unclosed collection", Bytes({0xA1, 0x01, 0xA1, 0x00}) + field + Bytes({0xC0}), "unclosed collection"},
        {"pop without push", Bytes({0xA4, 0xB4, 0xB4}) + field, "pop without push"},
        {"push beyond 32 levels", QByteArray(33, char(0xA4)) + field, "push stack overflow"},
        {"report ID 0", Bytes({0x85, 0x00}) + field, "report ID 0"},
        {"report ID above 255", Bytes({0x86, 0x00, 0x01}) + field, "report ID above 255"},
        {"report size above 255", Bytes({0x76, 0x00, 0x01}), "report size above 255"},
        {"report count above 65535", Bytes({0x97, 0x00, 0x00, 0x01, 0x00}), "report count above 65535"},
        {"huge field", Bytes({0x75, 0xFF, 0x96, 0xFF, 0xFF, 0x81, 0x02}), "report longer than 65534 bytes"},
        {"65535-byte report", Bytes({0x75, 0x08, 0x96, 0xFF, 0xFF, 0x91, 0x02}), "report longer"},
        {"fields adding up past the limit",
         Bytes({0x75, 0x08, 0x96, 0x40, 0x9C, 0x81, 0x02, 0x81, 0x02}), "report longer"},
        {"no reports", Bytes({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0}), "no input, output or feature report"},
        {"only zero-width fields", Bytes({0x75, 0x00, 0x95, 0x05, 0x81, 0x02, 0x75, 0x08, 0x95, 0x00, 0x91, 0x02}),
         "no input, output or feature report"},
    };
    for (const Case& c : cases) {
        const ReportDescriptorResult result = ParseReportDescriptor(c.descriptor);
        EXPECT_FALSE(result.layout.has_value()) << c.name;
        EXPECT_NE(result.error.toStdString().find(c.reason), std::string::npos)
            << c.name << ": " << result.error.toStdString();
    }
}

}  // namespace
}  // namespace orvix::test
