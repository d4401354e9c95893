#include "report/model/component.h"

#include "platform/errors.h"
#include "report/model/class_registry.h"
#include "report/model/data_set.h"
#include "report/model/page.h"
#include "report/model/property_builder.h"
#include "report/model/report.h"
#include "report/model/view.h"
#include "report/script/report_text.h"

#include <algorithm>
#include <cmath>

namespace vornak {

TfrxComponent::TfrxComponent(TfrxComponent *owner)
{
    if (owner)
        SetParent(owner);
}

TfrxComponent::~TfrxComponent()
{
    Clear();
    if (parent_)
        parent_->objects_.removeOne(this);
}

QString TfrxComponent::BaseName() const
{
    if (!baseName_.isEmpty())
        return baseName_;
    QString name = ClassName();
    const qsizetype prefix = name.indexOf(u"Tfrx");
    if (prefix >= 0)
        name.remove(prefix, 4);
    const qsizetype view = name.indexOf(u"View");
    if (view >= 0)
        name.remove(view, 4);
    return name;
}

bool TfrxComponent::SameName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= u'a' && x <= u'z')
            x -= 32;
        if (y >= u'a' && y <= u'z')
            y -= 32;
        if (x != y)
            return false;
    }
    return true;
}

void TfrxComponent::SetName(const QString &name)
{
    if (SameName(name, name_))
        return;
    if (!name.isEmpty()) {
        const TfrxComponent *root = Report();
        if (!root) {
            root = this;
            while (root->parent_)
                root = root->parent_;
        }
        const TfrxComponent *other = root->FindObject(name);
        if (other && other != this)
            throw EngineError(reportText("nameInUse").arg(name));
    }
    name_ = name;
}

void TfrxComponent::SetLeft(double value)
{
    if (IsDesigning && (restrictions_ & rfDontMove))
        return;
    left_ = value;
}

void TfrxComponent::SetTop(double value)
{
    if (IsDesigning && (restrictions_ & rfDontMove))
        return;
    top_ = value;
}

void TfrxComponent::SetWidth(double value)
{
    if (IsDesigning && (restrictions_ & rfDontSize))
        return;
    width_ = value;
}

void TfrxComponent::SetHeight(double value)
{
    if (IsDesigning && (restrictions_ & rfDontSize))
        return;
    height_ = value;
}

void TfrxComponent::SetBounds(double left, double top, double width, double height)
{
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

void TfrxComponent::SetFont(const TFont &font)
{
    font_ = font;
    parentFont_ = false;
    for (TfrxComponent *child : std::as_const(objects_))
        if (child->parentFont_)
            child->SetParentFont(true);
    FontChanged();
}

void TfrxComponent::SetParentFont(bool value)
{
    if (value && parent_)
        SetFont(parent_->font_);
    parentFont_ = value;
}

void TfrxComponent::applyParentFont()
{
    SetParentFont(parentFont_);
}

void TfrxComponent::SetParent(TfrxComponent *parent)
{
    if (parent == parent_)
        return;
    if (parent_)
        parent_->objects_.removeOne(this);
    parent_ = parent;
    if (parent_)
        parent_->objects_.append(this);
    applyParentFont();
}

QList<TfrxComponent *> TfrxComponent::AllObjects() const
{
    QList<TfrxComponent *> all;
    collectObjects(all);
    return all;
}

void TfrxComponent::collectObjects(QList<TfrxComponent *> &into) const
{
    for (TfrxComponent *child : objects_) {
        into.append(child);
        child->collectObjects(into);
    }
}

TfrxReport *TfrxComponent::Report() const
{
    for (auto *object = const_cast<TfrxComponent *>(this); object; object = object->parent_)
        if (TfrxReport *report = object->asReport())
            return report;
    return nullptr;
}

TfrxPage *TfrxComponent::Page() const
{
    for (const TfrxComponent *object = this; object; object = object->parent_)
        if (auto *page = dynamic_cast<const TfrxPage *>(object))
            return const_cast<TfrxPage *>(page);
    return nullptr;
}

double TfrxComponent::AbsLeft() const
{
    return parent_ ? left_ + parent_->AbsLeft() : left_;
}

double TfrxComponent::AbsTop() const
{
    return parent_ ? top_ + parent_->AbsTop() : top_;
}

TfrxComponent *TfrxComponent::FindObject(const QString &name) const
{
    for (TfrxComponent *object : AllObjects())
        if (SameName(object->name_, name))
            return object;
    return nullptr;
}

void TfrxComponent::CreateUniqueName()
{
    const TfrxComponent *root = Report();
    if (!root) {
        root = this;
        while (root->parent_)
            root = root->parent_;
    }
    const QList<TfrxComponent *> all = root->AllObjects();
    const QString base = BaseName();
    for (int i = 1;; ++i) {
        const QString candidate = base + QString::number(i);
        const bool used =
            std::any_of(all.begin(), all.end(), [&](const TfrxComponent *o) { return SameName(o->name_, candidate); });
        if (!used) {
            name_ = candidate;
            return;
        }
    }
}

TfrxComponent *TfrxTreeResolver::FindReportObject(const QString &name) const
{
    const TfrxComponent *root = object_.Report();
    if (!root) {
        root = &object_;
        while (root->Parent())
            root = root->Parent();
    }
    return root->FindObject(name);
}

TfrxDataSet *TfrxTreeResolver::FindDataSet(const QString &name) const
{
    for (TfrxDataSet *dataSet : TfrxDataSet::GlobalList())
        if (TfrxComponent::SameName(dataSet->Name(), name))
            return dataSet;
    return nullptr;
}

void TfrxComponent::Assign(const TfrxComponent &source)
{
    // Every stored property, also those at their default (so the copy loses what it had).
    const TfrxTreeResolver resolver(*this);
    for (const TfrxPropertyInfo &property : source.Properties()) {
        if (!property.isStoredAtAll(source))
            continue;
        if (property.isReference())
            property.resolve(*this, property.read(source), resolver);
        else
            property.setValue(*this, property.value(source));
    }
}

void TfrxComponent::AssignAll(const TfrxComponent &source)
{
    Assign(source);
    for (const TfrxComponent *child : source.objects_)
        if (TfrxComponent *copy = frxCreateComponent(child->ClassName(), this))
            copy->AssignAll(*child);
}

void TfrxComponent::Clear()
{
    while (!objects_.isEmpty())
        delete objects_.last();
}

void TfrxComponent::AlignChildren()
{
    QList<TfrxView *> views;
    for (TfrxComponent *child : std::as_const(objects_))
        if (auto *view = dynamic_cast<TfrxView *>(child))
            views.append(view);
    // Ordered by Left; objects further left (including negative Left) come first.
    QList<TfrxView *> sorted = views;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TfrxView *a, const TfrxView *b) { return a->Left() < b->Left(); });

    const auto overlapsVertically = [](const TfrxView *a, const TfrxView *b) {
        constexpr double tolerance = 0.0001;
        const double aTop = a->AbsTop(), aBottom = aTop + a->Height();
        const double bTop = b->AbsTop(), bBottom = bTop + b->Height();
        return aTop < bBottom - tolerance && bTop < aBottom - tolerance;
    };

    for (qsizetype i = 0; i < sorted.size(); ++i) {
        TfrxView *child = sorted[i];
        if (child->Align() != baLeft && child->Align() != baWidth)
            continue;
        double x = 0;
        for (qsizetype j = i - 1; j >= 0; --j) {
            const TfrxView *other = sorted[j];
            if (child->Align() == baWidth && other->Left() > child->Left())
                continue;
            if (overlapsVertically(child, other)) {
                x = other->Left() + other->Width();
                break;
            }
        }
        child->SetLeft(x);
    }

    for (qsizetype i = sorted.size() - 1; i >= 0; --i) {
        TfrxView *child = sorted[i];
        if (child->Align() != baRight && child->Align() != baWidth)
            continue;
        double x = width_;
        for (qsizetype j = i + 1; j < sorted.size(); ++j) {
            const TfrxView *other = sorted[j];
            if (child->Align() == baWidth && other->Left() + other->Width() < child->Left() + child->Width())
                continue;
            if (overlapsVertically(child, other)) {
                x = other->Left();
                break;
            }
        }
        if (child->Align() == baRight)
            child->SetLeft(x - child->Width());
        else
            child->SetWidth(x - child->Left());
    }

    for (TfrxView *child : std::as_const(views)) {
        switch (child->Align()) {
        case baCenter:
            child->SetLeft((width_ - child->Width()) / 2);
            break;
        case baBottom:
            child->SetTop(height_ - child->Height());
            break;
        case baClient:
            child->SetBounds(0, 0, width_, height_);
            break;
        default:
            break;
        }
    }
}

bool TfrxComponent::inheritsScriptClass(const QString &className) const
{
    for (QString name = ClassName(); !name.isEmpty(); name = frxParentClassName(name))
        if (name.compare(className, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int TfrxComponent::findScriptProperty(const QString &name) const
{
    const TfrxPropertyList &properties = Properties();
    for (qsizetype i = 0; i < properties.size(); ++i)
        if (!properties[i].isReference() && properties[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Variant TfrxComponent::scriptProperty(int index) const
{
    return Properties().at(index).value(*this);
}

void TfrxComponent::setScriptProperty(int index, const Variant &value)
{
    Properties().at(index).setValue(*this, value);
}

const TfrxPropertyList &TfrxComponent::ClassProperties()
{
    using C = TfrxComponent;
    static const TfrxPropertyList list = [] {
        // The font is stored, always whole, only by an object that does not follow its parent's.
        const auto font = [](const char *name, TfrxPropertyKind kind, auto member, QStringList identifiers = {}) {
            using T = std::remove_cvref_t<decltype(TFont{}.*member)>;
            TfrxPropertyInfo info = frxProperty<T>(
                QString::fromLatin1(name), kind, [member](const TfrxComponent &o) { return o.Font().*member; },
                [member](TfrxComponent &o, T value) {
                    TFont f = o.Font();
                    f.*member = value;
                    o.SetFont(f);
                },
                std::nullopt, std::move(identifiers));
            info.storedWhen = [](const TfrxComponent &o) { return !o.ParentFont(); };
            return info;
        };
        const QStringList styles{QStringLiteral("fsBold"), QStringLiteral("fsItalic"), QStringLiteral("fsUnderline"),
                                 QStringLiteral("fsStrikeOut")};
        return TfrxPropertyList{
            FRX_TEXT(C, Name),
            FRX_INT(C, Tag, 0),
            FRX_FLOAT(C, Left, 0.0),
            FRX_FLOAT(C, Top, 0.0),
            FRX_FLOAT(C, Width, 0.0),
            FRX_FLOAT(C, Height, 0.0),
            FRX_BOOL(C, ParentFont, true),
            font("Font.Charset", TfrxPropertyKind::Integer, &TFont::Charset),
            font("Font.Color", TfrxPropertyKind::Color, &TFont::Color),
            font("Font.Height", TfrxPropertyKind::Integer, &TFont::Height),
            font("Font.Name", TfrxPropertyKind::Text, &TFont::Name),
            font("Font.Style", TfrxPropertyKind::Set, &TFont::Style, styles),
            FRX_BOOL(C, Visible, true),
            FRX_INT(C, GroupIndex, 0),
            FRX_SET(C, Restrictions, 0, QStringLiteral("rfDontModify"), QStringLiteral("rfDontSize"),
                    QStringLiteral("rfDontMove"), QStringLiteral("rfDontDelete"), QStringLiteral("rfDontEdit")),
            FRX_TEXT(C, Description),
        };
    }();
    return list;
}

}  // namespace vornak
