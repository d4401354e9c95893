#include "report/model/view.h"

#include "report/model/data_set_properties.h"
#include "report/model/expression_evaluator.h"
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

void TfrxView::GetData()
{
    if (TfrxReport *report = Report(); report && report->ExpressionCache())
        report->ExpressionCache()->GetData(*this);
}

void TfrxView::AfterPrint()
{
    TfrxReportComponent::AfterPrint();
    tagStr_ = savedTagStr_;
    url_ = savedUrl_;
}

TfrxPropertyList frxFrameProperties(const QString &prefix, std::function<TfrxFrame &(TfrxComponent &)> frame)
{
    const QStringList styles{QStringLiteral("fsSolid"),   QStringLiteral("fsDash"),       QStringLiteral("fsDot"),
                             QStringLiteral("fsDashDot"), QStringLiteral("fsDashDotDot"), QStringLiteral("fsDouble"),
                             QStringLiteral("fsAltDot"),  QStringLiteral("fsSquare")};
    const QStringList sides{QStringLiteral("ftLeft"), QStringLiteral("ftRight"), QStringLiteral("ftTop"),
                            QStringLiteral("ftBottom")};
    // Reads through a const object: the frame accessor is only used for reading there.
    const auto get = [frame](const TfrxComponent &o) -> const TfrxFrame & {
        return frame(const_cast<TfrxComponent &>(o));
    };
    // A frame value of type T, stored unless it equals `def`.
    const auto make = [&]<class T>(const QString &name, TfrxPropertyKind kind, std::function<T(const TfrxFrame &)> read,
                                   std::function<void(TfrxFrame &, T)> write, T def, QStringList identifiers = {}) {
        return frxProperty<T>(
            prefix + name, kind, [get, read](const TfrxComponent &o) { return read(get(o)); },
            [frame, write](TfrxComponent &o, T value) { write(frame(o), value); }, def, std::move(identifiers));
    };
    TfrxPropertyList list{
        make.operator()<int>(
            QStringLiteral("Typ"), TfrxPropertyKind::Set, [](const TfrxFrame &f) { return int(f.Typ()); },
            [](TfrxFrame &f, int v) { f.SetTyp(v); }, 0, sides),
        make.operator()<int>(
            QStringLiteral("Color"), TfrxPropertyKind::Color, [](const TfrxFrame &f) { return int(f.Color()); },
            [](TfrxFrame &f, int v) { f.SetColor(v); }, clBlack),
        make.operator()<int>(
            QStringLiteral("Style"), TfrxPropertyKind::Enumeration, [](const TfrxFrame &f) { return int(f.Style()); },
            [](TfrxFrame &f, int v) { f.SetStyle(TfrxFrameStyle(v)); }, int(fsSolid), styles),
        make.operator()<double>(
            QStringLiteral("Width"), TfrxPropertyKind::Float, [](const TfrxFrame &f) { return f.Width(); },
            [](TfrxFrame &f, double v) { f.SetWidth(v); }, 1.0),
        make.operator()<bool>(
            QStringLiteral("DropShadow"), TfrxPropertyKind::Boolean, [](const TfrxFrame &f) { return f.DropShadow(); },
            [](TfrxFrame &f, bool v) { f.SetDropShadow(v); }, false),
        make.operator()<double>(
            QStringLiteral("ShadowWidth"), TfrxPropertyKind::Float, [](const TfrxFrame &f) { return f.ShadowWidth(); },
            [](TfrxFrame &f, double v) { f.SetShadowWidth(v); }, 4.0),
        make.operator()<int>(
            QStringLiteral("ShadowColor"), TfrxPropertyKind::Color,
            [](const TfrxFrame &f) { return int(f.ShadowColor()); }, [](TfrxFrame &f, int v) { f.SetShadowColor(v); },
            clBlack),
    };
    // Each side's colour, style and width, stored only when they differ from the frame's own.
    const std::pair<const char *, TfrxFrameLine TfrxFrame::*> lines[] = {
        {"LeftLine", &TfrxFrame::LeftLine},
        {"TopLine", &TfrxFrame::TopLine},
        {"RightLine", &TfrxFrame::RightLine},
        {"BottomLine", &TfrxFrame::BottomLine},
    };
    const auto followingTheFrame = [get](TfrxPropertyInfo info, std::function<Variant(const TfrxFrame &)> own) {
        info.defaultOf = [get, own](const TfrxComponent &o) { return own(get(o)); };
        return info;
    };
    for (const auto &line : lines) {
        const auto member = line.second;  // a plain variable: lambdas capture it on every compiler
        const QString side = QString::fromLatin1(line.first) + u'.';
        list << followingTheFrame(make.operator()<int>(
                                      side + QStringLiteral("Color"), TfrxPropertyKind::Color,
                                      [member](const TfrxFrame &f) { return int((f.*member).Color); },
                                      [member](TfrxFrame &f, int v) { (f.*member).Color = v; }, clBlack),
                                  [](const TfrxFrame &f) { return Variant(int(f.Color())); })
             << followingTheFrame(make.operator()<int>(
                                      side + QStringLiteral("Style"), TfrxPropertyKind::Enumeration,
                                      [member](const TfrxFrame &f) { return int((f.*member).Style); },
                                      [member](TfrxFrame &f, int v) { (f.*member).Style = TfrxFrameStyle(v); },
                                      int(fsSolid), styles),
                                  [](const TfrxFrame &f) { return Variant(int(f.Style())); })
             << followingTheFrame(make.operator()<double>(
                                      side + QStringLiteral("Width"), TfrxPropertyKind::Float,
                                      [member](const TfrxFrame &f) { return (f.*member).Width; },
                                      [member](TfrxFrame &f, double v) { (f.*member).Width = v; }, 1.0),
                                  [](const TfrxFrame &f) { return Variant(f.Width()); });
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
        l << frxFrameProperties(QStringLiteral("Frame."),
                                [](TfrxComponent &o) -> TfrxFrame & { return static_cast<C &>(o).Frame(); });
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

}  // namespace vornak
