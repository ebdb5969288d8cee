#pragma once
// The per-file jobs the worker and the command-line tool run.

#include <string>

#include "job/JobHooks.h"
#include "queue/Worker.h"

// For StartWorker(queue, ConversionJobs()): the encode and decode jobs.
WorkerJobs ConversionJobs();

// Converts one file with the job of its mode: encoding takes its options
// from EncodeOptions now, as the desktop batch does.
JobResult EncodeFileWithCurrentOptions(const std::string& inputPath, const std::string& outputDir,
                                       const JobHooks& hooks);
