#pragma once
// QVR-B adapters emulated below hidapi: a umockdev test bed with the sysfs tree the kernel
// makes for each adapter (USB device, interface, HID device, hidraw node) and the hidraw
// ioctls of its node answered from a simulated controller. Every process that opens the node
// (this one, or a qvrctl it starts, which inherits UMOCKDEV_DIR and the preload) talks to the
// one model, as to one real adapter. The owning process must run under umockdev's preload
// (see RunUnderUmockdev).
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/hid_transport.h"
#include "sim/sim_controller.h"

namespace qvr::test {

// Restarts the program under umockdev's preload unless it already runs there; returns only
// when it does (or when the preload cannot be found: false).
bool RunUnderUmockdev(int argc, char** argv);

struct AdapterSetup {
  uint32_t serial = sim::kControllerIdentity.serialNumber;
  std::string manufacturer = kControllerManufacturer;
  std::string product = kControllerProduct;
  bool hasNode = true;   // false: the sysfs tree names a node that does not exist
  std::string stateDir;  // the model's memory across runs, as --simulator=DIR keeps it
};

class UsbBed {
 public:
  UsbBed();
  ~UsbBed();
  UsbBed(const UsbBed&) = delete;
  UsbBed& operator=(const UsbBed&) = delete;

  // Adds an adapter and returns its number (0, 1, ...).
  int Plug(const AdapterSetup& setup);
  // Removes the adapter's devices, children first; nodes opened before fail with ENODEV.
  void Unplug(int adapter);
  // Plugs a removed adapter back in, with its model, under the next hidraw number.
  void Replug(int adapter);
  // The adapter's node as programs see it ("/dev/hidrawN").
  std::string Node(int adapter) const;
  // Makes the adapter's node one that only root may open for writing (others: `mode`), or
  // undoes that.
  void RestrictNode(int adapter, bool restricted, unsigned mode = 0600);
  std::string RootDir() const;

  // Runs `work` on the adapter's model while no ioctl is being answered. The model's latency
  // (SetLatency) delays every feature report through the node.
  void WithModel(int adapter, const std::function<void(sim::SimController&)>& work);
  // Requests the adapter received through its node, oldest first.
  std::vector<PacketBytes> Requests(int adapter);

  // Ioctl-level faults: after `ioctls` more answered ioctls on the adapter's node, the next
  // `times` ones (-1: all) fail with `error`, or feature reads return only `length` bytes.
  void FailIoctlAfter(int adapter, int ioctls, int error, int times = 1);
  void ShortReadAfter(int adapter, int ioctls, int length, int times = 1);
  void ClearFaults(int adapter);
  // Every ioctl answered so far on the adapter's nodes.
  int IoctlCount(int adapter);

  struct Adapter;

 private:
  void AddDevices(Adapter& adapter);
  void RemoveDevices(Adapter& adapter);

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qvr::test
