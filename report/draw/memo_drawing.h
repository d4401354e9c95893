#pragma once

// Drawing and measuring of text objects through the shared layout engine.

#include "report/draw/view_drawing.h"

#include <functional>
#include <QStringList>

class QPainter;

namespace vornak {

class TfrxCustomMemoView;
class TfrxDrawText;

// Draws the memo: background, frame, then its text laid out at 600 per inch (under the engine's
// lock). The page-count and copy-name placeholders its template produced (DrawMacros) are drawn
// as the page count and as the report variable "CopyName" followed by the copy number.
void frxDrawMemo(TfrxCustomMemoView &memo, QPainter &canvas, const TfrxDrawScale &scale, const TfrxDrawInfo &info);

// The memo's lines with the template's placeholders filled in.
QStringList frxMemoDrawLines(const TfrxCustomMemoView &memo, const TfrxDrawInfo &info);

// Sets the memo's engine (frxDrawTextFor) up for `memo` (font, options, gaps, its text laid out in
// `textRect` at scale 1) and hands it to `use`, all under the engine's lock.
void frxUseMemoLayout(const TfrxCustomMemoView &memo, const TfrxRect &textRect,
                      const std::function<void(TfrxDrawText &)> &use);
void frxUseMemoLayout(const TfrxCustomMemoView &memo, const TfrxRect &textRect, TfrxDrawText &engine,
                      const std::function<void(TfrxDrawText &)> &use);

// The memo's text rectangle at scale 1 and offset 0.
TfrxRect frxMemoOriginalRect(const TfrxCustomMemoView &memo);

// Height and width (report pixels, whole numbers) the memo's text needs, gaps and frame included.
double frxMemoCalcHeight(const TfrxCustomMemoView &memo);
double frxMemoCalcWidth(const TfrxCustomMemoView &memo);
double frxMemoCalcHeight(const TfrxCustomMemoView &memo, TfrxDrawText &engine);
double frxMemoCalcWidth(const TfrxCustomMemoView &memo, TfrxDrawText &engine);

}  // namespace vornak
