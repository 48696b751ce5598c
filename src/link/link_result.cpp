#include "link/link_result.h"

#include <optional>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr {

namespace {

// Catalogue id of each known result; nothing for codes without a text of their own.
std::optional<MessageId> MessageOfResult(LinkResult result) {
  switch (result) {
    case LinkOk:
      return MessageId::kResultOk;
    case LinkDriverNotLoaded:
      return MessageId::kResultDriverNotLoaded;
    case LinkDriverFunctionMissing:
      return MessageId::kResultDriverFunctionMissing;
    case LinkExchangeFailed:
      return MessageId::kResultExchangeFailed;
    case LinkDisconnected:
      return MessageId::kResultDisconnected;
    case LinkTimeout:
      return MessageId::kResultTimeout;
    case DeviceParameterError:
      return MessageId::kResultParameterError;
    case DeviceResultError:
      return MessageId::kResultResultError;
    case DeviceMemoryError:
      return MessageId::kResultMemoryError;
    case DeviceUpdateFileError:
      return MessageId::kResultUpdateFileError;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string LinkResultText(const Catalogue& catalogue, LinkResult result) {
  if (result == LinkNoPermission) return Text(catalogue, AddedText::kNoPermission);
  if (result == LinkAdapterBusy) return Text(catalogue, AddedText::kAdapterBusy);
  const std::optional<MessageId> id = MessageOfResult(result);
  if (!id) return catalogue.Format(MessageId::kResultUnknown, int(result));
  return catalogue.Text(*id);
}

std::string DeviceFailureText(const Catalogue& catalogue, MessageId messageId,
                              const char* deviceName, const TransferResult& result) {
  return WithTransferPlace(
      catalogue,
      catalogue.Format(messageId, deviceName, LinkResultText(catalogue, result.code()).c_str()),
      result);
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
