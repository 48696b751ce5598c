// The language switch over the whole window, and termination signals closing it properly.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#endif

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

#include "app/termination_signals.h"
#include "devices/common/ini_file.h"
#include "shell_test_support.h"

namespace qvr::test {
namespace {

TEST(LanguageSwitch, TranslatesTheWindowKeepsSelectionsAndRunsThePageHooksInOrder) {
  ShellFixture shell;
  MainWindow& window = shell.Open();
  shell.mux->naviType->setCurrentIndex(3);
  shell.mux->calls.clear();
  shell.tpx->calls.clear();

  shell.Find<QAction>("MenuItemLanguageEnglishx")->trigger();

  EXPECT_EQ(window.SetLanguage(-1), kEnglish);
  EXPECT_EQ(window.windowTitle(), "Service program. Version 1.14");
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLanguageEnglishx")->isChecked());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLanguageRussianx")->isChecked());
  EXPECT_EQ(shell.Find<QToolButton>("SpeedButtonUpdate")->toolTip(), "Firmware Update");
  EXPECT_EQ(shell.Find<QFrame>("PanelMenu")->toolTip(),
            "Select Options from the menu after clicking the right mouse button");
  EXPECT_EQ(shell.Find<QTabWidget>("PageControlMain")->tabText(0), "Monitoring");
  EXPECT_EQ(shell.Find<QAction>("MenuItemDebug")->text(), "Debug");
  EXPECT_EQ(shell.mux->naviType->currentIndex(), 3);
  EXPECT_EQ(shell.mux->naviType->itemText(0), "Unknown");
  EXPECT_EQ(shell.mux->calls, (std::vector<std::string>{"Before", "After"}));
  EXPECT_EQ(shell.tpx->calls, (std::vector<std::string>{"Before", "After"}));
  // Screen readers name the glyph buttons by their hints; Qt's own texts are English again.
  EXPECT_EQ(shell.Find<QToolButton>("SpeedButtonReset")->accessibleName(), "Reset device");
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), "&No");

  // -1 only asks.
  shell.mux->calls.clear();
  EXPECT_EQ(window.SetLanguage(-1), kEnglish);
  EXPECT_TRUE(shell.mux->calls.empty());

  // Choosing the current language again keeps its mark.
  shell.Find<QAction>("MenuItemLanguageEnglishx")->trigger();
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLanguageEnglishx")->isChecked());

  auto* maker = shell.Find<QToolButton>("SpeedButtonLanguageMakerx");
  ASSERT_TRUE(maker->isEnabled());
  EXPECT_TRUE(maker->isHidden());
  maker->click();
  EXPECT_EQ(window.SetLanguage(-1), kRussian);
  EXPECT_EQ(shell.mux->naviType->itemText(0), QString::fromUtf8("Неизвестно"));
  EXPECT_EQ(shell.Find<QToolButton>("SpeedButtonReset")->accessibleName(),
            QString::fromUtf8("Сброс устройства"));
  EXPECT_EQ(shell.Find<QFrame>("PanelMenu")->accessibleName(),
            shell.Find<QFrame>("PanelMenu")->toolTip());
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QString::fromUtf8("&Нет"));
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
  EXPECT_EQ(shell.Find<QMenu>("MenuItemLanguage")->title(), QString::fromUtf8("Язык/Language"));
  EXPECT_EQ(shell.mux->naviType->currentIndex(), 3);
}

#ifndef _WIN32  // Windows has no termination signals; its window closes on its own events
TEST(TerminationSignal, ClosesTheWindowThroughTheOrdinaryShutDown) {
  ShellFixture shell;
  MainWindow& window = shell.Open();
  window.show();
  TerminationSignals signalWatch([&window] { window.close(); });
  ASSERT_TRUE(signalWatch.active());

  ::raise(SIGTERM);
  QElapsedTimer waited;
  waited.start();
  while (!window.closing() && waited.elapsed() < 5000) QCoreApplication::processEvents();
  while (window.isVisible() && waited.elapsed() < 5000) QCoreApplication::processEvents();

  EXPECT_TRUE(window.closing());
  EXPECT_FALSE(window.isVisible());
  IniFile saved;
  saved.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(saved.GetInt("MainSettings", "ActivePage", -1), 0);
}
#endif

}  // namespace
}  // namespace qvr::test
