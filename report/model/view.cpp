#include "report/model/view.h"

#include "report/model/data_set_properties.h"
#include "report/model/report.h"

namespace vornak {

void TfrxView::SetDataSetName(const QString &value)
{
    binding_.SetName(value, Report());
}

bool TfrxView::IsDataField() const
{
    return DataSet() && !dataField_.isEmpty();
}

void TfrxView::BeforePrint()
{
    TfrxReportComponent::BeforePrint();
    savedTagStr_ = tagStr_;
    savedUrl_ = url_;
    if (TfrxReport *report = Report())
        report->SetSelfObject(this);
}

void TfrxView::AfterPrint()
{
    TfrxReportComponent::AfterPrint();
    tagStr_ = savedTagStr_;
    url_ = savedUrl_;
}

TfrxPropertyList frxFrameProperties(const QString &prefix, std::function<TfrxFrame &(TfrxComponent &)> frame)
{
    using namespace property_text;
    const QStringList styles{QStringLiteral("fsSolid"), QStringLiteral("fsDash"), QStringLiteral("fsDot"),
                             QStringLiteral("fsDashDot"), QStringLiteral("fsDashDotDot"), QStringLiteral("fsDouble"),
                             QStringLiteral("fsAltDot"), QStringLiteral("fsSquare")};
    const QStringList sides{QStringLiteral("ftLeft"), QStringLiteral("ftRight"), QStringLiteral("ftTop"),
                            QStringLiteral("ftBottom")};
    // Reads through a const object: the frame accessor is only used for reading there.
    const auto get = [frame](const TfrxComponent &o) -> const TfrxFrame & {
        return frame(const_cast<TfrxComponent &>(o));
    };
    const auto make = [&](const QString &name, std::function<QString(const TfrxFrame &)> read,
                          std::function<void(TfrxFrame &, const QString &)> write,
                          std::function<bool(const TfrxFrame &)> stored) {
        TfrxPropertyInfo info;
        info.name = prefix + name;
        info.read = [get, read](const TfrxComponent &o) { return read(get(o)); };
        info.write = [frame, write](TfrxComponent &o, const QString &t) { write(frame(o), t); };
        info.isStored = [get, stored](const TfrxComponent &o) { return stored(get(o)); };
        return info;
    };
    TfrxPropertyList list{
        make(QStringLiteral("Typ"), [](const TfrxFrame &f) { return fromInt(f.Typ()); },
             [sides](TfrxFrame &f, const QString &t) { f.SetTyp(toSet(t, sides)); },
             [](const TfrxFrame &f) { return f.Typ() != 0; }),
        make(QStringLiteral("Color"), [](const TfrxFrame &f) { return fromColor(f.Color()); },
             [](TfrxFrame &f, const QString &t) { f.SetColor(toColor(t)); },
             [](const TfrxFrame &f) { return f.Color() != clBlack; }),
        make(QStringLiteral("Style"), [styles](const TfrxFrame &f) { return fromEnum(f.Style(), styles); },
             [styles](TfrxFrame &f, const QString &t) { f.SetStyle(TfrxFrameStyle(toEnum(t, styles))); },
             [](const TfrxFrame &f) { return f.Style() != fsSolid; }),
        make(QStringLiteral("Width"), [](const TfrxFrame &f) { return fromFloat(f.Width()); },
             [](TfrxFrame &f, const QString &t) { f.SetWidth(toFloat(t)); },
             [](const TfrxFrame &f) { return f.Width() != 1; }),
        make(QStringLiteral("DropShadow"), [](const TfrxFrame &f) { return fromBool(f.DropShadow()); },
             [](TfrxFrame &f, const QString &t) { f.SetDropShadow(toBool(t)); },
             [](const TfrxFrame &f) { return f.DropShadow(); }),
        make(QStringLiteral("ShadowWidth"), [](const TfrxFrame &f) { return fromFloat(f.ShadowWidth()); },
             [](TfrxFrame &f, const QString &t) { f.SetShadowWidth(toFloat(t)); },
             [](const TfrxFrame &f) { return f.ShadowWidth() != 4; }),
        make(QStringLiteral("ShadowColor"), [](const TfrxFrame &f) { return fromColor(f.ShadowColor()); },
             [](TfrxFrame &f, const QString &t) { f.SetShadowColor(toColor(t)); },
             [](const TfrxFrame &f) { return f.ShadowColor() != clBlack; }),
    };
    // Each side's colour, style and width, stored only when they differ from the frame's own.
    const std::pair<const char *, TfrxFrameLine TfrxFrame::*> lines[] = {
        {"LeftLine", &TfrxFrame::LeftLine},
        {"TopLine", &TfrxFrame::TopLine},
        {"RightLine", &TfrxFrame::RightLine},
        {"BottomLine", &TfrxFrame::BottomLine},
    };
    for (const auto &[lineName, member] : lines) {
        const QString side = QString::fromLatin1(lineName) + u'.';
        list << make(side + QStringLiteral("Color"), [member](const TfrxFrame &f) { return fromColor((f.*member).Color); },
                     [member](TfrxFrame &f, const QString &t) { (f.*member).Color = toColor(t); },
                     [member](const TfrxFrame &f) { return (f.*member).Color != f.Color(); })
             << make(side + QStringLiteral("Style"),
                     [member, styles](const TfrxFrame &f) { return fromEnum((f.*member).Style, styles); },
                     [member, styles](TfrxFrame &f, const QString &t) { (f.*member).Style = TfrxFrameStyle(toEnum(t, styles)); },
                     [member](const TfrxFrame &f) { return (f.*member).Style != f.Style(); })
             << make(side + QStringLiteral("Width"), [member](const TfrxFrame &f) { return fromFloat((f.*member).Width); },
                     [member](TfrxFrame &f, const QString &t) { (f.*member).Width = toFloat(t); },
                     [member](const TfrxFrame &f) { return (f.*member).Width != f.Width(); });
    }
    return list;
}

const TfrxPropertyList &TfrxView::ClassProperties()
{
    using C = TfrxView;
    static const TfrxPropertyList list = [] {
        TfrxPropertyList l = TfrxReportComponent::ClassProperties();
        l << FRX_ENUM(C, Align, TfrxAlign, baNone, QStringLiteral("baNone"), QStringLiteral("baLeft"),
                      QStringLiteral("baRight"), QStringLiteral("baCenter"), QStringLiteral("baWidth"),
                      QStringLiteral("baBottom"), QStringLiteral("baClient"))
          << FRX_ENUM(C, BrushStyle, TBrushStyle, bsSolid, QStringLiteral("bsSolid"), QStringLiteral("bsClear"),
                      QStringLiteral("bsHorizontal"), QStringLiteral("bsVertical"), QStringLiteral("bsFDiagonal"),
                      QStringLiteral("bsBDiagonal"), QStringLiteral("bsCross"), QStringLiteral("bsDiagCross"))
          << FRX_COLOR(C, Color, clTransparent);
        l << frxFrameProperties(QStringLiteral("Frame."), [](TfrxComponent &o) -> TfrxFrame & {
            return static_cast<C &>(o).Frame();
        });
        l << FRX_ENUM(C, ShiftMode, TfrxShiftMode, smAlways, QStringLiteral("smDontShift"), QStringLiteral("smAlways"),
                      QStringLiteral("smWhenOverlapped"))
          << FRX_BOOL(C, Printable, true);
        l << frxDataSetProperties<C>();
        l << FRX_TEXT(C, DataField) << FRX_INT(C, Cursor, 0) << FRX_TEXT(C, Hint) << FRX_BOOL(C, ShowHint, false)
          << FRX_TEXT(C, TagStr) << FRX_TEXT(C, URL);
        return l;
    }();
    return list;
}

} // namespace vornak
