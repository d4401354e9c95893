#pragma once

// Opening the log book while the splash animates. Creating the data module derives the file's key,
// opens the connection and reads the vehicles, the expense types and the current vehicle's lists;
// the notice after start-up reads the events due in every vehicle: most of the start-up's work,
// and none of it needs a window. So the start-up has it done on a thread of its own, begun before
// the splash is shown, and takes the data module over once the animation has played; only then
// is it registered and bound to the windows, on the main thread.
//
// The thread owns the data module (and its connection) alone until it is taken over; the main
// thread touches neither before. A failure (a missing file, a wrong password, a locked file) is
// kept as it was raised and raised again where the start-up takes the data module, so the user
// sees the same message as when the data module is made in place; `failed` lets the start-up stop
// its animation as soon as that is known, instead of playing it to the end first, and `ended`
// lets it take the data module over between the animation's frames once it is open.

#include "app/reminder_notice.h"

#include <atomic>
#include <exception>
#include <memory>
#include <QDate>
#include <QList>
#include <thread>

namespace vornak {

class TDataModule1;

class LogBookOpening {
public:
    // Begins opening the log book of the working directory at once; the due events are those of
    // `today`.
    explicit LogBookOpening(const QDate &today);
    // Waits for the thread; a data module not taken over is freed with it.
    ~LogBookOpening();
    LogBookOpening(const LogBookOpening &) = delete;
    LogBookOpening &operator=(const LogBookOpening &) = delete;

    // True once the opening has ended with an error.
    bool failed() const { return failed_.load(std::memory_order_acquire); }
    // True once the opening has ended, well or not: take() then returns at once.
    bool ended() const { return ended_.load(std::memory_order_acquire); }
    // Waits for the opening to end; returns the data module, or raises the error that stopped it.
    // Once only.
    std::unique_ptr<TDataModule1> take();
    // The vehicles with due events, for the notice after start-up (once take() has returned).
    const QList<reminder_notice::VehicleDue> &vehiclesDue() const { return vehiclesDue_; }

private:
    void finish();

    const QDate today_;
    std::unique_ptr<TDataModule1> dataModule_;        // made by the thread, handed over by take()
    QList<reminder_notice::VehicleDue> vehiclesDue_;  // read by the thread after the data module
    std::exception_ptr error_;                        // what stopped the opening, raised again by take()
    std::atomic<bool> failed_ = false;                // error_ is set (published to the main thread)
    std::atomic<bool> ended_ = false;                 // the thread has set all of the above
    std::thread thread_;                              // last: started once the fields above exist
};

}  // namespace vornak
