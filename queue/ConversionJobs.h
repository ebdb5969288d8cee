#pragma once
// The per-file jobs the batch engine runs: the encode and decode jobs.

#include "queue/BatchEngine.h"

BatchJobs ConversionJobs();
