#include "launcher/launcher_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "launcher/escape_key_watch.h"
#include "launcher/launcher_paths.h"
#include "launcher/platform_lookup.h"

namespace parvex::launcher {
namespace {

QString Text(const char16_t* text) { return QString::fromUtf16(text); }

QComboBox* MakeList(const char* name, const QStringList& items) {
  auto* box = new QComboBox;
  box->setObjectName(QString::fromLatin1(name));
  box->addItems(items);
  box->setEditable(false);
  return box;
}

}  // namespace

LauncherWindow::LauncherWindow(LauncherEnvironment environment, QWidget* parent)
    : QMainWindow(parent), env_(std::move(environment)) {
  if (!env_.escapeHeld) {
    escapeWatch_ = std::make_unique<EscapeKeyWatch>();
    env_.escapeHeld = [watch = escapeWatch_.get()] { return watch->IsHeld(); };
  }
  env_.programFolder = IncludeTrailingSeparator(env_.programFolder);

  BuildWindow();

  // Start-up: the Jw_cad folder, the settings, the theme, the placement.
  JwwPath = GetJwwKanren();
  OpenDatFile(env_.settingsFile);

  ThemeList->addItems(ThemeNames());
  if (ThemeList->findText(themeName_) < 0) themeName_ = Text(kSystemThemeName);
  if (!ApplyTheme(themeName_)) themeName_ = Text(kSystemThemeName);
  ThemeList->setCurrentIndex(ThemeList->findText(themeName_));

  PlaceWindow();
}

LauncherWindow::~LauncherWindow() = default;

LauncherPrompts& LauncherWindow::Prompts() {
  if (!env_.prompts) env_.prompts = std::make_shared<QtLauncherPrompts>();
  return *env_.prompts;
}

void LauncherWindow::BuildWindow() {
  setWindowTitle(Text(kWindowTitle));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  QFont font;
  font.setFamilies({QStringLiteral(u"ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                    QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP"),
                    QStringLiteral("monospace")});
  font.setPointSize(9);
  setFont(font);

  auto* central = new QWidget;
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(6, 6, 6, 2);
  column->setSpacing(4);
  column->addWidget(BuildDestinationGroup());
  column->addWidget(BuildSelectionStrip());

  Pages = new QTabWidget;
  Pages->setObjectName(QStringLiteral("Pages"));
  Pages->setTabPosition(QTabWidget::South);
  Pages->addTab(BuildSettingsPage(), QStringLiteral(u"設定(&S)"));
  Pages->addTab(BuildLogPage(), QStringLiteral(u"ログ(&L)"));
  column->addWidget(Pages, 1);
  setCentralWidget(central);

  auto* status = new QLabel(QStringLiteral(u"※保存先フォルダに同じ名前のファイルが存在する場合は名前に枝番が付きます"));
  status->setObjectName(QStringLiteral("StatusText"));
  statusBar()->addWidget(status, 1);
  statusBar()->setSizeGripEnabled(false);

  resize(491, 472);
}

QWidget* LauncherWindow::BuildDestinationGroup() {
  auto* group = new QGroupBox(QStringLiteral(u"保存先(&F)"));
  group->setObjectName(QStringLiteral("DestinationGroup"));
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(8, 4, 8, 4);
  grid->setVerticalSpacing(2);

  auto radio = [](const char* name, const char16_t* caption) {
    auto* button = new QRadioButton(QString::fromUtf16(caption));
    button->setObjectName(QString::fromLatin1(name));
    return button;
  };
  DesktopButton = radio("DesktopButton", u"デスクトップ");
  DocumentsButton = radio("DocumentsButton", u"マイドキュメント");
  SourceFolderButton = radio("SourceFolderButton", u"元ファイルのフォルダ");
  GivenFolderButton = radio("GivenFolderButton", u"指定フォルダ");
  AskEachTimeButton = radio("AskEachTimeButton", u"毎回指定");
  // Loading the settings may leave every button unchecked, which an
  // exclusive group would not allow; exclusivity is kept by hand instead.
  for (QRadioButton* button : DestinationButtons()) {
    button->setAutoExclusive(false);
    connect(button, &QRadioButton::toggled, this, [this, button](bool on) {
      if (on) {
        for (QRadioButton* other : DestinationButtons())
          if (other != button) other->setChecked(false);
      }
      DestinationChanged();
    });
    // A click on the checked button must not uncheck it.
    connect(button, &QRadioButton::clicked, this, [button] { button->setChecked(true); });
  }

  GivenFolderEdit = new QLineEdit;
  GivenFolderEdit->setObjectName(QStringLiteral("GivenFolderEdit"));
  GivenFolderBrowse = new QPushButton(QStringLiteral(u"参照"));
  GivenFolderBrowse->setObjectName(QStringLiteral("GivenFolderBrowse"));
  connect(GivenFolderBrowse, &QPushButton::clicked, this, &LauncherWindow::BrowseGivenFolder);
  AskedFolderLabel = new QLabel;
  AskedFolderLabel->setObjectName(QStringLiteral("AskedFolderLabel"));
  AskedFolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

  grid->addWidget(DesktopButton, 0, 0);
  grid->addWidget(DocumentsButton, 0, 1);
  grid->addWidget(SourceFolderButton, 0, 2, 1, 2);
  grid->addWidget(GivenFolderButton, 1, 0);
  grid->addWidget(GivenFolderEdit, 1, 1, 1, 2);
  grid->addWidget(GivenFolderBrowse, 1, 3);
  grid->addWidget(AskEachTimeButton, 2, 0);
  grid->addWidget(AskedFolderLabel, 2, 1, 1, 3);
  grid->setColumnStretch(2, 1);

  DesktopButton->setChecked(true);
  DestinationChanged();
  return group;
}

QWidget* LauncherWindow::BuildSelectionStrip() {
  auto* strip = new QWidget;
  auto* rows = new QVBoxLayout(strip);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(2);
  auto* lead = new QLabel(QStringLiteral(u"エクスプローラ等からドラッグ＆ドロップするか、または、"));
  lead->setObjectName(QStringLiteral("DropHint"));
  ChooseFilesLink = new QLabel(QStringLiteral(u"ここをクリックして変換するファイルを選択して下さい。"));
  ChooseFilesLink->setObjectName(QStringLiteral("ChooseFilesLink"));
  ChooseFilesLink->setAlignment(Qt::AlignHCenter);
  ChooseFilesLink->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
  ChooseFilesLink->setCursor(Qt::PointingHandCursor);
  ChooseFilesLink->installEventFilter(this);
  DialogFolderLabel = new QLabel;
  DialogFolderLabel->setObjectName(QStringLiteral("DialogFolderLabel"));
  DialogFolderLabel->setVisible(false);
  rows->addWidget(lead);
  rows->addWidget(ChooseFilesLink);
  rows->addWidget(DialogFolderLabel);
  return strip;
}

QWidget* LauncherWindow::BuildSettingsPage() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(8, 6, 8, 6);
  grid->setVerticalSpacing(3);
  int row = 0;
  auto caption = [&](const char16_t* text, QWidget* control, QWidget* after = nullptr) {
    auto* label = new QLabel(QString::fromUtf16(text));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    if (after) grid->addWidget(after, row, 2);
    ++row;
  };

  ThemeList = MakeList("ThemeList", {});
  connect(ThemeList, &QComboBox::activated, this, &LauncherWindow::ThemeSelected);
  caption(u"画面スタイル：", ThemeList, new QLabel(QStringLiteral(u"←次回起動時に有効")));
  DxfVersionList =
      MakeList("DxfVersionList", {QStringLiteral("GX5/R12"), QStringLiteral("2000"), QStringLiteral("2007 (UTF8)")});
  caption(u"DXF(AutoCAD)出力バージョン：", DxfVersionList);
  ColorModeList = MakeList("ColorModeList", {QStringLiteral(u"画面要素色"), QStringLiteral(u"プリンタ出力要素色")});
  caption(u"JWW/JWS時の出力色：", ColorModeList);
  LayerNameList = MakeList("LayerNameList", {QStringLiteral(u"通し番号（1～256）"), QStringLiteral(u"レイヤ名"),
                                             QStringLiteral(u"ﾚｲﾔｸﾞﾙｰﾌﾟ名-ﾚｲﾔ名")});
  caption(u"JWW/JWC時の画層名：", LayerNameList);
  OutputSpaceList = MakeList("OutputSpaceList", {QStringLiteral(u"モデル空間"), QStringLiteral(u"モデル＋ペーパー空間"),
                                                 QStringLiteral(u"モデル＋複数レイアウト")});
  caption(u"変換先：", OutputSpaceList);
  QStringList groups;
  for (const char16_t* digit : {u"０", u"１", u"２", u"３", u"４", u"５", u"６", u"７", u"８", u"９", u"Ａ", u"Ｂ",
                                u"Ｃ", u"Ｄ", u"Ｅ", u"Ｆ"})
    groups << QString::fromUtf16(digit);
  LayerGroupList = MakeList("LayerGroupList", groups);
  caption(u"基準ﾚｲﾔｸﾞﾙｰﾌﾟ：", LayerGroupList);
  PointConversionList = MakeList("PointConversionList",
                                 {QStringLiteral(u"点"), QStringLiteral(u"円"), QStringLiteral(u"二重円(ブロック)"),
                                  QStringLiteral(u"円＋十字(ブロック)"), QStringLiteral(u"菱形(ブロック)"),
                                  QStringLiteral(u"塗り菱形(ブロック)"), QStringLiteral(u"塗り八角形(ブロック)")});
  caption(u"点変換：", PointConversionList);
  PointRadiusEdit = new QLineEdit;
  PointRadiusEdit->setObjectName(QStringLiteral("PointRadiusEdit"));
  PointRadiusEdit->setMaxLength(8);
  // Plain Latin input: a Japanese input method would only get in the way
  // of a number.
  PointRadiusEdit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText);
  caption(u"円半径(mm)：", PointRadiusEdit);
  TextStyleList = MakeList("TextStyleList", {QStringLiteral(u"文字種1～10対応"), QStringLiteral(u"１種類"),
                                             QStringLiteral(u"TrueTypeFont対応")});
  caption(u"文字スタイル設定：", TextStyleList);

  auto check = [](const char* name, const char16_t* text) {
    auto* box = new QCheckBox(QString::fromUtf16(text));
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  DwgCheck = check("DwgCheck", u"DWG変換");
  OdaConverterEdit = new QLineEdit(Text(kOdaPromptText));
  OdaConverterEdit->setObjectName(QStringLiteral("OdaConverterEdit"));
  OdaConverterBrowse = new QPushButton(QStringLiteral(u"参照"));
  OdaConverterBrowse->setObjectName(QStringLiteral("OdaConverterBrowse"));
  connect(OdaConverterBrowse, &QPushButton::clicked, this, &LauncherWindow::BrowseOdaConverter);
  auto* dwgRow = new QHBoxLayout;
  dwgRow->addWidget(DwgCheck);
  dwgRow->addWidget(OdaConverterEdit, 1);
  dwgRow->addWidget(OdaConverterBrowse);
  grid->addLayout(dwgRow, row++, 0, 1, 3);

  ExpandTextCheck = check("ExpandTextCheck", u"埋込文字の展開");
  ExpandCodesCheck = check("ExpandCodesCheck", u"制御文字等の展開");
  PolylineCheck = check("PolylineCheck", u"曲線属性ﾎﾟﾘﾗｲﾝ化");
  DimensionEntityCheck = check("DimensionEntityCheck", u"寸法を寸法図形化");
  auto* checkRow = new QGridLayout;
  checkRow->addWidget(ExpandTextCheck, 0, 0);
  checkRow->addWidget(ExpandCodesCheck, 0, 1);
  checkRow->addWidget(PolylineCheck, 1, 0);
  checkRow->addWidget(DimensionEntityCheck, 1, 1);
  grid->addLayout(checkRow, row++, 0, 1, 3);

  for (const char16_t* line : {u"本ツール画面/本ツールのショートカットにドラッグ＆ドロップ、",
                               u"又は上記でファイル選択をすると、ファイル変換を行います。",
                               u"処理を中断する場合は、[ESC]キーを押し続けて下さい。"})
    grid->addWidget(new QLabel(QString::fromUtf16(line)), row++, 0, 1, 3);
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(2, 1);

  auto* scroll = new QScrollArea;
  scroll->setObjectName(QStringLiteral("SettingsPage"));
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  return scroll;
}

QWidget* LauncherWindow::BuildLogPage() {
  auto* page = new QWidget;
  auto* rows = new QVBoxLayout(page);
  rows->setContentsMargins(2, 2, 2, 2);
  LogList = new QListWidget;
  LogList->setObjectName(QStringLiteral("LogList"));
  LogList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  LogList->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(LogList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu menu(LogList);
    QAction* copy = menu.addAction(QStringLiteral(u"コピー"));
    copy->setShortcut(QKeySequence::Copy);
    if (menu.exec(LogList->viewport()->mapToGlobal(at)) == copy) CopyLogSelection();
  });
  LogList->installEventFilter(this);  // Ctrl+C

  BatchProgress = new QProgressBar;
  BatchProgress->setObjectName(QStringLiteral("BatchProgress"));
  BatchProgress->setFormat(QStringLiteral("%v / %m"));
  BatchProgress->setVisible(false);
  rows->addWidget(LogList, 1);
  rows->addWidget(BatchProgress);
  return page;
}

void LauncherWindow::CopyLogSelection() {
  QStringList lines;
  for (int i = 0; i < LogList->count(); ++i)
    if (LogList->item(i)->isSelected()) lines << LogList->item(i)->text();
  // Nothing selected copies the whole log.
  if (lines.isEmpty()) lines = LogLines();
  if (!lines.isEmpty()) QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

QStringList LauncherWindow::LogLines() const {
  QStringList lines;
  for (int i = 0; i < LogList->count(); ++i) lines << LogList->item(i)->text();
  return lines;
}

void LauncherWindow::AddLog(const QString& line) {
  LogList->addItem(line);
  LogList->scrollToBottom();
}

void LauncherWindow::PlaceWindow() {
  // A saved size or place that no longer fits the screens (a smaller or
  // removed monitor) is pulled back so the window can be reached.
  QRect wanted(savedLeft_, savedTop_, std::clamp(savedWidth_, 320, 4000), std::clamp(savedHeight_, 240, 4000));
  QScreen* screen = QGuiApplication::screenAt(wanted.topLeft() + QPoint(20, 20));
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    wanted.setWidth(std::min(wanted.width(), area.width()));
    wanted.setHeight(std::min(wanted.height(), area.height()));
    wanted.moveLeft(std::clamp(wanted.left(), area.left(), area.right() - wanted.width() + 1));
    wanted.moveTop(std::clamp(wanted.top(), area.top(), area.bottom() - wanted.height() + 1));
  }
  resize(wanted.size());
  move(wanted.topLeft());
}

QString LauncherWindow::GetJwwKanren() const {
  return JwwProgramFolder(env_.winePrefix.isEmpty() ? DefaultWinePrefix() : env_.winePrefix);
}

void LauncherWindow::DestinationChanged() {
  const bool specified = GivenFolderButton->isChecked();
  GivenFolderEdit->setEnabled(specified);
  GivenFolderBrowse->setEnabled(specified);
}

void LauncherWindow::BrowseGivenFolder() {
  const QString typed = GivenFolderEdit->text();
  const QString start = !IsBlankText(typed) && QFileInfo(typed).isDir() ? typed : env_.programFolder;
  if (auto folder = Prompts().ChooseFolder(this, start)) GivenFolderEdit->setText(IncludeTrailingSeparator(*folder));
}

void LauncherWindow::BrowseOdaConverter() {
  const QString current = OdaConverterEdit->text();
  const bool existing = !IsBlankText(current) && QFileInfo(current).isFile();
  const QString start = existing ? FolderOf(current) : env_.programFolder;
  if (auto chosen = Prompts().ChooseExecutable(this, start, existing ? current : QString())) {
    OdaConverterEdit->setText(*chosen);
    DwgCheck->setChecked(true);
  }
}

void LauncherWindow::ChooseFiles() {
  if (batchRunning_) {
    AddLog(Text(kBusyLogLine));
    return;
  }
  const auto choice = Prompts().ChooseSourceFiles(this, DialogFolderLabel->text(), filterIndex_);
  if (!choice || choice->files.isEmpty()) return;
  DialogFolderLabel->setText(FolderOf(choice->files.front()));
  filterIndex_ = choice->filterIndex;
  AcceptFiles(choice->files);
}

void LauncherWindow::ThemeSelected(int index) {
  if (index >= 0) themeName_ = ThemeList->itemText(index);
}

bool LauncherWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ChooseFilesLink && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    // Opened after the click has been handled, so that the dialog's own
    // event loop does not run inside the label's mouse handling.
    QTimer::singleShot(0, this, &LauncherWindow::ChooseFiles);
    return true;
  }
  if (watched == LogList && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    CopyLogSelection();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void LauncherWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  setAcceptDrops(true);
  const QStringList files = env_.commandLineFiles;
  // The batch starts once the window is on screen.
  if (!files.isEmpty()) QTimer::singleShot(0, this, [this, files] { AcceptFiles(files); });
}

void LauncherWindow::closeEvent(QCloseEvent* event) {
  if (batchRunning_) {
    // The batch stops after the file in progress and the window closes then.
    closeAfterBatch_ = true;
    event->ignore();
    return;
  }
  FList.clear();
  SaveDatFile(env_.settingsFile);
  event->accept();
}

void LauncherWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void LauncherWindow::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  event->acceptProposedAction();
  if (batchRunning_) {
    for (const QString& path : paths) AddLog(Text(kBusyLogLine) + u'：' + path);
    return;
  }
  // Run after the drop has been answered, so the source program is not
  // kept waiting for the whole batch.
  QTimer::singleShot(0, this, [this, paths] { AcceptFiles(paths); });
}

void LauncherWindow::AcceptFiles(const QStringList& paths) {
  if (batchRunning_) {
    for (const QString& path : paths) AddLog(Text(kBusyLogLine) + u'：' + path);
    return;
  }
  FList.clear();
  for (const QString& path : paths) PickupFile(path);
  if (FListN() > 0) RunProc();
}

void LauncherWindow::PickupFile(const QString& fn) {
  if (fn.isEmpty()) return;
  static const QStringList kinds{QStringLiteral(".jwc"), QStringLiteral(".jwk"), QStringLiteral(".jww"),
                                 QStringLiteral(".jws")};
  if (!kinds.contains(LowerExtension(fn))) return;
  if (!QFileInfo(fn).isFile()) return;
  FList << fn;
}

}  // namespace parvex::launcher
