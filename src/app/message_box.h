#pragma once
// Message boxes: the four kinds with their captions and buttons, the poll timer held while a box
// is open, and the placement of a box over the main window. Who answers a box is replaceable,
// so tests can script the user.
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

#include "link/host.h"

class QTimer;
class QWidget;

namespace qvr {

class Catalogue;

struct BoxRequest {
  BoxStyle style = BoxKind::kInformation;  // as passed by the caller
  QString caption;                         // in the language of the moment
  QString text;
  bool yesNo = false;  // Yes and No instead of OK
  bool defaultNo = false;
  bool saveChanges = false;  // Save, Discard and Cancel (yesNo is set too)
  QString saveText, discardText, cancelText;
  QString field;  // the field (and event) the text is about, shown above it; "" for none
};

// Caption message, buttons and default button of `style`, the caption in the catalogue's
// language.
BoxRequest MakeBoxRequest(const Catalogue& catalogue, BoxStyle style, const std::string& text);
// The question whether to save changes: Save (answers kYes), Discard (kNo) and Cancel (kCancel).
BoxRequest MakeSaveChangesRequest(const Catalogue& catalogue, const std::string& text);

// Where a window of `size` goes over the main window's outer rectangle `mainFrame`: centred
// horizontally and `below` pixels under the centre; each halving truncates toward zero. An
// invalid size places it as a 400 x 400 window.
QPoint CentredPosition(const QRect& mainFrame, QSize size, int below);
inline constexpr int kBoxBelowCentre = 50;

// Whoever answers a box: the real modal box, or a test's script.
class MessageBoxResponder {
 public:
  virtual ~MessageBoxResponder() = default;
  virtual BoxAnswer Respond(const BoxRequest& request) = 0;
};

// A modal box always on top, placed by CentredPosition over `mainWindow` when it first shows.
class QtMessageBoxResponder final : public MessageBoxResponder {
 public:
  explicit QtMessageBoxResponder(QWidget* mainWindow) : mainWindow_(mainWindow) {}
  BoxAnswer Respond(const BoxRequest& request) override;

 private:
  QWidget* mainWindow_;
};

// ShowMessageBox of the window: no connection poll while the box is open (the poll timer is
// enabled again afterwards, whatever it was before).
class MessageBoxService {
 public:
  MessageBoxService(const Catalogue& catalogue, QTimer& pollTimer, MessageBoxResponder& responder)
      : catalogue_(catalogue), pollTimer_(pollTimer), responder_(&responder) {}

  BoxAnswer Show(BoxStyle style, const std::string& text, const std::string& field = std::string());
  // Asks whether to save changes (Save, Discard, Cancel).
  BoxAnswer AskSaveChanges(const std::string& text);
  // After a termination signal nobody may be there to answer: boxes are not shown, their text
  // goes to `divert` (the log, the status bar and stderr), and questions are answered No.
  void Divert(std::function<void(const std::string&)> divert) { divert_ = std::move(divert); }
  // While `closing` holds, a question is answered No, also one that was open when it began:
  // a command asked about when the user closes is not carried out.
  void DeclineWhile(std::function<bool()> closing) { closing_ = std::move(closing); }

 private:
  std::function<bool()> closing_;
  std::function<void(const std::string&)> divert_;
  const Catalogue& catalogue_;
  QTimer& pollTimer_;
  MessageBoxResponder* responder_;

  // `diverted`: what a diverted box says instead.
  BoxAnswer Answer(const BoxRequest& request, const std::string& diverted);
};

}  // namespace qvr
