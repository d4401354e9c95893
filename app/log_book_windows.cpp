// Making and ending the program's registered windows (see log_book_windows.h).
#include "app/log_book_windows.h"

#include "app/main_form.h"
#include "app/settings_form.h"
#include "data/data_module.h"
#include "editors/auto_edit_form.h"
#include "editors/events_edit_form.h"
#include "editors/fuel_edit_form.h"
#include "editors/mileage_edit_form.h"
#include "editors/type_expense_form.h"

namespace vornak {

namespace {

constexpr int mainWindowPieces = 1 + TMainForm::partCount;  // the bare window, then its parts

}  // namespace

LogBookWindows::LogBookWindows(Scope scope)
    : LogBookWindows(scope, [](const MainWindowPieces &makeMainWindow, const Completion &) {
          for (const auto &piece : makeMainWindow)
              piece();
          return std::make_unique<TDataModule1>();
      })
{
}

LogBookWindows::LogBookWindows(const DataModuleSource &dataModule)
    : LogBookWindows(Scope::Program, dataModule)
{
}

LogBookWindows::LogBookWindows(Scope scope, const DataModuleSource &dataModule)
    : dataModule_(DataModule1),
      mainForm_(MainForm),
      autoEditForm_(AutoEditForm),
      fuelEditForm_(FuelEditForm),
      settingsForm_(SettingsForm),
      mileageEditForm_(MileageEditForm),
      eventsEditForm_(EventsEditForm),
      typeExpenseForm_(TYPE_EXPENSEForm)
{
    if (scope == Scope::RecordDialogs) {
        dataModule_.adopt(dataModule({}, {}));
        autoEditForm_.create();
        fuelEditForm_.create();
        mileageEditForm_.create();
        eventsEditForm_.create();
        typeExpenseForm_.create();
        return;
    }
    MainWindowPieces makeMainWindow;
    for (int piece = 1; piece <= mainWindowPieces; ++piece)
        makeMainWindow.append([this, piece] { makeMainWindowUpTo(piece); });
    std::unique_ptr<TDataModule1> opened =
        dataModule(makeMainWindow, [this](std::unique_ptr<TDataModule1> early) { completeWith(std::move(early)); });
    if (!dataModule_.get())
        completeWith(std::move(opened));
}

void LogBookWindows::completeWith(std::unique_ptr<TDataModule1> dataModule)
{
    makeMainWindowUpTo(mainWindowPieces);
    dataModule_.adopt(std::move(dataModule));
    TMainForm *window = mainForm_.get();
    window->bindData();
    autoEditForm_.createOwnedBy(window);
    fuelEditForm_.createOwnedBy(window);
    settingsForm_.createOwnedBy(window);
    mileageEditForm_.createOwnedBy(window);
    eventsEditForm_.createOwnedBy(window);
    typeExpenseForm_.createOwnedBy(window);
}

void LogBookWindows::makeMainWindowUpTo(int end)
{
    for (; mainWindowPiecesMade_ < end; ++mainWindowPiecesMade_) {
        if (mainWindowPiecesMade_ == 0)
            mainForm_.adopt(std::make_unique<TMainForm>(TMainForm::InParts{}));
        else
            mainForm_.get()->makePart(mainWindowPiecesMade_ - 1);
    }
}

LogBookWindows::~LogBookWindows() = default;

}  // namespace vornak
