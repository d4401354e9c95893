#include "grid/db_grid_eh_find_dlg.h"

#include "grid/db_grid_eh.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace vornak {

namespace {

TDBGridEhFindDlg *instance = nullptr;

void destroyInstance()
{
    delete instance;
    instance = nullptr;
}

constexpr int treeRowTop = 124;
const QString allItem = QStringLiteral("<All>");

template <class Widget>
Widget *place(Widget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel *label(QWidget *parent, const QString &text, QWidget *buddy, int left, int top, int width, int height)
{
    auto *result = place(new QLabel(text, parent), left, top, width, height);
    if (buddy)
        result->setBuddy(buddy);
    return result;
}

QComboBox *pickList(QWidget *parent, const QStringList &items, int left, int top, int width, int height)
{
    auto *combo = place(new QComboBox(parent), left, top, width, height);
    combo->addItems(items);
    return combo;
}

bool isComboDroppedDown(QObject *object)
{
    for (QObject *o = object; o; o = o->parent()) {
        if (auto *combo = qobject_cast<QComboBox *>(o))
            return combo->view() && combo->view()->isVisible();
    }
    return false;
}

}  // namespace

TDBGridEhFindDlg &TDBGridEhFindDlg::Instance()
{
    if (!instance) {
        instance = new TDBGridEhFindDlg;
        qAddPostRoutine(destroyInstance);
    }
    return *instance;
}

ModalResult TDBGridEhFindDlg::Execute(TDBGridEh &grid, const QString &text, bool modal)
{
    TDBGridEhFindDlg &dialog = Instance();
    return dialog.Open(grid, modal);
}

TDBGridEhFindDlg::TDBGridEhFindDlg()
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("Find text"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(10);
    setFont(tahoma);

    cbText = place(new QComboBox(this), 88, 9, 316, 21);
    cbText->setEditable(true);
    cbText->setInsertPolicy(QComboBox::NoInsert);
    cbText->setMaxVisibleItems(17);
    cbText->setCompleter(nullptr);
    cbFindIn = pickList(this, {}, 88, 32, 192, 21);
    cbMatchinType = pickList(this,
                             {QStringLiteral("From any part of field"), QStringLiteral("Whole field"),
                              QStringLiteral("From beging of field")},
                             88, 55, 144, 21);
    cbFindDirection =
        pickList(this, {QStringLiteral("Up"), QStringLiteral("Down"), QStringLiteral("All")}, 88, 79, 144, 21);
    cbFindDirection->setCurrentIndex(2);
    cbCharCase = place(new QCheckBox(QStringLiteral("Match &Case"), this), 88, 105, 144, 14);
    cbUseFormat = place(new QCheckBox(QStringLiteral("Match F&ormat"), this), 260, 105, 144, 14);
    cbUseFormat->setChecked(true);
    bFind = place(new QPushButton(QStringLiteral("&Find next"), this), 413, 9, 82, 23);
    bCancel = place(new QPushButton(QStringLiteral("Close"), this), 413, 37, 82, 22);
    dbcTreeFindRange = pickList(this,
                                {QStringLiteral("In all nodes"), QStringLiteral("In expanded nodes"),
                                 QStringLiteral("In current level"), QStringLiteral("In current node")},
                                88, treeRowTop, 192, 21);
    Label1 = label(this, QStringLiteral("Fi&nd What:"), cbText, 10, 12, 52, 13);
    Label2 = label(this, QStringLiteral("Find &in:"), cbFindIn, 10, 35, 34, 13);
    cbMatchType = label(this, QStringLiteral("Matc&h:"), cbMatchinType, 10, 58, 33, 13);
    Label3 = label(this, QStringLiteral("Sea&rch:"), cbFindDirection, 10, 82, 37, 13);
    Label4 = label(this, QStringLiteral("Find in Tree:"), dbcTreeFindRange, 10, treeRowTop + 3, 70, 13);

    // Enter runs the search and Esc closes, whichever control has the focus.
    for (QPushButton *button : {bFind, bCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    QWidget *order[] = {cbText,      cbFindIn, cbMatchinType, cbFindDirection, cbCharCase,
                        cbUseFormat, bFind,    bCancel,       dbcTreeFindRange};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    for (QWidget *widget : order)
        widget->installEventFilter(this);
    cbText->lineEdit()->installEventFilter(this);

    connect(cbText, &QComboBox::editTextChanged, this, [this] { firstSearch_ = true; });
    connect(cbFindDirection, &QComboBox::currentIndexChanged, this, [this] { firstSearch_ = true; });
    connect(cbFindIn, &QComboBox::currentIndexChanged, this, [this] { FindInChanged(); });
    connect(bFind, &QPushButton::clicked, this, [this] { FindNext(QGuiApplication::keyboardModifiers()); });
    connect(bCancel, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(505, 150);
}

ModalResult TDBGridEhFindDlg::Open(TDBGridEh &grid, bool modal)
{
    // No dataset of ours presents a tree, so the tree row stays hidden.
    Label4->hide();
    dbcTreeFindRange->hide();
    setFixedSize(505, treeRowTop);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    cbText->setEditText(QString());
    grid_ = &grid;
    FillFindIn();
    firstSearch_ = true;
    cbText->setFocus();
    FindInChanged();
    if (!modal) {
        show();
        return ModalResult::None;
    }
    const ModalResult result = UserDialogs::current().showModal(*this);
    grid_ = nullptr;
    return result;
}

void TDBGridEhFindDlg::FillFindIn()
{
    const QSignalBlocker blocker(cbFindIn);
    cbFindIn->clear();
    itemColumns_.clear();
    const std::vector<TColumnEh *> columns = grid_->Columns.Visible();
    for (TColumnEh *column : columns) {
        cbFindIn->addItem(column->Title.Caption());
        itemColumns_.push_back(column);
    }
    cbFindIn->addItem(allItem);
    itemColumns_.push_back(nullptr);

    int chosen = -1;
    const int current = grid_->SelectedIndex();
    if (current >= 0 && current < int(columns.size())) {
        const QString caption = columns[current]->Title.Caption();
        for (int i = 0; i < cbFindIn->count() && chosen < 0; ++i) {
            if (cbFindIn->itemText(i).compare(caption, Qt::CaseInsensitive) == 0)
                chosen = i;
        }
    }
    cbFindIn->setCurrentIndex(chosen);
}

void TDBGridEhFindDlg::FindInChanged()
{
    if (cbFindIn->currentIndex() < 0) {
        const QSignalBlocker blocker(cbFindIn);
        cbFindIn->setCurrentIndex(cbFindIn->count() - 1);
    }
    const int chosen = cbFindIn->currentIndex();
    searchColumns_.clear();
    if (chosen >= 0 && chosen < int(itemColumns_.size())) {
        if (itemColumns_[chosen])
            searchColumns_.push_back(itemColumns_[chosen]);
        else
            searchColumns_.assign(itemColumns_.begin(), itemColumns_.begin() + chosen);
    }
    firstSearch_ = true;
}

void TDBGridEhFindDlg::FindNext(Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const QString text = cbText->currentText();
    if (cbText->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        const QSignalBlocker blocker(cbText);
        cbText->addItem(text);
        cbText->setEditText(text);
    }
    if (!grid_ || !grid_->activeDataSet())
        return;

    const int chosen = cbFindIn->currentIndex();
    const TColumnEh *column = chosen >= 0 && chosen < int(itemColumns_.size()) ? itemColumns_[chosen] : nullptr;
    const QString fieldName = column ? column->FieldName() : QString();

    const int matchIndex = cbMatchinType->currentIndex();
    const auto matchType = matchIndex >= 0 && matchIndex <= 2 ? TLocateTextMatchTypeEh(matchIndex) : ltmAnyPartEh;
    static constexpr TLocateTextDirectionEh directions[] = {ltdUpEh, ltdDownEh};
    const int directionIndex = cbFindDirection->currentIndex();
    TLocateTextDirectionEh direction =
        directionIndex == 0 || directionIndex == 1 ? directions[directionIndex] : ltdAllEh;
    if (ctrl) {
        static constexpr TLocateTextDirectionEh reversed[] = {ltdDownEh, ltdUpEh, ltdUpEh};
        direction = reversed[direction];
    }
    if (!firstSearch_ && direction == ltdAllEh)
        direction = ltdDownEh;

    TLocateTextOptionsEh options;
    if (!cbCharCase->isChecked())
        options += ltoCaseInsensitiveEh;
    if (!column)
        options += ltoAllFieldsEh;
    if (cbUseFormat->isChecked())
        options += ltoMatchFormatEh;

    if (grid_->LocateText(fieldName, text, matchType, direction, options))
        firstSearch_ = false;
}

bool TDBGridEhFindDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool escape = key->key() == Qt::Key_Escape;
    if ((!enter && !escape) || isComboDroppedDown(watched))
        return QDialog::eventFilter(watched, event);
    if (enter) {
        FindNext(key->modifiers());
        cbText->lineEdit()->setModified(false);
    } else {
        bCancel->click();
    }
    return true;
}

}  // namespace vornak
