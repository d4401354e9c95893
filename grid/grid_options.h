#pragma once

#include <cstdint>
#include <initializer_list>

namespace vornak {

// A set of the members of an enumeration with at most 64 members.
template <class Enum>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<Enum> members)
    {
        for (Enum member : members)
            bits_ |= bit(member);
    }

    constexpr bool contains(Enum member) const { return (bits_ & bit(member)) != 0; }
    constexpr TSet &operator+=(Enum member)
    {
        bits_ |= bit(member);
        return *this;
    }
    constexpr TSet &operator-=(Enum member)
    {
        bits_ &= ~bit(member);
        return *this;
    }
    constexpr TSet operator+(Enum member) const
    {
        TSet result = *this;
        return result += member;
    }
    constexpr TSet operator-(Enum member) const
    {
        TSet result = *this;
        return result -= member;
    }
    constexpr bool operator==(const TSet &) const = default;

private:
    static constexpr std::uint64_t bit(Enum member) { return std::uint64_t(1) << int(member); }
    std::uint64_t bits_ = 0;
};

enum TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};
using TDBGridOptions = TSet<TDBGridOption>;

enum TDBGridEhOption {
    dghFixed3D,
    dghFrozen3D,
    dghFooter3D,
    dghData3D,
    dghResizeWholeRightPart,
    dghHighlightFocus,
    dghClearSelection,
    dghFitRowHeightToText,
    dghAutoSortMarking,
    dghMultiSortMarking,
    dghEnterAsTab,
    dghTraceColSizing,
    dghIncSearch,
    dghPreferIncSearch,
    dghRowHighlight,
    dghDblClickOptimizeColWidth,
    dghDialogFind,
    dghRecordMoving,
    dghShowRecNo,
    dghColumnResize,
    dghColumnMove,
    dghAutoFitRowHeight,
    dghHotTrack,
    dghExtendVertLines,
};
using TDBGridEhOptions = TSet<TDBGridEhOption>;

enum TDBGridEhAllowedOperation { alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh };
using TDBGridEhAllowedOperations = TSet<TDBGridEhAllowedOperation>;

inline constexpr TDBGridOptions defaultGridOptions = {dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                                                      dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};
inline constexpr TDBGridEhOptions defaultGridOptionsEh = {dghFixed3D,        dghHighlightFocus, dghClearSelection,
                                                          dghDialogFind,     dghColumnResize,   dghColumnMove,
                                                          dghExtendVertLines};
// The two set-ups of the program's grids: the lists (no in-place editing) and the vehicle selector
// (one row high, no titles, no indicator).
inline constexpr TDBGridOptions listGridOptions = defaultGridOptions - dgEditing;
inline constexpr TDBGridEhOptions listGridOptionsEh = defaultGridOptionsEh;
inline constexpr TDBGridOptions selectorGridOptions = {dgRowLines, dgTabs, dgAlwaysShowSelection, dgConfirmDelete,
                                                       dgCancelOnExit};
inline constexpr TDBGridEhOptions selectorGridOptionsEh = {dghFixed3D, dghHighlightFocus, dghClearSelection,
                                                           dghDialogFind, dghExtendVertLines};

inline constexpr TDBGridEhAllowedOperations allGridOperations = {alopInsertEh, alopUpdateEh, alopDeleteEh,
                                                                 alopAppendEh};

// The text search of a grid: how a cell must match, which way to go, and its options.
enum TLocateTextMatchTypeEh { ltmAnyPartEh, ltmWholeEh, ltmFromBegingEh };
enum TLocateTextDirectionEh { ltdUpEh, ltdDownEh, ltdAllEh };
enum TLocateTextOptionEh { ltoCaseInsensitiveEh, ltoAllFieldsEh, ltoMatchFormatEh, ltoIgnoreEh };
using TLocateTextOptionsEh = TSet<TLocateTextOptionEh>;

}  // namespace vornak
