#include "app/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <optional>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/host.h"

namespace qvr {

BoxRequest MakeBoxRequest(const Catalogue& catalogue, int kind, const std::string& text) {
  BoxRequest request;
  request.kind = kind;
  request.text = QString::fromStdString(text);
  request.defaultNo = (kind & kBoxDefaultNo) != 0;
  std::optional<MessageId> captionId;
  switch (kind & 0xFF) {
    case kBoxError:
      captionId = MessageId::kCaptionError;
      break;
    case kBoxQuestion:
      captionId = MessageId::kCaptionQuestion;
      request.yesNo = true;
      break;
    case kBoxWarning:
      captionId = MessageId::kCaptionWarning;
      request.yesNo = true;
      break;
    case kBoxInformation:
      captionId = MessageId::kCaptionInformation;
      break;
    default:
      break;
  }
  if (captionId) request.caption = QString::fromUtf8(catalogue.Text(*captionId));
  if ((kind & kBoxSaveChanges) != 0) {
    request.yesNo = true;
    request.saveChanges = true;
    request.saveText = QString::fromUtf8(Text(catalogue, AddedText::kSaveButton));
    request.discardText = QString::fromUtf8(Text(catalogue, AddedText::kDiscardButton));
    request.cancelText = QString::fromUtf8(Text(catalogue, AddedText::kCancelButton));
  }
  return request;
}

QPoint CentredPosition(const QRect& mainFrame, QSize size, int below) {
  const int halfWidth = size.isValid() && !size.isEmpty() ? size.width() / 2 : 200;
  const int halfHeight = size.isValid() && !size.isEmpty() ? size.height() / 2 : 200;
  return {mainFrame.left() + mainFrame.width() / 2 - halfWidth,
          mainFrame.top() + mainFrame.height() / 2 - halfHeight + below};
}

namespace {

// Moves itself over the main window when it first shows; the box settles its size while it
// shows, so a change of size then moves it again.
class PlacedMessageBox : public QMessageBox {
 public:
  explicit PlacedMessageBox(QWidget* mainWindow)
      : QMessageBox(mainWindow), mainWindow_(mainWindow) {}

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    placed_ = true;
    Place();
  }
  void resizeEvent(QResizeEvent* event) override {
    QMessageBox::resizeEvent(event);
    if (placed_) Place();
  }

 private:
  void Place() {
    if (!mainWindow_) return;
    move(CentredPosition(mainWindow_->frameGeometry(), frameGeometry().size(), kBoxBelowCentre));
  }

  QWidget* mainWindow_;
  bool placed_ = false;
};

QMessageBox::Icon IconOf(int kind) {
  switch (kind & 0xFF) {
    case kBoxError:
      return QMessageBox::Critical;
    case kBoxQuestion:
      return QMessageBox::Question;
    case kBoxWarning:
      return QMessageBox::Warning;
    case kBoxInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtMessageBoxResponder::Respond(const BoxRequest& request) {
  PlacedMessageBox box(mainWindow_);
  box.setIcon(IconOf(request.kind));
  box.setWindowTitle(request.caption);
  // File and adapter names are data: a name that looks like HTML is shown as it is.
  box.setTextFormat(Qt::PlainText);
  box.setText(request.field.isEmpty() ? request.text : request.field + "\n" + request.text);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setWindowModality(Qt::ApplicationModal);
  if (!request.yesNo) {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return kBoxResultOk;
  }
  if (request.saveChanges) {
    QPushButton* save = box.addButton(request.saveText, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(request.discardText, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(request.cancelText, QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return kBoxResultYes;
    return box.clickedButton() == discard ? kBoxResultNo : kBoxResultCancel;
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(request.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes) ? kBoxResultYes : kBoxResultNo;
}

int MessageBoxService::Show(int kind, const std::string& text, const std::string& field) {
  BoxRequest request = MakeBoxRequest(catalogue_, kind, text);
  request.field = QString::fromStdString(field);
  if (divert_) {
    divert_(field.empty() ? text : field + "\n" + text);
    return request.yesNo ? kBoxResultNo : kBoxResultOk;
  }
  const auto declined = [&] { return request.yesNo && closing_ && closing_(); };
  if (declined()) return kBoxResultNo;
  pollTimer_.stop();
  if (waitLinkIdle_) waitLinkIdle_();
  int result = responder_->Respond(request);
  if (declined()) result = kBoxResultNo;
  // Always enabled afterwards, even when a box opened while the poll was off (the close
  // sequence): the monitor must not stay silent for the rest of the run.
  pollTimer_.start();
  return result;
}

}  // namespace qvr
