#pragma once

#include "data/data_types.h"

#include <memory>
#include <optional>
#include <QFont>
#include <QString>
#include <vector>

namespace vornak {

class TColumnEh;
class TDBGridEh;
class TField;

enum TTextLayout { tlTop, tlCenter, tlBottom };

// The title cell of a column.
class TColumnTitleEh {
public:
    explicit TColumnTitleEh(TColumnEh &column)
        : column_(column)
    {
    }

    // The declared caption, or the bound field's display name, or the column's field name.
    QString Caption() const;
    void SetCaption(const QString &caption);
    TAlignment Alignment = taLeftJustify;
    // The declared font, or the grid's title font.
    QFont Font() const;
    void SetFont(const QFont &font);
    bool EndEllipsis = false;
    bool TitleButton = false;

private:
    TColumnEh &column_;
    std::optional<QString> caption_;
    std::optional<QFont> font_;
};

// A column of a grid, bound to a field of the grid's dataset by name.
class TColumnEh {
public:
    TColumnEh(TDBGridEh *grid);

    TDBGridEh *Grid() const { return grid_; }

    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString &name);
    // The field of that name in the grid's dataset (ignoring case), while the grid's link is active.
    TField *Field() const;

    // The fitted width while the grid fits its columns; otherwise the declared width, or the
    // default width derived from the field.
    int Width() const;
    void SetWidth(int width);
    int DefaultWidth() const;
    // The declared width, or the default one: the width before any fitting.
    int DeclaredWidth() const;
    // The width the column would like in proportion to the others when widths are fitted.
    int InitWidth = -1;  // -1 until the grid takes the column's width as its weight

    // The declared alignment, or the field's own.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }

    // The grid's font (columns of the system declare none of their own).
    QFont Font() const;

    TColumnTitleEh Title{*this};
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool AutoFitColWidth = true;
    int MinWidth = 0;
    int MaxWidth = 0;
    TTextLayout Layout = tlTop;
    bool WordWrap = false;
    bool EndEllipsis = false;

    // The text the column shows for the dataset's active record: the field's display text.
    QString DisplayText() const;

private:
    friend class TDBGridEh;
    friend class TColumnTitleEh;
    friend class TDBGridColumnsEh;
    void Changed();

    TDBGridEh *grid_;
    QString fieldName_;
    std::optional<int> width_;
    int fittedWidth_ = -1;
    std::optional<TAlignment> alignment_;
    bool visible_ = true;
};

// The grid's columns, in display order.
class TDBGridColumnsEh {
public:
    explicit TDBGridColumnsEh(TDBGridEh *grid)
        : grid_(grid)
    {
    }

    TColumnEh *Add();
    // A column bound to `fieldName`, with a declared width when `width` is positive.
    TColumnEh *Add(const QString &fieldName, int width = 0, std::optional<TAlignment> alignment = {});
    void Clear();
    // Moves the column at `from` to position `to` (indices into all columns).
    void Move(int from, int to);
    int IndexOf(const TColumnEh *column) const;
    int Count() const { return int(columns_.size()); }
    TColumnEh *operator[](int index) const { return columns_[index].get(); }

    // The visible columns, in display order.
    std::vector<TColumnEh *> Visible() const;

private:
    TDBGridEh *grid_;
    std::vector<std::unique_ptr<TColumnEh>> columns_;
};

}  // namespace vornak
