#pragma once
// A console reporter that also prints, after the run, the ratio of each
// benchmark named "<case>/engine" (or any other variant) to the one named
// "<case>/baseline" measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const std::string key = run.run_name.function_name;
            m_times[key] = run.GetAdjustedCPUTime(); // CPU time: steadier than wall time on a shared machine
            m_units[key] = benchmark::GetTimeUnitString(run.time_unit);
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-44s %14s %14s %8s\n", "confronto (tempo CPU)", "motore", "riferimento", "rapporto");
        for (const auto& [name, time] : m_times) {
            const auto slash = name.rfind('/');
            if (slash == std::string::npos || name.substr(slash + 1) == "baseline")
                continue;
            const std::string base = name.substr(0, slash) + "/baseline";
            const auto it = m_times.find(base);
            if (it == m_times.end())
                continue;
            std::printf("%-44s %11.3f %-2s %11.3f %-2s %7.2fx\n", name.c_str(), time, m_units[name].c_str(), it->second,
                        m_units[base].c_str(), time / it->second);
        }
    }

private:
    std::map<std::string, double> m_times;
    std::map<std::string, std::string> m_units;
};

// Resident memory of the process, in kilobytes.
long ResidentKilobytes();
