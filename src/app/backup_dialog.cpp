#include "app/backup_dialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/file_dialogs.h"

namespace qvr {
namespace {

QPushButton* AddButton(QDialogButtonBox* box, const QString& text,
                       QDialogButtonBox::ButtonRole role, const char* name) {
  QPushButton* button = box->addButton(text, role);
  button->setObjectName(name);
  // A screen reader says the caption, not its mnemonic's ampersand.
  button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
  return button;
}

}  // namespace

BackupListDialog::BackupListDialog(const BackupChoiceRequest& request, QWidget* parent)
    : QDialog(parent) {
  setObjectName("FormRestoreBackupx");
  setWindowTitle(request.title);
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(request.heading, this);
  heading->setObjectName("LabelUnitBackupsx");
  heading->setWordWrap(true);
  layout->addWidget(heading);
  list_ = new QTreeWidget(this);
  list_->setObjectName("ListBackupsx");
  list_->setAccessibleName(request.heading);
  heading->setBuddy(list_);
  layout->addWidget(list_);
  FillList(request);
  layout->addWidget(Buttons(request));
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
  list_->setFocus();
}

QDialogButtonBox* BackupListDialog::Buttons(const BackupChoiceRequest& request) {
  auto* buttons = new QDialogButtonBox(this);
  buttons->setObjectName("ButtonsRestoreBackupx");
  QPushButton* restore =
      AddButton(buttons, request.restoreText, QDialogButtonBox::AcceptRole, "ButtonRestorex");
  // Enter restores the backup chosen in the list, once there is one.
  restore->setDefault(true);
  restore->setEnabled(list_->currentItem() != nullptr);
  connect(list_, &QTreeWidget::currentItemChanged, restore,
          [restore](QTreeWidgetItem* current) { restore->setEnabled(current != nullptr); });
  QPushButton* other = AddButton(buttons, request.otherFileText, QDialogButtonBox::ActionRole,
                                 "ButtonOtherBackupFilex");
  connect(other, &QPushButton::clicked, this, [this] {
    otherFile_ = true;
    accept();
  });
  AddButton(buttons, request.cancelText, QDialogButtonBox::RejectRole, "ButtonCancelRestorex");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  return buttons;
}

void BackupListDialog::FillList(const BackupChoiceRequest& request) {
  list_->setColumnCount(int(request.columns.size()));
  list_->setHeaderLabels(request.columns);
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const QStringList& row : request.rows) new QTreeWidgetItem(list_, row);
  if (request.selected >= 0) list_->setCurrentItem(list_->topLevelItem(request.selected));
  // Every column as wide as its widest text in either language, with a gap before the next,
  // so that nothing is cut or runs into its neighbour; the last one takes what is left.
  QHeaderView* header = list_->header();
  const QAbstractItemView* view = list_;  // the tree hides the widths its base tells
  const int gap = 2 * fontMetrics().averageCharWidth();
  int width = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < list_->columnCount(); ++column) {
    const int wanted =
        std::max(view->sizeHintForColumn(column), header->sectionSizeHint(column)) + gap;
    header->resizeSection(column, wanted);
    width += wanted;
  }
  list_->setMinimumWidth(width);
}

BackupChoice BackupListDialog::choice() const {
  if (result() != QDialog::Accepted) return {};
  if (otherFile_) return {BackupChoice::kOtherFile};
  QTreeWidgetItem* current = list_->currentItem();
  if (!current) return {};
  return {BackupChoice::kListed, list_->indexOfTopLevelItem(current)};
}

BackupChoice QtFileDialogRunner::ChooseBackup(const BackupChoiceRequest& request) {
  BackupListDialog dialog(request, mainWindow_);
  if (!centring_.Run(dialog)) return {};
  return dialog.choice();
}

}  // namespace qvr
