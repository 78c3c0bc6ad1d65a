// A launcher window in a private temporary folder: "app/" is its program
// folder (with a stand-in converter unless a test puts another there),
// "in/" holds drawings, "out/" receives conversions. Dialogs are answered
// by a script of replies and every message is recorded.
#pragma once

#include <deque>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "launcher/launcher_prompts.h"
#include "launcher/launcher_window.h"
#include "tests/support/temp_folder.h"

namespace parvex::launcher::testing {

class ScriptedPrompts : public LauncherPrompts {
 public:
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
  std::optional<SourceFileChoice> ChooseSourceFiles(QWidget*, const QString& folder, int filterIndex) override {
    sourceDialogFolder = folder;
    sourceDialogFilter = filterIndex;
    if (sourceChoices.empty() || sourceChoices.front().files.isEmpty()) return Cancel(sourceChoices);
    SourceFileChoice choice = sourceChoices.front();
    sourceChoices.pop_front();
    return choice;
  }
  std::optional<QString> ChooseFolder(QWidget*, const QString& startFolder) override {
    folderDialogStarts.push_back(startFolder);
    return Take(folderChoices);
  }
  std::optional<QString> ChooseExecutable(QWidget*, const QString& startFolder, const QString& preselect) override {
    executableDialogStart = startFolder;
    executablePreselect = preselect;
    return Take(executableChoices);
  }

  QStringList messages;
  QStringList folderDialogStarts;
  QString sourceDialogFolder;
  int sourceDialogFilter = 0;
  QString executableDialogStart;
  QString executablePreselect;
  // Replies, taken front first; an empty reply or an empty queue answers
  // "cancelled".
  std::deque<SourceFileChoice> sourceChoices;
  std::deque<QString> folderChoices;
  std::deque<QString> executableChoices;

 private:
  template <typename T>
  static std::nullopt_t Cancel(std::deque<T>& queue) {
    if (!queue.empty()) queue.pop_front();
    return std::nullopt;
  }
  static std::optional<QString> Take(std::deque<QString>& queue) {
    if (queue.empty() || queue.front().isEmpty()) return Cancel(queue);
    QString value = queue.front();
    queue.pop_front();
    return value;
  }
};

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the window; tests that need a settings file or other preparations
  // first write them and then call this.
  LauncherWindow& Window();
  // A window opened on the same folder after this one was closed.
  std::unique_ptr<LauncherWindow> ReopenWindow();

  // The test's own folder, removed with everything in it afterwards.
  QString Root() const { return QString::fromStdString(root_.Path().string()); }
  QString AppDir() const { return Root() + "/app/"; }
  QString InDir() const { return Root() + "/in/"; }
  QString OutDir() const { return Root() + "/out/"; }
  QString SettingsFile() const { return AppDir() + "Parvex.dat"; }

  // Writes a file (creating its folder); returns its path.
  QString WriteFile(const QString& path, const QByteArray& content);
  // Places a stand-in script from the test sources into the program folder.
  void InstallStandIn(const QString& name);
  // Points the window at out/ through the specified-folder destination.
  void ConvertIntoOutDir();
  QStringList ConverterCalls() const;

  parvex::testing::TempFolder root_;
  std::shared_ptr<ScriptedPrompts> prompts_ = std::make_shared<ScriptedPrompts>();
  std::function<bool()> escapeHeld_;
  int maxBranch_ = 99999;
  QStringList commandLine_;
  std::unique_ptr<LauncherWindow> window_;
};

// Reads a whole text file as UTF-8.
QString ReadText(const QString& path);

}  // namespace parvex::launcher::testing
