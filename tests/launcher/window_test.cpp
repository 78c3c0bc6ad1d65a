// The window's controls, their texts and item lists, the destination
// choice, and what the window accepts as drawings.
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QMouseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>

#include "launcher_fixture.h"

namespace parvex::launcher::testing {
namespace {

QString S(const char16_t* text) { return QString::fromUtf16(text); }

QStringList Items(const QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

TEST_F(LauncherTest, ShowsItsCaptionsAndTexts) {
  LauncherWindow& w = Window();
  EXPECT_EQ(w.windowTitle(), QStringLiteral(u"JWWファイルをDXFファイルに変換 [Parvex] Ver.1.20"));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);

  const struct {
    const char* name;
    QString text;
  } captions[] = {
      {"DesktopButton", QStringLiteral(u"デスクトップ")},
      {"DocumentsButton", QStringLiteral(u"マイドキュメント")},
      {"SourceFolderButton", QStringLiteral(u"元ファイルのフォルダ")},
      {"GivenFolderButton", QStringLiteral(u"指定フォルダ")},
      {"AskEachTimeButton", QStringLiteral(u"毎回指定")},
      {"GivenFolderBrowse", QStringLiteral(u"参照")},
      {"OdaConverterBrowse", QStringLiteral(u"参照")},
      {"DwgCheck", QStringLiteral(u"DWG変換")},
      {"ExpandTextCheck", QStringLiteral(u"埋込文字の展開")},
      {"ExpandCodesCheck", QStringLiteral(u"制御文字等の展開")},
      {"PolylineCheck", QStringLiteral(u"曲線属性ﾎﾟﾘﾗｲﾝ化")},
      {"DimensionEntityCheck", QStringLiteral(u"寸法を寸法図形化")},
      {"DropHint", QStringLiteral(u"エクスプローラ等からドラッグ＆ドロップするか、または、")},
      {"ChooseFilesLink", QStringLiteral(u"ここをクリックして変換するファイルを選択して下さい。")},
      {"StatusText", QStringLiteral(u"※保存先フォルダに同じ名前のファイルが存在する場合は名前に枝番が付きます")},
  };
  for (const auto& caption : captions) {
    const auto* widget = w.findChild<QWidget*>(QString::fromLatin1(caption.name));
    ASSERT_NE(widget, nullptr) << caption.name;
    QString text;
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) text = button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget)) text = label->text();
    EXPECT_EQ(text, caption.text) << caption.name;
  }
  const auto* group = w.findChild<QGroupBox*>(QStringLiteral("DestinationGroup"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral(u"保存先(&F)"));
  EXPECT_EQ(w.Pages->tabText(0), QStringLiteral(u"設定(&S)"));
  EXPECT_EQ(w.Pages->tabText(1), QStringLiteral(u"ログ(&L)"));
  EXPECT_EQ(w.Pages->tabPosition(), QTabWidget::South);
  EXPECT_EQ(w.OdaConverterEdit->text(), QStringLiteral(u"(ODA FileConverterを指定して下さい)"));
  EXPECT_EQ(w.PointRadiusEdit->maxLength(), 8);

  QStringList labels;
  for (const QLabel* label : w.findChildren<QLabel*>()) labels << label->text();
  for (const QString& text :
       {QStringLiteral(u"画面スタイル："), QStringLiteral(u"←次回起動時に有効"),
        QStringLiteral(u"DXF(AutoCAD)出力バージョン："), QStringLiteral(u"JWW/JWS時の出力色："),
        QStringLiteral(u"JWW/JWC時の画層名："), QStringLiteral(u"変換先："), QStringLiteral(u"基準ﾚｲﾔｸﾞﾙｰﾌﾟ："),
        QStringLiteral(u"点変換："), QStringLiteral(u"円半径(mm)："), QStringLiteral(u"文字スタイル設定："),
        QStringLiteral(u"本ツール画面/本ツールのショートカットにドラッグ＆ドロップ、"),
        QStringLiteral(u"又は上記でファイル選択をすると、ファイル変換を行います。"),
        QStringLiteral(u"処理を中断する場合は、[ESC]キーを押し続けて下さい。")})
    EXPECT_TRUE(labels.contains(text)) << text.toStdString();
}

TEST_F(LauncherTest, ListsOfferTheirItemsInIndexOrder) {
  LauncherWindow& w = Window();
  EXPECT_EQ(Items(w.DxfVersionList), (QStringList{"GX5/R12", "2000", "2007 (UTF8)"}));
  EXPECT_EQ(Items(w.ColorModeList), (QStringList{S(u"画面要素色"), S(u"プリンタ出力要素色")}));
  EXPECT_EQ(Items(w.LayerNameList), (QStringList{S(u"通し番号（1～256）"), S(u"レイヤ名"), S(u"ﾚｲﾔｸﾞﾙｰﾌﾟ名-ﾚｲﾔ名")}));
  EXPECT_EQ(Items(w.OutputSpaceList),
            (QStringList{S(u"モデル空間"), S(u"モデル＋ペーパー空間"), S(u"モデル＋複数レイアウト")}));
  EXPECT_EQ(Items(w.LayerGroupList).join(QString()), S(u"０１２３４５６７８９ＡＢＣＤＥＦ"));
  EXPECT_EQ(Items(w.PointConversionList),
            (QStringList{S(u"点"), S(u"円"), S(u"二重円(ブロック)"), S(u"円＋十字(ブロック)"), S(u"菱形(ブロック)"),
                         S(u"塗り菱形(ブロック)"), S(u"塗り八角形(ブロック)")}));
  EXPECT_EQ(Items(w.TextStyleList), (QStringList{S(u"文字種1～10対応"), S(u"１種類"), S(u"TrueTypeFont対応")}));
  ASSERT_GE(w.ThemeList->count(), 1);
  EXPECT_EQ(w.ThemeList->itemText(0), QStringLiteral("Windows"));
  for (const QComboBox* box : {w.ThemeList, w.DxfVersionList, w.ColorModeList, w.LayerNameList, w.OutputSpaceList,
                               w.LayerGroupList, w.PointConversionList, w.TextStyleList})
    EXPECT_FALSE(box->isEditable()) << box->objectName().toStdString();
}

TEST_F(LauncherTest, FolderFieldIsEnabledOnlyForTheSpecifiedFolder) {
  LauncherWindow& w = Window();
  const auto buttons = w.DestinationButtons();
  for (QRadioButton* button : buttons) {
    button->click();
    EXPECT_TRUE(button->isChecked());
    const bool specified = button == w.GivenFolderButton;
    EXPECT_EQ(w.GivenFolderEdit->isEnabled(), specified) << button->objectName().toStdString();
    EXPECT_EQ(w.GivenFolderBrowse->isEnabled(), specified) << button->objectName().toStdString();
    for (QRadioButton* other : buttons) {
      if (other != button) {
        EXPECT_FALSE(other->isChecked());
      }
    }
  }
  // Clicking the checked button keeps it checked.
  w.AskEachTimeButton->click();
  EXPECT_TRUE(w.AskEachTimeButton->isChecked());

  // The folder dialog starts in the named folder when it exists, else in the
  // launcher's folder, and puts its choice into the field.
  w.GivenFolderButton->click();
  w.GivenFolderEdit->setText(Root() + "/nowhere");
  prompts_->folderChoices.push_back(OutDir() + "x");
  w.GivenFolderBrowse->click();
  EXPECT_EQ(prompts_->folderDialogStarts.back(), AppDir());
  EXPECT_EQ(w.GivenFolderEdit->text(), OutDir() + "x/");
  w.GivenFolderEdit->setText(InDir());
  w.GivenFolderBrowse->click();
  EXPECT_EQ(prompts_->folderDialogStarts.back(), InDir());
  EXPECT_EQ(w.GivenFolderEdit->text(), InDir());  // cancelled: unchanged
}

TEST_F(LauncherTest, PicksUpOnlyExistingJwCadFiles) {
  LauncherWindow& w = Window();
  QDir().mkpath(InDir() + "folder.jww");
  const QString note = WriteFile(InDir() + "note.txt", "text");
  const QString a = WriteFile(InDir() + "a.JWW", "x");
  const QString b = WriteFile(InDir() + "b.JWW", "x");
  const QString shape = WriteFile(InDir() + "c.jwk", "x");
  for (const QString& path : {QString(), InDir() + "folder.jww", note, a, InDir() + "missing.jww", b, shape, a})
    w.PickupFile(path);
  // A path given twice is converted twice.
  EXPECT_EQ(w.FileList(), (QStringList{a, b, shape, a}));
}

TEST_F(LauncherTest, ChoosingAnExecutableTurnsDwgOutputOn) {
  const QString oda = WriteFile(AppDir() + "ODAFileConverter", "#!/bin/sh\n");
  prompts_->executableChoices.push_back(oda);
  LauncherWindow& w = Window();
  ASSERT_FALSE(w.DwgCheck->isChecked());
  w.OdaConverterBrowse->click();
  EXPECT_EQ(w.OdaConverterEdit->text(), oda);
  EXPECT_TRUE(w.DwgCheck->isChecked());
  // The dialog started in the launcher's folder while OdaConverterEdit held its
  // prompt, and starts on the chosen file the next time.
  EXPECT_EQ(prompts_->executableDialogStart, AppDir());
  w.OdaConverterBrowse->click();
  EXPECT_EQ(prompts_->executablePreselect, oda);
  EXPECT_EQ(w.OdaConverterEdit->text(), oda);  // cancelled: unchanged
}

TEST_F(LauncherTest, FileLinkRemembersFolderAndFilter) {
  const QString a = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  prompts_->sourceChoices.push_back(SourceFileChoice{{a}, 3});
  // The link reacts to a mouse click on it.
  QMouseEvent press(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(Window().ChooseFilesLink, &press);
  QCoreApplication::processEvents();
  EXPECT_TRUE(QFileInfo::exists(OutDir() + "plan.dxf"));
  EXPECT_EQ(prompts_->sourceDialogFilter, 1);

  // The next dialog opens where the last one ended, with its filter.
  prompts_->sourceChoices.push_back({});
  QCoreApplication::sendEvent(Window().ChooseFilesLink, &press);
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts_->sourceDialogFolder, InDir());
  EXPECT_EQ(prompts_->sourceDialogFilter, 3);
}

}  // namespace
}  // namespace parvex::launcher::testing
