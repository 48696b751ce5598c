#include "link/hid_transport.h"

#include <hidapi.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>

#include "platform/hid_open_error.h"

namespace qvr {

namespace {

constexpr size_t kReportSize = kPacketSize + 1;  // report id 0, then the packet

// hidapi is started once for the whole process, before any thread uses it, and ended once at
// exit: its start and end are not safe beside other threads' calls (on Windows the end unloads
// the HID library under them). Enumeration and opening are serialised for the same reason.
class HidLibrary {
 public:
  static HidLibrary& Get() {
    static HidLibrary library;
    return library;
  }
  bool started() const { return started_; }
  std::mutex& calls() { return calls_; }

 private:
  HidLibrary() : started_(hid_init() == 0) {}
  ~HidLibrary() {
    if (started_) hid_exit();
  }
  bool started_;
  std::mutex calls_;
};

std::vector<HidInterfaceInfo> EnumerateControllerIds() {
  std::vector<HidInterfaceInfo> interfaces;
  std::lock_guard serial(HidLibrary::Get().calls());
  hid_device_info* list = hid_enumerate(kControllerVendorId, kControllerProductId);
  for (hid_device_info* item = list; item != nullptr; item = item->next) {
    HidInterfaceInfo info;
    info.path = item->path != nullptr ? item->path : "";
    info.vendorId = item->vendor_id;
    info.productId = item->product_id;
    // hidapi reports a string it could not read as a null pointer.
    info.manufacturerOk = item->manufacturer_string != nullptr;
    if (info.manufacturerOk) info.manufacturer = item->manufacturer_string;
    info.productOk = item->product_string != nullptr;
    if (info.productOk) info.product = item->product_string;
    if (item->serial_number != nullptr) info.serial = item->serial_number;
    interfaces.push_back(std::move(info));
  }
  hid_free_enumeration(list);
  return interfaces;
}

OpenAttempt OpenHidPath(const std::string& path) {
  OpenAttempt attempt;
  {
    std::lock_guard serial(HidLibrary::Get().calls());
    attempt.handle = hid_open_path(path.c_str());
  }
  if (attempt.handle != nullptr) return attempt;
#if !defined(_WIN32)
  // hidapi does not say why an open failed; the node's access rights do.
  attempt.permissionDenied = ::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
#else
  int systemError = 0;
  const HidOpenFailure why = ClassifyHidOpenFailure(path, systemError);
  attempt.permissionDenied = why == HidOpenFailure::kAccessDenied;
  attempt.heldElsewhere = why == HidOpenFailure::kHeldElsewhere;
#endif
  return attempt;
}

}  // namespace

std::variant<void*, LinkResult> OpenControllerInterface(std::vector<HidInterfaceInfo> interfaces,
                                                        const InterfaceOpener& open) {
  bool denied = false;
  bool held = false;
  for (;;) {
    auto choice = ChooseControllerInterface(interfaces);
    if (const LinkResult* failure = std::get_if<LinkResult>(&choice))
      return denied ? LinkNoPermission : held ? LinkAdapterBusy : *failure;
    const std::string path = std::get<std::string>(choice);
    const OpenAttempt attempt = open(path);
    if (attempt.handle != nullptr) return attempt.handle;
    denied = denied || attempt.permissionDenied;
    held = held || attempt.heldElsewhere;
    // An interface that cannot be opened is passed over, as if it were not present.
    std::erase_if(interfaces, [&](const HidInterfaceInfo& info) { return info.path == path; });
  }
}

std::vector<HidInterfaceInfo> InterfacesOfAdapter(std::vector<HidInterfaceInfo> interfaces,
                                                  const std::string& path,
                                                  const std::wstring& serial) {
  const auto atPath = [&](const HidInterfaceInfo& info) { return info.path == path; };
  if (std::any_of(interfaces.begin(), interfaces.end(), atPath) || serial.empty()) {
    std::erase_if(interfaces, [&](const HidInterfaceInfo& info) { return !atPath(info); });
    return interfaces;
  }
  std::erase_if(interfaces, [&](const HidInterfaceInfo& info) { return info.serial != serial; });
  return interfaces;
}

std::vector<std::string> ControllerPaths(const std::vector<HidInterfaceInfo>& interfaces) {
  std::vector<std::string> paths;
  for (const HidInterfaceInfo& info : interfaces) {
    if (std::holds_alternative<std::string>(ChooseControllerInterface({info})))
      paths.push_back(info.path);
  }
  return paths;
}

std::vector<std::string> EnumerateControllerPaths() {
  if (!HidLibrary::Get().started()) return {};
  std::vector<std::string> paths = ControllerPaths(EnumerateControllerIds());
  // An interface that cannot be opened is passed over, as the discovery passes it over; one
  // the user may not open, or another program holds, stays, so that the user learns why.
  std::erase_if(paths, [](const std::string& path) {
    const OpenAttempt attempt = OpenHidPath(path);
    if (attempt.handle == nullptr) return !attempt.permissionDenied && !attempt.heldElsewhere;
    std::lock_guard serial(HidLibrary::Get().calls());
    hid_close(static_cast<hid_device*>(attempt.handle));
    return false;
  });
  return paths;
}

std::string NarrowDeviceString(const std::wstring& text) {
  std::string narrow;
  for (wchar_t unit : text) {
    if (unit == 0) break;
    const auto value = static_cast<uint32_t>(unit);
    narrow += value < 256 ? char(value) : '?';
  }
  return narrow;
}

std::variant<std::string, LinkResult> ChooseControllerInterface(
    const std::vector<HidInterfaceInfo>& interfaces) {
  LinkResult result = LinkDisconnected;
  for (const HidInterfaceInfo& info : interfaces) {
    if (info.vendorId != kControllerVendorId || info.productId != kControllerProductId) continue;
    // Each interface with the right ids decides the result afresh: the failure reported is
    // the one of the last such interface.
    result = LinkDisconnected;
    if (!info.manufacturerOk) {
      result = LinkExchangeFailed;
      continue;
    }
    if (NarrowDeviceString(info.manufacturer) != kControllerManufacturer) continue;
    if (!info.productOk) {
      result = LinkExchangeFailed;
      continue;
    }
    if (NarrowDeviceString(info.product) == kControllerProduct) return info.path;
  }
  return result;
}

HidTransport::~HidTransport() {
  CloseController();
  keeper_.ReleaseAll();
}

LinkResult HidTransport::BindHidLibrary() {
  return HidLibrary::Get().started() ? LinkOk : LinkDriverNotLoaded;
}

void HidTransport::EndExchange() {
  keeper_.ExchangeEnded();
}

void HidTransport::HoldAdapter(bool hold) {
  keeper_.Hold(hold);
}

AdapterHolder HidTransport::BusyHolder() const {
  return keeper_.BusyHolder();
}

AdapterLockProblem HidTransport::LockProblem() const {
  return keeper_.Problem();
}

LinkResult HidTransport::TakeAdapter() {
  return OpenAndTake(0);
}

LinkResult HidTransport::OpenAndTake(uint32_t waitMs) {
  const LinkResult opened = OpenController();
  if (opened != LinkOk) return opened;
  return keeper_.Take(openedPath_, AdapterLock::Kind::kDeviceNode, waitMs);
}

LinkResult HidTransport::OpenController() {
  if (device_ != nullptr) return LinkOk;
  LinkResult bound = BindHidLibrary();
  if (bound != LinkOk) return bound;

  std::vector<HidInterfaceInfo> interfaces = EnumerateControllerIds();
  // A chosen controller is looked for at its path, or where it came back after a restart.
  if (!path_.empty()) interfaces = InterfacesOfAdapter(std::move(interfaces), path_, serial_);
  std::string openedPath;
  auto opened = OpenControllerInterface(interfaces, [&](const std::string& path) {
    openedPath = path;
    return OpenHidPath(path);
  });
  if (const LinkResult* failure = std::get_if<LinkResult>(&opened)) return *failure;
  device_ = static_cast<hid_device*>(std::get<void*>(opened));
  openedPath_ = openedPath;
  if (!path_.empty()) FollowAdapter(interfaces, openedPath);
  // A lock kept on what the node's name stood for before (the adapter restarted, or was
  // plugged in again) keeps no one from the new node: it is taken there before the next report.
  keeper_.Reopened(openedPath);
  return LinkOk;
}

void HidTransport::FollowAdapter(const std::vector<HidInterfaceInfo>& interfaces,
                                 const std::string& openedPath) {
  path_ = openedPath;
  for (const HidInterfaceInfo& info : interfaces)
    if (info.path == openedPath) serial_ = info.serial;
}

void HidTransport::CloseController() {
  // A command that keeps the adapter keeps it across a reopen of the same node, or another
  // program could slip in between.
  keeper_.ExchangeEnded();
  if (device_ == nullptr) return;
  std::lock_guard serial(HidLibrary::Get().calls());
  hid_close(device_);
  device_ = nullptr;
}

LinkResult HidTransport::SendFeatureReport(const PacketBytes& packet) {
  const LinkResult opened = OpenAndTake(sharing_.waitMs);
  if (opened != LinkOk) return opened;
  std::array<uint8_t, kReportSize> report{};
  std::copy(packet.begin(), packet.end(), report.begin() + 1);
  if (hid_send_feature_report(device_, report.data(), report.size()) < 0) {
    CloseController();
    return LinkExchangeFailed;
  }
  return LinkOk;
}

LinkResult HidTransport::ReceiveFeatureReport(PacketBytes& packet) {
  const LinkResult opened = OpenAndTake(sharing_.waitMs);
  if (opened != LinkOk) return opened;
  std::array<uint8_t, kReportSize> report{};
  report[0] = 0;  // the report id asked for
  const int received = hid_get_feature_report(device_, report.data(), report.size());
  if (received < 0) {
    CloseController();
    return LinkExchangeFailed;
  }
  // The kernel counts the report id byte or not depending on the descriptor; anything shorter
  // than the packet itself is a report cut short, never a reply.
  if (received < kPacketSize) return LinkExchangeFailed;
  // The buffer starts zeroed, so a short report leaves the rest of the packet zero.
  std::copy_n(report.begin() + 1, packet.size(), packet.begin());
  return LinkOk;
}

}  // namespace qvr
