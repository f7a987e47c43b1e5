#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace torvanu::bench {

// Every measured figure by case name, in seconds (or kilobytes for the memory cases).
class Samples
{
public:
    void add(const std::string& name, double value) { m_values[name].push_back(value); }
    const std::vector<double>& values(const std::string& name) const;
    bool has(const std::string& name) const { return !values(name).empty(); }

    // Nearest-rank percentile, p in [0, 100]; 0 when there is nothing.
    double percentile(const std::string& name, double p) const;
    double median(const std::string& name) const { return percentile(name, 50); }

    std::vector<std::string> failures;        // "case: message"
    std::map<std::string, std::string> notes; // what a figure cannot say: a case's result

private:
    std::map<std::string, std::vector<double>> m_values;
};

// Takes Google Benchmark's runs instead of printing them: one figure per repetition (the
// time of one iteration), the first repetition of a repeated case dropped as its warm-up.
// Prints one short progress line per case on standard error.
class SamplesReporter : public benchmark::BenchmarkReporter
{
public:
    explicit SamplesReporter(Samples& samples) : m_samples(samples) {}

    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override;

private:
    Samples& m_samples;
};

struct TableOptions
{
    bool smoke = false;
    long long sizeSmall = 0; // records in the "100k" cases
    long long sizeLarge = 0; // records in the "1M" cases
    long long sizeStart = 0; // records in the start-up case with records
};

// The table in Markdown, with the machine it ran on above it.
std::string summaryTable(const Samples& samples, const TableOptions& options);

} // namespace torvanu::bench
