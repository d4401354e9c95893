#pragma once

#include <QtGlobal>

namespace vornak {

// Units of the report model. Positions and sizes are pixels at 96 pixels per inch; paper sizes
// and margins are millimetres. The values are exact as written (fr01cm is not 96 / 25.4).
inline constexpr double fr01cm = 3.77953;
inline constexpr double fr1cm = 37.7953;
inline constexpr double fr01in = 9.6;
inline constexpr int fr1in = 96;
inline constexpr double fr1CharX = 9.6;
inline constexpr int fr1CharY = 17;

// Colours: 0x00BBGGRR, or one of the special values below.
using TColor = qint32;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clTransparent = 0x1FFFFFFF;  // no fill

// Character sets of a font.
inline constexpr int ANSI_CHARSET = 0;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int RUSSIAN_CHARSET = 204;

enum TfrxAlign : int { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
enum TfrxShiftMode : int { smDontShift, smAlways, smWhenOverlapped };
enum TfrxStretchMode : int { smDontStretch, smActualHeight, smMaxHeight };
enum TfrxHAlign : int { haLeft, haRight, haCenter, haBlock };
enum TfrxVAlign : int { vaTop, vaBottom, vaCenter };
enum TBrushStyle : int { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TfrxFrameStyle : int { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
enum TfrxFormatKind : int { fkText, fkNumeric, fkDateTime, fkBoolean };
enum TPrinterOrientation : int { poPortrait, poLandscape };
enum TfrxDuplexMode : int { dmNone, dmVertical, dmHorizontal, dmSimplex };

// Sets are bit masks; bit n is the n-th identifier of the set's element list.
enum TfrxFrameType : int { ftLeft = 1, ftRight = 2, ftTop = 4, ftBottom = 8 };
using TfrxFrameTypes = int;
enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = int;
enum TfrxRestriction : int { rfDontModify = 1, rfDontSize = 2, rfDontMove = 4, rfDontDelete = 8, rfDontEdit = 16 };
using TfrxRestrictions = int;

}  // namespace vornak
