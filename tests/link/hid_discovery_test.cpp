// Which present HID interface is taken for the controller.
#include <gtest/gtest.h>

#include "i18n/catalogue.h"
#include "link/hid_transport.h"

namespace qvr::test {
namespace {

using Choice = std::variant<std::string, LinkResult>;

HidInterfaceInfo Interface(std::string path, std::wstring manufacturer, std::wstring product) {
  return {std::move(path),         kControllerVendorId,
          kControllerProductId,    true,
          std::move(manufacturer), true,
          std::move(product)};
}

TEST(ControllerDiscovery, TakesTheFirstInterfaceWithIdsAndExactStrings) {
  HidInterfaceInfo otherVendor = Interface("a", L"Kestro Instruments", L"QVR-B");
  otherVendor.vendorId = 0x03EC;
  EXPECT_EQ(ChooseControllerInterface({otherVendor, Interface("b", L"Kestro Instruments", L"QVR-A"),
                                       Interface("c", L"Kestro Instruments", L"QVR-B"),
                                       Interface("d", L"Kestro Instruments", L"QVR-B")}),
            Choice("c"));
  EXPECT_EQ(ChooseControllerInterface({}), Choice(LinkDisconnected));

  // Trailing blank, letter case, and a Cyrillic "е" that narrows to '?'.
  for (auto [maker, product] : {std::pair{L"Kestro Instruments", L"QVR-B "},
                                {L"Kestro Instruments", L"qvr-b"},
                                {L"K\u0435stro Instruments", L"QVR-B"}}) {
    EXPECT_EQ(ChooseControllerInterface({Interface("e", maker, product)}),
              Choice(LinkDisconnected));
  }
  EXPECT_EQ(NarrowDeviceString(std::wstring(L"K\u00e9\u041a\0junk", 8)), "K\xe9?");
}

TEST(ControllerDiscovery, UnreadableStringOfTheLastCandidateIsAnExchangeFailure) {
  HidInterfaceInfo noProduct = Interface("a", L"Kestro Instruments", L"");
  noProduct.productOk = false;
  HidInterfaceInfo noMaker = Interface("b", L"", L"QVR-B");
  noMaker.manufacturerOk = false;
  const HidInterfaceInfo wrongProduct = Interface("c", L"Kestro Instruments", L"X");

  EXPECT_EQ(ChooseControllerInterface({wrongProduct, noMaker}), Choice(LinkExchangeFailed));
  EXPECT_EQ(ChooseControllerInterface({noProduct, wrongProduct}), Choice(LinkDisconnected));
  EXPECT_EQ(ChooseControllerInterface({noProduct, Interface("d", L"Kestro Instruments", L"QVR-B")}),
            Choice("d"));
  noProduct.manufacturer = L"Other";  // refused before its product string is asked for
  EXPECT_EQ(ChooseControllerInterface({noProduct}), Choice(LinkDisconnected));
}

// A chosen adapter stays at its node while the node is there; once it is gone (the adapter
// restarted after updating itself), the node with its serial string is the adapter, never
// another adapter, and without a serial string nothing is taken for it.
TEST(ControllerDiscovery, AChosenAdapterIsFollowedToItsNewNodeByItsSerialString) {
  const auto paths = [](const std::vector<HidInterfaceInfo>& interfaces) {
    std::vector<std::string> kept;
    for (const HidInterfaceInfo& info : interfaces) kept.push_back(info.path);
    return kept;
  };
  HidInterfaceInfo own = Interface("/dev/hidraw3", L"Kestro Instruments", L"QVR-B");
  own.serial = L"20230417";
  HidInterfaceInfo other = Interface("/dev/hidraw4", L"Kestro Instruments", L"QVR-B");
  other.serial = L"20230418";
  using Paths = std::vector<std::string>;
  EXPECT_EQ(paths(InterfacesOfAdapter({other, own}, "/dev/hidraw3", L"20230418")),
            Paths{"/dev/hidraw3"});
  HidInterfaceInfo moved = own;
  moved.path = "/dev/hidraw5";
  EXPECT_EQ(paths(InterfacesOfAdapter({other, moved}, "/dev/hidraw3", L"20230417")),
            Paths{"/dev/hidraw5"});
  EXPECT_EQ(paths(InterfacesOfAdapter({other, moved}, "/dev/hidraw3", L"")), Paths{});
  EXPECT_EQ(paths(InterfacesOfAdapter({other}, "/dev/hidraw3", L"20230417")), Paths{});
}

TEST(ControllerDiscovery, ARefusedControllerIsAPermissionProblemNotAMissingOne) {
  const std::vector<HidInterfaceInfo> two = {
      Interface("/dev/hidraw3", L"Kestro Instruments", L"QVR-B"),
      Interface("/dev/hidraw4", L"Kestro Instruments", L"QVR-B")};
  std::vector<std::string> tried;
  int handle = 0;
  auto opener = [&](bool deniedFirst, bool secondOpens) {
    return [&tried, &handle, deniedFirst, secondOpens](const std::string& path) {
      tried.push_back(path);
      if (path == "/dev/hidraw3") return OpenAttempt{nullptr, deniedFirst};
      return OpenAttempt{secondOpens ? &handle : nullptr, false};
    };
  };
  EXPECT_EQ(std::get<void*>(OpenControllerInterface(two, opener(true, true))), &handle);
  EXPECT_EQ(tried, (std::vector<std::string>{"/dev/hidraw3", "/dev/hidraw4"}));
  EXPECT_EQ(std::get<LinkResult>(OpenControllerInterface(two, opener(true, false))),
            LinkNoPermission);
  EXPECT_EQ(std::get<LinkResult>(OpenControllerInterface(two, opener(false, false))),
            LinkDisconnected);

  // The text says what to do with the installed package and, run from a build, how to install
  // the rule, in both languages.
  Catalogue catalogue;
  for (Language language : {kRussian, kEnglish}) {
    catalogue.setLanguage(language);
    const std::string text = LinkResultText(catalogue, LinkNoPermission);
    EXPECT_NE(text.find("packaging/70-qvr-b.rules"), std::string::npos);
    EXPECT_NE(text.find("sudo udevadm control --reload-rules"), std::string::npos);
    EXPECT_NE(text.find("udevadm trigger)."), std::string::npos) << "the package's replug";
  }
  EXPECT_EQ(LinkResultText(catalogue, LinkNoPermission).rfind("No permission to open", 0), 0u);
}

}  // namespace
}  // namespace qvr::test
