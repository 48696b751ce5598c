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

class QTimer;
class QWidget;

namespace qvr {

class Catalogue;

// Added to kBoxQuestion: the buttons are Save (answers kBoxResultYes), Discard (kBoxResultNo)
// and Cancel (kBoxResultCancel).
inline constexpr int kBoxSaveChanges = 512;
inline constexpr int kBoxResultCancel = 2;

struct BoxRequest {
  int kind = 0;     // as passed by the caller, kBoxDefaultNo included
  QString caption;  // in the language of the moment
  QString text;
  bool yesNo = false;  // Yes and No instead of OK
  bool defaultNo = false;
  bool saveChanges = false;  // Save, Discard and Cancel (yesNo is set too)
  QString saveText, discardText, cancelText;
  QString field;  // the field (and event) the text is about, shown above it; "" for none
};

// Caption message, buttons and default button of `kind`, the caption in the catalogue's language.
BoxRequest MakeBoxRequest(const Catalogue& catalogue, int kind, const std::string& text);

// Where a window of `size` goes over the main window's outer rectangle `mainFrame`: centred
// horizontally and `below` pixels under the centre; each halving truncates toward zero. An
// invalid size places it as a 400 x 400 window.
QPoint CentredPosition(const QRect& mainFrame, QSize size, int below);
inline constexpr int kBoxBelowCentre = 50;

// Whoever answers a box: the real modal box, or a test's script. Returns kBoxResultOk,
// kBoxResultYes or kBoxResultNo.
class MessageBoxResponder {
 public:
  virtual ~MessageBoxResponder() = default;
  virtual int Respond(const BoxRequest& request) = 0;
};

// A modal box always on top, placed by CentredPosition over `mainWindow` when it first shows.
class QtMessageBoxResponder final : public MessageBoxResponder {
 public:
  explicit QtMessageBoxResponder(QWidget* mainWindow) : mainWindow_(mainWindow) {}
  int Respond(const BoxRequest& request) override;

 private:
  QWidget* mainWindow_;
};

// ShowMessageBox of the window: no connection poll while the box is open (the poll timer is
// enabled again afterwards, whatever it was before), and no box in the middle of an exchange.
class MessageBoxService {
 public:
  MessageBoxService(const Catalogue& catalogue, QTimer& pollTimer,
                    std::function<void()> waitLinkIdle, MessageBoxResponder& responder)
      : catalogue_(catalogue),
        pollTimer_(pollTimer),
        waitLinkIdle_(std::move(waitLinkIdle)),
        responder_(&responder) {}

  int Show(int kind, const std::string& text, const std::string& field = std::string());
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
  std::function<void()> waitLinkIdle_;
  MessageBoxResponder* responder_;
};

}  // namespace qvr
