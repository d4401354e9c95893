#pragma once

#include "report/model/font.h"
#include "report/model/property.h"
#include "report/model/report_types.h"
#include "report/script/script_object.h"

#include <QList>
#include <QString>

namespace vornak {

class TfrxReport;
class TfrxPage;

// Every report object: name, geometry, font and its place in the report tree. An object owns
// its children (`Objects`) and frees them with itself; freeing an object removes it from its
// parent. Objects without a parent are owned by whoever created them.
class TfrxComponent : public ScriptObject {
public:
    // An object created with a report object as owner becomes that object's last child.
    explicit TfrxComponent(TfrxComponent *owner = nullptr);
    virtual ~TfrxComponent();
    TfrxComponent(const TfrxComponent &) = delete;
    TfrxComponent &operator=(const TfrxComponent &) = delete;

    virtual QString ClassName() const { return QStringLiteral("TfrxComponent"); }
    // The class name without its first "Tfrx" and first "View" ("Memo", "MasterData").
    QString BaseName() const;

    // Stored properties.
    const QString &Name() const { return name_; }
    // Renaming to a name another object of the report has (ignoring case) raises EngineError.
    virtual void SetName(const QString &name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    virtual void SetLeft(double value);
    virtual void SetTop(double value);
    virtual void SetWidth(double value);
    virtual void SetHeight(double value);
    void SetBounds(double left, double top, double width, double height);
    const TFont &Font() const { return font_; }
    // Sets ParentFont to False; children with ParentFont follow the new font.
    virtual void SetFont(const TFont &font);
    bool ParentFont() const { return parentFont_; }
    virtual void SetParentFont(bool value);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value) { visible_ = value; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    TfrxRestrictions Restrictions() const { return restrictions_; }
    void SetRestrictions(TfrxRestrictions value) { restrictions_ = value; }
    const QString &Description() const { return description_; }
    void SetDescription(const QString &value) { description_ = value; }

    // Tree.
    TfrxComponent *Parent() const { return parent_; }
    virtual void SetParent(TfrxComponent *parent);
    const QList<TfrxComponent *> &Objects() const { return objects_; }
    // All descendants, depth-first pre-order, the object itself excluded (rebuilt on each call).
    QList<TfrxComponent *> AllObjects() const;
    TfrxReport *Report() const;
    // This object as a report, or nullptr: Report() asks it of every object up the tree, which
    // drawing does for every memo of every page.
    virtual TfrxReport *asReport() { return nullptr; }
    TfrxPage *Page() const;
    double AbsLeft() const;
    double AbsTop() const;
    // The first of AllObjects whose name equals `name`, ignoring the case of A to Z only.
    TfrxComponent *FindObject(const QString &name) const;
    // Name = BaseName followed by the smallest positive number no object of the report uses.
    void CreateUniqueName();
    // Frees all children.
    virtual void Clear();
    // Copies every stored property of `source` (an object of the same class), also those at
    // their default; AssignAll also copies its children, recursively.
    // References to report objects are resolved in this object's report, data sources by
    // component name in the global list.
    void Assign(const TfrxComponent &source);
    void AssignAll(const TfrxComponent &source);
    // Places the direct children that are views by their Align property.
    virtual void AlignChildren();

    // Called for every object before a preparation compiles the report's script.
    virtual void BeforeStartReport() {}

    // What scripts see: the class chain and the stored properties (typed where they have a type).
    QString scriptClassName() const override { return ClassName(); }
    bool inheritsScriptClass(const QString &className) const override;
    int findScriptProperty(const QString &name) const override;
    Variant scriptProperty(int index) const override;
    void setScriptProperty(int index, const Variant &value) override;

    // Properties stored in a template, in the order they are written.
    static const TfrxPropertyList &ClassProperties();
    virtual const TfrxPropertyList &Properties() const { return ClassProperties(); }

    // Run-time state.
    QString Alias;                               // short alias of a prepared copy
    TfrxComponent *OriginalComponent = nullptr;  // template object of a prepared copy (and back)
    bool IsDesigning = false;
    bool IsLoading = false;
    bool IsPrinting = false;

    static bool SameName(const QString &a, const QString &b);  // ignoring the case of A to Z

protected:
    void SetBaseName(const QString &baseName) { baseName_ = baseName; }
    // Called after the font changed through SetFont or SetParentFont.
    virtual void FontChanged() {}

    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;

private:
    void collectObjects(QList<TfrxComponent *> &into) const;
    void applyParentFont();

    QString name_;
    QString baseName_;
    int tag_ = 0;
    TFont font_;
    bool parentFont_ = true;
    bool visible_ = true;
    int groupIndex_ = 0;
    TfrxRestrictions restrictions_ = 0;
    QString description_;
    TfrxComponent *parent_ = nullptr;
    QList<TfrxComponent *> objects_;
};

// Resolves the references of an object being read or copied: report objects in its report (or
// the tree it is in, when it has no report), data sources by component name.
class TfrxTreeResolver : public TfrxReferenceResolver {
public:
    explicit TfrxTreeResolver(const TfrxComponent &object)
        : object_(object)
    {
    }
    TfrxComponent *FindReportObject(const QString &name) const override;
    TfrxDataSet *FindDataSet(const QString &name) const override;
    TfrxCustomPreview *FindPreview(const QString &) const override { return nullptr; }

private:
    const TfrxComponent &object_;
};

// The object as a T, or nullptr (the report classes carry RTTI).
template <class T>
T *frx_cast(TfrxComponent *object)
{
    return dynamic_cast<T *>(object);
}

}  // namespace vornak
