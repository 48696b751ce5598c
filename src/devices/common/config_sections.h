#pragma once
// Whether a *.MUX file is a configuration of a device at all, looked at before it is loaded:
// a file without any of the device's sections (empty, garbage, another kind of INI file) is
// refused; one that lacks some of the sections every saved file holds still loads with their
// defaults (older files may rely on that) but is named in a warning.
#include <span>
#include <string>

#include "devices/common/image_field.h"

namespace qvr {

class Catalogue;

enum class SectionVerdict {
  kComplete,     // every section a saved file holds is there
  kMissingSome,  // loads with defaults; `message` names the missing sections
  kNotOfDevice,  // none of the device's sections: refused with `message`
  kUnreadable,   // the file cannot be opened: refused with `message`
};

struct ConfigSectionCheck {
  SectionVerdict verdict = SectionVerdict::kComplete;
  std::string message;  // in the catalogue's language; empty when complete

  bool refused() const {
    return verdict == SectionVerdict::kNotOfDevice || verdict == SectionVerdict::kUnreadable;
  }
};

// `fields` lists the device's parameters (their sections are the ones a saved file holds
// beside CONFIGFILE); EVENT1 .. EVENT<eventCapacity> count as the device's sections too.
// Messages name the file `shownName` when given (standard input kept aside), else `path`.
ConfigSectionCheck CheckConfigSections(const Catalogue& catalogue, const std::string& path,
                                       const char* deviceName, std::span<const ImageField> fields,
                                       int eventCapacity, const std::string& shownName = {});

}  // namespace qvr
