#pragma once
// The restore's list of backups as a small modal dialog: Enter or a double click restores the
// chosen backup, "Other file..." asks for a file instead, Esc cancels. It only shows what the
// request holds; the window builds the request and acts on the choice.
#include <QDialog>

#include "app/backup_choice.h"

class QDialogButtonBox;
class QTreeWidget;

namespace qvr {

class BackupListDialog final : public QDialog {
 public:
  BackupListDialog(const BackupChoiceRequest& request, QWidget* parent);
  // What the installer chose, once the dialog has closed (cancelled while it is open).
  BackupChoice choice() const;

 private:
  void FillList(const BackupChoiceRequest& request);
  QDialogButtonBox* Buttons(const BackupChoiceRequest& request);

  QTreeWidget* list_ = nullptr;
  bool otherFile_ = false;
};

}  // namespace qvr
