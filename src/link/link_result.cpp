#include "link/link_result.h"

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr {

namespace {

// Catalogue id of each known result; -1 for codes without a text of their own.
int MessageOfResult(LinkResult result) {
  switch (result) {
    case LinkOk:
      return 33;
    case LinkDriverNotLoaded:
      return 34;
    case LinkDriverFunctionMissing:
      return 35;
    case LinkExchangeFailed:
      return 37;
    case LinkDisconnected:
      return 36;
    case LinkTimeout:
      return 38;
    case DeviceParameterError:
      return 39;
    case DeviceResultError:
      return 40;
    case DeviceMemoryError:
      return 41;
    case DeviceUpdateFileError:
      return 62;
    default:
      return -1;
  }
}

constexpr int kUnknownResultMessage = 42;

}  // namespace

std::string LinkResultText(const Catalogue& catalogue, LinkResult result) {
  if (result == LinkNoPermission) return Text(catalogue, AddedText::kNoPermission);
  if (result == LinkAdapterBusy) return Text(catalogue, AddedText::kAdapterBusy);
  int id = MessageOfResult(result);
  if (id < 0) return catalogue.Format(kUnknownResultMessage, int(result));
  return catalogue.Text(id);
}

std::string DeviceFailureText(const Catalogue& catalogue, int messageId, const char* deviceName,
                              LinkResult result) {
  return catalogue.Format(messageId, deviceName, LinkResultText(catalogue, result).c_str());
}

std::string TransferPlaceText(const Catalogue& catalogue, const TransferResult& result) {
  if (!result.hasPlace()) return {};
  const TransferPlace& place = result.place();
  return catalogue.FormatText(Text(catalogue, AddedText::kTransferFailedAt), place.block,
                              place.blocks, unsigned(place.offset));
}

std::string WithTransferPlace(const Catalogue& catalogue, const std::string& text,
                              const TransferResult& result) {
  if (!result.hasPlace()) return text;
  return text + "\n" + TransferPlaceText(catalogue, result);
}

}  // namespace qvr
