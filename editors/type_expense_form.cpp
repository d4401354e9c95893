#include "editors/type_expense_form.h"

#include "data/data_module.h"
#include "editors/form_controls.h"
#include "editors/tool_pictures.h"
#include "grid/db_grid_eh.h"
#include "platform/fonts.h"
#include "platform/message_box.h"

#include <QCoreApplication>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace vornak {

TTYPE_EXPENSEForm *TYPE_EXPENSEForm = nullptr;

namespace {

QToolButton *makeButton(QToolBar *bar, const char *name, int picture)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setIcon(tool_pictures::picture(picture));
    button->setIconSize(QSize(tool_pictures::Size, tool_pictures::Size));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFixedSize(29, 27);
    bar->addWidget(button);
    return button;
}

}  // namespace

TTYPE_EXPENSEForm::TTYPE_EXPENSEForm(QWidget *parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("TYPE_EXPENSEForm"));
    setWindowTitle(QStringLiteral("Типы расходов"));
    resize(196, 245);
    setFont(windowFont());
    form_controls::centreWhenShown(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setFixedHeight(27);
    ToolBar2->setIconSize(QSize(tool_pictures::Size, tool_pictures::Size));
    ToolBar2->setContentsMargins(0, 0, 0, 0);
    ToolBar2->layout()->setContentsMargins(0, 0, 0, 0);
    ToolBar2->layout()->setSpacing(0);
    ToolButton3 = makeButton(ToolBar2, "ToolButton3", tool_pictures::Plus);
    ToolButton1 = makeButton(ToolBar2, "ToolButton1", tool_pictures::Edit);
    ToolButton4 = makeButton(ToolBar2, "ToolButton4", tool_pictures::Minus);
    layout->addWidget(ToolBar2);

    DBGridEh3 = new TDBGridEh(this);
    DBGridEh3->setObjectName(QStringLiteral("DBGridEh3"));
    DBGridEh3->SetOptions(listGridOptions);
    DBGridEh3->SetOptionsEh(listGridOptionsEh);
    DBGridEh3->SetAutoFitColWidths(true);
    DBGridEh3->SetTitleLines(2);
    DBGridEh3->SetTitleFont(windowFont());
    TColumnEh *column = DBGridEh3->Columns.Add(QStringLiteral("OPISANIE"), 137, taCenter);
    column->Title.Alignment = taCenter;
    DBGridEh3->resize(196, 245 - 27);
    DBGridEh3->Loaded();
    layout->addWidget(DBGridEh3);
    if (DataModule1)
        DBGridEh3->SetDataSource(DataModule1->SourceTYPE_EXPENSE);

    connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton4, &QToolButton::clicked, this, [this] { ToolButton4Click(); });
    DBGridEh3->OnDblClick = [this](TDBGridEh *) { DBGridEh3DblClick(); };
}

void TTYPE_EXPENSEForm::SelectType(int &id, QString &str)
{
    if (UserDialogs::current().showModal(*this) != ModalResult::Ok)
        return;
    id = DataModule1->TableTYPE_EXPENSEID->AsInteger();
    str = DataModule1->TableTYPE_EXPENSEOPISANIE->AsString();
}

void TTYPE_EXPENSEForm::enterName(Entry entry, const QString &caption, const QString &initial)
{
    QString name = initial;
    if (!UserDialogs::current().inputQuery(caption, QStringLiteral("Введите название"), name,
                                           DataModule1->TableTYPE_EXPENSEOPISANIE->Size))
        return;
    TDataSet *table = DataModule1->TableTYPE_EXPENSE;
    if (entry == Entry::Insert)
        table->Insert();
    else
        table->Edit();
    try {
        DataModule1->TableTYPE_EXPENSEOPISANIE->SetAsString(name);
        table->Post();
    } catch (...) {
        table->Cancel();
        throw;
    }
}

void TTYPE_EXPENSEForm::ToolButton3Click()
{
    enterName(Entry::Insert, QStringLiteral("Новый тип расходов"), QStringLiteral("Новый"));
}

void TTYPE_EXPENSEForm::ToolButton1Click()
{
    enterName(Entry::Edit, QStringLiteral("Редактирование"), DataModule1->TableTYPE_EXPENSEOPISANIE->AsString());
}

void TTYPE_EXPENSEForm::ToolButton4Click()
{
    const QString id = DataModule1->TableTYPE_EXPENSEID->AsString();
    if (id.isEmpty())
        return;
    if (const int expenses = DataModule1->expensesOfType(id); expenses > 0) {
        UserDialogs::current().messageBox(TDataModule1::typeDeleteRefusal(expenses),
                                          QCoreApplication::applicationName(), MessageButtons::Ok, MessageIcon::None);
        return;
    }
    if (UserDialogs::current().messageBox(QStringLiteral("Действительно удалить?"), QStringLiteral("Confirm"),
                                          MessageButtons::YesNo, MessageIcon::Question) == ModalResult::Yes)
        DataModule1->TableTYPE_EXPENSE->Delete();
}

void TTYPE_EXPENSEForm::DBGridEh3DblClick()
{
    done(int(ModalResult::Ok));
}

}  // namespace vornak
