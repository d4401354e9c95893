#pragma once

#include <QDialog>
#include <QString>

class QToolBar;
class QToolButton;

namespace vornak {

class TDBGridEh;

// The expense type catalogue: lists the types, creates, renames and deletes them, and lets the
// expense dialog pick one (SelectType). Created hidden at start-up (after the data module) and
// only ever shown modally.
class TTYPE_EXPENSEForm : public QDialog {
    Q_OBJECT
public:
    explicit TTYPE_EXPENSEForm(QWidget *parent = nullptr);

    // Shows the catalogue modally. When the user picks a type (double click), `id` and `str`
    // receive its ID and OPISANIE; otherwise both keep the values they came with.
    void SelectType(int &id, QString &str);

    // The handlers of the catalogue's own controls.
    void ToolButton3Click();  // new type
    void ToolButton1Click();  // rename the current type
    void ToolButton4Click();  // delete the current type
    void DBGridEh3DblClick();

    QToolBar *ToolBar2;
    QToolButton *ToolButton3;
    QToolButton *ToolButton1;
    QToolButton *ToolButton4;
    TDBGridEh *DBGridEh3;

private:
    enum class Entry { Insert, Edit };
    // Asks for a name; on OK inserts a type or edits the current one with that name and posts.
    // A refused post is cancelled before the failure goes on, so the catalogue stays as it was.
    void enterName(Entry entry, const QString &caption, const QString &initial);
};

extern TTYPE_EXPENSEForm *TYPE_EXPENSEForm;

}  // namespace vornak
