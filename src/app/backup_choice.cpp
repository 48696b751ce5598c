#include "app/backup_choice.h"

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr {
namespace {

QString Shown(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString MarksOf(const Catalogue& catalogue, const BackupEntry& entry) {
  QStringList marks;
  if (entry.first) marks << Shown(Text(catalogue, AddedText::kBackupMarkFirst));
  if (entry.afterFailedChange)
    marks << Shown(Text(catalogue, AddedText::kBackupMarkAfterFailedChange));
  return marks.join(QStringLiteral(", "));
}

QStringList RowOf(const Catalogue& catalogue, const BackupEntry& entry) {
  return {QString::fromStdString(LocalTimeOfName(entry.timeName)),
          QString::fromStdString(BackupNumberText(catalogue, entry)),
          QString::fromStdString(entry.configName), MarksOf(catalogue, entry)};
}

QString HeadingOf(const Catalogue& catalogue, const DeviceModule& module, uint32_t serial,
                  bool none, const std::string& folder) {
  if (none)
    return QString::fromStdString(
        catalogue.FormatText(Text(catalogue, AddedText::kNoUnitBackupsInFolder), module.name,
                             unsigned(serial), folder.c_str()));
  return QString::fromStdString(
      catalogue.FormatText(Text(catalogue, AddedText::kUnitBackupsHeading), module.name,
                           static_cast<unsigned long>(serial)));
}

}  // namespace

BackupChoiceRequest UnitBackupChoice(const Catalogue& catalogue, const DeviceModule& module,
                                     uint32_t serial, const std::vector<BackupEntry>& oldestFirst,
                                     const std::string& folder) {
  BackupChoiceRequest request;
  request.title = Shown(Text(catalogue, AddedText::kRestoreDialogTitle));
  request.heading = HeadingOf(catalogue, module, serial, oldestFirst.empty(), folder);
  for (AddedText column : {AddedText::kBackupColumnTime, AddedText::kBackupColumnNumber,
                           AddedText::kBackupColumnName, AddedText::kBackupColumnMarks})
    request.columns << Shown(Text(catalogue, column));
  for (auto entry = oldestFirst.rbegin(); entry != oldestFirst.rend(); ++entry)
    request.rows.push_back(RowOf(catalogue, *entry));
  if (const BackupEntry* sound = LatestSoundBackup(oldestFirst))
    request.selected = int(oldestFirst.size()) - 1 - int(sound - oldestFirst.data());
  request.restoreText = Shown(Text(catalogue, AddedText::kRestoreButton));
  request.otherFileText = Shown(Text(catalogue, AddedText::kOtherBackupFileButton));
  request.cancelText = Shown(Text(catalogue, AddedText::kCancelButton));
  return request;
}

}  // namespace qvr
