#pragma once
// What window tests need: a settings file in a temporary folder, scripted answers for message
// boxes and file dialogs, a stand-in device page that records the row operations, and a main
// window over the simulated controller built from these.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "link/host.h"
#include "sim/sim_transport.h"
#include "support/page_order.h"

namespace qvr::test {

// Answers boxes from a script (default: OK, or No for Yes/No boxes) and records each one, with
// whether the connection poll was running while it was open.
class ScriptedBoxes : public MessageBoxResponder {
 public:
  struct Seen {
    BoxRequest request;
    bool pollRunning;
  };
  BoxAnswer Respond(const BoxRequest& request) override {
    seen.push_back({request, pollTimer && pollTimer->isActive()});
    if (during) during();
    if (answers.empty()) return request.yesNo ? BoxAnswer::kNo : BoxAnswer::kOk;
    BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::string lastText() const {
    return seen.empty() ? "" : seen.back().request.text.toStdString();
  }

  std::vector<Seen> seen;
  std::deque<BoxAnswer> answers;
  QTimer* pollTimer = nullptr;
  std::function<void()> during;  // runs while a box is "open"
};

// Answers file dialogs and the restore's list from scripts ("" cancels; an empty script
// cancels) and records them.
class ScriptedDialogs : public FileDialogRunner {
 public:
  QString Run(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (during) during();
    if (answers.empty()) return QString();
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // The restore's list: a listed choice without a row takes the one chosen at the start, as
  // Enter does.
  BackupChoice ChooseBackup(const BackupChoiceRequest& request) override {
    backupRequests.push_back(request);
    if (backupChoices.empty()) return {};
    BackupChoice choice = backupChoices.front();
    backupChoices.pop_front();
    if (choice.kind == BackupChoice::kListed && choice.row < 0) choice.row = request.selected;
    return choice;
  }
  std::vector<FileDialogRequest> requests;
  std::deque<QString> answers;
  std::vector<BackupChoiceRequest> backupRequests;
  std::deque<BackupChoice> backupChoices;
  std::function<void()> during;  // runs while the dialog is "open"
};

// A device page that records what the window asked of it and answers with set results.
class RecordingPage : public DevicePage {
 public:
  RecordingPage(int index, QWidget* parent) : DevicePage(parent), index_(index) {
    auto* layout = new QVBoxLayout(this);
    if (index == kPageMux410) {
      naviType = new QComboBox(this);
      naviType->setObjectName("ComboBoxNaviType_MUX410");
      naviType->addItems({"Неизвестно", "GVN53", "LM7200", "PHANTOM, F1"});
      layout->addWidget(naviType);
    }
    debugButton = new QToolButton(this);
    debugButton->setObjectName(index == kPageMux410 ? "SpeedButtonCamOn_MUX410x"
                                                    : "SpeedButtonMakeEvent_TPX520x");
    layout->addWidget(debugButton);
  }

  void InitPage() override { calls.push_back("InitPage"); }
  void BeforeLanguageSwitch() override { calls.push_back("Before"); }
  void AfterLanguageSwitch() override { calls.push_back("After"); }
  TransferResult ReadDevice(const DeviceModule& module) override {
    calls.push_back(std::string("ReadDevice ") + module.name);
    return readDeviceResult;
  }
  PageOutcome CheckForDevice() override {
    calls.push_back("CheckForDevice");
    return validationResult;
  }
  PageOutcome CheckForFile() override {
    calls.push_back("CheckForFile");
    return validationResult;
  }
  TransferResult WriteDevice(const DeviceModule& module) override {
    calls.push_back(std::string("WriteDevice ") + module.name);
    return writeDeviceResult;
  }
  PageOutcome ReadConfigFile(const DeviceModule& module, const std::string& path) override {
    calls.push_back(std::string("ReadConfigFile ") + module.name + " " + path);
    return PageOutcome::kDone;
  }
  PageOutcome WriteConfigFile(const DeviceModule& module, const std::string& path) override {
    calls.push_back(std::string("WriteConfigFile ") + module.name + " " + path);
    return PageOutcome::kDone;
  }
  void EventMenuAction(EventMenuItem item) override {
    calls.push_back("Event " + std::to_string(int(item)));
  }

  std::vector<std::string> calls;
  TransferResult readDeviceResult = LinkOk;
  TransferResult writeDeviceResult = LinkOk;
  PageOutcome validationResult = PageOutcome::kDone;
  QComboBox* naviType = nullptr;
  QToolButton* debugButton = nullptr;

 private:
  int index_;
};

// A main window over the simulated controller with a settings file in a temporary folder,
// recording pages and scripted boxes and dialogs. Write the settings file before Open().
class ShellFixture {
 public:
  ShellFixture() : settingsPath(dir.path() + "/qvr-service.ini") {}
  ~ShellFixture() { window.reset(); }

  void WriteSettings(const QByteArray& text) {
    QFile file(settingsPath);
    file.open(QIODevice::WriteOnly);
    file.write(text);
  }
  QByteArray ReadSettings() const {
    QFile file(settingsPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Without `modules` the window builds its rows from `drivers`.
  MainWindow& Open(std::span<const ModuleRow> modules = {},
                   std::span<const DeviceDriver> drivers = DeviceDrivers(),
                   std::span<const PageKind> pageKinds = PageKinds()) {
    WindowOptions options;
    options.settingsPath = settingsPath;
    options.transport =
        makeTransport ? makeTransport(controller) : std::make_unique<sim::SimTransport>(controller);
    options.modules = modules;
    options.drivers = drivers;
    options.pageKinds = pageKinds;
    options.boxResponder = &boxes;
    options.dialogRunner = &dialogs;
    if (!defaultDataFolder) options.dataFolder = dir.path().toStdString();
    options.simulated = simulated;
    options.clock = clock;
    if (!realPages)
      options.createPage = [this](const DeviceDriver& driver, PageHost&,
                                  QWidget* parent) -> DevicePage* {
        if (!driver.hasConfiguration()) return nullptr;
        const bool isMux = driver.module == &mux410::kModule;
        auto* created = new RecordingPage(isMux ? kPageMux410 : kPageTpx520, parent);
        if (isMux)
          mux = created;
        else if (driver.module == &tpx520::kModule)
          tpx = created;
        else
          other = created;
        return created;
      };
    window = std::make_unique<MainWindow>(std::move(options));
    boxes.pollTimer = window->findChild<QTimer*>("TimerQVRBTest");
    return *window;
  }

  // Polls the simulated controller once, as the timer would.
  void Connect() { (void)window->monitor().PollController(); }

  // Reads the unit of `page`, saves the page as `path`, loads that file and writes it back,
  // answering Yes: a write from a file, which sends nothing a *.MUX cannot carry.
  void WriteThroughFile(int page, const QString& path) {
    window->setActivePage(page);
    window->ReadDeviceCommand();
    dialogs.answers = {path, path};
    window->SaveConfigFileCommand();
    window->OpenConfigFileCommand();
    boxes.answers = {BoxAnswer::kYes};
    window->WriteDeviceCommand();
  }

  template <typename T>
  T* Find(const char* name) const {
    return window->findChild<T*>(name);
  }

  QTemporaryDir dir;
  QString settingsPath;
  bool simulated = false;          // the window is told its controller is the simulated one
  bool defaultDataFolder = false;  // backups go where the user's data folder says
  sim::SimController controller;
  ScriptedBoxes boxes;
  ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> window;
  RecordingPage* mux = nullptr;
  RecordingPage* tpx = nullptr;
  RecordingPage* other = nullptr;  // the page of a kind only a test registers
  bool realPages = false;          // the registry's own pages instead of recording ones
  Clock* clock = nullptr;          // set to give the window a clock of the test's
  // Set to put something between the window and the simulated controller.
  std::function<std::unique_ptr<Transport>(sim::SimController&)> makeTransport;
};

}  // namespace qvr::test
