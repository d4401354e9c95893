#pragma once

namespace vornak {

// The states a dataset can be in. The system reaches the first five; the others exist so that
// the write rules can name them.
enum TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening,
};

// The notifications a dataset sends to its data sources, which pass them on to their links.
enum TDataEvent {
    deFieldChange,  // information: the field
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,  // information: how many rows the record window shifted forward
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,  // information: the field
    deDisabledStateChange,
};

enum TFieldKind { fkData, fkCalculated };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };
enum TCursorLocation { clUseServer, clUseClient };
enum TLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };
enum TConnectMode {
    cmUnknown,
    cmRead,
    cmWrite,
    cmReadWrite,
    cmShareDenyRead,
    cmShareDenyWrite,
    cmShareExclusive,
    cmShareDenyNone
};

inline bool isEditState(TDataSetState state)
{
    return state == dsEdit || state == dsInsert || state == dsSetKey;
}

}  // namespace vornak
