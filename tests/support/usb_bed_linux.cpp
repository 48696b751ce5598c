#include "support/usb_bed.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

namespace qvr::test {

namespace {

constexpr const char* kPreload = "libumockdev-preload.so.0";

// A vendor-defined collection with one feature report of 72 bytes and no report id, as the
// adapter describes itself.
constexpr uint8_t kReportDescriptor[] = {
    0x06, 0x00, 0xFF,  // usage page (vendor 0xFF00)
    0x09, 0x01,        // usage 1
    0xA1, 0x01,        // collection (application)
    0x15, 0x00,        //   logical minimum 0
    0x26, 0xFF, 0x00,  //   logical maximum 255
    0x75, 0x08,        //   report size 8
    0x96, 0x48, 0x00,  //   report count 72
    0x09, 0x01,        //   usage 1
    0xB1, 0x02,        //   feature (data, variable, absolute)
    0xC0,              // end collection
};

constexpr unsigned kFeatureSetNr = _IOC_NR(HIDIOCSFEATURE(0));
constexpr unsigned kFeatureGetNr = _IOC_NR(HIDIOCGFEATURE(0));

std::string Hex(const uint8_t* bytes, size_t size) {
  std::string text;
  char pair[3];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
    text += pair;
  }
  return text;
}

}  // namespace

bool RunUnderUmockdev(int, char** argv) {
  const char* previous = std::getenv("LD_PRELOAD");
  if (previous != nullptr && std::strstr(previous, "libumockdev-preload") != nullptr) return true;
  std::string preload = kPreload;
  if (previous != nullptr && *previous != '\0') preload += std::string(":") + previous;
  ::setenv("LD_PRELOAD", preload.c_str(), 1);
  // The sanitizer runtime is then no longer first in the library list, which it accepts; the
  // preload's own allocations outlive the process, so leaks are looked for elsewhere.
  const char* sanitizer = std::getenv("ASAN_OPTIONS");
  std::string options = sanitizer != nullptr ? std::string(sanitizer) + ":" : std::string();
  options += "verify_asan_link_order=0:detect_leaks=0";
  ::setenv("ASAN_OPTIONS", options.c_str(), 1);
  ::execv("/proc/self/exe", argv);
  std::perror("re-running under umockdev");
  return false;
}

// One /dev node of an adapter: its ioctls reach the adapter's model until it is unplugged.
struct NodeHandler {
  UsbBed::Adapter* adapter;
  std::string node;
  bool gone = false;
};

struct UsbBed::Adapter {
  AdapterSetup setup;
  std::unique_ptr<sim::SimController> model;
  std::vector<PacketBytes> requests;
  std::vector<std::unique_ptr<NodeHandler>> nodes;  // every node it ever had; the last is current
  std::vector<std::string> sysPaths;                // children first
  bool plugged = false;
  int ioctls = 0;
  int failAfter = -1;
  int failTimes = 0;
  int failError = 0;
  int shortAfter = -1;
  int shortTimes = 0;
  int shortLength = 0;
  std::mutex* mutex = nullptr;
};

struct UsbBed::Impl {
  UMockdevTestbed* bed = nullptr;
  UMockdevIoctlBase* ioctls = nullptr;
  std::mutex mutex;  // held while an ioctl is answered and while tests touch a model
  std::vector<std::unique_ptr<Adapter>> adapters;
  int nextHidraw = 0;
  int nextHidSequence = 1;
};

namespace {

// Takes one pending fault of the adapter for this ioctl: an error to fail with, or 0.
// Counts one ioctl against a fault that strikes after `after` ioctls, `times` times (-1: for
// good); true when it strikes this one.
bool Strikes(int& after, int& times) {
  if (after < 0 || times == 0) return false;
  if (after > 0) {
    --after;
    return false;
  }
  if (times > 0) --times;
  return true;
}

int TakeFailure(UsbBed::Adapter& adapter) {
  return Strikes(adapter.failAfter, adapter.failTimes) ? adapter.failError : 0;
}

int TakeShortLength(UsbBed::Adapter& adapter) {
  return Strikes(adapter.shortAfter, adapter.shortTimes) ? adapter.shortLength : -1;
}

void Complete(UMockdevIoctlClient* client, long result, int error) {
  umockdev_ioctl_client_complete(client, result, error);
}

uint8_t* Buffer(UMockdevIoctlClient* client, size_t size) {
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  GError* error = nullptr;
  UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, size, &error);
  if (error != nullptr) g_error_free(error);
  return data != nullptr ? data->data : nullptr;
}

void AnswerDescriptor(UMockdevIoctlClient* client, unsigned nr) {
  if (nr == _IOC_NR(HIDIOCGRDESCSIZE)) {
    uint8_t* size = Buffer(client, sizeof(int));
    const int value = sizeof kReportDescriptor;
    std::memcpy(size, &value, sizeof value);
    Complete(client, 0, 0);
    return;
  }
  auto* descriptor = Buffer(client, sizeof(hidraw_report_descriptor));
  hidraw_report_descriptor copy{};
  std::memcpy(&copy, descriptor, sizeof copy);
  copy.size = std::min<uint32_t>(copy.size, sizeof kReportDescriptor);
  std::memcpy(copy.value, kReportDescriptor, copy.size);
  std::memcpy(descriptor, &copy, sizeof copy);
  Complete(client, 0, 0);
}

// A feature report each way, as the kernel passes it: byte 0 the report id, then the packet.
void AnswerFeature(UsbBed::Adapter& adapter, UMockdevIoctlClient* client, unsigned nr,
                   size_t size) {
  uint8_t* report = Buffer(client, size);
  if (report == nullptr || size < 1) return Complete(client, -1, EINVAL);
  // A controller restarting after its own reset is off the bus for a few reports.
  if (!adapter.model->ReportReachesBus()) return Complete(client, -1, EPIPE);
  // A slow adapter (the model's latency) takes its time over every report.
  if (adapter.model->latency().count() > 0) std::this_thread::sleep_for(adapter.model->latency());
  PacketBytes packet{};
  if (nr == kFeatureSetNr) {
    std::copy_n(report + 1, std::min(size - 1, packet.size()), packet.begin());
    adapter.requests.push_back(packet);
    adapter.model->Deliver(packet);
    return Complete(client, long(size), 0);
  }
  packet = adapter.model->TakeReply();
  const int shortLength = TakeShortLength(adapter);
  const size_t length = shortLength >= 0 ? std::min(size, size_t(shortLength)) : size;
  report[0] = 0;
  if (length > 1) std::copy_n(packet.begin(), std::min(length - 1, packet.size()), report + 1);
  Complete(client, long(length), 0);
}

gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
  auto* handler = static_cast<NodeHandler*>(data);
  const std::string node = umockdev_ioctl_client_get_devnode(client);
  if (node != handler->node) return FALSE;
  UsbBed::Adapter& adapter = *handler->adapter;
  std::lock_guard lock(*adapter.mutex);
  const unsigned long request = umockdev_ioctl_client_get_request(client);
  if (handler->gone) {
    Complete(client, -1, ENODEV);
    return TRUE;
  }
  ++adapter.ioctls;
  if (const int error = TakeFailure(adapter); error != 0) {
    Complete(client, -1, error);
    return TRUE;
  }
  const unsigned nr = _IOC_NR(request);
  if (_IOC_TYPE(request) != 'H') {
    Complete(client, -1, ENOTTY);
  } else if (nr == _IOC_NR(HIDIOCGRDESCSIZE) || nr == _IOC_NR(HIDIOCGRDESC)) {
    AnswerDescriptor(client, nr);
  } else if (nr == kFeatureSetNr || nr == kFeatureGetNr) {
    AnswerFeature(adapter, client, nr, _IOC_SIZE(request));
  } else {
    Complete(client, -1, ENOTTY);
  }
  return TRUE;
}

}  // namespace

UsbBed::UsbBed() : impl_(std::make_unique<Impl>()) {
  impl_->bed = umockdev_testbed_new();
  impl_->ioctls = umockdev_ioctl_base_new();
  // Programs started as another user (the permission cases) must reach the sysfs tree.
  ::chmod(RootDir().c_str(), 0755);
  // Every bed names its first node /dev/hidraw0, yet the adapter locks of its programs stay in
  // the bed: each is a flock on the node itself, which the preload opens in the bed.
}

UsbBed::~UsbBed() {
  for (auto& adapter : impl_->adapters) {
    for (auto& node : adapter->nodes) {
      umockdev_testbed_detach_ioctl(impl_->bed, node->node.c_str(), nullptr);
    }
  }
  g_object_unref(impl_->ioctls);
  g_object_unref(impl_->bed);
}

std::string UsbBed::RootDir() const {
  gchar* root = umockdev_testbed_get_root_dir(impl_->bed);
  std::string dir = root;
  g_free(root);
  return dir;
}

int UsbBed::Plug(const AdapterSetup& setup) {
  auto adapter = std::make_unique<Adapter>();
  adapter->setup = setup;
  adapter->mutex = &impl_->mutex;
  adapter->model = std::make_unique<sim::SimController>(setup.stateDir);
  adapter->model->SetSerialNumber(sim::kAddressController, setup.serial);
  impl_->adapters.push_back(std::move(adapter));
  AddDevices(*impl_->adapters.back());
  return int(impl_->adapters.size()) - 1;
}

void UsbBed::AddDevices(Adapter& adapter) {
  const int index = [&] {
    for (size_t i = 0; i < impl_->adapters.size(); ++i)
      if (impl_->adapters[i].get() == &adapter) return int(i);
    return 0;
  }();
  const int hidraw = impl_->nextHidraw++;
  const int sequence = impl_->nextHidSequence++;
  const std::string serial = std::to_string(adapter.setup.serial);
  const std::string usb = "/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(index + 1);
  const std::string interface = usb + "/1-" + std::to_string(index + 1) + ":1.0";
  char hidName[32];
  std::snprintf(hidName, sizeof hidName, "0003:03EB:2013.%04X", sequence);
  const std::string hid = interface + "/" + hidName;
  const std::string node = "hidraw" + std::to_string(hidraw);
  const std::string raw = hid + "/hidraw/" + node;
  std::string tree;
  tree += "P: " + usb + "\nN: bus/usb/001/" + std::to_string(100 + sequence) + "\n";
  tree += "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DRIVER=usb\n";
  tree += "A: idVendor=03eb\nA: idProduct=2013\nA: bcdDevice=0100\n";
  tree += "A: manufacturer=" + adapter.setup.manufacturer + "\n";
  tree += "A: product=" + adapter.setup.product + "\nA: serial=" + serial + "\n\n";
  tree += "P: " + interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n";
  tree += "E: DRIVER=usbhid\nA: bInterfaceNumber=00\nA: bInterfaceClass=03\n\n";
  tree += "P: " + hid + "\nE: SUBSYSTEM=hid\nE: DRIVER=hid-generic\n";
  tree += "E: HID_ID=0003:000003EB:00002013\n";
  tree += "E: HID_NAME=" + adapter.setup.manufacturer + " " + adapter.setup.product + "\n";
  tree += "E: HID_UNIQ=" + serial + "\n";
  tree += "H: report_descriptor=" + Hex(kReportDescriptor, sizeof kReportDescriptor) + "\n\n";
  tree += "P: " + raw + "\n";
  if (adapter.setup.hasNode) tree += "N: " + node + "\n";
  tree += "E: SUBSYSTEM=hidraw\nE: DEVNAME=/dev/" + node + "\n";
  // Without the link to its HID parent, enumeration by ids passes the node over.
  tree += "L: device=../../../" + std::string(hidName) + "\n";

  GError* error = nullptr;
  if (!umockdev_testbed_add_from_string(impl_->bed, tree.c_str(), &error)) {
    std::fprintf(stderr, "test bed: %s\n", error->message);
    g_error_free(error);
    std::abort();
  }
  adapter.sysPaths = {"/sys" + raw, "/sys" + hid, "/sys" + interface, "/sys" + usb};
  adapter.plugged = true;
  auto handler = std::make_unique<NodeHandler>(NodeHandler{&adapter, "/dev/" + node});
  g_signal_connect(impl_->ioctls, "handle-ioctl", G_CALLBACK(HandleIoctl), handler.get());
  if (adapter.setup.hasNode) {
    if (!umockdev_testbed_attach_ioctl(impl_->bed, handler->node.c_str(), impl_->ioctls, &error)) {
      std::fprintf(stderr, "test bed: %s\n", error->message);
      std::abort();
    }
  }
  adapter.nodes.push_back(std::move(handler));
}

void UsbBed::RemoveDevices(Adapter& adapter) {
  {
    std::lock_guard lock(impl_->mutex);
    adapter.nodes.back()->gone = true;
    adapter.plugged = false;
  }
  for (const std::string& path : adapter.sysPaths)
    umockdev_testbed_remove_device(impl_->bed, path.c_str());
}

void UsbBed::Unplug(int adapter) {
  Adapter& a = *impl_->adapters.at(size_t(adapter));
  if (a.plugged) RemoveDevices(a);
}

void UsbBed::Replug(int adapter) {
  Adapter& a = *impl_->adapters.at(size_t(adapter));
  if (!a.plugged) AddDevices(a);
}

std::string UsbBed::Node(int adapter) const {
  return impl_->adapters.at(size_t(adapter))->nodes.back()->node;
}

// The test bed's node is a link to a pseudo-terminal of its own; a root-only file in its place
// is refused to other users as the kernel refuses a node without the udev rule.
void UsbBed::RestrictNode(int adapter, bool restricted, unsigned mode) {
  const std::string node = RootDir() + Node(adapter);
  const std::string aside = node + ".plugged";
  if (restricted) {
    // Other users reach the test bed's socket; it is the node that refuses them.
    ::chmod((RootDir() + "/ioctl" + Node(adapter)).c_str(), 0777);
    if (::rename(node.c_str(), aside.c_str()) != 0) return;
    const int fd = ::open(node.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (fd < 0) return;
    ::fchmod(fd, mode_t(mode));
    ::close(fd);
    return;
  }
  if (::access(aside.c_str(), F_OK) != 0 && errno == ENOENT) return;
  ::unlink(node.c_str());
  ::rename(aside.c_str(), node.c_str());
}

void UsbBed::WithModel(int adapter, const std::function<void(sim::SimController&)>& work) {
  std::lock_guard lock(impl_->mutex);
  work(*impl_->adapters.at(size_t(adapter))->model);
}

std::vector<PacketBytes> UsbBed::Requests(int adapter) {
  std::lock_guard lock(impl_->mutex);
  return impl_->adapters.at(size_t(adapter))->requests;
}

void UsbBed::FailIoctlAfter(int adapter, int ioctls, int error, int times) {
  std::lock_guard lock(impl_->mutex);
  Adapter& a = *impl_->adapters.at(size_t(adapter));
  a.failAfter = ioctls;
  a.failTimes = times;
  a.failError = error;
}

void UsbBed::ShortReadAfter(int adapter, int ioctls, int length, int times) {
  std::lock_guard lock(impl_->mutex);
  Adapter& a = *impl_->adapters.at(size_t(adapter));
  a.shortAfter = ioctls;
  a.shortTimes = times;
  a.shortLength = length;
}

void UsbBed::ClearFaults(int adapter) {
  FailIoctlAfter(adapter, -1, 0, 0);
  ShortReadAfter(adapter, -1, 0, 0);
}

int UsbBed::IoctlCount(int adapter) {
  std::lock_guard lock(impl_->mutex);
  return impl_->adapters.at(size_t(adapter))->ioctls;
}

}  // namespace qvr::test
