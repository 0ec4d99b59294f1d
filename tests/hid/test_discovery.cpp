#include "hid/ZrHID.h"

#include "support/FakeHidBackend.h"

#include <gtest/gtest.h>

namespace orvix::test {
namespace {

// A vendor-defined interface: commands out as report 1, replies in as
// report 16, 63 data bytes each.
const QByteArray kVendorDescriptor = FakeHidBackend::Report({
    0x06, 0x00, 0xFF,  // Usage Page (vendor 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x85, 0x01,        //   Report ID (1)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x01,        //   Usage (1)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0x85, 0x10,        //   Report ID (16)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0xC0,              // End Collection
});

HidDeviceInfo Device(const char* path, std::uint16_t vendor, std::uint16_t product) {
    HidDeviceInfo info;
    info.path = QLatin1String(path);
    info.vendorId = vendor;
    info.productId = product;
    info.releaseNumber = 0x0100;
    return info;
}

const HidDeviceInfo kInstrument = Device("/dev/hidraw2", 0x3A7E, 0x0102);

struct Discovery : ::testing::Test {
    FakeHidBackend backend;
    ZrHID hid{backend};

    Discovery() { backend.descriptor = kVendorDescriptor; }
    const QStringList& lines() const { return hid.Diagnostics().lines(); }
    QString apiResult() const { return QStringLiteral("  API Result = ") + ZrHID::SystemErrorText(0) + QStringLiteral(",  Err# 0"); }
};

TEST_F(Discovery, WithNoHidDeviceAtAllTheLogSaysSoAndNothingIsOpened) {
    hid.FindTheHid();
    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_EQ(lines(), QStringList({QStringLiteral("--- Find the HID Start ---"), QString(),
                                    QStringLiteral("hid_enumerate"), apiResult(),
                                    QStringLiteral("  HID interfaces present: 0"), QStringLiteral(" Device Not Found."),
                                    QStringLiteral("--- Find the HID Finish ---")}));
    EXPECT_FALSE(hid.LastDiscoveryProblem().instrumentPresent);
}

TEST_F(Discovery, OtherDevicesAreSkippedUnopenedAndTheSearchStopsAtTheInstrument) {
    backend.devices = {Device("/dev/hidraw0", 0x046D, 0xC31C), Device("/dev/hidraw1", 0x3A7E, 0x9999),
                       kInstrument, Device("/dev/hidraw3", 0x3A7E, 0x0102)};
    hid.FindTheHid();

    ASSERT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(backend.openedPaths(), std::vector<QString>(2, kInstrument.path));
    EXPECT_NE(hid.DeviceHandle(), hid.ReadHandle());
    EXPECT_EQ(hid.Capabilities().InputReportByteLength, 64);
    EXPECT_EQ(hid.Capabilities().OutputReportByteLength, 64);
    EXPECT_EQ(hid.Capabilities().UsagePage, 0xFF00);
    EXPECT_EQ(lines().count(QStringLiteral("  Not the instrument: skipped without opening it")), 2);
    EXPECT_TRUE(lines().contains(QStringLiteral("  Product ID: 9999")));
    EXPECT_FALSE(lines().contains(QStringLiteral("  DeviceInfoSet for device #3: ")));
    EXPECT_EQ(lines().mid(lines().size() - 2),
              QStringList({QStringLiteral("  My Device Detected"), QStringLiteral("--- Find the HID Finish ---")}));
}

TEST_F(Discovery, ASecondConnectionReusesTheEventAndRunningItConnectedOpensAgain) {
    backend.devices = {kInstrument};
    hid.FindTheHid();
    hid.CloseDeviceHandles();
    hid.FindTheHid();
    EXPECT_EQ(lines().count(QStringLiteral("  EventObject NOT Created!!")), 1);

    // A search while connected leaves the first connection's handles open.
    hid.FindTheHid();
    EXPECT_TRUE(hid.DeviceDetected());
    EXPECT_EQ(backend.openHandleCount(), 4);
}

TEST_F(Discovery, AnInstrumentThatCannotBeOpenedSaysWhy) {
    backend.devices = {kInstrument};
    backend.unopenablePaths.insert(kInstrument.path);
    hid.FindTheHid();

    EXPECT_FALSE(hid.DeviceDetected());
    EXPECT_TRUE(hid.LastDiscoveryProblem().instrumentPresent);
    EXPECT_EQ(hid.LastDiscoveryProblem().detail, QStringLiteral("permission denied"));
    EXPECT_TRUE(lines().contains(QStringLiteral("  The instrument could not be opened: permission denied")));
    EXPECT_EQ(lines().mid(lines().size() - 2),
              QStringList({QStringLiteral(" Device Not Found."), QStringLiteral("--- Find the HID Finish ---")}));
}

TEST_F(Discovery, AnInstrumentThatCannotBeUsedCountsAsNotFoundAndIsClosed) {
    const struct {
        const char* name;
        QByteArray descriptor;
        int failingOpen;
    } cases[] = {
        {"no descriptor", QByteArray(), -1},
        {"malformed descriptor", FakeHidBackend::Report({0x06, 0x00}), -1},
        {"no input report", kVendorDescriptor.left(22) + FakeHidBackend::Report({0xC0}), -1},
        {"read handle refused", kVendorDescriptor, 1},
    };
    for (const auto& c : cases) {
        FakeHidBackend fake;
        fake.devices = {kInstrument};
        fake.descriptor = c.descriptor;
        if (c.failingOpen >= 0) fake.failOpenAt(c.failingOpen);
        ZrHID link(fake);
        link.FindTheHid();
        EXPECT_FALSE(link.DeviceDetected()) << c.name;
        EXPECT_EQ(fake.openHandleCount(), 0) << c.name;
        EXPECT_TRUE(link.Diagnostics().lines().contains(QStringLiteral(" Device Not Found."))) << c.name;
        EXPECT_FALSE(link.LastDiscoveryProblem().detail.isEmpty()) << c.name;
    }
}

}  // namespace
}  // namespace orvix::test
