// The main window's menu: seven menus with their items, captions, mnemonics and
// separators; 解析(&A), before ヘルプ(&H), holds the series of acquisitions. The window
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
  QMenu* MenuSetting;  // 設定(&S)
  QAction* MenuDispSetting;
  QAction* MenuADUnitSetting;
  QAction* MenuOpenSettingFile;
  QAction* MenuSaveSettingFile;
  QMenu* MenuRef;  // 参照データ(&R)
  QAction* MenuRefLoadFile;
  QAction* MenuRefClear;
  QMenu* MenuAnalysis;             // 解析(&A)
  QAction* MenuAverageMeasure;     // 平均計測(&V)…
  QAction* MenuContinuousMeasure;  // 連続計測(&C)
  QMenu* MenuHelp;                 // ヘルプ(&H)
  QAction* MenuHelpVersion;
};
