#include "grid/column_eh.h"

#include "data/data_set.h"
#include "data/field.h"
#include "grid/db_grid_eh.h"

#include <QFontMetrics>

namespace vornak {

QString TColumnTitleEh::Caption() const
{
    if (caption_)
        return *caption_;
    // A persistent field gives its label while its dataset is closed too (a log book without
    // vehicles never opens the entry lists).
    const TDataSet *dataSet = column_.Grid() ? column_.Grid()->linkedDataSet() : nullptr;
    if (const TField *field =
            dataSet && !column_.FieldName().isEmpty() ? dataSet->FindField(column_.FieldName()) : nullptr)
        return field->DisplayName();
    return column_.FieldName();
}

void TColumnTitleEh::SetCaption(const QString &caption)
{
    caption_ = caption;
    column_.Changed();
}

QFont TColumnTitleEh::Font() const
{
    if (font_)
        return *font_;
    return column_.Grid() ? column_.Grid()->TitleFont() : QFont();
}

void TColumnTitleEh::SetFont(const QFont &font)
{
    font_ = font;
    column_.Changed();
}

TColumnEh::TColumnEh(TDBGridEh *grid)
    : grid_(grid)
{
}

void TColumnEh::Changed()
{
    if (grid_)
        grid_->layoutGrid();
}

void TColumnEh::SetFieldName(const QString &name)
{
    fieldName_ = name;
    Changed();
}

TField *TColumnEh::Field() const
{
    const TDataSet *dataSet = grid_ ? grid_->activeDataSet() : nullptr;
    return dataSet && !fieldName_.isEmpty() ? dataSet->FindField(fieldName_) : nullptr;
}

int TColumnEh::Width() const
{
    return fittedWidth_ >= 0 ? fittedWidth_ : DeclaredWidth();
}

int TColumnEh::DeclaredWidth() const
{
    return width_ ? *width_ : DefaultWidth();
}

void TColumnEh::SetWidth(int width)
{
    if (width_ == width && fittedWidth_ < 0)
        return;
    width_ = width;
    fittedWidth_ = -1;
    Changed();
}

int TColumnEh::DefaultWidth() const
{
    if (!grid_)
        return TDBGridEh::DefaultColWidth;
    const TField *field = Field();
    if (!field)
        return TDBGridEh::DefaultColWidth;
    // The overhang of the fonts we draw with is 0, so it drops out of the width.
    const QFontMetrics metrics(Font());
    return field->DisplayWidth() * metrics.horizontalAdvance(QLatin1Char('0')) + 4;
}

TAlignment TColumnEh::Alignment() const
{
    if (alignment_)
        return *alignment_;
    const TField *field = Field();
    return field ? field->Alignment() : taLeftJustify;
}

QFont TColumnEh::Font() const
{
    return grid_ ? grid_->Font() : QFont();
}

void TColumnEh::SetVisible(bool visible)
{
    visible_ = visible;
    Changed();
}

QString TColumnEh::DisplayText() const
{
    const TField *field = Field();
    return field ? field->DisplayText() : QString();
}

TColumnEh *TDBGridColumnsEh::Add()
{
    columns_.push_back(std::make_unique<TColumnEh>(grid_));
    TColumnEh *column = columns_.back().get();
    column->Changed();
    return column;
}

TColumnEh *TDBGridColumnsEh::Add(const QString &fieldName, int width, std::optional<TAlignment> alignment)
{
    columns_.push_back(std::make_unique<TColumnEh>(grid_));
    TColumnEh *column = columns_.back().get();
    column->fieldName_ = fieldName;
    if (width > 0)
        column->width_ = width;
    column->alignment_ = alignment;
    column->Changed();
    return column;
}

void TDBGridColumnsEh::Clear()
{
    columns_.clear();
    if (grid_)
        grid_->layoutGrid();
}

void TDBGridColumnsEh::Move(int from, int to)
{
    const int count = Count();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    auto column = std::move(columns_[from]);
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, std::move(column));
    if (grid_)
        grid_->layoutGrid();
}

int TDBGridColumnsEh::IndexOf(const TColumnEh *column) const
{
    for (int i = 0; i < Count(); ++i) {
        if (columns_[i].get() == column)
            return i;
    }
    return -1;
}

std::vector<TColumnEh *> TDBGridColumnsEh::Visible() const
{
    std::vector<TColumnEh *> visible;
    for (const auto &column : columns_) {
        if (column->Visible())
            visible.push_back(column.get());
    }
    return visible;
}

}  // namespace vornak
