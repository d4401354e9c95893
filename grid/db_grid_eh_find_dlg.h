#pragma once

#include "grid/grid_options.h"
#include "platform/message_box.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace vornak {

class TColumnEh;
class TDBGridEh;

// The find dialog of the grids: one window for the whole process, reused for every grid, so the
// settings left in it persist until the process ends.
class TDBGridEhFindDlg : public QDialog {
    Q_OBJECT
public:
    // The process's dialog, created on first use and owned by the application.
    static TDBGridEhFindDlg &Instance();
    // Opens the dialog on `grid` (Ctrl+F in a grid).
    static ModalResult Execute(TDBGridEh &grid, const QString &text, bool modal);

    QLabel *Label1;
    QComboBox *cbText;
    QLabel *Label2;
    QComboBox *cbFindIn;
    QLabel *cbMatchType;
    QComboBox *cbMatchinType;
    QLabel *Label3;
    QComboBox *cbFindDirection;
    QCheckBox *cbCharCase;
    QCheckBox *cbUseFormat;
    QPushButton *bFind;
    QPushButton *bCancel;
    QLabel *Label4;
    QComboBox *dbcTreeFindRange;

    // Searches once more with the dialog's settings; Ctrl held reverses the direction.
    void FindNext(Qt::KeyboardModifiers modifiers);
    TDBGridEh *Grid() const { return grid_; }
    bool FirstSearch() const { return firstSearch_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TDBGridEhFindDlg();
    ModalResult Open(TDBGridEh &grid, bool modal);
    void FillFindIn();
    void FindInChanged();

    QPointer<TDBGridEh> grid_;
    std::vector<TColumnEh *> itemColumns_;    // the column of each "Find in" item; nullptr for "<All>"
    std::vector<TColumnEh *> searchColumns_;  // the columns a search looks at
    bool firstSearch_ = true;
};

}  // namespace vornak
