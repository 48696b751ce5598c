#pragma once
// The *.MUX file mechanics both devices share: the CONFIGFILE section (name from the file's
// own path, description as hex), the device's integer keys given as a table, and the EVENTn
// sections. Each device describes its keys; reading and writing are done here once.
#include <span>
#include <string>
#include <vector>

#include "devices/common/config_texts.h"
#include "devices/common/event_table.h"
#include "devices/common/image_field.h"
#include "platform/file_save.h"

namespace qvr {

struct ConfigFileLayout {
  ConfigTexts& texts;
  std::span<const ImageField> fields;         // in the order they are written
  EventTable& events;                         // EVENT1 .. EVENT<capacity> are read
  std::vector<int>* eventSections = nullptr;  // if given, reading puts each slot's n of EVENTn
};

// Fills an image the caller has zero-filled: name from `path`, description, every field,
// and the used events packed from slot 0 in section order. Missing or junk files read as
// defaults; nothing fails.
void ReadConfigFileInto(const std::string& path, const ConfigFileLayout& layout);
// Prunes the events (currentEvent becomes the slot to select afterwards) and saves a fresh
// file through the save routine; a failed save leaves the previous file as it was.
SaveResult WriteConfigFileFrom(const std::string& path, const ConfigFileLayout& layout);

// True when the file holds keys that only the other device's files have and none that only
// this device's have: it is the other device's configuration.
bool HoldsOtherDevicesKeys(const std::string& path, std::span<const ImageField> own,
                           std::span<const ImageField> other);

// A device's file operations: `fieldsOf` lists the image's parameters in write order.
template <typename Image>
void ReadImageFile(const std::string& path, Image& image,
                   std::vector<ImageField> (*fieldsOf)(Image&),
                   std::vector<int>* eventSections = nullptr) {
  image.Clear();
  std::vector<ImageField> fields = fieldsOf(image);
  ReadConfigFileInto(path, {image, fields, image.events, eventSections});
}

template <typename Image>
SaveResult WriteImageFile(const std::string& path, Image& image,
                          std::vector<ImageField> (*fieldsOf)(Image&)) {
  std::vector<ImageField> fields = fieldsOf(image);
  return WriteConfigFileFrom(path, {image, fields, image.events});
}

}  // namespace qvr
