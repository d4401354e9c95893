#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

// Console output as usual, then the median of one benchmark divided by the median of its peer.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string subject, std::string peer) : subject_(std::move(subject)), peer_(std::move(peer)) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }

    void printRatio() const
    {
        const auto subject = medians_.find(subject_);
        const auto peer = medians_.find(peer_);
        if (subject != medians_.end() && peer != medians_.end())
            std::printf("ratio %s / %s = %.3f (cpu %.3f)\n", subject_.c_str(), peer_.c_str(),
                        subject->second.first / peer->second.first, subject->second.second / peer->second.second);
    }

private:
    std::string subject_;
    std::string peer_;
    std::map<std::string, std::pair<double, double>> medians_; // real, cpu
};
