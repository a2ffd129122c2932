// The main window's menu: six menus with their items, captions, mnemonics and
// separators, and after them 解析(&A), the menu of what goes beyond them (the noise
// analysis window and the series of acquisitions), before ヘルプ(&H). The window
// connects the items to its commands and enables them.
#pragma once

#include <QCoreApplication>

class QAction;
class QMenu;
class QMenuBar;

struct MainMenu {
  Q_DECLARE_TR_FUNCTIONS(MainMenu)

 public:
  // Fills bar, which owns every menu and item.
  explicit MainMenu(QMenuBar& bar);

  QMenu* MenuFile;  // ファイル(&F)
  QAction* MenuFileNew;
  QAction* MenuFilePrintSetting;
  QAction* MenuFilePrint;
  QAction* MenuFileExit;
  QMenu* MenuMeasure;  // 計測(&M)
  QAction* MenuMeasureStart;
  QMenu* MenuData;  // データ(&D)
  QAction* MenuDataLoad;
  QAction* MenuDataSave;
  QAction* MenuTextSave;
  QAction* MenuDataRecover;  // 途中データの復元: a journalled measurement back
  QMenu* MenuSetting;        // 設定(&S)
  QAction* MenuDispSetting;
  QAction* MenuADUnitSetting;
  QAction* MenuOpenSettingFile;
  QAction* MenuSaveSettingFile;
  QMenu* MenuRef;  // 参照データ(&R)
  QAction* MenuRefLoadFile;
  QAction* MenuRefClear;
  QMenu* MenuAnalysis;             // 解析(&A)
  QAction* MenuNoiseAnalysis;      // ノイズ解析(&N)
  QAction* MenuAverageMeasure;     // 平均計測(&V)…
  QAction* MenuContinuousMeasure;  // 連続計測(&C)
  QMenu* MenuHelp;                 // ヘルプ(&H)
  QAction* MenuHelpVersion;
};
