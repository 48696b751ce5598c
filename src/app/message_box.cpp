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

BoxRequest MakeBoxRequest(const Catalogue& catalogue, BoxStyle style, const std::string& text) {
  BoxRequest request;
  request.style = style;
  request.text = QString::fromStdString(text);
  request.defaultNo = style.defaultButton == DefaultButton::kNo;
  // A kind outside the four has no caption.
  std::optional<MessageId> captionId;
  switch (style.kind) {
    case BoxKind::kError:
      captionId = MessageId::kCaptionError;
      break;
    case BoxKind::kQuestion:
      captionId = MessageId::kCaptionQuestion;
      request.yesNo = true;
      break;
    case BoxKind::kWarning:
      captionId = MessageId::kCaptionWarning;
      request.yesNo = true;
      break;
    case BoxKind::kInformation:
      captionId = MessageId::kCaptionInformation;
      break;
  }
  if (captionId) request.caption = QString::fromUtf8(catalogue.Text(*captionId));
  return request;
}

BoxRequest MakeSaveChangesRequest(const Catalogue& catalogue, const std::string& text) {
  BoxRequest request = MakeBoxRequest(catalogue, BoxKind::kQuestion, text);
  request.saveChanges = true;
  request.saveText = QString::fromUtf8(Text(catalogue, AddedText::kSaveButton));
  request.discardText = QString::fromUtf8(Text(catalogue, AddedText::kDiscardButton));
  request.cancelText = QString::fromUtf8(Text(catalogue, AddedText::kCancelButton));
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

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::kError:
      return QMessageBox::Critical;
    case BoxKind::kQuestion:
      return QMessageBox::Question;
    case BoxKind::kWarning:
      return QMessageBox::Warning;
    case BoxKind::kInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

BoxAnswer QtMessageBoxResponder::Respond(const BoxRequest& request) {
  PlacedMessageBox box(mainWindow_);
  box.setIcon(IconOf(request.style.kind));
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
    return BoxAnswer::kOk;
  }
  if (request.saveChanges) {
    QPushButton* save = box.addButton(request.saveText, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(request.discardText, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(request.cancelText, QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return BoxAnswer::kYes;
    return box.clickedButton() == discard ? BoxAnswer::kNo : BoxAnswer::kCancel;
  }
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(request.defaultNo ? QMessageBox::No : QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes) ? BoxAnswer::kYes : BoxAnswer::kNo;
}

BoxAnswer MessageBoxService::Show(BoxStyle style, const std::string& text,
                                  const std::string& field) {
  BoxRequest request = MakeBoxRequest(catalogue_, style, text);
  request.field = QString::fromStdString(field);
  return Answer(request, field.empty() ? text : field + "\n" + text);
}

BoxAnswer MessageBoxService::AskSaveChanges(const std::string& text) {
  return Answer(MakeSaveChangesRequest(catalogue_, text), text);
}

BoxAnswer MessageBoxService::Answer(const BoxRequest& request, const std::string& diverted) {
  if (divert_) {
    divert_(diverted);
    return request.yesNo ? BoxAnswer::kNo : BoxAnswer::kOk;
  }
  const auto declined = [&] { return request.yesNo && closing_ && closing_(); };
  if (declined()) return BoxAnswer::kNo;
  pollTimer_.stop();
  BoxAnswer result = responder_->Respond(request);
  if (declined()) result = BoxAnswer::kNo;
  // Always enabled afterwards, even when a box opened while the poll was off (the close
  // sequence): the monitor must not stay silent for the rest of the run.
  pollTimer_.start();
  return result;
}

}  // namespace qvr
