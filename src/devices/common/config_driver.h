#pragma once
// One device kind's configuration as every user of it sees it: the image type and the functions
// that move the image between the unit, its *.MUX file and the checks. Each kind defines its
// driver once (src/devices/<kind>/driver.cpp); the window's page, qvrctl and backups all go
// through it, so nothing chooses a kind's function by hand.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "devices/common/block_io.h"
#include "devices/common/event_table.h"
#include "devices/common/image_checks.h"
#include "devices/common/image_field.h"
#include "i18n/added_texts.h"
#include "link/device_module.h"
#include "link/link.h"
#include "platform/file_save.h"

namespace qvr {

class Catalogue;

template <typename ImageType>
struct ConfigDriver {
  using Image = ImageType;
  // Zero-fills `image` and reads the unit's configuration into it; the first failure is returned.
  TransferResult (*readDevice)(Link&, Host&, const Catalogue&, const DeviceModule&, Image& image);
  // Writes the image's blocks and events, then restarts the unit.
  TransferResult (*writeDevice)(Link&, Host&, const Catalogue&, const DeviceModule&,
                                const Image& image);
  // Loads a *.MUX file (never fails: a junk file gives the defaults); `eventSections`, when
  // given, receives the n of each slot's EVENTn section.
  void (*readFile)(const std::string& path, Image& image, std::vector<int>* eventSections);
  // Saves the image atomically as a *.MUX file.
  SaveResult (*writeFile)(const std::string& path, Image& image);
  // The image's parameters in file order.
  std::vector<ImageField> (*fields)(Image& image);
  // Makes the image what a device write sends and answers the first value it refuses.
  ImageRefusal (*prepareForDevice)(Image& image);
  // What a device write of `sent` puts on the unit, taken from `image` (the same bytes in a
  // read-back of it).
  std::vector<uint8_t> (*unitBytes)(const Image& image, const Image& sent);
  // Every block the unit holds, in transfer order, the ones no file carries included: what a
  // backup keeps byte for byte.
  std::vector<BlockRef> (*unitBlocks)(Image& image);
  // Makes the image count as read from a unit, so that a write sends every block of unitBlocks.
  void (*takeAsRead)(Image& image);
  // What of the unit's bytes a *.MUX file cannot carry, for a restore from one to say.
  AddedText fileLacks;
};

// The bytes a device write sends: `blocks` in transfer order, then the used event records.
std::vector<uint8_t> SentBytes(std::span<const BlockRef> blocks, const EventTable& events);

}  // namespace qvr
