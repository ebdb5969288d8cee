#include "queue/ConversionJobs.h"

#include "decode/DecodeJob.h"
#include "encode/EncodeJob.h"

BatchJobs ConversionJobs() {
    return BatchJobs{EncodeFile, RunDecodeJob};
}
