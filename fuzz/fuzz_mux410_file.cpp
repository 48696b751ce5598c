// Reads arbitrary bytes as a MUX-410 configuration file; it must neither crash nor hang,
// whatever was read must survive a save and a second read unchanged, and the saved file must
// hold every section of the device.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "devices/common/config_sections.h"
#include "devices/mux410/config_file.h"
#include "fuzz_scratch.h"
#include "i18n/catalogue.h"

namespace {

bool SameConfiguration(const qvr::mux410::ConfigImage& a, const qvr::mux410::ConfigImage& b) {
  if (a.navi != b.navi || a.mode != b.mode || a.input != b.input || a.dpar != b.dpar) return false;
  if (a.descriptionText() != b.descriptionText()) return false;
  if (a.events.count() != b.events.count()) return false;
  for (int slot = 0; slot < a.events.count(); ++slot) {
    if (!(a.events.record(slot) == b.events.record(slot))) return false;
    // Blanks at either end survive too: the save writes such a value in quotes.
    if (a.events.description(slot) != b.events.description(slot)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = qvr::fuzz::Scratch().Write("input.MUX", data, size);
  const std::string saved = qvr::fuzz::Scratch().File("saved.MUX");

  qvr::mux410::ConfigImage image;
  qvr::mux410::ReadConfigFile(input, image);
  if (image.events.count() > qvr::mux410::kEventCapacity) std::abort();
  if (!qvr::mux410::WriteConfigFile(saved, image).ok()) std::abort();
  qvr::mux410::ConfigImage back;
  qvr::mux410::ReadConfigFile(saved, back);
  if (!SameConfiguration(image, back)) std::abort();
  // What the program writes is always a whole configuration of the device.
  qvr::Catalogue catalogue;
  const qvr::ConfigSectionCheck sections = qvr::CheckConfigSections(
      catalogue, saved, "MUX-410", qvr::mux410::ImageFields(back), back.events.capacity());
  if (sections.verdict != qvr::SectionVerdict::kComplete) std::abort();
  return 0;
}
