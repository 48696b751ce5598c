#pragma once
// The controller over USB HID (hidapi): found by vendor/product id and its two strings,
// opened on demand, one feature report with report id 0 and 72 data bytes each way, closed
// after any failed report so that the next exchange rediscovers it.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "link/adapter_keeper.h"
#include "link/transport.h"

struct hid_device_;

namespace qvr {

inline constexpr uint16_t kControllerVendorId = 0x03EB;
inline constexpr uint16_t kControllerProductId = 0x2013;
inline constexpr const char* kControllerManufacturer = "Kestro Instruments";
inline constexpr const char* kControllerProduct = "QVR-B";

// One present HID interface as the enumeration reports it. A string the system could not
// read is marked not ok.
struct HidInterfaceInfo {
  std::string path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  bool manufacturerOk = false;
  std::wstring manufacturer;
  bool productOk = false;
  std::wstring product;
  std::wstring serial = {};  // the USB serial-number string ("" when it has none)
};

// A device string as 8-bit text: units below 256 keep their value, others become '?'; it
// ends at the first zero unit.
std::string NarrowDeviceString(const std::wstring& text);

// The path of the first interface with the controller's ids and strings, or LinkDisconnected,
// or LinkExchangeFailed when the last interface with the right ids had an unreadable string.
std::variant<std::string, LinkResult> ChooseControllerInterface(
    const std::vector<HidInterfaceInfo>& interfaces);

// What opening one interface gave: a handle, or none and whether the system refused access.
struct OpenAttempt {
  void* handle = nullptr;
  bool permissionDenied = false;
  bool heldElsewhere = false;  // another program has it open for itself alone (Windows)
};
using InterfaceOpener = std::function<OpenAttempt(const std::string& path)>;

// Opens the interface ChooseControllerInterface picks, passing over those that do not open.
// When none opens, the result is LinkNoPermission if any was refused access (the controller is
// there, so "disconnected" would send the user to the cable), LinkAdapterBusy if another
// program holds one, else the choice's failure.
std::variant<void*, LinkResult> OpenControllerInterface(std::vector<HidInterfaceInfo> interfaces,
                                                        const InterfaceOpener& open);

// The interfaces a transport bound to the adapter at `path` may open: the one at its path, or,
// once that node is gone, those with the adapter's USB serial-number string `serial` (none when
// it has none): an adapter that restarted, after updating itself, comes back on another node.
std::vector<HidInterfaceInfo> InterfacesOfAdapter(std::vector<HidInterfaceInfo> interfaces,
                                                  const std::string& path,
                                                  const std::wstring& serial);

// The paths of every interface with the controller's ids and exact strings, in the order given.
std::vector<std::string> ControllerPaths(const std::vector<HidInterfaceInfo>& interfaces);
// The same for the interfaces present now (hidapi's enumeration).
std::vector<std::string> EnumerateControllerPaths();

class HidTransport final : public Transport {
 public:
  // Without a path the first controller found is used; with one, only the controller there
  // (gone: LinkDisconnected; refused: LinkNoPermission; used by another program:
  // LinkAdapterBusy), followed to its new node once it has been opened (InterfacesOfAdapter).
  // Every report goes out only with the lock on the node it goes to (adapter_lock.h): taken on
  // a new node before its first report, kept as `sharing` says.
  explicit HidTransport(std::string path = {}, AdapterSharing sharing = {})
      : path_(std::move(path)), sharing_(sharing), keeper_(sharing) {}
  ~HidTransport() override;
  HidTransport(const HidTransport&) = delete;
  HidTransport& operator=(const HidTransport&) = delete;

  [[nodiscard]] LinkResult SendFeatureReport(const PacketBytes& packet) override;
  [[nodiscard]] LinkResult ReceiveFeatureReport(PacketBytes& packet) override;
  void CloseController() override;
  void EndExchange() override;
  void HoldAdapter(bool hold) override;
  [[nodiscard]] LinkResult TakeAdapter() override;
  AdapterHolder BusyHolder() const override;
  AdapterLockProblem LockProblem() const override;

 private:
  [[nodiscard]] LinkResult OpenController();
  [[nodiscard]] LinkResult BindHidLibrary();
  // The controller open and its node's lock this program's (a report waits `waitMs` at most).
  [[nodiscard]] LinkResult OpenAndTake(uint32_t waitMs);
  // The chosen adapter is the one just opened at `openedPath`: its node and serial string.
  void FollowAdapter(const std::vector<HidInterfaceInfo>& interfaces,
                     const std::string& openedPath);

  std::string path_;
  std::wstring serial_;  // of the adapter at `path_`, learnt when it is opened
  AdapterSharing sharing_;
  hid_device_* device_ = nullptr;
  std::string openedPath_;  // the node of `device_`
  // The lock on the opened adapter's node; reports come from the transport thread, exchange
  // ends and holds from the caller's, and the keeper serialises them.
  AdapterKeeper keeper_;
};

}  // namespace qvr
