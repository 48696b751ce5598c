#include "link/link_result.h"

#include <optional>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "platform/file_save.h"

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
  if (result == LinkAdapterNotReserved) return Text(catalogue, AddedText::kAdapterNotReserved);
  const std::optional<MessageId> id = MessageOfResult(result);
  if (!id) return catalogue.Format(MessageId::kResultUnknown, int(result));
  return catalogue.Text(*id);
}

std::string AdapterHolderText(const Catalogue& catalogue, const AdapterHolder& holder) {
  if (holder.processId == 0) return Text(catalogue, AddedText::kAdapterHolderUnknown);
  if (holder.program.empty())
    return catalogue.FormatText(Text(catalogue, AddedText::kAdapterHolderProcess),
                                holder.processId);
  return catalogue.FormatText(Text(catalogue, AddedText::kAdapterHolderNamed),
                              holder.program.c_str(), holder.processId);
}

std::string AdapterBusyText(const Catalogue& catalogue, const AdapterHolder& holder) {
  return catalogue.FormatText(Text(catalogue, AddedText::kAdapterBusyBy),
                              AdapterHolderText(catalogue, holder).c_str());
}

std::string AdapterLockProblemText(const Catalogue& catalogue, const AdapterLockProblem& problem) {
  const char* path = problem.path.c_str();
  switch (problem.failure) {
    case AdapterLockFailure::kNone:
    case AdapterLockFailure::kGone:
      return {};
    case AdapterLockFailure::kNoAccess:
      return catalogue.FormatText(Text(catalogue, AddedText::kAdapterLockNoAccess), path);
    case AdapterLockFailure::kNotLockable:
      return catalogue.FormatText(
          Text(catalogue, problem.deviceNode ? AddedText::kAdapterLockNotNode
                                             : AddedText::kAdapterLockNotFile),
          path);
    case AdapterLockFailure::kSystem:
      break;
  }
  return catalogue.FormatText(Text(catalogue, AddedText::kAdapterLockRefused), path,
                              SystemErrorText(problem.systemError).c_str());
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
