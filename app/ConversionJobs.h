#pragma once
// The jobs the worker and the command-line tool run.

#include <string>

#include "app/Worker.h"
#include "encode/JobHooks.h"

// For StartWorker(queue, ConversionJobs()): the encode batch and the
// per-file decode job.
WorkerJobs ConversionJobs();

// Decodes one MPEG audio file into `outputDir` (empty: beside the input),
// reporting every failure itself. Sets this thread's error context.
JobResult DecodeFileJob(const std::string& inputPath, const std::string& outputDir, const JobHooks& hooks);
