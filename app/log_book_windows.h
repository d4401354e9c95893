#pragma once

#include <functional>
#include <memory>
#include <QList>

namespace vornak {

class TAutoEditForm;
class TDataModule1;
class TEventsEditForm;
class TFuelEditForm;
class TMainForm;
class TMileageEditForm;
class TSettingsForm;
class TTYPE_EXPENSEForm;

// One registered window and its process-wide pointer (MainForm, DataModule1, ...), set while the
// window lives. The window is owned here, or by the Qt parent it was created for; the pointer is
// cleared before either destroys it.
template <class Form>
class RegisteredWindow {
public:
    explicit RegisteredWindow(Form *&reference)
        : reference_(reference)
    {
    }
    ~RegisteredWindow() { reference_ = nullptr; }
    RegisteredWindow(const RegisteredWindow &) = delete;
    RegisteredWindow &operator=(const RegisteredWindow &) = delete;

    void create()
    {
        form_ = std::make_unique<Form>();
        reference_ = form_.get();
    }
    void adopt(std::unique_ptr<Form> form)
    {
        form_ = std::move(form);
        reference_ = form_.get();
    }
    template <class Owner>
    void createOwnedBy(Owner *owner)
    {
        reference_ = new Form(owner);
    }
    Form *get() const { return reference_; }

private:
    Form *&reference_;
    std::unique_ptr<Form> form_;
};

// The program's registered windows, the one place that makes them: created in their fixed order
// (the main window, the data module, the vehicle, expense, settings, mileage and event dialogs,
// the expense type catalogue), each registered in its process-wide pointer as it is made; the
// main window is bound to the data as soon as the data module exists. Each has one owner: the
// dialogs belong to the main window (its Qt children, so they show centred over it), the main
// window and the data module to this object. They end in the reverse order, every pointer
// cleared first: the dialogs with the main window, then the data module, so no window outlives
// the data it shows. A window that fails to be created leaves none of those made before it.
//
// The record dialog tests need only the data module and the record dialogs: RecordDialogs makes
// those, in the same order, without the main window and the settings dialog; the dialogs then
// belong to this object.
//
// The data module is made in its place, or handed over by `dataModule`: the start-up has it
// opened in the background and awaits it there, and meanwhile has the main window made by
// calling the pieces it is given, in their order (between the animation's frames); what is not
// made by then is made before the data module is taken over, so the order holds either way.
// The source may also hand the data module over early through `complete`, which makes the rest
// at once (the main window's remaining pieces, the data module, the binding, the dialogs); it
// then returns no data module.
class LogBookWindows {
public:
    enum class Scope { Program, RecordDialogs };
    using MainWindowPieces = QList<std::function<void()>>;
    using Completion = std::function<void(std::unique_ptr<TDataModule1> dataModule)>;
    using DataModuleSource = std::function<std::unique_ptr<TDataModule1>(const MainWindowPieces &makeMainWindow,
                                                                         const Completion &complete)>;

    explicit LogBookWindows(Scope scope = Scope::Program);
    explicit LogBookWindows(const DataModuleSource &dataModule);
    ~LogBookWindows();
    LogBookWindows(const LogBookWindows &) = delete;
    LogBookWindows &operator=(const LogBookWindows &) = delete;

private:
    LogBookWindows(Scope scope, const DataModuleSource &dataModule);
    // Makes the main window up to (not including) piece `end`: the bare window, then its parts.
    void makeMainWindowUpTo(int end);
    // The rest once the data module is there: the main window whole, the data module registered
    // and bound to it, the dialogs.
    void completeWith(std::unique_ptr<TDataModule1> dataModule);

    // Declared in the order of destruction reversed; created in the order above.
    RegisteredWindow<TDataModule1> dataModule_;
    RegisteredWindow<TMainForm> mainForm_;
    RegisteredWindow<TAutoEditForm> autoEditForm_;
    RegisteredWindow<TFuelEditForm> fuelEditForm_;
    RegisteredWindow<TSettingsForm> settingsForm_;
    RegisteredWindow<TMileageEditForm> mileageEditForm_;
    RegisteredWindow<TEventsEditForm> eventsEditForm_;
    RegisteredWindow<TTYPE_EXPENSEForm> typeExpenseForm_;
    int mainWindowPiecesMade_ = 0;  // of the bare window and its parts, in order
};

}  // namespace vornak
