#include "i18n/save_failure_text.h"

#include "i18n/added_texts.h"

namespace qvr {

std::string SaveFailureText(const Catalogue& catalogue, const SaveResult& result) {
  switch (result.refusal) {
    case SaveRefusal::kNone:
      return {};
    case SaveRefusal::kNotRegularFile:
      return Text(catalogue, AddedText::kSaveNotRegularFile);
    case SaveRefusal::kReadOnly:
      return Text(catalogue, AddedText::kSaveReadOnly);
    case SaveRefusal::kOwnerNotKept:
      return Text(catalogue, AddedText::kSaveOwnerNotKept);
    case SaveRefusal::kForeignLink:
      return Text(catalogue, AddedText::kSaveForeignLink);
    case SaveRefusal::kInUse:
      return Text(catalogue, AddedText::kSaveInUse);
    case SaveRefusal::kNameNotAllowed:
      return Text(catalogue, AddedText::kSaveNameNotAllowed);
    case SaveRefusal::kSystem:
      break;
  }
  return SystemErrorText(result.systemError);
}

}  // namespace qvr
