// Which present HID interface is taken for the controller.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "link/hid_transport.h"

namespace qvr::test {
namespace {

HidInterfaceInfo Interface(std::string path, std::wstring manufacturer, std::wstring product) {
  return {std::move(path),         kControllerVendorId,
          kControllerProductId,    true,
          std::move(manufacturer), true,
          std::move(product)};
}

std::variant<std::string, LinkResult> Chosen(std::string path) {
  return path;
}
std::variant<std::string, LinkResult> Failed(LinkResult r) {
  return r;
}

TEST(ControllerDiscovery, TakesTheFirstInterfaceWithIdsAndBothStrings) {
  HidInterfaceInfo otherVendor = Interface("/dev/hidraw0", L"Kestro Instruments", L"QVR-B");
  otherVendor.vendorId = 0x03EC;
  const std::vector<HidInterfaceInfo> present = {
      otherVendor,
      Interface("/dev/hidraw1", L"Kestro Instruments", L"QVR-A"),
      Interface("/dev/hidraw2", L"Kestro Instruments", L"QVR-B"),
      Interface("/dev/hidraw3", L"Kestro Instruments", L"QVR-B"),
  };
  EXPECT_EQ(ChooseControllerInterface(present), Chosen("/dev/hidraw2"));
  EXPECT_EQ(ChooseControllerInterface({}), Failed(LinkDisconnected));
}

TEST(ControllerDiscovery, StringsMustMatchExactlyAfterNarrowing) {
  EXPECT_EQ(NarrowDeviceString(L"K\u00e9stro \u041a"), "K\xe9stro ?");
  EXPECT_EQ(NarrowDeviceString(std::wstring(L"QVR-B\0junk", 10)), "QVR-B");

  const std::vector<std::wstring> nearMisses = {L"QVR-B ", L"qvr-b", L"QVR-B\u0400"};
  for (const std::wstring& product : nearMisses) {
    EXPECT_EQ(ChooseControllerInterface({Interface("p", L"Kestro Instruments", product)}),
              Failed(LinkDisconnected));
  }
  // Cyrillic letters that look like the Latin ones narrow to '?'.
  EXPECT_EQ(ChooseControllerInterface({Interface("p", L"K\u0435stro Instruments", L"QVR-B")}),
            Failed(LinkDisconnected));
}

TEST(ControllerDiscovery, UnreadableStringOfTheLastCandidateIsAnExchangeFailure) {
  HidInterfaceInfo noProduct = Interface("/dev/hidraw4", L"Kestro Instruments", L"");
  noProduct.productOk = false;
  HidInterfaceInfo noManufacturer = Interface("/dev/hidraw5", L"", L"QVR-B");
  noManufacturer.manufacturerOk = false;
  const HidInterfaceInfo wrongProduct = Interface("/dev/hidraw6", L"Kestro Instruments", L"X");
  const HidInterfaceInfo good = Interface("/dev/hidraw7", L"Kestro Instruments", L"QVR-B");

  EXPECT_EQ(ChooseControllerInterface({noProduct}), Failed(LinkExchangeFailed));
  EXPECT_EQ(ChooseControllerInterface({wrongProduct, noManufacturer}), Failed(LinkExchangeFailed));
  EXPECT_EQ(ChooseControllerInterface({noProduct, wrongProduct}), Failed(LinkDisconnected));
  EXPECT_EQ(ChooseControllerInterface({noProduct, good}), Chosen("/dev/hidraw7"));

  // A manufacturer that already differs ends the check before the unreadable product.
  HidInterfaceInfo otherMaker = noProduct;
  otherMaker.manufacturer = L"Other";
  EXPECT_EQ(ChooseControllerInterface({otherMaker}), Failed(LinkDisconnected));
}

}  // namespace
}  // namespace qvr::test
