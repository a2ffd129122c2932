#include "app/MainMenu.h"

#include <QMenu>
#include <QMenuBar>

namespace {

// Pixels between the separator at the end of a menu and the menu's frame.
constexpr int kTrailingSeparatorRoom = 6;

}  // namespace

MainMenu::MainMenu(QMenuBar& bar) {
  MenuFile = bar.addMenu(tr("ファイル(&F)"));
  MenuFileNew = MenuFile->addAction(tr("新規ファイル"));
  MenuFile->addSeparator();
  MenuFilePrintSetting = MenuFile->addAction(tr("印刷設定"));
  MenuFilePrint = MenuFile->addAction(tr("印刷(&P)"));
  MenuFile->addSeparator();
  MenuFileExit = MenuFile->addAction(tr("終了(&X)"));

  MenuMeasure = bar.addMenu(tr("計測(&M)"));
  MenuMeasureStart = MenuMeasure->addAction(tr("開始(&S)"));
  MenuMeasure->addSeparator();
  // A menu hides a separator at its end unless told otherwise, and would draw it on its
  // own frame: this one belongs to the menu, with room below it.
  MenuMeasure->setSeparatorsCollapsible(false);
  MenuMeasure->setContentsMargins(0, 0, 0, kTrailingSeparatorRoom);

  MenuData = bar.addMenu(tr("データ(&D)"));
  MenuDataLoad = MenuData->addAction(tr("読込み"));
  MenuDataSave = MenuData->addAction(tr("保存"));
  MenuData->addSeparator();
  MenuTextSave = MenuData->addAction(tr("FFT結果出力"));
  MenuDataRecover = MenuData->addAction(tr("途中データの復元"));

  MenuSetting = bar.addMenu(tr("設定(&S)"));
  MenuDispSetting = MenuSetting->addAction(tr("計測/表示設定"));
  MenuSetting->addSeparator();
  MenuADUnitSetting = MenuSetting->addAction(tr("AD変換ユニット設定"));
  MenuSetting->addSeparator();
  MenuOpenSettingFile = MenuSetting->addAction(tr("読込み"));
  MenuSaveSettingFile = MenuSetting->addAction(tr("保存"));

  MenuRef = bar.addMenu(tr("参照データ(&R)"));
  MenuRefLoadFile = MenuRef->addAction(tr("読み込み"));
  MenuRef->addSeparator();
  MenuRefClear = MenuRef->addAction(tr("データをクリア"));

  MenuAnalysis = bar.addMenu(tr("解析(&A)"));
  MenuNoiseAnalysis = MenuAnalysis->addAction(tr("ノイズ解析(&N)"));
  MenuAverageMeasure = MenuAnalysis->addAction(tr("平均計測(&V)…"));
  MenuContinuousMeasure = MenuAnalysis->addAction(tr("連続計測(&C)"));

  MenuHelp = bar.addMenu(tr("ヘルプ(&H)"));
  MenuHelpVersion = MenuHelp->addAction(tr("バージョン(&V)"));
}
