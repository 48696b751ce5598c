#pragma once
// The MUX-410 *.MUX file: INI sections CONFIGFILE, NAVI, MODE, DPAR, INPUT and EVENTn.
#include <string>
#include <vector>

#include "devices/mux410/config_image.h"
#include "platform/file_save.h"

namespace qvr::mux410 {

// Zero-fills the image and loads the file; a missing or junk file gives the defaults and the
// name taken from the path. Never fails. `eventSections`, if given, receives the n of the EVENTn
// section each event slot came from.
void ReadConfigFile(const std::string& path, ConfigImage& image,
                    std::vector<int>* eventSections = nullptr);
// Prunes the events and saves the image atomically: the file holds exactly this
// configuration (no surplus event sections). A failed save leaves the previous file intact.
SaveResult WriteConfigFile(const std::string& path, ConfigImage& image);

}  // namespace qvr::mux410
