#pragma once
// The tool's one-line progress display on a terminal, and the error sink
// that prints messages without tearing that line.

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "job/JobHooks.h"

class ProgressDisplay {
public:
    // `terminal` null: no line is drawn, messages are still printed to stderr.
    ProgressDisplay(std::FILE* terminal, std::size_t totalFiles, std::size_t slots);

    void StartFile(std::size_t slot, const std::string& name);
    void Progress(std::size_t slot, int64_t total, int64_t done);
    // A file that was stopped counts neither as converted nor as failed.
    void FinishFile(std::size_t slot, JobResult result);

    // Prints one error message on a line of its own.
    void PrintMessage(const std::string& text);
    // Draws the line again (called a few times a second).
    void Redraw();
    // Removes the line, leaving the cursor at the start of an empty line.
    void Clear();

    std::size_t Converted() const;
    std::size_t Failed() const;

private:
    struct Slot {
        std::string Name;
        double Fraction = 0.0;
        bool Active = false;
    };
    void ClearLocked();

    mutable std::mutex lock_;
    std::FILE* terminal_;
    std::size_t totalFiles_;
    std::size_t converted_ = 0;
    std::size_t failed_ = 0;
    std::vector<Slot> slots_;
    bool drawn_ = false;
};
