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
      {"RadioButton1", QStringLiteral(u"デスクトップ")},
      {"RadioButton2", QStringLiteral(u"マイドキュメント")},
      {"RadioButton3", QStringLiteral(u"元ファイルのフォルダ")},
      {"RadioButton4", QStringLiteral(u"指定フォルダ")},
      {"RadioButton5", QStringLiteral(u"毎回指定")},
      {"Button1", QStringLiteral(u"参照")},
      {"Button2", QStringLiteral(u"参照")},
      {"CheckBox1", QStringLiteral(u"DWG変換")},
      {"CheckBox2", QStringLiteral(u"埋込文字の展開")},
      {"CheckBox3", QStringLiteral(u"制御文字等の展開")},
      {"CheckBox4", QStringLiteral(u"曲線属性ﾎﾟﾘﾗｲﾝ化")},
      {"CheckBox5", QStringLiteral(u"寸法を寸法図形化")},
      {"Label2", QStringLiteral(u"エクスプローラ等からドラッグ＆ドロップするか、または、")},
      {"Label3", QStringLiteral(u"ここをクリックして変換するファイルを選択して下さい。")},
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
  const auto* group = w.findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->title(), QStringLiteral(u"保存先(&F)"));
  EXPECT_EQ(w.PageControl1->tabText(0), QStringLiteral(u"設定(&S)"));
  EXPECT_EQ(w.PageControl1->tabText(1), QStringLiteral(u"ログ(&L)"));
  EXPECT_EQ(w.PageControl1->tabPosition(), QTabWidget::South);
  EXPECT_EQ(w.Edit3->text(), QStringLiteral(u"(ODA FileConverterを指定して下さい)"));
  EXPECT_EQ(w.Edit2->maxLength(), 8);

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
  EXPECT_EQ(Items(w.ComboBox2), (QStringList{"GX5/R12", "2000", "2007 (UTF8)"}));
  EXPECT_EQ(Items(w.ComboBox3), (QStringList{S(u"画面要素色"), S(u"プリンタ出力要素色")}));
  EXPECT_EQ(Items(w.ComboBox4),
            (QStringList{S(u"通し番号（1～256）"), S(u"レイヤ名"), S(u"ﾚｲﾔｸﾞﾙｰﾌﾟ名-ﾚｲﾔ名")}));
  EXPECT_EQ(Items(w.ComboBox5),
            (QStringList{S(u"モデル空間"), S(u"モデル＋ペーパー空間"), S(u"モデル＋複数レイアウト")}));
  EXPECT_EQ(Items(w.ComboBox6).join(QString()), S(u"０１２３４５６７８９ＡＢＣＤＥＦ"));
  EXPECT_EQ(Items(w.ComboBox7),
            (QStringList{S(u"点"), S(u"円"), S(u"二重円(ブロック)"), S(u"円＋十字(ブロック)"), S(u"菱形(ブロック)"),
                         S(u"塗り菱形(ブロック)"), S(u"塗り八角形(ブロック)")}));
  EXPECT_EQ(Items(w.ComboBox8), (QStringList{S(u"文字種1～10対応"), S(u"１種類"), S(u"TrueTypeFont対応")}));
  ASSERT_GE(w.ComboBox1->count(), 1);
  EXPECT_EQ(w.ComboBox1->itemText(0), QStringLiteral("Windows"));
  for (const QComboBox* box : {w.ComboBox1, w.ComboBox2, w.ComboBox3, w.ComboBox4, w.ComboBox5, w.ComboBox6,
                               w.ComboBox7, w.ComboBox8})
    EXPECT_FALSE(box->isEditable()) << box->objectName().toStdString();
}

TEST_F(LauncherTest, FolderFieldIsEnabledOnlyForTheSpecifiedFolder) {
  LauncherWindow& w = Window();
  QRadioButton* buttons[] = {w.RadioButton1, w.RadioButton2, w.RadioButton3, w.RadioButton4, w.RadioButton5};
  for (QRadioButton* button : buttons) {
    button->click();
    EXPECT_TRUE(button->isChecked());
    const bool specified = button == w.RadioButton4;
    EXPECT_EQ(w.Edit1->isEnabled(), specified) << button->objectName().toStdString();
    EXPECT_EQ(w.Button1->isEnabled(), specified) << button->objectName().toStdString();
    for (QRadioButton* other : buttons) {
      if (other != button) {
        EXPECT_FALSE(other->isChecked());
      }
    }
  }
  // Clicking the checked button keeps it checked.
  w.RadioButton5->click();
  EXPECT_TRUE(w.RadioButton5->isChecked());

  // The folder dialog starts in the named folder when it exists, else in the
  // launcher's folder, and puts its choice into the field.
  w.RadioButton4->click();
  w.Edit1->setText(Root() + "/nowhere");
  prompts_->folderChoices.push_back(OutDir() + "x");
  w.Button1->click();
  EXPECT_EQ(prompts_->folderDialogStarts.back(), AppDir());
  EXPECT_EQ(w.Edit1->text(), OutDir() + "x/");
  w.Edit1->setText(InDir());
  w.Button1->click();
  EXPECT_EQ(prompts_->folderDialogStarts.back(), InDir());
  EXPECT_EQ(w.Edit1->text(), InDir());  // cancelled: unchanged
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
  ASSERT_FALSE(w.CheckBox1->isChecked());
  w.Button2->click();
  EXPECT_EQ(w.Edit3->text(), oda);
  EXPECT_TRUE(w.CheckBox1->isChecked());
  // The dialog started in the launcher's folder while Edit3 held its
  // prompt, and starts on the chosen file the next time.
  EXPECT_EQ(prompts_->executableDialogStart, AppDir());
  w.Button2->click();
  EXPECT_EQ(prompts_->executablePreselect, oda);
  EXPECT_EQ(w.Edit3->text(), oda);  // cancelled: unchanged
}

TEST_F(LauncherTest, FileLinkRemembersFolderAndFilter) {
  const QString a = WriteFile(InDir() + "plan.jww", "ok");
  ConvertIntoOutDir();
  prompts_->sourceChoices.push_back(SourceFileChoice{{a}, 3});
  // The link reacts to a mouse click on it.
  QMouseEvent press(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(Window().Label3, &press);
  QCoreApplication::processEvents();
  EXPECT_TRUE(QFileInfo::exists(OutDir() + "plan.dxf"));
  EXPECT_EQ(prompts_->sourceDialogFilter, 1);

  // The next dialog opens where the last one ended, with its filter.
  prompts_->sourceChoices.push_back({});
  QCoreApplication::sendEvent(Window().Label3, &press);
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts_->sourceDialogFolder, InDir());
  EXPECT_EQ(prompts_->sourceDialogFilter, 3);
}

}  // namespace
}  // namespace parvex::launcher::testing
