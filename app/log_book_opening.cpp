// Opening the log book on a thread of its own (see log_book_opening.h).
#include "app/log_book_opening.h"

#include "data/data_module.h"
#include "platform/regional_settings.h"

namespace vornak {

LogBookOpening::LogBookOpening(const QDate &today)
    : today_(today)
{
    // The regional settings are read from the system on first use, which is safe on one thread
    // only: the data module's fields and the windows both use them.
    RegionalSettings::current();
    thread_ = std::thread([this] {
        try {
            dataModule_ = std::make_unique<TDataModule1>();
            vehiclesDue_ = reminder_notice::readVehiclesDue(dataModule_->ADOConnection1->Engine(), today_);
        } catch (...) {
            error_ = std::current_exception();
            failed_.store(true, std::memory_order_release);
        }
        ended_.store(true, std::memory_order_release);
    });
}

LogBookOpening::~LogBookOpening()
{
    finish();
}

void LogBookOpening::finish()
{
    if (thread_.joinable())
        thread_.join();
}

std::unique_ptr<TDataModule1> LogBookOpening::take()
{
    finish();
    if (error_)
        std::rethrow_exception(std::exchange(error_, nullptr));
    return std::move(dataModule_);
}

}  // namespace vornak
