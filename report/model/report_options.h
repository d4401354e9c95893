#pragma once

#include <QString>
#include <QStringList>

namespace vornak {

enum TfrxSilentMode : int { simMessageBoxes, simSilent, simReThrow };
enum TfrxPrintMode : int { pmDefault, pmSplit, pmJoin, pmScale };
enum TfrxPrintPages : int { ppAll, ppOdd, ppEven };
enum TfrxZoomMode : int { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
enum TfrxPreviewButton : int {
    pbPrint = 1 << 0,
    pbLoad = 1 << 1,
    pbSave = 1 << 2,
    pbExport = 1 << 3,
    pbZoom = 1 << 4,
    pbFind = 1 << 5,
    pbOutline = 1 << 6,
    pbPageSetup = 1 << 7,
    pbTools = 1 << 8,
    pbEdit = 1 << 9,
    pbNavigator = 1 << 10,
    pbExportQuick = 1 << 11,
    pbNoClose = 1 << 12,
    pbNoFullScreen = 1 << 13,
    pbNoEmail = 1 << 14,
};
using TfrxPreviewButtons = int;

struct TfrxEngineOptions {
    bool ConvertNulls = true;
    bool DoublePass = false;
    int MaxMemSize = 10;
    bool PrintIfEmpty = true;
    TfrxSilentMode NewSilentMode = simMessageBoxes;
    QString TempDir;
    bool UseFileCache = false;
    bool IgnoreDevByZero = false;
    // Not stored.
    bool DestroyForms = true;
    bool UseGlobalDataSetList = true;
    bool EnableThreadSafe = false;

    bool SilentMode() const { return NewSilentMode == simSilent; }
    void SetSilentMode(bool value) { NewSilentMode = value ? simSilent : simMessageBoxes; }
};

struct TfrxPrintOptions {
    int Copies = 1;
    bool Collate = true;
    QString PageNumbers;
    QString Printer = QStringLiteral("Default");
    TfrxPrintMode PrintMode = pmDefault;
    int PrintOnSheet = 0;
    TfrxPrintPages PrintPages = ppAll;
    bool Reverse = false;
    bool ShowDialog = true;
    int Duplex = 0;        // reset to none at the start of each preparation
    QString FileName;      // output file of the print job; empty = the printer
    int SplicingLine = 0;  // overlap of the split mode's tiles, mm
};

struct TfrxPreviewOptions {
    bool AllowEdit = true;
    TfrxPreviewButtons Buttons = pbPrint | pbLoad | pbSave | pbExport | pbZoom | pbFind | pbOutline | pbPageSetup |
                                 pbTools | pbEdit | pbNavigator | pbExportQuick;
    bool DoubleBuffered = true;
    bool Maximized = true;
    bool MDIChild = false;
    bool Modal = true;
    bool OutlineExpand = true;
    bool OutlineVisible = false;
    int OutlineWidth = 120;
    int PagesInCache = 50;
    bool ShowCaptions = false;
    bool ThumbnailVisible = false;
    double Zoom = 1;
    TfrxZoomMode ZoomMode = zmDefault;
    bool PictureCacheInFile = false;
};

struct TfrxReportOptions {
    QString Author;
    bool Compressed = false;
    QString ConnectionName;
    double CreateDate = 0;  // date-time values: days since 1899-12-30
    double LastChange = 0;
    QStringList Description;
    QString InitString;
    QString Name;
    QString Password;
    QString VersionBuild;
    QString VersionMajor;
    QString VersionMinor;
    QString VersionRelease;
};

}  // namespace vornak
