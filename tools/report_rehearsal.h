#pragma once

// A report made on a sample log book before the requests it prepares a process for. Everything a
// report first uses is then made and kept in that process (the engine's cipher, the data layer,
// the report kept for the requests, font engines and glyphs, the reading of the command and its
// dates), and the memory a report writes into is its own: a process forked from it later writes
// there without first copying what it shares with its parent. The report service rehearses once,
// making the sample, and each process it forks ahead of a request rehearses again on it.

#include <functional>
#include <QString>
#include <QStringList>

namespace vornak::log_book {

class ReportRehearsal {
public:
    // Rehearses in the folder `folder` (which only it uses; anything in it is removed first) with
    // `report`, which runs the command with its arguments after "report", as a request does.
    ReportRehearsal(const QString &folder, std::function<void(const QStringList &)> report);
    // Removes the folder, in the process that made it.
    ~ReportRehearsal();
    ReportRehearsal(const ReportRehearsal &) = delete;
    ReportRehearsal &operator=(const ReportRehearsal &) = delete;

    // Makes the sample (a year of entries) the first time, and the report of its first vehicle over
    // that year. Does nothing more where the sample cannot be made, and raises nothing: the
    // reports then start as they would without it.
    void rehearse();
    bool sampleMade() const { return sampleMade_; }

private:
    QString folder_;
    std::function<void(const QStringList &)> report_;
    qint64 maker_;  // the process that made the folder
    bool sampleMade_ = false;
};

}  // namespace vornak::log_book
