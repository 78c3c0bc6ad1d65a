// The launcher's one window: conversion settings, destination choice, the
// three ways of handing it drawings (drop, file dialog, command line), the
// batch run that starts the converter once per drawing, and the log.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "launcher/launcher_prompts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace parvex::launcher {

class EscapeKeyWatch;

// Where the window lives and what it may ask of the outside world. The
// program fills it from its own executable; tests point it elsewhere.
struct LauncherEnvironment {
  // The launcher's folder with a trailing separator. It holds the settings
  // file, the converter "ParvexSub" and the temporary folder "DWGTMP".
  QString programFolder;
  // The settings file: the launcher's executable path with ".dat".
  QString settingsFile;
  // Wine prefix searched for Jw_cad's file association.
  QString winePrefix;
  // Paths given on the command line, converted once the window shows.
  QStringList commandLineFiles;
  // Dialogs; the real ones when null.
  std::shared_ptr<LauncherPrompts> prompts;
  // Whether ESC is held down; the window's own key watch when empty.
  std::function<bool()> escapeHeld;
  // Highest branch number tried for a taken destination name.
  int maxBranch = 99999;
};

// Captions and texts the window shows.
inline constexpr char16_t kWindowTitle[] = u"JWWファイルをDXFファイルに変換 [Parvex] Ver.1.20";
inline constexpr char16_t kResultComplete[] = u"変換完了";
inline constexpr char16_t kResultFailed[] = u"変換失敗";
inline constexpr char16_t kEscapeLogLine[] = u"[ESC]を押しましたので中断します。";
inline constexpr char16_t kFolderMissingMessage[] = u"指定したフォルダが見つかりません。";
// Logged for input that arrives while a batch runs; a refused path follows
// after "：".
inline constexpr char16_t kBusyLogLine[] = u"※変換中のため受け付けませんでした";
inline constexpr char16_t kOdaPromptText[] = u"(ODA FileConverterを指定して下さい)";

// Longest a single converter or ODA FileConverter run may take before it is
// taken as hung, killed and the file logged as failed.
inline constexpr std::chrono::milliseconds kDefaultChildTimeLimit = std::chrono::minutes(10);

class LauncherWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit LauncherWindow(LauncherEnvironment environment, QWidget* parent = nullptr);
  ~LauncherWindow() override;

  // Takes a new set of files: empties FList, passes each path to PickupFile
  // and runs the batch when anything was accepted. Refused, with a note in
  // the log, while a batch runs.
  void AcceptFiles(const QStringList& paths);

  // Appends `fn` to FList when it names an existing Jw_cad file.
  void PickupFile(const QString& fn);

  // Converts everything in FList (one converter process at a time).
  void RunProc();

  // Converts one file; returns "変換完了" or "変換失敗".
  QString RunProc1(const QString& src, const QString& dst);

  // Settings file of the launcher column, to and from the window.
  void OpenDatFile(const QString& fn);
  void SaveDatFile(const QString& fn);

  // The open command's program folder of Jw_cad.
  QString GetJwwKanren() const;

  bool IsBatchRunning() const { return batchRunning_; }
  const QStringList& FileList() const { return FList; }
  int FListN() const { return static_cast<int>(FList.size()); }
  QStringList LogLines() const;
  QString ConverterPath() const;
  QString DwgTempFolder() const;
  const QString& ThemeName() const { return themeName_; }
  const QString& JwwFolder() const { return JwwPath; }
  void SetChildTimeLimit(std::chrono::milliseconds limit) { childTimeLimit_ = limit; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWindow();
  QWidget* BuildDestinationGroup();
  QWidget* BuildSelectionStrip();
  QWidget* BuildSettingsPage();
  QWidget* BuildLogPage();
  void PlaceWindow();

  void DestinationChanged();
  void BrowseGivenFolder();
  void BrowseOdaConverter();
  void ChooseFiles();
  void ThemeSelected(int index);

  // Whether the DWG step applies now: "DWG変換" checked and an existing
  // ODA FileConverter named in OdaConverterEdit.
  bool DwgEnabled() const;
  void RunDwgStep(const QString& dxfPath);
  // Settles the destination folder of a batch; false stops the batch.
  // `besideSource` is set when each output goes beside its drawing.
  bool SettleDestination(QString& folder, bool& besideSource);
  void AddLog(const QString& line);
  void CopyLogSelection();
  LauncherPrompts& Prompts();

  LauncherEnvironment env_;
  std::unique_ptr<EscapeKeyWatch> escapeWatch_;
  std::chrono::milliseconds childTimeLimit_ = kDefaultChildTimeLimit;
  bool batchRunning_ = false;
  bool closeAfterBatch_ = false;
  bool shownOnce_ = false;
  // Why the last file failed, logged below its result line; empty when the
  // converter gave no reason.
  QString lastFailureDetail_;

 public:
  // Controls, named for what they show or hold.
  QRadioButton* DesktopButton = nullptr;
  QRadioButton* DocumentsButton = nullptr;
  QRadioButton* SourceFolderButton = nullptr;
  QRadioButton* GivenFolderButton = nullptr;
  QRadioButton* AskEachTimeButton = nullptr;
  QLineEdit* GivenFolderEdit = nullptr;
  QPushButton* GivenFolderBrowse = nullptr;
  QLabel* AskedFolderLabel = nullptr;
  QLabel* DialogFolderLabel = nullptr;
  QLabel* ChooseFilesLink = nullptr;
  QTabWidget* Pages = nullptr;
  QListWidget* LogList = nullptr;
  QProgressBar* BatchProgress = nullptr;
  QComboBox* ThemeList = nullptr;
  QComboBox* DxfVersionList = nullptr;
  QComboBox* ColorModeList = nullptr;
  QComboBox* LayerNameList = nullptr;
  QComboBox* OutputSpaceList = nullptr;
  QComboBox* LayerGroupList = nullptr;
  QComboBox* PointConversionList = nullptr;
  QComboBox* TextStyleList = nullptr;
  QLineEdit* PointRadiusEdit = nullptr;
  QLineEdit* OdaConverterEdit = nullptr;
  QPushButton* OdaConverterBrowse = nullptr;
  QCheckBox* DwgCheck = nullptr;
  QCheckBox* ExpandTextCheck = nullptr;
  QCheckBox* ExpandCodesCheck = nullptr;
  QCheckBox* PolylineCheck = nullptr;
  QCheckBox* DimensionEntityCheck = nullptr;

  // The five destination buttons in the order of DestinationChoice.
  std::array<QRadioButton*, 5> DestinationButtons() const {
    return {DesktopButton, DocumentsButton, SourceFolderButton, GivenFolderButton, AskEachTimeButton};
  }

 private:
  QString JwwPath;     // Jw_cad's program folder, found at every start
  QString themeName_;  // applied at the next start
  // Window placement read from the settings file.
  int savedLeft_ = 50;
  int savedTop_ = 50;
  int savedWidth_ = 510;
  int savedHeight_ = 510;
  int filterIndex_ = 1;  // file dialog's filter, 1-based
  QStringList FList;
};

}  // namespace parvex::launcher
