#pragma once

// The hit test of the preview's mouse: which object of a prepared page lies under the mouse, the
// cursor it asks for and what it does to the control's tooltip.

#include <QPoint>
#include <QString>

namespace vornak {

class TfrxCustomPreviewPages;
class TfrxView;

struct TfrxObjectOver {
    enum HintChange { HintUnchanged, HintShown, HintHidden };

    const TfrxView *Object = nullptr;  // the hit view; nullptr when none
    int Cursor = 0;                    // the hit view's cursor code (0: the control's own)
    HintChange Hint = HintUnchanged;
    QString HintText;  // the hit view's short hint when HintShown
};

// Tests the views of page `index` from the last to the first against `mouse` (device pixels of
// the view), the page drawn at `scale` with its paper corner at `pageOrigin`. With `useHints`, a
// hit view with its hint shown gives its short hint (the text before a "|"); a view with its hint
// shown that the test passes without a hit hides the tooltip.
TfrxObjectOver ObjectOver(TfrxCustomPreviewPages &pages, int index, QPoint mouse, double scale, QPoint pageOrigin,
                          bool useHints);

}  // namespace vornak
